// Colours a skinned control takes from its section: its own colour and font colour (edit
// kinds switch between the normal and the hot set), the background colour it shows, and the
// hover glow.
#include <algorithm>

#include "skinframework/acGlow.h"
#include "skinframework/sCommonData.h"
#include "skinframework/sSkinManager.h"
#include "skinframework/sVclUtils.h"
#include "toolkit/Redraw.h"

namespace sk {

namespace {

constexpr rd::TColor kButtonFace = rd::clBtnFace;  // 0xFF00000F
constexpr rd::TColor kNoParentColor = rd::clMagenta;

int ClampPercent(int value) { return std::clamp(value, 0, 100); }

// Assigns the colours of a properties set to a control (each only when it differs and the
// user has not set it); true when something changed.
bool AssignStateColors(tk::TControl& control, const TsGenState& props, const TsCommonData& data, bool withFont) {
    const rd::TControlColorAdjust adjust{rd::clNone, data.FHUEOffset, data.FSaturation};
    bool changed = false;
    if (!data.FCustomColor) {
        const rd::TColor color = rd::AdjustControlColor(props.Color, adjust);
        if (control.Color() != color) {
            control.SetColor(color);
            changed = true;
        }
    }
    if (withFont && !data.FCustomFont) {
        const rd::TColor font = rd::AdjustControlColor(props.FontColor.Color, adjust);
        if (control.Font().Color != font) {
            control.Font().Color = font;
            control.Font().Changed();
            changed = true;
        }
    }
    return changed;
}

}  // namespace

rd::TColor TsCommonData::OwnerColor() const {
    if (FOwnerControl) return FOwnerControl->Color();
    if (FProvider && FProvider->Form()) return FProvider->Form()->Color();
    return kButtonFace;
}

// The colour behind a partly or fully transparent control, as GetBgColor mixes it.
rd::TColor TsCommonData::ParentColorForMix(HWND handle) const {
    if (!FOwnerControl) {
        if (!handle) return kButtonFace;
        return static_cast<rd::TColor>(SendSkinCmd(GetParent(handle), SC_GETBGCOLOR));
    }
    tk::TWinControl* parent = FOwnerControl->Parent();
    if (!parent) return kNoParentColor;
    if (parent->HandleAllocated() && IsSkinnedWindow(parent->Handle()))
        return rd::ColorToRGB(static_cast<rd::TColor>(SendSkinCmd(parent->Handle(), SC_GETBGCOLOR)));
    return rd::ColorToRGB(parent->Color());
}

// The colour behind the control as the SC_GETBGCOLOR reply takes it: the parent's reply, its
// colour when it is not an engine window, the owner's own colour without a parent.
rd::TColor TsCommonData::ParentReplyColor() const {
    tk::TWinControl* parent = FOwnerControl ? FOwnerControl->Parent()
                              : FProvider && FProvider->Form() ? FProvider->Form()->Parent()
                                                               : nullptr;
    if (!parent) return rd::ColorToRGB(OwnerColor());
    if (parent->HandleAllocated() && IsSkinnedWindow(parent->Handle()))
        return static_cast<rd::TColor>(SendSkinCmd(parent->Handle(), SC_GETBGCOLOR));
    return rd::ColorToRGB(parent->Color());
}

rd::TColor TsCommonData::GetBgColor(int state, HWND handle) {
    const TsGenState* props = Skinned() && !FCustomColor ? StateProps(state) : nullptr;
    if (!props) return OwnerColor();
    const int t = ClampPercent(props->Transparency);
    const rd::TColor c = props->Color;
    if (t == 0) return c;
    const rd::TColor p = ParentColorForMix(handle);
    if (t == 100) return p;
    const double k = t / 100.0;
    uint32_t result = static_cast<uint32_t>(c) & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const double cc = (static_cast<uint32_t>(c) >> shift) & 0xFF;
        const double pc = (static_cast<uint32_t>(p) >> shift) & 0xFF;
        const auto mixed = static_cast<uint32_t>(cc * k + pc * (1 - k));
        result |= std::min(mixed, 255u) << shift;
    }
    return static_cast<rd::TColor>(result);
}

