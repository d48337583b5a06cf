// What a control's skin data decides about its state: the kind sets and default sections,
// hot or not, whether its background is a plain colour, and whether it may paint now.
#include <algorithm>

#include "skinframework/sCommonData.h"
#include "skinframework/sSkinManager.h"
#include "skinframework/sVclUtils.h"
#include "toolkit/Redraw.h"

namespace sk {

namespace {

struct TKindRange {
    int First, Last;
};

template <size_t N> bool InRanges(const TKindRange (&ranges)[N], int coc) {
    return std::any_of(std::begin(ranges), std::end(ranges),
                       [coc](const TKindRange& r) { return coc >= r.First && coc <= r.Last; });
}

constexpr TKindRange kNoHoverKinds[] = {{19, 19}, {51, 74}, {110, 110}, {141, 161}};
constexpr TKindRange kContainerKinds[] = {{51, 52}, {54, 54},   {56, 60},   {68, 68},   {73, 74},  {110, 110},
                                          {141, 141}, {143, 143}, {151, 151}, {161, 161}, {226, 226}};
constexpr TKindRange kEditKinds[] = {{2, 18}, {41, 41}, {76, 84}, {96, 96}, {131, 140}, {231, 231}};

struct TKindSection {
    TKindRange Kinds;
    const wchar_t* Section;
};

constexpr TKindSection kDefaultSections[] = {
    {{2, 8}, L"EDIT"},           {{10, 10}, L"EDIT"},         {{41, 41}, L"EDIT"},        {{76, 76}, L"EDIT"},
    {{78, 78}, L"EDIT"},         {{83, 85}, L"EDIT"},         {{96, 96}, L"EDIT"},        {{131, 131}, L"EDIT"},
    {{140, 140}, L"EDIT"},       {{230, 230}, L"EDIT"},       {{11, 18}, L"COMBOBOX"},    {{81, 82}, L"COMBOBOX"},
    {{19, 19}, L"BAR"},          {{20, 20}, L"BARTITLE"},     {{32, 33}, L"CHECKBOX"},    {{50, 50}, L"CHECKBOX"},
    {{152, 152}, L"CHECKBOX"},   {{34, 34}, L"SLIDER_OFF"},   {{51, 51}, L"PANEL"},       {{59, 59}, L"PANEL"},
    {{68, 68}, L"PANEL"},        {{73, 73}, L"PANEL"},        {{52, 52}, L"PANEL_LOW"},   {{58, 58}, L"PANEL_LOW"},
    {{53, 54}, L"TOOLBAR"},      {{60, 60}, L"TOOLBAR"},      {{56, 56}, L"DRAGBAR"},     {{57, 57}, L"TABSHEET"},
    {{74, 74}, L"GROUPBOX"},     {{226, 226}, L"GROUPBOX"},   {{75, 75}, L"SPLITTER"},    {{92, 92}, L"SPEEDBUTTON"},
    {{95, 95}, L"SPEEDBUTTON"},  {{93, 94}, L"BUTTON"},       {{98, 98}, L"TOOLBUTTON"},  {{141, 141}, L"PAGECONTROL"},
    {{143, 143}, L"PAGECONTROL"}, {{151, 151}, L"STATUSBAR"}, {{161, 161}, L"GAUGE"},     {{165, 165}, L"TRACKBAR"},
};

// Texture draw modes 15 to 19 are drawn as modes 0, 1, 2, 3, 3.
int FoldTextureMode(int mode) {
    static constexpr int kFolded[] = {0, 1, 2, 3, 3};
    return mode >= 15 && mode <= 19 ? kFolded[mode - 15] : mode;
}

}  // namespace

bool IsNoHoverKind(int coc) { return InRanges(kNoHoverKinds, coc); }
bool IsContainerKind(int coc) { return InRanges(kContainerKinds, coc); }
bool IsEditKind(int coc) { return InRanges(kEditKinds, coc); }

std::wstring DefaultSectionForKind(int coc) {
    for (const TKindSection& entry : kDefaultSections)
        if (coc >= entry.Kinds.First && coc <= entry.Kinds.Last) return entry.Section;
    return {};
}

// ---- Hot state ----

bool TsCommonData::ControlIsHot() const {
    if (!FOwnerControl || FOwnerControl->Destroying() || !FOwnerControl->Enabled()) return false;
    if (FFocused) return true;
    if (tk::TWinControl* win = OwnerWinControl();
        win && win->HandleAllocated() && GetFocus() == win->Handle() && !IsContainerKind(COC))
        return true;
    const TsSkinManager* manager = SkinManager();
    const bool noMouseHover = manager && manager->Options.NoMouseHover;
    return FMouseAbove && !noMouseHover && !IsNoHoverKind(COC);
}

bool TsCommonData::BothStatesTransparent() const {
    const TsGeneralData* section = Section();
    return section && section->Props[0].Transparency == 100 && section->Props[1].Transparency == 100;
}

bool TsCommonData::OuterEffectsAllowed() const {
    const TsSkinManager* manager = SkinManager();
    return manager && manager->Effects.AllowOuterEffects && (OwnerWinControl() || FProvider);
}

// ---- Uniform backgrounds ----

int TsCommonData::BgIsUniform() {
    const TsSkinManager* manager = SkinManager();
    const TsGeneralData* section = Section();
    if (!manager || !section) return 1;
    if (OuterEffectsAllowed()) return 0;
    if (const TsMaskData* border = BorderMask(); border && (border->DrawMode & 4)) return 0;
    const TsGenState& normal = section->Props[0];
    if (normal.Transparency == 100) return TransparentBgIsUniform(*section);
    if (normal.Transparency != 0) return 0;
    if (normal.GradientPercent != 0 || normal.ImagePercent != 0) return 0;
    if (FProvider && FProvider->FormHasPaintHandler()) return 0;
    const TSkinModel& model = manager->Model();
    for (int corner : {section->ImgTL, section->ImgTR, section->ImgBL, section->ImgBR})
        if (model.IsValidImgIndex(corner)) return 0;
    return 1;
}

// A fully transparent control shows its parent: as uniform as the parent is.
int TsCommonData::TransparentBgIsUniform(const TsGeneralData& section) {
    const TSkinModel& model = SkinManager()->Model();
    if (model.IsValidImgIndex(section.TextureNormal) &&
        FoldTextureMode(model.ma[static_cast<size_t>(section.TextureNormal)].DrawMode) == 10)
        return 0;
    tk::TWinControl* parent = FOwnerControl ? FOwnerControl->Parent() : nullptr;
    if (!parent) return 0;
    if (!parent->HandleAllocated()) return 2;
    if (!IsSkinnedWindow(parent->Handle())) return 1;
    const LRESULT state = SendSkinCmd(parent->Handle(), SC_GETSTATE);
    return (state & ACS_NOTCOMPUTED) ? 2 : static_cast<int>(state & ACS_BGUNIFORM);
}

void TsCommonData::UpdateCtrlSkinState(bool forChildren) {
    CtrlSkinState = static_cast<uint16_t>(CtrlSkinState & ~ACS_BGUNIFORM);
    const int uniform = BgIsUniform();
    if (FProvider) {
        if (uniform == 1) {
            if (!FProvider->IsMdiParent()) CtrlSkinState |= ACS_BGUNIFORM;
            CtrlSkinState = static_cast<uint16_t>(CtrlSkinState & ~ACS_NOTCOMPUTED);
        } else if (uniform == 0) {
            CtrlSkinState = 0;
        }
    } else if (uniform == 2) {
        CtrlSkinState |= ACS_NOTCOMPUTED;  // asked again once the parent can answer
    } else {
        if (uniform == 1) CtrlSkinState |= ACS_BGUNIFORM;
        CtrlSkinState = static_cast<uint16_t>(CtrlSkinState & ~ACS_NOTCOMPUTED);
    }
    tk::TWinControl* win = OwnerWinControl();
    if (!forChildren || !win) return;
    for (int i = 0; i < win->ControlCount(); ++i) PerformSkinCmd(win->Controls(i), SC_GETSTATE, 1);
}

uint16_t TsCommonData::GetCtrlSkinState() {
    if (CtrlSkinState & ACS_NOTCOMPUTED) UpdateCtrlSkinState(false);
    return CtrlSkinState;
}

bool TsCommonData::CacheIsNeeded() {
    if (!(GetCtrlSkinState() & ACS_BGUNIFORM)) return true;
    if (OuterEffectsAllowed()) return true;
    return ControlIsHot() && !IsContainerKind(COC);
}

bool TsCommonData::RepaintIfMoved() {
    if (!Skinned() || !FOwnerControl) return false;
    tk::TWinControl* parent = FOwnerControl->Parent();
    if (!parent || !parent->HandleAllocated() || !IsSkinnedWindow(parent->Handle())) return false;
    return !(SendSkinCmd(parent->Handle(), SC_GETSTATE) & ACS_BGUNIFORM);
}

int TsCommonData::MaxBorderWidth() const {
    if (!BorderMask()) return 0;
    const TSkinModel& model = SkinManager()->Model();
    return std::max({model.MaskWidthLeft(BorderIndex), model.MaskWidthTop(BorderIndex),
                     model.MaskWidthRight(BorderIndex), model.MaskWidthBottom(BorderIndex)});
}

// ---- Readiness ----

bool TsCommonData::Updating() {
    TsSkinManager* manager = SkinManager();
    if (!manager || manager->Core().Designing) return false;
    if (FUpdating) return true;
    if (OwnerDestroying()) return false;
    tk::TWinControl* parent = FOwnerControl ? FOwnerControl->Parent()
                              : FProvider && FProvider->Form() ? FProvider->Form()->Parent()
                                                               : nullptr;
    return parent && PerformSkinCmd(parent, SC_ISUPDATING) == 1;
}

bool TsCommonData::CheckUpdating(bool reset) {
    if (reset) FUpdating = false;
    if (Updating()) FUpdating = true;
    return FUpdating;
}

// The owner itself (a provider: its form's window) hears of the start and end of an update.
LRESULT TsCommonData::NotifyOwner(WORD cmd) {
    return FProvider ? SendSkinCmd(OwnerHandle(), cmd) : PerformSkinCmd(FOwnerControl, cmd);
}

void TsCommonData::BeginUpdate() {
    ++FUpdateCount;
    FUpdating = true;
    CtrlSkinState |= ACS_LOCKED;
    NotifyOwner(SC_BEGINUPDATE);
}

void TsCommonData::EndUpdate(bool repaint) {
    if (FUpdateCount > 0) --FUpdateCount;
    if (FUpdateCount > 0) return;  // an outer update is still open
    FUpdating = false;
    CtrlSkinState = static_cast<uint16_t>(CtrlSkinState & ~ACS_LOCKED);
    NotifyOwner(SC_UPDATEDONE);
    if (repaint) Invalidate(true);
}

void TsCommonData::Invalidate(bool updateNow) {
    if (Loading) return;
    if (FOwnerControl && (FOwnerControl->IsLoading() || FOwnerControl->Destroying())) return;
    BGChanged = true;
    if (FProvider) {
        if (HWND h = OwnerHandle()) tk::RedrawAll(h, updateNow);
        return;
    }
    if (!FOwnerControl || !FOwnerControl->Parent()) return;
    if (tk::TWinControl* win = OwnerWinControl()) {
        if (win->HandleAllocated()) tk::RedrawAll(win->Handle(), updateNow);
        return;
    }
    if (updateNow) FOwnerControl->Repaint();
    else FOwnerControl->Invalidate();
}

}  // namespace sk
