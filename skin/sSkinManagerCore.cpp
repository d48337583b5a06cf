#include "skin/sSkinManagerCore.h"

#include <algorithm>
#include <charconv>
#include <exception>
#include <fstream>
#include <iterator>
#include <random>

#include "skin/acntUtils.h"

namespace sk {

namespace {

const wchar_t* const kGlobal = L"GLOBALINFO";
const wchar_t* const kOptionsFileName = L"Options.dat";

// Sets a flag for the life of a scope; it is cleared again also when the scope raises.
class TLoadingScope {
public:
    explicit TLoadingScope(bool& flag) : FFlag(flag) { FFlag = true; }
    ~TLoadingScope() { FFlag = false; }
    TLoadingScope(const TLoadingScope&) = delete;
    TLoadingScope& operator=(const TLoadingScope&) = delete;

private:
    bool& FFlag;
};

bool EndsWithBackslash(const std::wstring& s) { return !s.empty() && s.back() == L'\\'; }
std::wstring WithBackslash(const std::wstring& s) { return EndsWithBackslash(s) ? s : s + L'\\'; }

bool FileExists(const std::wstring& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(NativeSkinPath(path), ec);
}

TBytes ReadWholeFile(const std::wstring& path) {
    std::ifstream in(NativeSkinPath(path), std::ios::binary);
    if (!in) throw ESkinError("cannot read " + NarrowForMessage(path));
    return TBytes(std::istreambuf_iterator<char>(in), {});
}

bool HasKvpSuffix(const std::wstring& name) {
    return name.size() > 4 && UpperAscii(name.substr(name.size() - 4)) == L".KVP";
}

std::wstring ParentFolder(const std::wstring& folderWithBackslash) {
    std::wstring s = folderWithBackslash;
    if (EndsWithBackslash(s)) s.pop_back();
    const size_t cut = s.find_last_of(L'\\');
    return cut == std::wstring::npos ? std::wstring() : s.substr(0, cut + 1);
}

std::wstring FormatVersion(double version) {
    char buf[32];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, version);
    return ec == std::errc() ? std::wstring(buf, end) : std::wstring();
}

}  // namespace

TsStoredSkins& TsStoredSkins::operator=(const std::vector<TsStoredSkin>& items) {
    FItems = items;
    Update();
    return *this;
}

int TsStoredSkins::IndexOf(const std::wstring& name) const {
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].Name == name) return static_cast<int>(i);
    return -1;
}

void TsStoredSkins::Update(int) {
    if (FOwner && FOwner->OnSkinListChanged) FOwner->OnSkinListChanged();
}

void TsStoredSkins::push_back(TsStoredSkin item) {
    FItems.push_back(std::move(item));
    Update();
}

void TsStoredSkins::clear() {
    FItems.clear();
    Update();
}

TSkinManagerCore::TSkinManagerCore(TSkinManagerHost host) : FHost(std::move(host)), FModel(NewModel()) {}

// Every model, loaded or empty, starts from the host's values, so none of them is lost when
// a model is replaced.
std::unique_ptr<TSkinModel> TSkinManagerCore::NewModel() const {
    auto model = std::make_unique<TSkinModel>();
    model->BlurTemplate = FHost.BlurTemplate;
    model->SizingFrameWidth = FHost.SizingFrameWidth;
    return model;
}

void TSkinManagerCore::DefaultEmptySkinDirectory() {
    if (FSkinDirectory.empty()) FSkinDirectory = kDefaultSkinDirectory;
}

bool TSkinManagerCore::SkinLoaded() const { return FActive && FModel->CommonSkinData && !FModel->gd.empty(); }

std::wstring TSkinManagerCore::SkinInfo() const {
    return SkinLoaded() ? FormatVersion(FModel->CommonSkinData->Version) : L"N/A";
}

// ---- Where the skin comes from ----

std::wstring TSkinManagerCore::GetFullSkinDirectory() const {
    const std::wstring& d = FSkinDirectory;
    const std::wstring& exe = FHost.ExeFolder;
    if (d.rfind(L"..", 0) == 0) return ParentFolder(exe) + (d.size() > 3 ? d.substr(3) : std::wstring());
    if (d.rfind(L".\\", 0) == 0 || d.rfind(L"./", 0) == 0) return exe + d.substr(2);
    if (d == L".") return exe;
    if (d.find(L':') == std::wstring::npos && d.find(L"\\\\") == std::wstring::npos) return exe + d;
    return d;
}

