#include "skinframework/sSkinManager.h"

#include <windows.h>
#include <shellapi.h>

#include <cwctype>

#include "skin/acImageDecode.h"
#include "skin/acntUtils.h"
#include "skin/sPlatformHooks.h"
#include "skinframework/acGlow.h"
#include "skinframework/sSkinState.h"
#include "skinframework/sVclUtils.h"
#include "toolkit/Redraw.h"

namespace sk {

namespace {

// The bytes of one of the program's resources; empty when it has none.
std::vector<uint8_t> ResourceBytes(const wchar_t* name, const wchar_t* type) {
    HMODULE module = tk::ResourceInstance();
    HRSRC res = FindResourceW(module, name, type);
    HGLOBAL h = res ? LoadResource(module, res) : nullptr;
    const auto* data = h ? static_cast<const uint8_t*>(LockResource(h)) : nullptr;
    return data ? std::vector<uint8_t>(data, data + SizeofResource(module, res)) : std::vector<uint8_t>();
}

// A bitmap resource is a bitmap file without its 14-byte file header.
std::unique_ptr<rd::TMemBitmap32> DecodeBitmapResource(const wchar_t* name) {
    const std::vector<uint8_t> dib = ResourceBytes(name, MAKEINTRESOURCEW(2));  // RT_BITMAP
    if (dib.size() < sizeof(BITMAPINFOHEADER)) return nullptr;
    BITMAPINFOHEADER info;
    memcpy(&info, dib.data(), sizeof info);
    const DWORD colours = info.biClrUsed ? info.biClrUsed : info.biBitCount <= 8 ? (1u << info.biBitCount) : 0;
    const DWORD offset = 14 + info.biSize + colours * 4;
    std::vector<uint8_t> file(14, 0);
    file[0] = 'B';
    file[1] = 'M';
    const DWORD size = static_cast<DWORD>(14 + dib.size());
    memcpy(&file[2], &size, 4);
    memcpy(&file[10], &offset, 4);
    file.insert(file.end(), dib.begin(), dib.end());
    return DecodeBmp(file.data(), file.size()).Bitmap;
}

std::unique_ptr<rd::TMemBitmap32> DecodeShadowResource(const wchar_t* name) {
    const std::vector<uint8_t> png = ResourceBytes(name, MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (png.empty()) return nullptr;
    auto bitmap = DecodePng(png.data(), png.size()).Bitmap;
    if (bitmap) ClearWhiteTransparent(*bitmap);
    return bitmap;
}

std::wstring ExeFolder() {
    wchar_t buf[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH);
    std::wstring path(buf, n);
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

bool HasCommandLineArg(const std::wstring& arg) {
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    bool found = false;
    for (int i = 1; args && i < count && !found; ++i) {
        std::wstring a = args[i];
        for (auto& c : a) c = static_cast<wchar_t>(std::towlower(c));
        found = a == arg;
    }
    LocalFree(args);
    return found;
}

void Box(const std::wstring& text, UINT flags) { MessageBoxW(nullptr, text.c_str(), L"Kalvetra", flags); }

// What the engine decodes once per process, before the first manager exists.
struct TUnitImages {
    std::unique_ptr<rd::TMemBitmap32> Blur, ShadowActive, ShadowInactive;
};

template <class Decode> std::unique_ptr<rd::TMemBitmap32> Optional(Decode decode, const wchar_t* name) {
    try {
        return decode(name);
    } catch (const std::exception&) {
        return nullptr;  // a damaged built-in image only costs its effect
    }
}

const TUnitImages& UnitStart() {
    static const TUnitImages images = [] {
        InstallPlatformHooks();
        TUnitImages i;
        i.Blur = Optional(DecodeBitmapResource, L"BLUR5");
        i.ShadowActive = Optional(DecodeShadowResource, L"acSHDA");
        i.ShadowInactive = Optional(DecodeShadowResource, L"acSHDI");
        if (HasCommandLineArg(L"/acver")) Box(std::wstring(L"Corvane v") + kEngineVersion, MB_OK | MB_ICONINFORMATION);
        return i;
    }();
    return images;
}

bool LayeredUpdateAvailable() {
    HMODULE user = GetModuleHandleW(L"user32.dll");
    return user && GetProcAddress(user, "UpdateLayeredWindow");
}

TSkinManagerHost WindowsHost() {
    TSkinManagerHost host;
    host.ShowError = [](const std::wstring& m) { TsSkinManager::ErrorBox(m); };
    host.ShowMessage = [](const std::wstring& m) { Box(m, MB_OK | MB_ICONINFORMATION); };
    host.ShowWarning = [](const std::wstring& m) { Box(m, MB_OK | MB_ICONWARNING); };
    host.HasCommandLineArg = HasCommandLineArg;
    host.ExeFolder = ExeFolder();
    host.LayeredWindows = LayeredUpdateAvailable();
    const TUnitImages& images = UnitStart();
    host.BlurTemplate = images.Blur.get();
    host.BuiltInShadows = {images.ShadowActive.get(), images.ShadowInactive.get()};
    host.SizingFrameWidth = GetSystemMetrics(SM_CXFRAME);
    return host;
}

}  // namespace

std::function<void(const std::wstring&)> TsSkinManager::ErrorBox = [](const std::wstring& m) {
    Box(m, MB_OK | MB_ICONERROR);
};

TsSkinManager* TsSkinManager::FDefault = nullptr;

TsSkinManager::TsSkinManager(tk::TComponent* owner) : tk::TComponent(owner), FCore(WindowsHost()) {
    BindCore();
    if (!FDefault) {
        FDefault = this;
        InstallApplicationHook();
    }
    RefillThirdLists();
    FCore.DefaultEmptySkinDirectory();
}

TsSkinManager::~TsSkinManager() {
    MarkDestroying();  // controls that hold this manager forget it when the skin goes
    if (FCore.SkinLoaded()) {
        try {
            FCore.RemoveSkin();
        } catch (...) {
            // Nothing can be reported from here; the model is freed regardless.
        }
    }
    if (FDefault == this) {
        UnInstallHook();
        FreeRetiredProviders();  // no later message will free them for this manager
        RemoveApplicationHook();
        FDefault = nullptr;
    }
}

// The core loads; the component tells the windows.
void TsSkinManager::BindCore() {
    FCore.OnReloading = [](bool reloading) { acSkinLoading = reloading; };
    FCore.OnSkinApplied = [this] {
        if (!FNoAutoUpdate) AnnounceSkin(true);
    };
    FCore.OnSkinReloaded = [this] { SkinReloaded(); };
    FCore.OnRemovingSkin = [this] { AnnounceSkinRemoval(); };
}

void TsSkinManager::InstallApplicationHook() {
    if (FApplicationHook || !tk::Application || FCore.Designing) return;
    FApplicationHook =
        tk::Application->HookMainWindow([this](tk::TMessage& m) { return HandleApplicationMessage(*this, m); });
}

void TsSkinManager::RemoveApplicationHook() {
    if (FApplicationHook && tk::Application) tk::Application->UnhookMainWindow(FApplicationHook);
    FApplicationHook = 0;
}

void TsSkinManager::SetIsDefault(bool value) {
    if (!value || FDefault == this) return;
    if (FDefault) FDefault->RemoveApplicationHook();
    FDefault = this;
    InstallApplicationHook();
    if (Loading()) return;
    if (FCore.SkinLoaded()) AnnounceSkin(true);
    else AnnounceSkinRemoval();
}

void TsSkinManager::RefillThirdLists() {
    ThirdParty.FillEmptyWithDefaults();
    FThirdLists = MakeThirdLists(ThirdParty);
}

void TsSkinManager::BeginLoading() {
    tk::TComponent::BeginLoading();
    FCore.SetDescriptionLoading(true);
}

void TsSkinManager::Loaded() {
    FCore.SetDescriptionLoading(false);
    FCore.DefaultEmptySkinDirectory();
    if (MenuSupport.IcoLineSkin.empty()) MenuSupport.IcoLineSkin = L"ICOLINE";
    RefillThirdLists();
    tk::TComponent::Loaded();
    if (!FCore.Active()) return;
    if (!FCore.SkinName().empty()) AnnounceSkin(false);
    if (FCore.OnActivate) FCore.OnActivate();
}

namespace {

std::wstring JoinLines(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const auto& line : lines) text += line + L"\r\n";
    return text;
}

TacAnimType AnimType(tk::TReader& reader, const tk::TValue& v) {
    return reader.Enum(v, {"atFading", "atAero"}) == 0 ? TacAnimType::atFading : TacAnimType::atAero;
}

// "Name.Active", "Name.Time" and "Name.Mode" of one animation setting.
bool SetAnimation(tk::TReader& reader, const std::string& field, const tk::TValue& v, TacAnimation& a) {
    if (field == "Active") a.Active = reader.Bool(v);
    else if (field == "Time") a.Time = reader.Int(v);
    else if (field == "Mode") a.Mode = AnimType(reader, v);
    else return false;
    return true;
}

bool SetAnimEffects(tk::TReader& reader, const std::string& name, const tk::TValue& v, TacAnimEffects& e) {
    const size_t dot = name.find('.');
    if (dot == std::string::npos) return false;
    const std::string group = name.substr(0, dot), field = name.substr(dot + 1);
    if (group == "Buttons" && field == "Events") {
        static const std::pair<const char*, TacBtnEvent> kEvents[] = {
            {"beMouseEnter", beMouseEnter}, {"beMouseLeave", beMouseLeave}, {"beMouseDown", beMouseDown},
            {"beMouseUp", beMouseUp}};
        e.ButtonEvents = 0;
        for (const auto& id : reader.Set(v))
            for (const auto& [n, bit] : kEvents)
                if (id == n) e.ButtonEvents |= bit;
        return true;
    }
    if (group == "BlendOnMoving") {
        if (field == "Active") e.BlendOnMoving.Active = reader.Bool(v);
        else if (field == "BlendValue") e.BlendOnMoving.BlendValue = reader.Int(v);
        else if (field == "Time") e.BlendOnMoving.Time = reader.Int(v);
        else return false;
        return true;
    }
    const std::pair<const char*, TacAnimation*> groups[] = {
        {"DialogShow", &e.DialogShow}, {"FormShow", &e.FormShow},         {"FormHide", &e.FormHide},
        {"DialogHide", &e.DialogHide}, {"PageChange", &e.PageChange},     {"SkinChanging", &e.SkinChanging},
        {"Minimizing", &e.Minimizing}};
    for (const auto& [n, a] : groups)
        if (group == n) return SetAnimation(reader, field, v, *a);
    return false;
}

}  // namespace

// The settings objects' stored values ("Group.Field").
bool TsSkinManager::SetSettingsProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    const std::pair<const char*, bool*> flags[] = {
        {"Effects.AllowGlowing", &Effects.AllowGlowing},
        {"Effects.AllowAeroBluring", &Effects.AllowAeroBluring},
        {"Effects.AllowOuterEffects", &Effects.AllowOuterEffects},
        {"Effects.DiscoloredGlyphs", &Effects.DiscoloredGlyphs},
        {"ButtonsOptions.ShowFocusRect", &ButtonsOptions.ShowFocusRect},
        {"ButtonsOptions.ShiftContentOnClick", &ButtonsOptions.ShiftContentOnClick},
        {"LabelsOptions.TransparentAlways", &LabelsOptions.TransparentAlways},
        {"MenuSupport.UseExtraLine", &MenuSupport.UseExtraLine},
        {"Options.CheckEmptyAlpha", &Options.CheckEmptyAlpha},
        {"Options.NoMouseHover", &Options.NoMouseHover},
        {"Options.NativeBordersMaximized", &Options.NativeBordersMaximized},
        {"Options.StdGlyphsOrder", &Options.StdGlyphsOrder},
        {"SkinnedPopups", &SkinnedPopups}};
    for (const auto& [n, field] : flags)
        if (name == n) return *field = reader.Bool(v), true;
    const std::pair<const char*, int*> numbers[] = {
        {"MenuSupport.AlphaBlend", &MenuSupport.AlphaBlend},
        {"MenuSupport.ExtraLineWidth", &MenuSupport.ExtraLineWidth},
        {"MenuSupport.ExtraLineFont.Height", &MenuSupport.ExtraLineFont.Height},
        {"ScrollsOptions.ScrollSize", &ScrollsOptions.ScrollSize},
        {"ScrollsOptions.ButtonsSize", &ScrollsOptions.ButtonsSize}};
    for (const auto& [n, field] : numbers)
        if (name == n) return *field = reader.Int(v), true;
    if (name == "MenuSupport.IcoLineSkin") MenuSupport.IcoLineSkin = reader.String(v);
    else if (name == "MenuSupport.ExtraLineFont.Name") MenuSupport.ExtraLineFont.Name = reader.String(v);
    else if (name == "Options.OptimizingPriority")
        Options.OptimizingPriority = reader.Enum(v, {"opSpeed", "opMemory"}) == 0 ? TacOptimizingPriority::opSpeed
                                                                                 : TacOptimizingPriority::opMemory;
    else if (name.rfind("ThirdParty.", 0) == 0) return ThirdParty.Set(name.substr(11), reader.String(v));
    else if (name.rfind("AnimEffects.", 0) == 0) return SetAnimEffects(reader, name.substr(12), v, AnimEffects);
    else return false;
    return true;
}

void TsSkinManager::ReadInternalSkins(tk::TReader& reader, const tk::TValue& v) {
    std::vector<TsStoredSkin> skins;
    for (const auto& item : reader.Collection(v)) {
        TsStoredSkin skin;
        for (const auto& [key, value] : item) {
            if (key == "Name") skin.Name = reader.String(value);
            else if (key == "Data") skin.Data = reader.Binary(value);
            else if (key == "MasterBitmap.Data") skin.MasterBitmap = reader.Binary(value);
            else if (key == "Shadow1Color") skin.Shadow1Color = reader.Color(value);
            else if (key == "Shadow1Offset") skin.Shadow1Offset = reader.Int(value);
            else if (key == "Shadow1Blur") skin.Shadow1Blur = reader.Int(value);
            else if (key == "Shadow1Transparency") skin.Shadow1Transparency = reader.Int(value);
            else if (key == "BorderColor") skin.BorderColor = reader.Color(value);
            else if (key == "Version") skin.Version = reader.Double(value);
            else if (key == "Author") skin.Author = reader.String(value);
            else if (key == "Description") skin.Description = reader.String(value);
            else reader.UnknownProperty("InternalSkins." + key);
        }
        skins.push_back(std::move(skin));
    }
    FCore.InternalSkins() = skins;  // one list change, as a collection read in one update
}

void TsSkinManager::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (SetSettingsProperty(reader, name, v)) return;
    if (name == "HueOffset") SetHueOffset(reader.Int(v));
    else if (name == "Saturation") SetSaturation(reader.Int(v));
    else if (name == "Brightness") SetBrightness(reader.Int(v));
    else if (name == "Active") SetActive(reader.Bool(v));
    else if (name == "SkinName") SetSkinName(reader.String(v));
    else if (name == "SkinDirectory") SetSkinDirectory(reader.String(v));
    else if (name == "ExtendedBorders") SetExtendedBorders(reader.Bool(v));
    else if (name == "CommonSections.Strings") FCore.SetCommonSections(JoinLines(reader.List(v)));
    else if (name == "IsDefault") SetIsDefault(reader.Bool(v));
    else if (name == "SkinInfo") reader.String(v);  // stored, but the skin decides what it reads
    else if (name == "SkinningRules") {
        uint8_t rules = 0;
        for (const auto& id : reader.Set(v))
            rules = static_cast<uint8_t>(rules | (id == "srStdForms"     ? srStdForms
                                                  : id == "srStdDialogs" ? srStdDialogs
                                                  : id == "srThirdParty" ? srThirdParty
                                                                         : 0));
        FCore.SetSkinningRules(rules);
    } else if (name == "InternalSkins") ReadInternalSkins(reader, v);
    else tk::TComponent::SetProperty(reader, name, v);
}

