// Lifecycle of a control's skin data: creation, stored settings, binding to a section of the
// active skin, the property setters and the cache bitmap.
#include "skinframework/sCommonData.h"

#include <cxxabi.h>

#include <cstdlib>
#include <cwctype>
#include <typeinfo>

#include "skinframework/acGlow.h"
#include "skinframework/sSkinManager.h"
#include "skinframework/sSkinState.h"
#include "skinframework/sVclUtils.h"
#include "skinpaint/sMaskPaint.h"

namespace sk {

namespace {

std::wstring UpperCase(std::wstring s) {
    for (auto& c : s) c = static_cast<wchar_t>(std::towupper(c));
    return s;
}

// The owner's class name without namespaces ("TsDirectoryEdit"); empty when unknown.
std::wstring ClassNameOf(const tk::TObject& object) {
    const char* mangled = typeid(object).name();
    int status = 0;
    char* demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = status == 0 && demangled ? demangled : mangled;
    std::free(demangled);
    const size_t colon = name.rfind(':');
    if (colon != std::string::npos) name.erase(0, colon + 1);
    return tk::Utf8ToWide(name);
}

}  // namespace

rd::TBitmap32* TacCacheBitmap::View() {
    FView.Row0 = Row0();
    FView.Stride = Stride();
    FView.Width = Row0() ? Width() : 0;
    FView.Height = Row0() ? Height() : 0;
    return &FView;
}

TsCommonData::TsCommonData(tk::TControl* owner, bool createCacheBmp, int coc)
    : FOuterEffects(std::make_unique<TacOuterEffects>(this)), FOwnerControl(owner), FOwnerObject(owner), COC(coc) {
    if (createCacheBmp) FCacheBmp = std::make_unique<TacCacheBitmap>();
    InstallPostedSkinCmdFilter();
}

TsCommonData::TsCommonData(TacProviderLink* provider, bool createCacheBmp)
    : FOuterEffects(std::make_unique<TacOuterEffects>(this)),
      FOwnerObject(dynamic_cast<tk::TObject*>(provider)),
      FProvider(provider),
      COC(224) {
    if (createCacheBmp) FCacheBmp = std::make_unique<TacCacheBitmap>();
    InstallPostedSkinCmdFilter();
}

TsCommonData::~TsCommonData() {
    // The manager must not keep pointing at a control that no longer exists.
    if (TsSkinManager* manager = SkinManager(); manager && FOwnerControl)
        manager->ControlDestroyed(FOwnerControl, OwnerHandle());
    HideGlow(GlowID);
    BorderIndex = SkinIndex = Texture = HotTexture = -1;
    FOwnerControl = nullptr;
    FOwnerObject = nullptr;
    FSkinManager = nullptr;
}

bool TsCommonData::ReadProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) {
    if (name == "SkinData.SkinSection") SetSkinSection(reader.String(value));
    else if (name == "SkinData.CustomColor") SetCustomColor(reader.Bool(value));
    else if (name == "SkinData.CustomFont") SetCustomFont(reader.Bool(value));
    else if (name == "SkinData.HUEOffset") SetHUEOffset(reader.Int(value));
    else if (name == "SkinData.Saturation") SetSaturation(reader.Int(value));
    else if (name == "SkinData.ColorTone") SetColorTone(reader.Color(value));
    else if (name == "SkinData.OuterEffects.Visibility")
        FOuterEffects->SetVisibility(reader.Enum(value, {"ovNone", "ovAlways"}) == 1 ? TacOuterVisibility::ovAlways
                                                                                     : TacOuterVisibility::ovNone);
    else return false;
    return true;
}

// ---- The manager and the section ----

TsSkinManager* TsCommonData::SkinManager() const {
    return FSkinManager ? FSkinManager : TsSkinManager::DefaultManager();
}

const TSkinModel* TsCommonData::ActiveModel() const {
    const TsSkinManager* manager = SkinManager();
    return manager && manager->Active() ? &manager->Model() : nullptr;
}

const TsGeneralData* TsCommonData::Section() const {
    const TsSkinManager* manager = SkinManager();
    if (!manager || !manager->Model().IsValidSkinIndex(SkinIndex)) return nullptr;
    return &manager->Model().gd[static_cast<size_t>(SkinIndex)];
}

const TsGenState* TsCommonData::StateProps(int state) const {
    const TsGeneralData* section = Section();
    if (!section) return nullptr;
    const int clamped = std::min(state, section->States - 1);
    return &section->Props[clamped > 0 ? 1 : 0];
}

const TsMaskData* TsCommonData::BorderMask() const {
    const TsSkinManager* manager = SkinManager();
    if (!manager || !Section() || !manager->Model().IsValidImgIndex(BorderIndex)) return nullptr;
    return &manager->Model().ma[static_cast<size_t>(BorderIndex)];
}

