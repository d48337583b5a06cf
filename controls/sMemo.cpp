#include "controls/sMemo.h"

#include "skinframework/sSkinManager.h"

namespace sk {

TsMemo::TsMemo(tk::TComponent* owner) : tk::TMemo(owner) {}

TsMemo::~TsMemo() {
    MarkDestroying();
    // The object reads this skin data while the window goes away: it goes first.
    if (HandleAllocated()) DetachEditWnd(Handle());
}

TacEditWnd* TsMemo::ListSW() const {
    auto* self = const_cast<TsMemo*>(this);
    return self->HandleAllocated() ? dynamic_cast<TacEditWnd*>(FindScrollWnd(self->Handle())) : nullptr;
}

void TsMemo::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (!FSkinData.ReadProperty(reader, name, v)) tk::TMemo::SetProperty(reader, name, v);
}

void TsMemo::Loaded() {
    tk::TMemo::Loaded();
    FSkinData.Loaded();
    ApplyStateColors();
    UpdateScrollWnd();
}

void TsMemo::InitializeWnd() {
    tk::TMemo::InitializeWnd();
    if (!IsLoading()) UpdateScrollWnd();
}

void TsMemo::UpdateScrollWnd() {
    if (!HandleAllocated() || Destroying()) return;
    if (FSkinData.Skinned(true)) {
        if (!ListSW()) AttachEditWnd(Handle(), &FSkinData, FSkinData.SkinManager(), FSkinData.SkinSection());
    } else {
        DetachEditWnd(Handle());
    }
}

void TsMemo::RecreateWnd() {
    if (!HandleAllocated()) return;
    FText = GetText();
    const bool focused = Focused();
    DestroyHandle();
    HandleNeeded();
    if (focused) SetFocus();
}

void TsMemo::ApplyStateColors() {
    if (!FSkinData.Skinned()) return;
    const TsGenState* props = FSkinData.StateProps(FSkinData.ControlIsHot() ? 1 : 0);
    if (!props) return;
    if (!FSkinData.CustomColor() && Color() != props->Color) SetColor(props->Color);
    if (!FSkinData.CustomFont() && Font().Color != props->FontColor.Color) {
        Font().Color = props->FontColor.Color;
        Font().Changed();
    }
}

bool TsMemo::OnSkinCommand(tk::TMessage& m) {
    switch (HIWORD(m.WParam)) {
        case SC_NEWSKIN:
            HandleSkinCommand(m, FSkinData);
            ApplyStateColors();  // the stored colours give way to the section's at once
            UpdateScrollWnd();
            return true;
        case SC_REMOVESKIN:
            if (HandleAllocated()) DetachEditWnd(Handle());
            HandleSkinCommand(m, FSkinData);
            RecreateWnd();
            return true;
        case SC_REFRESH:
            HandleSkinCommand(m, FSkinData);
            ApplyStateColors();
            UpdateScrollWnd();
            if (HandleAllocated())
                RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
            return true;
        case SC_ISHANDLED:
            m.Result = 1;
            return true;
        default:
            return false;
    }
}

bool TsMemo::OnPaint(tk::TMessage& m) {
    if (!FSkinData.Skinned()) return false;
    ApplyStateColors();
    if (!FSkinData.Updating()) return false;
    ValidateRect(Handle(), nullptr);
    m.Result = 0;
    return true;
}

void TsMemo::WndProc(tk::TMessage& m) {
    switch (m.Msg) {
        case SM_SKINCMD:
            if (OnSkinCommand(m)) return;
            break;
        case WM_PAINT:
            if (OnPaint(m)) return;
            break;
        case tk::CM_SHOWINGCHANGED:
            tk::TMemo::WndProc(m);
            UpdateScrollWnd();
            return;
        default:
            break;
    }
    if (!HandleCommonMessage(m, FSkinData)) tk::TMemo::WndProc(m);
    switch (m.Msg) {
        case WM_SETFONT: case tk::CM_VISIBLECHANGED: case tk::CM_ENABLEDCHANGED:
            if (HandleAllocated()) InvalidateRect(Handle(), nullptr, TRUE);
            break;
        case EM_SCROLLCARET:
            if (OnScrollCaret) OnScrollCaret(this);
            break;
        case WM_VSCROLL:
            if (OnVScroll) OnVScroll(this);
            break;
        case tk::CM_TEXTCHANGED:
            if (TacEditWnd* sw = ListSW()) sw->UpdateScrolls();
            break;
        default:
            break;
    }
}

}  // namespace sk