// ---- Telling the windows ----

namespace {

// Gives a variable a value for the life of a scope; the previous value comes back also when
// the scope is left by an error.
template <class T> class TScopedValue {
public:
    TScopedValue(T& variable, T value) : FVariable(variable), FSaved(variable) { FVariable = value; }
    ~TScopedValue() { FVariable = FSaved; }
    TScopedValue(const TScopedValue&) = delete;
    TScopedValue& operator=(const TScopedValue&) = delete;

private:
    T& FVariable;
    T FSaved;
};

// Stops the drawing of every visible form while the windows change their look, so none shows
// a half-changed state. Released forms draw again; at the end of the scope (also after an
// error) they are released and drawn at once.
class TFormsDrawingLock {
public:
    explicit TFormsDrawingLock(bool lock) {
        if (lock && tk::Screen) LockVisibleForms();
    }
    ~TFormsDrawingLock() { Release(true); }
    TFormsDrawingLock(const TFormsDrawingLock&) = delete;
    TFormsDrawingLock& operator=(const TFormsDrawingLock&) = delete;

    void Release(bool redraw) {
        for (HWND handle : FLocked) {
            if (!IsWindow(handle)) continue;
            tk::LockRedraw(handle, false);
            if (redraw) tk::RedrawAll(handle, true);
        }
        FLocked.clear();
    }

private:
    // Only visible windows: unlocking a hidden one would mark it visible.
    void LockVisibleForms() {
        for (int i = 0; i < tk::Screen->FormCount(); ++i) {
            tk::TForm* form = tk::Screen->Forms(i);
            if (!form->HandleAllocated() || !IsWindowVisible(form->Handle())) continue;
            tk::LockRedraw(form->Handle(), true);
            FLocked.push_back(form->Handle());
        }
    }
    std::vector<HWND> FLocked;
};

}  // namespace

