// The subclassing base, the edit frame and the attach and detach functions.
#include "controls/acSBUtils.h"

#include <commctrl.h>

#include "skinframework/sControlPaint.h"
#include "skinframework/sSkinManager.h"
#include "skinpaint/sSectionPaint.h"
#include "toolkit/Redraw.h"

namespace sk {

// ---- TacMainWnd ----

TacMainWnd::TacMainWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager)
    : CtrlHandle(wnd), SkinData(skinData), SkinManager(manager) {
    if (!SkinManager && SkinData) SkinManager = SkinData->SkinManager();
    if (!SkinManager) SkinManager = TsSkinManager::DefaultManager();
}

TacMainWnd::~TacMainWnd() { Detach(); }

void TacMainWnd::Create() {
    SetPropW(CtrlHandle, kScrollWndProp, this);
    FSubclass.Attach(CtrlHandle, [this](tk::TMessage& m) { Dispatch(m); });
}

void TacMainWnd::Dispatch(tk::TMessage& m) {
    ++FDepth;
    try {
        acWndProc(m);
    } catch (...) {
        --FDepth;
        throw;
    }
    if (--FDepth == 0 && FFreePending) delete this;
}

void TacMainWnd::acWndProc(tk::TMessage& m) { CallPrevProc(m); }

void TacMainWnd::CallPrevProc(tk::TMessage& m) { FSubclass.CallPrevious(m); }

void TacMainWnd::Detach() {
    if (Destroyed) return;
    Destroyed = true;
    FSubclass.Detach();
    if (IsWindow(CtrlHandle) && GetPropW(CtrlHandle, kScrollWndProp) == this) RemovePropW(CtrlHandle, kScrollWndProp);
}

void TacMainWnd::Release(TacMainWnd* wnd) {
    if (!wnd) return;
    wnd->Detach();
    if (wnd->FDepth > 0) wnd->FFreePending = true;
    else delete wnd;
}

bool TacMainWnd::SkinActive() const { return SkinManager && SkinManager->Active() && !SkinManager->Destroying(); }

const TSkinModel* TacMainWnd::Model() const { return SkinActive() ? &SkinManager->Model() : nullptr; }

// ---- TacEditWnd ----

TacEditWnd::TacEditWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::wstring& section)
    : TacBaseWnd(wnd, skinData, manager), FSection(section) {
    wchar_t className[16]{};
    GetClassNameW(wnd, className, 16);
    SingleLineEdit = lstrcmpiW(className, L"EDIT") == 0 && !(GetWindowLongPtrW(wnd, GWL_STYLE) & ES_MULTILINE);
}

bool TacEditWnd::OwnsSkinData() const { return SkinData && SkinData->FOwnerControl && SkinData->OwnerHandle() == CtrlHandle; }

int TacEditWnd::SectionIndex() const {
    const TSkinModel* model = Model();
    if (!model) return -1;
    if (SkinData && (FSection.empty() || FSection == SkinData->SkinSection())) return SkinData->SkinIndex;
    return model->GetSkinIndex(FSection);
}

bool TacEditWnd::Hot() const {
    if (OwnsSkinData()) return SkinData->ControlIsHot();
    return FFocused || GetFocus() == CtrlHandle;
}

void TacEditWnd::SetSkinParams() {
    if (!OwnsSkinData()) return;
    const TsGeneralData* section = SkinData->Section();
    const TsGenState* props = SkinData->StateProps(Hot() && section && section->States > 1 ? 1 : 0);
    if (!props) return;
    tk::TControl& control = *SkinData->FOwnerControl;
    if (!SkinData->CustomColor() && control.Color() != props->Color) control.SetColor(props->Color);
    if (!SkinData->CustomFont() && control.Font().Color != props->FontColor.Color) {
        control.Font().Color = props->FontColor.Color;
        control.Font().Changed();
    }
    (Hot() ? FocusColor : Color) = control.Color();
}