rd::TColor TsCommonData::BgColorReply() {
    const TsGenState* normal = Skinned() ? StateProps(0) : nullptr;
    if (!normal) return rd::ColorToRGB(OwnerColor());
    const uint32_t t = static_cast<uint32_t>(ClampPercent(normal->Transparency));
    const auto c = static_cast<uint32_t>(normal->Color);
    if (t == 0) return normal->Color;
    const auto p = static_cast<uint32_t>(ParentReplyColor());
    if (t == 100) return static_cast<rd::TColor>(p);
    uint32_t result = p & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t cc = (c >> shift) & 0xFF, pc = (p >> shift) & 0xFF;
        result |= (((pc - cc) * t + cc * 256) >> 8 & 0xFF) << shift;
    }
    return static_cast<rd::TColor>(result);
}

void TsCommonData::UpdateSkinColors(bool repaint) {
    if (!Skinned() || !IsEditKind(COC) || BothStatesTransparent() || !FOwnerControl) return;
    if (tk::TWinControl* win = OwnerWinControl(); win && !win->HandleAllocated()) return;
    AssignStateColors(*FOwnerControl, Section()->Props[0], *this, COC != 10);
    if (repaint) Invalidate(false);
}

void TsCommonData::SwitchEditColors(bool hot) {
    const TsGenState* props = FOwnerControl ? StateProps(hot ? 1 : 0) : nullptr;
    if (!props) return;
    BGChanged = true;
    const bool changed = AssignStateColors(*FOwnerControl, *props, *this, true);
    HWND h = OwnerHandle();
    if (!h) return;
    if (changed) InvalidateRect(h, nullptr, TRUE);
    tk::RedrawFrame(h);
}

// ---- Glow ----

void TsCommonData::UpdateGlow(bool hide, HWND handle) {
    TsSkinManager* manager = SkinManager();
    const TsGeneralData* section = Section();
    if (!manager || !manager->Effects.AllowGlowing || !section || manager->Options.NoMouseHover ||
        section->GlowCount < 1)
        return;
    if (!FOwnerControl) return;
    if (!FMouseAbove || manager->Core().Designing || (hide && GlowID >= 0)) {
        HideGlow(GlowID);
        return;
    }
    if (GlowID >= 0) return;
    RECT screen{}, visible{};
    if (!GlowRects(handle, screen, visible)) return;
    tk::TWinControl* form = TopParent(FOwnerControl);
    if (!form) form = OwnerWinControl();
    if (!form || !form->HandleAllocated()) return;
    GlowID = ShowGlow(screen, visible, FSkinSection, this, form->Handle(), 255, section->GlowMargin, L"GLOW");
}

// The control's rectangle on the screen and its visible part in its own coordinates.
bool TsCommonData::GlowRects(HWND handle, RECT& screen, RECT& visible) const {
    if (OwnerWinControl()) {
        HWND h = handle ? handle : OwnerHandle();
        if (!h) return false;
        GetWindowRect(h, &screen);
        visible = {0, 0, screen.right - screen.left, screen.bottom - screen.top};
        return true;
    }
    tk::TWinControl* parent = FOwnerControl->Parent();
    if (!parent || !parent->HandleAllocated()) return false;
    const RECT bounds = FOwnerControl->BoundsRect();
    POINT origin{bounds.left, bounds.top};
    ClientToScreen(parent->Handle(), &origin);
    screen = {origin.x, origin.y, origin.x + FOwnerControl->Width(), origin.y + FOwnerControl->Height()};
    // The part of the control inside the parent's clip box.
    HDC dc = GetDC(parent->Handle());
    RECT clip{};
    GetClipBox(dc, &clip);
    ReleaseDC(parent->Handle(), dc);
    RECT inside{};
    IntersectRect(&inside, &clip, &bounds);
    visible = {inside.left - bounds.left, inside.top - bounds.top, inside.right - bounds.left, inside.bottom - bounds.top};
    return true;
}

}  // namespace sk