bool TsCommonData::Skinned(bool checkSkinActive) const {
    try {
        const TsSkinManager* manager = SkinManager();
        if (!manager || manager->Destroying()) return false;
        if (!manager->Model().IsValidSkinIndex(SkinIndex)) return false;
        if (OwnerDestroying()) return false;
        return !checkSkinActive || manager->Model().CommonSkinData->Active;
    } catch (...) {
        return false;
    }
}

bool TsCommonData::OwnerDestroying() const {
    const auto* component = dynamic_cast<const tk::TComponent*>(FOwnerObject);
    return component && component->Destroying();
}

tk::TWinControl* TsCommonData::OwnerWinControl() const { return dynamic_cast<tk::TWinControl*>(FOwnerControl); }

HWND TsCommonData::OwnerHandle() const {
    if (tk::TWinControl* win = OwnerWinControl()) return win->HandleAllocated() ? win->Handle() : nullptr;
    if (FProvider && FProvider->Form() && FProvider->Form()->HandleAllocated()) return FProvider->Form()->Handle();
    return nullptr;
}

// ---- Binding ----

void TsCommonData::Loaded() {
    Loading = false;
    AssignDefaultSection();
    if (!Skinned() || !FOwnerControl || !FOwnerControl->Parent() || FOwnerControl->IsLoading()) return;
    if (tk::TWinControl* win = OwnerWinControl()) {
        if (tk::TWinControl* form = TopParent(win); form && form != win && form->HandleAllocated())
            SendSkinCmd(form->Handle(), SC_SKINCHILDREN, reinterpret_cast<LPARAM>(win));
    }
    UpdateSkinColors(false);
}

tk::TWinControl* TsCommonData::TopParent(tk::TControl* control) {
    tk::TWinControl* top = control ? control->Parent() : nullptr;
    while (top && top->Parent()) top = top->Parent();
    return top;
}

void TsCommonData::AssignDefaultSection() {
    if (!FSkinSection.empty()) {
        UpdateIndexes(true);
        return;
    }
    if (COC == 34) {
        const std::wstring candidates[] = {L"SLIDER_OFF", L"PANEL_LOW"};
        SelectFirstSection(candidates, 2);
        return;
    }
    std::wstring name = DefaultSectionForKind(COC);
    if (name.empty() && FOwnerObject) name = UpperCase(ClassNameOf(*FOwnerObject));
    FSkinSection = name;
    UpdateIndexes(true);
}

void TsCommonData::SelectFirstSection(const std::wstring* names, int count) {
    const TsSkinManager* manager = SkinManager();
    if (!manager) {
        SkinIndex = -1;
        return;
    }
    for (int i = 0; i < count; ++i) {
        if (names[i].empty()) continue;
        const int index = manager->Active() ? manager->Model().GetSkinIndex(names[i]) : -1;
        if (manager->Model().IsValidSkinIndex(index)) {
            FSkinSection = names[i];
            SkinIndex = index;
            UpdateIndexes(false);
            return;
        }
    }
}

void TsCommonData::UpdateIndexes(bool updateMain) {
    BGChanged = true;
    const TSkinModel* model = ActiveModel();
    if (updateMain) SkinIndex = model ? model->GetSkinIndex(FSkinSection) : -1;
    UpdateBGType();
    CtrlSkinState = ACS_NOTCOMPUTED;
    if (model && model->IsValidSkinIndex(SkinIndex)) {
        BorderIndex = model->gd[static_cast<size_t>(SkinIndex)].BorderIndex;
        Texture = model->GetPatternIndex(SkinIndex, FSkinSection, L"PATTERN");
        HotTexture = model->GetPatternIndex(SkinIndex, FSkinSection, L"HOTPATTERN");
        UpdateCtrlSkinState(false);
    } else {
        if (!model) SkinIndex = -1;
        BorderIndex = Texture = HotTexture = -1;
    }
}

void TsCommonData::UpdateBGType() {
    BGType = 0;
    const TsGeneralData* section = Section();
    if (!section) return;
    const TsGenState& normal = section->Props[0];
    if (normal.ImagePercent != 0) BGType |= 4;
    if (normal.GradientPercent != 0 && !normal.GradientArray.empty()) {
        static constexpr int16_t kModeBits[] = {2, 1, 3};  // gradient modes 0, 1, 2
        const int mode = normal.GradientArray.front().Mode1;
        if (mode >= 0 && mode < 3) BGType |= kModeBits[mode];
    }
}

// ---- Setters ----