rd::TCacheInfo TacEditWnd::Background() {
    rd::TCacheInfo info;
    if (OwnsSkinData()) {
        SkinData->GetParentCache(info);
        return info;
    }
    const TSkinModel* model = Model();
    const int index = SectionIndex();
    info.FillColor = model && model->IsValidSkinIndex(index) ? model->gd[static_cast<size_t>(index)].Props[0].Color
                                                             : rd::clMagenta;
    return info;
}

void TacEditWnd::BuildFrame(int width, int height) {
    FFrame.SetSize(width, height);
    rd::TBitmap32* view = FFrame.View();
    const rd::TCacheInfo behind = Background();
    const rd::TRect whole{0, 0, width, height};
    const int state = Hot() ? 1 : 0;
    if (OwnsSkinData() && (FSection.empty() || FSection == SkinData->SkinSection()))
        PaintControlFace(*SkinData, behind, true, view, {0, 0}, whole, state);
    else
        rd::PaintSectionFace(SectionIndex(), FSection, behind, -1, -1, Model(), view, {0, 0}, whole, state);
    FrameColor = static_cast<rd::TColor>(view->Height > 0 && view->Width > 0 ? view->Row(0)[0] & 0xFFFFFF : 0);
    GdiFlush();
}

void TacEditWnd::CopyFrame(HDC dc, int width, int height) {
    HDC source = FFrame.Canvas().Handle();
    const int inner = height - cyTopEdge - cyBottomEdge;
    BitBlt(dc, 0, 0, width, cyTopEdge, source, 0, 0, SRCCOPY);
    BitBlt(dc, 0, height - cyBottomEdge, width, cyBottomEdge, source, 0, height - cyBottomEdge, SRCCOPY);
    BitBlt(dc, 0, cyTopEdge, cxLeftEdge, inner, source, 0, cyTopEdge, SRCCOPY);
    BitBlt(dc, width - cxRightEdge, cyTopEdge, cxRightEdge, inner, source, width - cxRightEdge, cyTopEdge, SRCCOPY);
}

bool TacEditWnd::PaintNonClient(HDC dc) {
    if (!PaintAllowed() || !ScrollsInitialized || !Model()->IsValidSkinIndex(SectionIndex())) return false;
    const rd::TCacheInfo behind = Background();
    if (!behind.Ready && behind.FillColor == rd::clMagenta) return false;
    RECT wr{};
    GetWindowRect(CtrlHandle, &wr);
    const int width = wr.right - wr.left, height = wr.bottom - wr.top;
    if (width <= 0 || height <= 0) return false;
    const bool ownerStale = OwnsSkinData() && SkinData->BGChanged;
    if (FStale || ownerStale || FFrame.Width() != width || FFrame.Height() != height) {
        SetSkinParams();
        BuildFrame(width, height);
        FStale = false;
        if (OwnsSkinData()) SkinData->BGChanged = false;
    }
    CopyFrame(dc, width, height);
    PaintBars(dc);
    return true;
}

void TacEditWnd::RedrawNow() {
    if (Destroyed) return;
    HDC dc = GetWindowDC(CtrlHandle);
    if (!dc) return;
    PaintNonClient(dc);
    ReleaseDC(CtrlHandle, dc);
}

bool TacEditWnd::OnSkinCommand(tk::TMessage& m) {
    const HWND wnd = CtrlHandle;
    switch (HIWORD(m.WParam)) {
        case SC_NEWSKIN: case SC_REFRESH:
            FStale = true;
            CallPrevProc(m);
            // The new skin may have scroll sections where the old one had none, or not.
            if (!Destroyed) tk::ApplyFrameChange(wnd);
            return true;
        case SC_REMOVESKIN: {
            const bool owned = OwnsSkinData();
            CallPrevProc(m);
            // A window without a skinned owner gets its standard look back here.
            if (!Destroyed && !owned) {
                RestoreStdParams();
                Release(this);
                tk::ApplyFrameChange(wnd);
            }
            return true;
        }
        case SC_ENDUPDATE:
            CallPrevProc(m);
            FStale = true;
            if (!Destroyed) RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
            return true;
        default:
            return false;
    }
}