bool TsSkinManager::Loading() const { return IsLoading() || acSkinLoading; }

namespace {

TMenuSkinningFactory& MenuSkinningFactory() {
    static TMenuSkinningFactory factory;
    return factory;
}

}  // namespace

void TsSkinManager::SetMenuSkinningFactory(TMenuSkinningFactory factory) {
    MenuSkinningFactory() = std::move(factory);
}

TacMenuSkinning* TsSkinManager::SkinableMenus() {
    if (!FMenus && MenuSkinningFactory() && !Destroying()) FMenus = MenuSkinningFactory()(this);
    return FMenus.get();
}

void TsSkinManager::AnnounceSkin(bool repaint) {
    if (Loading() || !FCore.SkinLoaded()) return;
    ClearGlows(true);
    TFormsDrawingLock lock(repaint && !FCore.Designing);
    FCore.Model().CommonSkinData->Active = false;
    {
        TScopedValue<bool> changing(acSkinChanging, true);
        FCore.Model().InitConstantIndexes();
        BroadcastToForms(SC_NEWSKIN, reinterpret_cast<LPARAM>(this));
    }
    if (FCore.SkinLoaded()) FCore.Model().CommonSkinData->Active = true;
    if (FMenus) FMenus->SkinChanged();
    InstallHook();
    if (repaint) RepaintForms(false);
}