void TsCommonData::SetSkinSection(const std::wstring& value) {
    const std::wstring upper = UpperCase(value);
    if (upper == FSkinSection) return;
    FSkinSection = upper;
    UpdateIndexes(true);
    if (FProvider) {
        BGChanged = true;
        return;
    }
    if (!FOwnerControl || FOwnerControl->IsLoading() || FOwnerControl->Destroying() || !FOwnerControl->Parent())
        return;
    if (tk::TWinControl* win = OwnerWinControl()) {
        if (FCacheBmp) FCacheBmp->SetSize(0, FCacheBmp->Height());
        tk::TMessage m{SM_SKINCMD, SkinCmdWParam(SC_BGCHANGED, 1), 0, 0};
        BroadcastToChildren(win, m);
    }
    if (!FUpdating && !Loading) SendSkinChange();
    HideGlow(GlowID);
}

// SC_REFRESH when the control is bound to a section of the skin, else SC_REMOVESKIN.
void TsCommonData::SendSkinChange() {
    const WORD cmd = SkinIndex >= 0 ? SC_REFRESH : SC_REMOVESKIN;
    PerformSkinCmd(FOwnerControl, cmd, reinterpret_cast<LPARAM>(SkinManager()));
}

void TsCommonData::SetSkinManager(TsSkinManager* value) {
    if (value == TsSkinManager::DefaultManager()) value = nullptr;
    FSkinManager = value;
    UpdateIndexes(true);
    if (FProvider || !FOwnerControl || !FOwnerControl->Parent() || FOwnerControl->Destroying()) return;
    SendSkinChange();
}

void TsCommonData::SetCustomColor(bool value) {
    FCustomColor = value;
    if (FOwnerControl && !Loading && !FOwnerControl->IsLoading()) UpdateSkinColors(true);
}

void TsCommonData::SetCustomFont(bool value) {
    FCustomFont = value;
    if (FOwnerControl && !Loading && !FOwnerControl->IsLoading()) UpdateSkinColors(true);
}

void TsCommonData::SetHUEOffset(int value) {
    FHUEOffset = value;
    ReloadAfterTint();
}

void TsCommonData::SetSaturation(int value) {
    FSaturation = value;
    ReloadAfterTint();
}

void TsCommonData::SetColorTone(rd::TColor value) {
    FColorTone = value;
    ReloadAfterTint();
}

// A tint change re-binds and repaints; while the description is read it is only stored.
void TsCommonData::ReloadAfterTint() {
    if (Loading) return;
    Loaded();
    Invalidate(false);
}

void TacOuterEffects::SetVisibility(TacOuterVisibility value) {
    if (value == FVisibility) return;
    FVisibility = value;
    if (FOwner->Loading || !FOwner->FOwnerControl || FOwner->FOwnerControl->IsLoading()) return;
    tk::TWinControl* parent = FOwner->FOwnerControl->Parent();
    if (parent && parent->HandleAllocated()) SendSkinCmd(parent->Handle(), SC_INVALIDATE);
}

void TacScrollData::SetScrollWidth(int value) {
    if (value == FScrollWidth) return;
    FScrollWidth = value;
    if (HWND h = FOwner->OwnerHandle())
        SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TacScrollData::SetButtonsSize(int value) {
    if (value == FButtonsSize) return;
    FButtonsSize = value;
    if (HWND h = FOwner->OwnerHandle()) SendMessageW(h, WM_NCPAINT, 0, 0);
}

TsScrollWndData::TsScrollWndData(tk::TControl* owner, bool createCacheBmp, int coc)
    : TsCommonData(owner, createCacheBmp, coc) {}

TsScrollWndData::TsScrollWndData(TacProviderLink* provider, bool createCacheBmp)
    : TsCommonData(provider, createCacheBmp) {}

// ---- The cache ----

TacCacheBitmap* TsCommonData::InitCacheBmp() {
    if (!FCacheBmp) FCacheBmp = std::make_unique<TacCacheBitmap>();
    if (FOwnerControl)
        FCacheBmp->SetSize(std::max(0, FOwnerControl->Width()), std::max(0, FOwnerControl->Height()));
    return FCacheBmp.get();
}

std::optional<rd::TCacheInfo> TsCommonData::CacheBackground() {
    if (!FOwnerControl) return std::nullopt;
    TacBgRequest request;
    request.Offset = {FOwnerControl->Left(), FOwnerControl->Top()};
    GetParentBg(*this, request);
    if (request.BgKind == bgNotReady) {
        FUpdating = true;
        return std::nullopt;
    }
    const rd::TCacheInfo bg = rd::BackgroundToCacheInfo(request.BgKind, request.Bitmap ? request.Bitmap->View() : nullptr,
                                                       request.Offset, request.Color, request.BorderInsets);
    TacCacheBitmap* cache = InitCacheBmp();
    if (!cache || cache->Empty()) return std::nullopt;
    return bg;
}

void TsCommonData::EmptyCache() {
    if (!FCacheBmp) return;
    FCacheBmp->SetSize(FCacheBmp->Width(), 0);
    FCacheBmp->SetSize(0, 0);
}

}  // namespace sk
