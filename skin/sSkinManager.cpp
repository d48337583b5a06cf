#include "skin/sSkinManager.h"

#include <windows.h>
#include <shellapi.h>

#include <cwctype>

namespace sk {

namespace {

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

TSkinManagerHost WindowsHost() {
    TSkinManagerHost host;
    host.ShowError = [](const std::wstring& m) { TsSkinManager::ErrorBox(m); };
    host.ShowMessage = [](const std::wstring& m) { Box(m, MB_OK | MB_ICONINFORMATION); };
    host.ShowWarning = [](const std::wstring& m) { Box(m, MB_OK | MB_ICONWARNING); };
    host.HasCommandLineArg = HasCommandLineArg;
    host.ExeFolder = ExeFolder();
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