// The windows let go of the skin before the hook's providers are let go of, and those are
// freed only once their window procedures have returned (see sSkinHooks).
void TsSkinManager::AnnounceSkinRemoval() {
    TScopedValue<bool> removing(FSkinRemoving, true);
    ClearGlows(true);
    TFormsDrawingLock lock(!FCore.Designing);
    if (FCore.Model().CommonSkinData) FCore.Model().CommonSkinData->Active = false;
    try {
        BroadcastToForms(SC_REMOVESKIN, reinterpret_cast<LPARAM>(this));
    } catch (...) {
        UnInstallHook();
        throw;
    }
    UnInstallHook();
}

// A tint or shadow change rebuilt the model of the same skin: the windows keep their
// sections and only repaint.
void TsSkinManager::SkinReloaded() {
    if (!FCore.SkinLoaded()) return;
    FCore.Model().CommonSkinData->Active = true;
    if (!FNoAutoUpdate && !Loading()) RepaintForms(true);
}

void TsSkinManager::RepaintForms(bool lockForms) {
    const LPARAM self = reinterpret_cast<LPARAM>(this);
    if (!FCore.Designing) BroadcastToForms(SC_FADEDONE);
    if (Loading()) {
        BroadcastToForms(SC_REFRESH, self);
    } else {
        TFormsDrawingLock lock(lockForms);
        BroadcastToForms(SC_REFRESH, self);
        lock.Release(!FNoAutoUpdate);
    }
    for (HWND handle : HookedFormWindows())
        if (IsWindowVisible(handle)) tk::RedrawAll(handle, true);
}