std::wstring TSkinManagerCore::PackedFileName() const { return WithBackslash(FSkinDirectory) + FSkinName + L".kvp"; }

std::wstring TSkinManagerCore::FolderSkinPath() const { return WithBackslash(GetFullSkinDirectory()) + FSkinName + L"\\"; }

bool TSkinManagerCore::SkinIsPackedFile() const { return FileExists(PackedFileName()); }

std::vector<std::wstring> TSkinManagerCore::GetExternalSkinNames() const {
    std::vector<std::wstring> names;
    std::error_code ec;
    const auto dir = NativeSkinPath(GetFullSkinDirectory());
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const auto& p = it->path();
        if (it->is_directory(ec) && std::filesystem::is_regular_file(p / kOptionsFileName, ec))
            names.push_back(PathText(p.filename()));
        else if (it->is_regular_file(ec) && UpperAscii(PathText(p.extension())) == L".KVP")
            names.push_back(PathText(p.stem()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::wstring> TSkinManagerCore::GetSkinNames(TSkinListKind kind) const {
    std::vector<std::wstring> names;
    if (kind != TSkinListKind::External)
        for (const auto& s : FInternalSkins) names.push_back(s.Name);
    if (kind != TSkinListKind::Internal) {
        auto external = GetExternalSkinNames();
        names.insert(names.end(), external.begin(), external.end());
    }
    return names;
}

std::wstring TSkinManagerCore::GetRandomSkin() const {
    const auto names = GetSkinNames(TSkinListKind::All);
    if (names.empty()) return {};
    static std::mt19937 generator{std::random_device{}()};
    return names[std::uniform_int_distribution<size_t>(0, names.size() - 1)(generator)];
}

// ---- Extraction of internal skins ----

namespace {

bool DirectoryExists(const std::wstring& dir) {
    std::error_code ec;
    return std::filesystem::is_directory(NativeSkinPath(dir), ec);
}

// Written beside the target and moved over it, so a failed write leaves no broken file.
bool WriteWholeFile(const std::wstring& path, const TBytes& data) {
    const auto target = NativeSkinPath(path);
    auto partial = target;
    partial += ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
        if (!out.flush()) {
            out.close();
            std::error_code ec;
            std::filesystem::remove(partial, ec);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(partial, target, ec);
    if (ec) std::filesystem::remove(partial, ec);
    return !ec;
}

}  // namespace

void TSkinManagerCore::ExtractInternalSkin(const std::wstring& nameOfSkin, const std::wstring& destDir) {
    bool found = false;
    for (size_t i = 0; i < FInternalSkins.size(); ++i) {
        if (FInternalSkins[i].Name != nameOfSkin) continue;
        found = true;
        if (DirectoryExists(destDir)) ExtractByIndex(static_cast<int>(i), destDir);
        else ReportError(kMsgDirNotExists);
    }
    if (!found) ReportError(kMsgSkinNotExists);
}

void TSkinManagerCore::ExtractByIndex(int index, const std::wstring& destDir) {
    if (index < 0 || index >= static_cast<int>(FInternalSkins.size())) return ReportError(kMsgSkinNotExists);
    const std::wstring dir = NormalizeExtractDir(destDir);
    std::error_code ec;
    if (!dir.empty() && !DirectoryExists(dir) && !std::filesystem::create_directory(NativeSkinPath(dir), ec))
        return ReportError(DirCreationErrorMessage(dir));
    const TsStoredSkin& skin = FInternalSkins[static_cast<size_t>(index)];
    if (skin.Data.empty()) return;
    const std::wstring file = ExtractedSkinFileName(dir, skin.Name);
    if (!WriteWholeFile(file, skin.Data)) ReportError(L"Cannot create file " + file + L".");
}

TColor TSkinManagerCore::GetHighLightColor(bool focused) const {
    return Palette(focused ? pcSelectionBG_Focused : pcSelectionBG);
}
TColor TSkinManagerCore::GetHighLightFontColor(bool focused) const {
    return Palette(focused ? pcSelectionText_Focused : pcSelectionText);
}

// ---- Setters ----

void TSkinManagerCore::SetSkinName(const std::wstring& name) {
    const std::wstring oldName = FSkinName;
    FSkinName = name;
    if (FPreview && FPreview->Name != name) FPreview.reset();
    if (!FActive) return;
    Fire(OnBeforeChange);
    {
        TLoadingScope loading(FLoadingSkin);
        if (FModel->CommonSkinData) FModel->CommonSkinData->Active = false;
        if (HasKvpSuffix(FSkinName)) FSkinName.resize(FSkinName.size() - 4);
        // A preview that fails to load is not replaced by the internal skin of that name.
        const bool preview = FPreview.has_value();
        if (!ReloadReportingErrors() && (preview || !LoadInternalAfterExternalFailed())) FSkinName = oldName;
        FPreview.reset();  // a preview serves one load
        if (FActive) Fire(OnSkinApplied);
        // Fired also when the reload found no skin and turned the manager inactive.
        if (!Designing && !FDescriptionLoading) Fire(OnActivate);
    }
    Fire(OnAfterChange);
}

void TSkinManagerCore::SetPreviewOptions(const std::wstring& name, std::wstring text) {
    FPreview = TPreview{name, std::move(text)};
}

void TSkinManagerCore::Fire(const std::function<void()>& event) {
    if (event) event();
}

// An external skin that replaces an internal one of the same name but cannot be loaded
// must not leave the window without a skin: the internal skin is loaded instead.
bool TSkinManagerCore::LoadInternalAfterExternalFailed() {
    const bool external = SkinIsPackedFile() || FileExists(FolderSkinPath() + kOptionsFileName);
    const bool internal = FInternalSkins.IndexOf(FSkinName) >= 0;
    if (!external || !internal) return false;
    return Reporting([this] { ReloadInternalSkin(); });
}

void TSkinManagerCore::SetCommonSections(const std::wstring& text) {
    if (text == FCommonSections) return;
    FCommonSections = text;
    if (!FSkinName.empty()) SetSkinName(FSkinName);
}

void TSkinManagerCore::SetExtendedBorders(bool value) {
    if (value == FExtendedBorders) return;
    FExtendedBorders = value;
    if (!SkinLoaded() || FDescriptionLoading) {
        CheckShadows();
        return;
    }
    {
        TLoadingScope loading(FLoadingSkin);
        ReloadReportingErrors();
    }
    if (FActive) Fire(OnSkinReloaded);
}

void TSkinManagerCore::CheckShadows() {
    FShadows = sk::CheckShadows(*FModel, FActive, ExtendedBorders(), FHost.BuiltInShadows);
}

void TSkinManagerCore::SetActive(bool value) {
    if (value == FActive) return;
    FActive = value;
    if (value) {
        SetSkinName(FSkinName);
    } else if (!FSkinName.empty() && !FLoadingSkin) {
        RemoveSkin();
        if (!Designing) Fire(OnDeactivate);
    }
}

void TSkinManagerCore::RemoveSkin() {
    std::exception_ptr failure;
    try {
        Fire(OnRemovingSkin);
    } catch (...) {
        failure = std::current_exception();
    }
    FModel = NewModel();
    FModel->InitConstantIndexes();
    CheckShadows();
    if (failure) std::rethrow_exception(failure);
}

void TSkinManagerCore::SetHueOffset(int value) {
    if (value == FAdjustment.HueOffset) return;
    FAdjustment.HueOffset = value;
    ReapplyTint();
}

void TSkinManagerCore::SetSaturation(int value) {
    if (value == FAdjustment.Saturation) return;
    FAdjustment.Saturation = value;
    ReapplyTint();
}

void TSkinManagerCore::SetBrightness(int value) {
    value = std::clamp(value, -100, 100);
    if (value == FAdjustment.Brightness) return;
    FAdjustment.Brightness = value;
    ReapplyTint();
}

// The tint is applied while loading, so a new value reloads the skin from its source.
void TSkinManagerCore::ReapplyTint() {
    if (!FActive || FLoadingSkin || FDescriptionLoading || !SkinLoaded()) return;
    {
        TLoadingScope loading(FLoadingSkin);
        ReloadReportingErrors();
        Fire(OnAfterChange);
    }
    if (FActive) Fire(OnSkinReloaded);
}

// ---- Reloads ----

bool TSkinManagerCore::ReloadReportingErrors() {
    const bool loaded = Reporting([this] { Reload(); });
    RemoveSkinWhenInactive();
    return loaded;
}

// The windows are told after the reload, outside its error handling.
void TSkinManagerCore::RemoveSkinWhenInactive() {
    if (!FActive && FModel->CommonSkinData) RemoveSkin();
}

bool TSkinManagerCore::Reporting(const std::function<void()>& load) {
    struct TReloadNotice {
        const std::function<void(bool)>& Notify;
        explicit TReloadNotice(const std::function<void(bool)>& notify) : Notify(notify) {
            if (Notify) Notify(true);
        }
        ~TReloadNotice() {
            if (Notify) Notify(false);
        }
    } notice(OnReloading);
    try {
        load();
        return true;
    } catch (const std::exception& e) {
        ReportError(MessageText(e.what()));
        return false;
    }
}

void TSkinManagerCore::ReportError(const std::wstring& message) {
    if (FHost.ShowError) FHost.ShowError(message);
}

void TSkinManagerCore::Reload() {
    if (SkinIsPackedFile())
        ReloadPackedSkin();
    else
        ReloadSkin();
}

void TSkinManagerCore::ReloadSkin() {
    if (!FActive) return;
    const std::wstring skinPath = FolderSkinPath();
    if (FPreview) {
        const std::wstring text = std::move(FPreview->Text);
        FPreview.reset();
        LoadModel(TOptionsFile::FromText(text), {nullptr, NativeSkinPath(skinPath)}, skinPath);
        return;
    }
    if (FileExists(skinPath + kOptionsFileName)) {
        LoadModel(TOptionsFile::FromBytes(ReadWholeFile(skinPath + kOptionsFileName)),
                  {nullptr, NativeSkinPath(skinPath)}, skinPath);
        return;
    }
    ReloadInternalSkin();
}

void TSkinManagerCore::ReloadInternalSkin() {
    int index = FInternalSkins.IndexOf(FSkinName);
    if (index < 0) {
        if (FInternalSkins.empty()) {
            FActive = false;  // the model is removed once the reload has ended
            return;
        }
        index = 0;
        FSkinName = FInternalSkins[0].Name;
    }
    TsStoredSkin& found = FInternalSkins[static_cast<size_t>(index)];
    if (found.Data.empty())
        throw ESkinError("The internal skin \"" + NarrowForMessage(found.Name) + "\" has no data.");
    auto package = std::make_unique<TacSkinConvertor>();
    package->LendPackedData(&found.Data);
    UnpackSkinPack(package);
    if (!package || !package->Options)
        throw ESkinError("The internal skin \"" + NarrowForMessage(found.Name) + "\" is not a packed skin.");
    package->DetachPackedData();
    LoadModel(TOptionsFile::FromBytes(*package->Options), {package.get(), {}}, L"");
}

// A package without options (or not a package at all) is reported like any other load
// error, so the previous skin and its name stay.
void TSkinManagerCore::ReloadPackedSkin() {
    std::unique_ptr<TacSkinConvertor> package;
    LoadSkinPackFile(NativeSkinPath(PackedFileName()), package, true);
    if (!package || !package->Options)
        throw ESkinError("\"" + NarrowForMessage(FSkinName) +
                         "\" skin have internal format error. Please update this skin to latest version.");
    LoadModel(TOptionsFile::FromBytes(*package->Options), {package.get(), {}},
              WithBackslash(GetFullSkinDirectory()));
}

// The new model replaces the current one only when the whole load succeeded.
void TSkinManagerCore::LoadModel(const TOptionsFile& options, const TSkinSource& source,
                                 const std::wstring& skinPath) {
    CheckVersion(options.ReadVersion(kGlobal, L"VERSION", 0));
    auto model = NewModel();
    model->Adjustment = FAdjustment;
    model->CommonSections = FCommonSections;
    model->Load(options, source);
    model->CommonSkinData->SkinPath = skinPath;
    model->CommonSkinData->Active = false;  // the activation broadcast switches it on
    FModel = std::move(model);
    CheckShadows();
    Fire(OnSkinLoading);
}

void TSkinManagerCore::CheckVersion(double version) {
    if (version < 7.45) {
        const bool asked = FHost.HasCommandLineArg && FHost.HasCommandLineArg(L"/actest");
        if ((Designing || asked) && FHost.ShowMessage)
            FHost.ShowMessage(L"You are using an old version of the \"" + FSkinName +
                              L"\" skin. Please, update skins to latest or contact the Corvane support for "
                              L"upgrading of existing skin.\r\n\r\nThis notification occurs in design-time only "
                              L"for your information and will not occur in real-time.");
    } else if (version > 9.99) {
        const uint8_t rules = FSkinningRules;
        FSkinningRules &= static_cast<uint8_t>(~srStdDialogs);
        if (FHost.ShowWarning)
            FHost.ShowWarning(L"This version of the skin have not complete support by used Corvane package "
                              L"release.\r\nComponents must be updated up to latest version for using this skin.");
        FSkinningRules = rules;
    }
}

}  // namespace sk
