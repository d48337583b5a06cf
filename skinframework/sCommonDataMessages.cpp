// The shared half of a skinned control's window procedure: the window and toolkit messages
// every control handles alike, and the skin message's common sub-commands in one table.
#include <algorithm>
#include <cwctype>
#include <iterator>

#include "skinframework/acGlow.h"
#include "skinframework/sCommonData.h"
#include "skinframework/sSkinManager.h"
#include "skinframework/sSkinState.h"
#include "skinframework/sVclUtils.h"
#include "toolkit/Redraw.h"
#include "toolkit/StdCtrls.h"

namespace sk {

std::function<void(tk::TControl* control, TsSkinManager& manager)> HookControlPopupMenu;

namespace {

LPARAM AsArg(const void* p) { return reinterpret_cast<LPARAM>(p); }
bool FromManager(const tk::TMessage& m, const TsCommonData& d) { return m.LParam == AsArg(d.SkinManager()); }

void BroadcastSkinCmd(tk::TWinControl* container, WORD cmd, WORD arg = 0, LPARAM lParam = 0) {
    tk::TMessage m{SM_SKINCMD, SkinCmdWParam(cmd, arg), lParam, 0};
    BroadcastToChildren(container, m);
}

// The state a responder answers background requests in.
int CurrentState(const TsCommonData& d) {
    if (d.FProvider) return d.FProvider->FormActive() ? 1 : 0;
    return d.ControlIsHot() ? 1 : 0;
}

bool HasTwoStates(const TsCommonData& d) { return d.Section() && d.Section()->States >= 2; }

// ---- Skin change ----

bool OnNewSkin(tk::TMessage& m, TsCommonData& d) {
    if (!FromManager(m, d)) return true;
    d.AssignDefaultSection();
    const std::wstring current = d.FSkinSection;
    d.SelectFirstSection(&current, 1);
    d.EmptyCache();
    d.UpdateCtrlSkinState(false);
    acSkinChanging = false;
    return true;
}

void GiveSystemColours(TsCommonData& d) {
    tk::TControl* owner = d.FOwnerControl;
    tk::TWinControl* win = d.OwnerWinControl();
    if (!owner || !win) return;
    if (IsEditKind(d.COC)) {
        if (!d.FCustomColor) owner->SetColor(tk::clWindow);
        if (!d.FCustomFont) {
            owner->Font().Color = tk::clWindowText;
            owner->Font().Changed();
        }
        if (win->HandleAllocated()) tk::RedrawFrame(win->Handle());
        return;
    }
    for (int i = 0; i < win->ControlCount(); ++i) {
        if (auto* label = dynamic_cast<tk::TLabel*>(win->Controls(i))) {
            label->Font().Color = tk::clWindowText;
            label->Font().Changed();
        }
    }
}

bool OnRemoveSkin(tk::TMessage& m, TsCommonData& d) {
    if (!FromManager(m, d)) return true;
    if (d.FSkinManager && d.FSkinManager->Destroying()) d.FSkinManager = nullptr;
    d.BorderIndex = d.SkinIndex = d.Texture = d.HotTexture = -1;
    d.FUpdating = true;
    d.EmptyCache();
    GiveSystemColours(d);
    return true;
}

bool OnRefresh(tk::TMessage& m, TsCommonData& d) {
    if (!FromManager(m, d)) return true;
    d.BGChanged = true;
    d.FUpdating = false;
    d.UpdateSkinColors(true);
    d.UpdateCtrlSkinState(false);
    return true;
}

// ---- Readiness ----

bool OnEndUpdate(tk::TMessage&, TsCommonData& d) {
    tk::TWinControl* win = d.OwnerWinControl();
    if (d.FUpdating && win) {
        d.CheckUpdating(true);
        if (!d.FUpdating && win->HandleAllocated()) tk::RedrawAll(win->Handle(), true);
    }
    TsSkinManager* manager = d.SkinManager();
    if (!win || (manager && manager->Core().Designing)) return true;
    for (int i = 0; i < win->ControlCount(); ++i) {
        tk::TControl* child = win->Controls(i);
        auto* childWin = dynamic_cast<tk::TWinControl*>(child);
        if (childWin && !(childWin->HandleAllocated() && childWin->Showing())) continue;
        PerformSkinCmd(child, SC_ENDUPDATE);
    }
    return true;
}

bool OnIsUpdating(tk::TMessage& m, TsCommonData& d) {
    m.Result = 0;
    if (d.CheckUpdating(false)) {
        m.Result = 1;
        return true;
    }
    tk::TWinControl* win = d.OwnerWinControl();
    if (!win || d.FCustomColor || !d.CacheIsNeeded()) return true;
    if (!d.FCacheBmp || d.FCacheBmp->Empty()) {
        PerformSkinCmd(win, SC_PREPARECACHE);
        m.Result = !d.FCacheBmp || d.FCacheBmp->Empty();
    } else {
        m.Result = d.FCacheBmp->Width() != win->Width() || d.FCacheBmp->Height() != win->Height();
    }
    return true;
}

bool OnSetUpdating(tk::TMessage& m, TsCommonData& d) {
    d.FUpdating = SkinCmdArg(m.WParam) == 1;
    return true;
}

// ---- Sections ----

bool OnUpdateSection(tk::TMessage& m, TsCommonData& d) {
    const auto* name = reinterpret_cast<const wchar_t*>(m.LParam);
    if (!name) return true;
    std::wstring mine = d.FSkinSection;
    for (auto& c : mine) c = static_cast<wchar_t>(std::towupper(c));
    if (mine == name) {
        acSkinChanging = false;
        d.Invalidate(false);
    }
    return true;
}

bool OnSetSection(tk::TMessage& m, TsCommonData& d) {
    const auto* info = reinterpret_cast<const TacSectionInfo*>(m.LParam);
    m.Result = info ? 1 : 0;
    if (info) d.SetSkinSection(info->Name);
    return true;
}

bool OnGetSkinIndex(tk::TMessage& m, TsCommonData& d) {
    if (auto* info = reinterpret_cast<TacSectionInfo*>(m.LParam)) info->SkinIndex = d.SkinIndex;
    return true;
}

// ---- Cache and background ----

bool OnBgChanged(tk::TMessage&, TsCommonData& d) {
    d.BGChanged = true;
    return true;
}

bool OnInvalidate(tk::TMessage&, TsCommonData& d) {
    d.Invalidate(false);
    return true;
}

bool OnMoveRepaint(tk::TMessage& m, TsCommonData&) {
    m.Result = 1;
    return true;
}

bool OnParentMoved(tk::TMessage& m, TsCommonData& d) {
    d.BGChanged = d.BGChanged || d.RepaintIfMoved();
    tk::TWinControl* win = d.OwnerWinControl();
    if (SkinCmdArg(m.WParam) == 1) {
        if (win && win->HandleAllocated())
            RedrawWindow(win->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_NOERASE);
        else if (!win && d.FOwnerControl)
            d.FOwnerControl->Invalidate();
    }
    if (d.BGChanged && win) BroadcastSkinCmd(win, SC_PARENTMOVED, SkinCmdArg(m.WParam));
    return true;
}

bool OnGetBgColor(tk::TMessage& m, TsCommonData& d) {
    m.Result = static_cast<LRESULT>(static_cast<uint32_t>(d.BgColorReply()));
    return true;
}

bool OnGetHalfVisible(tk::TMessage& m, TsCommonData& d) {
    m.Result = d.HalfVisible ? 1 : 0;
    return true;
}

bool OnSetHalfVisible(tk::TMessage&, TsCommonData& d) {
    d.HalfVisible = true;
    return true;
}

bool OnPrepareCache(tk::TMessage&, TsCommonData& d) {
    d.BGChanged = false;
    return true;
}

bool OnFreeCache(tk::TMessage&, TsCommonData& d) {
    if (!d.FCacheBmp) return true;
    if (tk::TWinControl* win = d.OwnerWinControl()) {
        for (int i = 0; i < win->ControlCount(); ++i)
            if (win->Controls(i)->IsWindowed()) PerformSkinCmd(win->Controls(i), SC_FREECACHE);
    }
    d.EmptyCache();
    d.BGChanged = true;
    return true;
}

bool OnGetBg(tk::TMessage& m, TsCommonData& d) {
    if (auto* request = reinterpret_cast<TacBgRequest*>(m.LParam)) d.FillBgRequest(*request, CurrentState(d));
    return true;
}

bool OnGetState(tk::TMessage& m, TsCommonData& d) {
    if (m.LParam == 1) d.UpdateCtrlSkinState(true);
    m.Result = d.GetCtrlSkinState();
    return true;
}

bool OnGetCommonData(tk::TMessage& m, TsCommonData& d) {
    m.Result = AsArg(&d);
    return true;
}

bool OnPrinting(tk::TMessage& m, TsCommonData& d) {
    d.PrintDC = reinterpret_cast<HDC>(m.LParam);
    if (d.PrintDC) d.CtrlSkinState |= ACS_PRINTING;
    else d.CtrlSkinState = static_cast<uint16_t>(d.CtrlSkinState & ~ACS_PRINTING);
    return true;
}

bool OnPaintOuter(tk::TMessage& m, TsCommonData& d) {
    if (const auto* request = reinterpret_cast<const TacPaintOuterRequest*>(m.LParam))
        d.PaintOuterShadow(*request, SkinCmdArg(m.WParam));
    return true;
}

bool OnFrameChanged(tk::TMessage&, TsCommonData& d) {
    tk::TWinControl* win = d.OwnerWinControl();
    if (!win || !win->HandleAllocated()) return true;
    SetWindowPos(win->Handle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOCOPYBITS | SWP_NOOWNERZORDER |
                     SWP_NOACTIVATE);
    BroadcastSkinCmd(win, SC_FRAMECHANGED);
    return true;
}

bool OnIsHandled(tk::TMessage& m, TsCommonData&) {
    m.Result = 1;
    return true;
}

bool OnGetApplication(tk::TMessage& m, TsCommonData&) {
    m.Result = AsArg(tk::Application);
    return true;
}

bool OnGetBounds(tk::TMessage& m, TsCommonData& d) {
    if (auto* rect = reinterpret_cast<RECT*>(m.LParam)) *rect = d.FOwnerControl ? d.FOwnerControl->BoundsRect() : RECT{};
    return true;
}

using TSkinCmdHandler = bool (*)(tk::TMessage&, TsCommonData&);

struct TSkinCmdEntry {
    WORD Cmd;
    TSkinCmdHandler Handler;
};

// The sub-commands every control answers alike. Anything else is the control's own business
// and goes on to its default processing.
constexpr TSkinCmdEntry kSkinCommands[] = {
    {SC_NEWSKIN, OnNewSkin},           {SC_REMOVESKIN, OnRemoveSkin},       {SC_REFRESH, OnRefresh},
    {SC_ENDUPDATE, OnEndUpdate},       {SC_ISHANDLED, OnIsHandled},         {SC_SETUPDATING, OnSetUpdating},
    {SC_ISUPDATING, OnIsUpdating},     {SC_GETHALFVISIBLE, OnGetHalfVisible}, {SC_UPDATESECTION, OnUpdateSection},
    {SC_SETSECTION, OnSetSection},     {SC_BGCHANGED, OnBgChanged},         {SC_INVALIDATE, OnInvalidate},
    {SC_MOVEREPAINT, OnMoveRepaint},   {SC_PARENTMOVED, OnParentMoved},     {SC_GETBGCOLOR, OnGetBgColor},
    {SC_SETHALFVISIBLE, OnSetHalfVisible}, {SC_PREPARECACHE, OnPrepareCache}, {SC_GETSKININDEX, OnGetSkinIndex},
    {SC_FREECACHE, OnFreeCache},       {SC_GETBG, OnGetBg},                 {SC_GETSTATE, OnGetState},
    {SC_GETCOMMONDATA, OnGetCommonData}, {SC_PRINTING, OnPrinting},         {SC_PAINTOUTER, OnPaintOuter},
    {SC_FRAMECHANGED, OnFrameChanged}, {SC_GETAPPLICATION, OnGetApplication}, {SC_GETBOUNDS, OnGetBounds},
};

// ---- Window and toolkit messages ----

// The mouse or the focus can change the control's look at all.
bool ReactsToHover(const TsCommonData& d) {
    TsSkinManager* manager = d.SkinManager();
    return d.Skinned() && manager && !manager->Options.NoMouseHover && !manager->Core().Designing &&
           !d.BothStatesTransparent();
}

bool GlowsOnHover(int coc) { return !IsContainerKind(coc) && !(coc >= 92 && coc <= 94); }

// Only the speed button under the mouse shows it: the others of this container let go.
void ReleaseHoveredSpeedButtons(TsCommonData& d, LPARAM except) {
    tk::TWinControl* win = d.OwnerWinControl();
    if (!win || d.FSkinManager) return;
    for (int i = 0; i < win->ControlCount(); ++i) {
        tk::TControl* child = win->Controls(i);
        if (child == win || AsArg(child) == except) continue;
        const auto* data = reinterpret_cast<const TsCommonData*>(PerformSkinCmd(child, SC_GETCOMMONDATA));
        if (data && data->COC == 92 && data->FMouseAbove) child->Perform(tk::CM_MOUSELEAVE);
    }
}

void OnMouseEnter(tk::TMessage& m, TsCommonData& d) {
    if (!ReactsToHover(d)) return;
    ReleaseHoveredSpeedButtons(d, m.LParam);
    if (!IsNoHoverKind(d.COC)) d.FMouseAbove = true;
    TsSkinManager* manager = d.SkinManager();
    if (d.OwnerWinControl()) manager->SetActiveControl(d.OwnerHandle());
    else if (d.FOwnerControl) manager->SetActiveGraphControl(d.FOwnerControl);
    if (GlowsOnHover(d.COC)) d.UpdateGlow(false);
    if (IsEditKind(d.COC) && HasTwoStates(d)) d.SwitchEditColors(true);
}

void OnMouseLeave(tk::TMessage&, TsCommonData& d) {
    if (!ReactsToHover(d)) return;
    if (!IsNoHoverKind(d.COC)) d.FMouseAbove = false;
    if (GlowsOnHover(d.COC)) HideGlow(d.GlowID);
    if (IsEditKind(d.COC) && !d.ControlIsHot()) d.SwitchEditColors(false);
}

// Focus changes show only on controls that can take the focus and look different in it.
bool FocusShows(const TsCommonData& d) {
    tk::TWinControl* win = d.OwnerWinControl();
    return win && win->CanFocus() && win->TabStop() && !d.BothStatesTransparent();
}

void OnSetFocus(TsCommonData& d) {
    if (!FocusShows(d)) return;
    d.BGChanged = true;
    d.FFocused = true;
    if (IsEditKind(d.COC) && HasTwoStates(d)) d.SwitchEditColors(true);
}

void OnKillFocus(TsCommonData& d) {
    if (!FocusShows(d)) return;
    d.BGChanged = true;
    d.FFocused = false;
    if (IsEditKind(d.COC) && !d.ControlIsHot()) d.SwitchEditColors(false);
}

void InvalidateForOuterEffects(TsCommonData& d) {
    if (d.OuterEffects().Visibility() == TacOuterVisibility::ovAlways) d.InvalidateParentBg();
}

void OnMove(TsCommonData& d) {
    InvalidateForOuterEffects(d);
    if (d.RepaintIfMoved()) {
        d.BGChanged = true;
        PerformSkinCmd(d.FOwnerControl, SC_PARENTMOVED, 0, 1);
    }
    HideGlow(d.GlowID);
}

void OnSize(TsCommonData& d) {
    d.BGChanged = true;
    InvalidateForOuterEffects(d);
    const TsGenState* normal = d.StateProps(0);
    if (tk::TWinControl* win = d.OwnerWinControl(); win && normal && normal->GradientPercent > 0)
        BroadcastSkinCmd(win, SC_PARENTMOVED, 1);
    HideGlow(d.GlowID);
}

void OnVisibleChanged(TsCommonData& d) {
    const TsSkinManager* manager = d.SkinManager();
    if (!manager || manager->Options.OptimizingPriority != TacOptimizingPriority::opMemory || !d.FCacheBmp ||
        !d.FOwnerControl)
        return;
    if (d.FOwnerControl->Visible()) {
        d.FUpdating = false;
    } else {
        d.EmptyCache();
        if (tk::TWinControl* win = d.OwnerWinControl())
            for (int i = 0; i < win->ControlCount(); ++i) PerformSkinCmd(win->Controls(i), SC_FREECACHE);
    }
    d.BGChanged = true;
}

void OnParentNotify(tk::TMessage& m, TsCommonData& d) {
    if (LOWORD(m.WParam) != WM_CREATE || !d.FOwnerControl) return;
    tk::TWinControl* form = TsCommonData::TopParent(d.FOwnerControl);
    if (!form) form = d.OwnerWinControl();
    if (form && form->HandleAllocated()) SendSkinCmd(form->Handle(), SC_SKINCHILDREN, AsArg(d.FOwnerControl));
}

void OnContextMenu(TsCommonData& d) {
    TsSkinManager* manager = d.SkinManager();
    if (manager && d.FOwnerControl && HookControlPopupMenu) HookControlPopupMenu(d.FOwnerControl, *manager);
}

// An unskinned control with visual styles gets its theme back after a UI-state change.
void ResetWindowTheme(HWND h) {
    using TSetWindowTheme = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    using TIsThemeActive = BOOL(WINAPI*)();
    HMODULE uxtheme = GetModuleHandleW(L"uxtheme.dll");
    if (!uxtheme || !h) return;
    auto isActive = reinterpret_cast<TIsThemeActive>(reinterpret_cast<void*>(GetProcAddress(uxtheme, "IsThemeActive")));
    auto setTheme = reinterpret_cast<TSetWindowTheme>(reinterpret_cast<void*>(GetProcAddress(uxtheme, "SetWindowTheme")));
    if (isActive && setTheme && isActive()) setTheme(h, nullptr, nullptr);
}

// A skin message must come from this thread and be sent, not posted: it carries pointers
// into the user-interface objects.
bool SentFromThisThread() { return (InSendMessageEx(nullptr) & ISMEX_SEND) == 0; }

// Posted skin messages are dropped before they reach any window of the thread (the manager's
// preview request to the application window is the one posted sub-command and passes).
LRESULT CALLBACK DropPostedSkinCommands(int code, WPARAM wParam, LPARAM lParam);

struct TPostedSkinCmdFilter {
    HHOOK Hook = SetWindowsHookExW(WH_GETMESSAGE, DropPostedSkinCommands, nullptr, GetCurrentThreadId());
    ~TPostedSkinCmdFilter() {
        if (Hook) UnhookWindowsHookEx(Hook);
    }
};

LRESULT CALLBACK DropPostedSkinCommands(int code, WPARAM wParam, LPARAM lParam) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && msg && msg->message == SM_SKINCMD && SkinCmdOf(msg->wParam) != SC_PREVIEWSKIN)
        msg->message = WM_NULL;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void InstallPostedSkinCmdFilter() { thread_local TPostedSkinCmdFilter filter; }

bool HandleSkinCommand(tk::TMessage& m, TsCommonData& skinData) {
    const WORD cmd = SkinCmdOf(m.WParam);
    const auto entry = std::find_if(std::begin(kSkinCommands), std::end(kSkinCommands),
                                    [cmd](const TSkinCmdEntry& e) { return e.Cmd == cmd; });
    if (entry == std::end(kSkinCommands)) return false;
    m.Result = 0;
    return entry->Handler(m, skinData);
}

bool HandleCommonMessage(tk::TMessage& m, TsCommonData& skinData) {
    TsCommonData& d = skinData;
    switch (m.Msg) {
        case SM_SKINCMD:
            if (!SentFromThisThread()) {
                m.Result = 0;
                return true;
            }
            return HandleSkinCommand(m, d);
        case WM_FONTCHANGE:
        case tk::CM_ENABLEDCHANGED:
            d.FMouseAbove = false;
            d.FFocused = false;
            if (d.FOwnerControl && !d.FOwnerControl->Enabled()) HideGlow(d.GlowID);
            return false;
        case WM_UPDATEUISTATE:
            if (d.Skinned()) {
                m.Result = 0;
                return true;
            }
            if (d.OwnerWinControl()) ResetWindowTheme(d.OwnerHandle());
            return false;
        default: break;
    }
    if (!d.Skinned()) return false;
    switch (m.Msg) {
        case WM_MOVE: OnMove(d); break;
        case WM_SIZE: OnSize(d); break;
        case WM_SETFOCUS: OnSetFocus(d); break;
        case WM_KILLFOCUS: OnKillFocus(d); break;
        case WM_CONTEXTMENU: OnContextMenu(d); break;
        case WM_PARENTNOTIFY: OnParentNotify(m, d); break;
        case tk::CM_VISIBLECHANGED: OnVisibleChanged(d); break;
        case tk::CM_MOUSEENTER: OnMouseEnter(m, d); break;
        case tk::CM_MOUSELEAVE: OnMouseLeave(m, d); break;
        case tk::CM_SHOWINGCHANGED:
            if (d.FOwnerControl && d.FOwnerControl->Visible()) d.Loaded();
            break;
        default: break;
    }
    return false;
}

}  // namespace sk