void TsSkinManager::UpdateSkin(bool repaint) {
    if (FCore.SkinLoaded()) AnnounceSkin(repaint);
}

void TsSkinManager::UpdateSkinSection(const std::wstring& sectionName) {
    const std::wstring upper = UpperAscii(sectionName);  // zero-terminated by the string
    BroadcastToForms(SC_UPDATESECTION, reinterpret_cast<LPARAM>(upper.c_str()));
}

void TsSkinManager::EndUpdate(bool repaint, bool allowAnimation) {
    FNoAutoUpdate = false;
    bool& animation = AnimEffects.SkinChanging.Active;
    TScopedValue<bool> switched(animation, animation && allowAnimation);
    UpdateSkin(repaint);
}

void TsSkinManager::InstallHook() {
    if (IsDefault() && !FCore.Designing) InstallFormHook();
}

void TsSkinManager::UnInstallHook() {
    if (IsDefault()) UninstallFormHook();
}

void TsSkinManager::ApplyPreview() {
    const TacSkinData* record = FPreview.Record();
    if (!record) return;
    struct TFinish {
        TacPreviewBuffer& Preview;
        ~TFinish() { Preview.Finish(); }
    } finish{FPreview};
    const std::wstring name = SkinDataText(record->SkinName);
    const std::wstring folder = SkinDataText(record->SkinDir);
    const std::wstring options = SkinDataText(record->Data);
    const bool outerUpdate = FNoAutoUpdate;
    {
        TScopedValue<bool> update(FNoAutoUpdate, true);  // an update block, ended also by an error
        SetSkinDirectory(folder);
        if (!options.empty()) FCore.SetPreviewOptions(name, options);
        SetSkinName(name);
    }
    if (!outerUpdate) EndUpdate(true);
}

}  // namespace sk