void TacEditWnd::acWndProc(tk::TMessage& m) {
    if (Destroyed) {
        CallPrevProc(m);
        return;
    }
    switch (m.Msg) {
        case WM_NCPAINT: {
            const bool nativeBars = (sBarVert.fScrollFlags && !BarSkinned(sBarVert)) ||
                                    (sBarHorz.fScrollFlags && !BarSkinned(sBarHorz));
            // Bars the skin has no sections for keep the platform's look under the skinned frame.
            if (nativeBars || !SkinActive()) CallPrevProc(m);
            if (!SkinActive()) return;
            HDC dc = GetWindowDC(CtrlHandle);
            const bool painted = dc && PaintNonClient(dc);
            if (dc) ReleaseDC(CtrlHandle, dc);
            if (!painted && !nativeBars) CallPrevProc(m);
            m.Result = 0;
            return;
        }
        case WM_PRINT:
            CallPrevProc(m);
            if ((m.LParam & PRF_NONCLIENT) && m.WParam) PaintNonClient(reinterpret_cast<HDC>(m.WParam));
            return;
        case WM_SETFOCUS: case WM_KILLFOCUS:
            TacBaseWnd::acWndProc(m);
            FFocused = m.Msg == WM_SETFOCUS;
            FStale = true;
            SetSkinParams();
            RedrawNow();
            return;
        case WM_SETTEXT: case tk::CM_ENABLEDCHANGED: case tk::CM_FONTCHANGED: case WM_SIZE:
        case tk::CM_MOUSEENTER: case tk::CM_MOUSELEAVE:
            TacBaseWnd::acWndProc(m);
            FStale = true;
            if (!Destroyed) tk::RedrawFrame(CtrlHandle);
            return;
        case SM_SKINCMD:
            if (OnSkinCommand(m)) return;
            break;
        default:
            break;
    }
    TacBaseWnd::acWndProc(m);
}

// ---- Variants ----

void TacComboListWnd::acWndProc(tk::TMessage& m) {
    TacEditWnd::acWndProc(m);
    if (!Destroyed && m.Msg >= LB_ADDSTRING && m.Msg <= LB_MSGMAX) UpdateScrolls();
}

void TacTreeViewWnd::acWndProc(tk::TMessage& m) {
    TacEditWnd::acWndProc(m);
    if (!Destroyed && m.Msg >= TV_FIRST && m.Msg < TV_FIRST + 0x100) UpdateScrolls();
}

// ---- Attaching ----

namespace {

template <class TWnd>
TacEditWnd* AttachAs(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::wstring& section) {
    if (!wnd || !IsWindow(wnd)) return nullptr;
    if (auto* live = dynamic_cast<TacEditWnd*>(FindScrollWnd(wnd))) return live;
    if (FindScrollWnd(wnd)) return nullptr;  // another kind of object owns the window
    auto* object = new TWnd(wnd, skinData, manager, section);
    object->Create();
    object->AfterCreation();
    tk::ApplyFrameChange(wnd);  // the non-client area is computed anew with the skin's bars
    return object;
}

}  // namespace

TacEditWnd* AttachEditWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::wstring& section) {
    return AttachAs<TacEditWnd>(wnd, skinData, manager, section);
}

TacEditWnd* AttachComboListWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::wstring& section) {
    return AttachAs<TacComboListWnd>(wnd, skinData, manager, section);
}

TacEditWnd* AttachTreeViewWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::wstring& section) {
    return AttachAs<TacTreeViewWnd>(wnd, skinData, manager, section);
}

void DetachEditWnd(HWND wnd) {
    TacMainWnd* object = FindScrollWnd(wnd);
    if (!object) return;
    TacMainWnd::Release(object);
    tk::ApplyFrameChange(wnd);
    RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
}

TacMainWnd* FindScrollWnd(HWND wnd) {
    if (!wnd || !IsWindow(wnd)) return nullptr;
    auto* object = static_cast<TacMainWnd*>(GetPropW(wnd, kScrollWndProp));
    return object && !object->Destroyed ? object : nullptr;
}

}  // namespace sk
