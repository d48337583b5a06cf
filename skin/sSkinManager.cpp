#include "skin/sSkinManager.h"

#include <windows.h>
#include <shellapi.h>

#include <cwctype>

#include "skin/acImageDecode.h"

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
        TUnitImages i;
        i.Blur = Optional(DecodeBitmapResource, L"BLUR5");
        i.ShadowActive = Optional(DecodeShadowResource, L"acSHDA");
        i.ShadowInactive = Optional(DecodeShadowResource, L"acSHDI");
        if (HasCommandLineArg(L"/acver")) Box(std::wstring(L"Corvane v") + kEngineVersion, MB_OK | MB_ICONINFORMATION);
        return i;
    }();
    return images;
}

bool LayeredWindowsAvailable() {
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
    host.LayeredWindows = LayeredWindowsAvailable();
    const TUnitImages& images = UnitStart();
    host.BlurTemplate = images.Blur.get();
    host.BuiltInShadows = {images.ShadowActive.get(), images.ShadowInactive.get()};
    return host;
}

}  // namespace

std::function<void(const std::wstring&)> TsSkinManager::ErrorBox = [](const std::wstring& m) {
    Box(m, MB_OK | MB_ICONERROR);
};

TsSkinManager::TsSkinManager(tk::TComponent* owner) : tk::TComponent(owner), FCore(WindowsHost()) {
    FCore.Model().SizingFrameWidth = GetSystemMetrics(SM_CXFRAME);
}

void TsSkinManager::BeginLoading() {
    tk::TComponent::BeginLoading();
    FCore.SetDescriptionLoading(true);
}

void TsSkinManager::Loaded() {
    FCore.SetDescriptionLoading(false);
    FCore.DefaultEmptySkinDirectory();
    tk::TComponent::Loaded();
}

void TsSkinManager::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (name == "HueOffset") FCore.SetHueOffset(reader.Int(v));
    else if (name == "Saturation") FCore.SetSaturation(reader.Int(v));
    else if (name == "Brightness") FCore.SetBrightness(reader.Int(v));
    else if (name == "Active") FCore.SetActive(reader.Bool(v));
    else if (name == "SkinName") FCore.SetSkinName(reader.String(v));
    else if (name == "SkinDirectory") FCore.SetSkinDirectory(reader.String(v));
    else if (name == "ExtendedBorders") FCore.SetExtendedBorders(reader.Bool(v));
    else if (name == "InternalSkins") {
        auto& skins = FCore.InternalSkins();
        skins.clear();
        for (const auto& item : reader.Collection(v)) {
            TsStoredSkin skin;
            for (const auto& [key, value] : item) {
                if (key == "Name") skin.Name = reader.String(value);
                else if (key == "Data") skin.Data = reader.Binary(value);
                else reader.UnknownProperty("InternalSkins." + key);
            }
            skins.push_back(std::move(skin));
        }
    } else tk::TComponent::SetProperty(reader, name, v);
}

}  // namespace sk
