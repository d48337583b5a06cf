// Hooking menus and measuring their items.
#include "menus/sSkinMenus.h"

#include <algorithm>

#include "menus/acMnuWnd.h"
#include "skinframework/sSkinCmd.h"
#include "toolkit/Application.h"

namespace sk {

namespace {

constexpr UINT kDrawItemFrame = 0xBCB3;    // lParam: a menu item whose window was not known
constexpr UINT kDrawWindowFrame = 0xBCB4;  // lParam: a menu window
constexpr int kWideMeasure = 800;

const tk::TMenuItem* FirstItemOf(const tk::TMenuItem* item) {
    const tk::TMenuItem* parent = item ? item->Parent() : nullptr;
    return parent && parent->Count() > 0 ? parent->Items(0) : item;
}

bool IsMenuWindow(HWND wnd) {
    wchar_t name[16] = {};
    return wnd && GetClassNameW(wnd, name, 16) > 0 && wcscmp(name, L"#32768") == 0;
}

}  // namespace

TsSkinableMenus::TsSkinableMenus(TsSkinManager* owner) : FOwner(owner) {}

TsSkinableMenus::~TsSkinableMenus() {
    // Items that outlive the manager must not call back into a freed object.
    if (FActive && tk::Application && !tk::Application->Destroying()) InitItems(false);
}

const TSkinModel* TsSkinableMenus::Model() const {
    if (!FOwner || !FOwner->Active() || !FOwner->Core().SkinLoaded()) return nullptr;
    return &FOwner->Model();
}

// ---- Hooking ----

void TsSkinableMenus::InitItem(tk::TMenuItem* item, bool active) {
    if (!item) return;
    if (!active) {
        if (item->OnMeasureItem.SetBy(this)) item->OnMeasureItem.Clear();
        if (item->OnAdvancedDrawItem.SetBy(this)) item->OnAdvancedDrawItem.Clear();
        return;
    }
    if (!FOwner->SkinnedPopups) return;
    if (!item->OnMeasureItem)
        item->OnMeasureItem.Set([this](tk::TMenuItem* i, tk::TCanvas& c, int& w, int& h) { sMeasureItem(i, c, w, h); },
                                this);
    if (!item->OnAdvancedDrawItem)
        item->OnAdvancedDrawItem.Set(
            [this](tk::TMenuItem* i, tk::TCanvas& c, RECT r, tk::TOwnerDrawState s) { sAdvancedDrawItem(i, c, r, s); },
            this);
}

void TsSkinableMenus::HookItem(tk::TMenuItem* item, bool active) {
    if (!item) return;
    for (int i = 0; i < item->Count(); ++i) {
        InitItem(item->Items(i), active);
        HookItem(item->Items(i), active);
    }
}

// A skin without the menu's own sections leaves menus in the platform's look: an undrawn
// background under text in no colour of its own would be unreadable.
void TsSkinableMenus::HookPopupMenu(tk::TPopupMenu* menu, bool active) {
    if (!menu) return;
    const TSkinModel* model = Model();
    const bool skinned = active && FOwner->SkinnedPopups && model && model->IsValidSkinIndex(model->GetSkinIndex(L"MAINMENU")) &&
                         model->IsValidSkinIndex(model->GetSkinIndex(L"MENUITEM"));
    menu->OwnerDraw = skinned;
    FFontsValid = false;  // the screen's menu font may have changed since the last menu
    if (skinned) menu->MenuAnimation |= tk::maNone;
    else menu->MenuAnimation &= ~unsigned(tk::maNone);
    HookItem(menu->Items(), skinned);
}

void TsSkinableMenus::InitItems(bool active) {
    FActive = active;
    if (!tk::Application) return;
    const bool hook = active && FOwner->SkinnedPopups;
    std::function<void(tk::TComponent*)> walk = [&](tk::TComponent* owner) {
        for (int i = 0; i < owner->ComponentCount(); ++i) {
            tk::TComponent* c = owner->Components(i);
            if (auto* popup = dynamic_cast<tk::TPopupMenu*>(c)) HookPopupMenu(popup, hook);
            else if (auto* item = dynamic_cast<tk::TMenuItem*>(c); item && !item->GetParentMenu()) HookItem(item, hook);
            walk(c);
        }
    };
    walk(tk::Application);
}

void TsSkinableMenus::SetActive(bool value) {
    if (value != FActive) InitItems(value);
}

void TsSkinableMenus::UpdateMenus() { SetActive(Model() && Model()->CommonSkinData && Model()->CommonSkinData->Active); }

void TsSkinableMenus::SkinChanged() {
    FSkinBorderWidth = -1;
    FFontsValid = false;
    UpdateMenus();
}

void TsSkinableMenus::MenuWindowCreated(HWND window) {
    if (SendMessageW(window, SM_SKINCMD, SkinCmdWParam(SC_ISHANDLED), 0) != 0) return;
    TacMnuWnd::Attach(window, this);
}

bool TsSkinableMenus::ApplicationMessage(tk::TMessage& m) {
    if (m.Msg != kDrawItemFrame && m.Msg != kDrawWindowFrame) return false;
    m.Result = 0;
    TacMenuInfo* info = nullptr;
    if (m.Msg == kDrawItemFrame) {
        if (const tk::TMenuItem* item = tk::TMenuItem::FromData(static_cast<ULONG_PTR>(m.LParam)))
            info = FindMenuInfo(FirstItemOf(item));
    } else {
        info = FindMenuInfoByWindow(reinterpret_cast<HWND>(m.LParam));
    }
    if (info && IsMenuWindow(info->Wnd)) DrawWndBorder(info->Wnd, *info);
    return true;
}

bool TsSkinableMenus::IsPopupItem(const tk::TMenuItem* item) const {
    return item && dynamic_cast<const tk::TPopupMenu*>(item->GetParentMenu()) != nullptr;
}

// ---- Measuring ----

void TsSkinableMenus::AskExtraLine(const tk::TMenuItem* firstItem, TacExtraLineData& data) const {
    if (firstItem && firstItem->Name() == L"SkinSelectItem") {
        data.LineVisible = false;
        return;
    }
    if (OnGetMenuExtraLineData) OnGetMenuExtraLineData(firstItem, data);
    data.Caption.erase(std::remove(data.Caption.begin(), data.Caption.end(), L'&'), data.Caption.end());
    if (!data.LineVisible) data.Glyph.SetSize(0, 0);
}

bool TsSkinableMenus::DecideExtraLine(const tk::TMenuItem* firstItem) const {
    TacExtraLineData data;
    AskExtraLine(firstItem, data);
    return data.LineVisible;
}

int TsSkinableMenus::ExtraWidthOf(bool haveExtraLine) const {
    return FOwner->MenuSupport.UseExtraLine && haveExtraLine ? std::max(0, FOwner->MenuSupport.ExtraLineWidth) : 0;
}

int TsSkinableMenus::ExtraWidth(const TacMenuInfo* info) const { return info ? ExtraWidthOf(info->HaveExtraLine) : 0; }

tk::TFont& TsSkinableMenus::ItemFont(bool bold) {
    if (!FFontsValid) {
        tk::GetMenuFont(FItemFont);
        FBoldFont.Assign(FItemFont);
        FBoldFont.Style |= tk::fsBold;
        FBoldFont.Changed();
        FFontsValid = true;
    }
    return bold ? FBoldFont : FItemFont;
}

bool TsSkinableMenus::SelectItemFont(tk::TMenuItem* item, tk::TOwnerDrawState state, HDC dc) {
    tk::TFont& font = ItemFont(item && item->Default);
    if (!OnGetPopupItemData) {
        SelectObject(dc, font.Handle());
        return false;
    }
    FItemData.Font.Assign(font);
    OnGetPopupItemData(item, state, FItemData);
    FItemData.Font.Changed();
    SelectObject(dc, FItemData.Font.Handle());
    return FItemData.Font.Color != font.Color;
}

TacMenuInfo* TsSkinableMenus::PrepareForWindow(HWND wnd, const SIZE* comingSize) {
    const tk::TMenuItem* item = tk::TMenuItem::FromData(reinterpret_cast<ULONG_PTR>(FLastMeasured));
    if (!item || !MenusMeasuring || !Model() || !IsMenuWindow(wnd)) return FindMenuInfoByWindow(wnd);
    HDC dc = GetDC(nullptr);
    tk::TCanvas canvas(dc);
    TacMenuInfo* info = GetMenuInfo(item, wnd, &canvas, comingSize);
    ReleaseDC(nullptr, dc);
    if (info && comingSize) DrawWndBorder(wnd, *info, comingSize);
    return info;
}

SIZE TsSkinableMenus::MeasureText(tk::TCanvas& canvas, const std::wstring& text, int width) const {
    RECT r{0, 0, width, 0};
    DrawTextW(canvas.Handle(), text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void TsSkinableMenus::sMeasureItem(tk::TMenuItem* item, tk::TCanvas& canvas, int& width, int& height) {
    if (!item || item->Destroying()) return;
    MenusMeasuring = true;
    const TacMenuInfo* info = FindMenuInfo(FirstItemOf(item));
    it = ItemKind(item->Caption);
    const bool haveExtraLine = info ? info->HaveExtraLine : DecideExtraLine(FirstItemOf(item));
    SelectItemFont(item, 0, canvas.Handle());
    FLastMeasured = item;
    const SIZE image = ItemImageSize(item);
    SIZE text{0, 0};
    if (it == TsMenuItemType::smCaption) text = MeasureText(canvas, L"-" + item->Caption + L"-", 1);
    else if (it == TsMenuItemType::smNormal) text = MeasureText(canvas, item->Caption + item->ShortCutText, kWideMeasure);
    const int extra = InFirstColumn(item) ? ExtraWidthOf(haveExtraLine) : 0;
    width = MeasuredItemWidth(it, text.cx, image.cx, Metrics(), extra);
    height = MeasuredItemHeight(it, text.cy, image.cy, Metrics());
}

SIZE TsSkinableMenus::MenuSizeWithoutWindow(const tk::TMenuItem* parent, tk::TCanvas& canvas) {
    std::vector<TMeasuredItem> items;
    const TsMenuItemType saved = it;
    for (int i = 0; parent && i < parent->Count(); ++i) {
        tk::TMenuItem* item = parent->Items(i);
        if (!item->Visible) continue;
        TMeasuredItem m;
        sMeasureItem(item, canvas, m.Width, m.Height);
        m.Break = item->Break != tk::TMenuBreak::mbNone;
        items.push_back(m);
    }
    it = saved;
    return MenuSizeOf(items, Metrics());
}

TacMenuInfo* TsSkinableMenus::GetMenuInfo(const tk::TMenuItem* item, HWND wnd, tk::TCanvas* canvas,
                                          const SIZE* windowSize) {
    if (!item) return FindMenuInfoByWindow(wnd);
    SIZE size{0, 0};
    const bool sized = wnd && (windowSize ? (size = *windowSize, true) : MenuWindowSize(wnd, size));
    const tk::TMenuItem* first = FirstItemOf(item);
    if (TacMenuInfo* found = FindMenuInfo(first)) {
        if (!sized) return found;
        if (PictureFits(found->Bmp.get(), size.cx, size.cy)) {
            found->Wnd = wnd;
            return found;
        }
        if (!canvas) return found;
        // Made before the window was known or had its size: made again for the window.
        auto& list = MenuInfoList();
        list.erase(std::find_if(list.begin(), list.end(), [found](const TacMenuInfo& e) { return &e == found; }));
    }
    if (!canvas) return nullptr;
    if (!wnd) size = MenuSizeWithoutWindow(item->Parent(), *canvas);
    return PrepareMenuBG(item, size.cx, size.cy, wnd);
}

HWND TsSkinableMenus::MenuWindowOfDC(HDC dc) {
    HWND wnd = dc ? WindowFromDC(dc) : nullptr;
    return IsMenuWindow(wnd) ? wnd : nullptr;
}

}  // namespace sk
