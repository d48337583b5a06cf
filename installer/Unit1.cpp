#include "installer/Unit1.h"

#include <shlobj.h>
#include <shellapi.h>

#include "installer/AssocFiles.h"
#include "installer/ShellIntegration.h"
#include "installer/UtilityPasZlib.h"
#include "toolkit/PathNames.h"
#include "toolkit/Registry.h"

namespace kv {

Tfile InstallFiles[kPayloadRows];
Tfile SystemFiles[kPayloadRows];
bool InstallDone = false;
TForm1* Form1 = nullptr;

const wchar_t kSocialPageUrl[] = L"https://vk.com/kalvetra";

namespace {
const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kalvetra";
const wchar_t kFullPathNeeded[] = L"Укажите полный путь установки.\nНапример: C:\\Program Files\\Kalvetra";

template <class T> T* Bind(tk::TForm& form, const wchar_t* name) { return tk::BindComponent<T>(form, name); }
}  // namespace

TForm1::TForm1(tk::TComponent* owner) : tk::TForm(owner) {
    Form1 = this;
    tk::TMethodTable methods;
    methods["FormCreate"].Notify = [this](tk::TObject* s) { FormCreate(s); };
    methods["sSpeedButton1Click"].Notify = [this](tk::TObject* s) { sSpeedButton1Click(s); };
    methods["sButton1Click"].Notify = [this](tk::TObject* s) { sButton1Click(s); };
    methods["sDirectoryEdit1AfterDialog"].OpenDialog = [this](tk::TObject* s, std::wstring& n, bool& a) {
        sDirectoryEdit1AfterDialog(s, n, a);
    };
    LoadDescription(L"TFORM1", methods, [this] { BindFields(); });
}

void TForm1::BindFields() {
    sSkinManager1 = Bind<sk::TsSkinManager>(*this, L"sSkinManager1");
    sButton1 = Bind<sk::TsButton>(*this, L"sButton1");
    Image1 = Bind<tk::TImage>(*this, L"Image1");
    sLabelFX1 = Bind<sk::TsLabelFX>(*this, L"sLabelFX1");
    sLabelFX2 = Bind<sk::TsLabelFX>(*this, L"sLabelFX2");
    sSpeedButton1 = Bind<sk::TsSpeedButton>(*this, L"sSpeedButton1");
    sCheckBox1 = Bind<sk::TsCheckBox>(*this, L"sCheckBox1");
    sCheckBox2 = Bind<sk::TsCheckBox>(*this, L"sCheckBox2");
    sGauge1 = Bind<sk::TsGauge>(*this, L"sGauge1");
    sDirectoryEdit1 = Bind<sk::TsDirectoryEdit>(*this, L"sDirectoryEdit1");
    sMemo1 = Bind<sk::TsMemo>(*this, L"sMemo1");
    sLabelFX3 = Bind<sk::TsLabelFX>(*this, L"sLabelFX3");
    sComboBox1 = Bind<sk::TsComboBox>(*this, L"sComboBox1");
    sLabelFX4 = Bind<sk::TsLabelFX>(*this, L"sLabelFX4");
    sWebLabel2 = Bind<sk::TsWebLabel>(*this, L"sWebLabel2");
    sLabelFX5 = Bind<sk::TsLabelFX>(*this, L"sLabelFX5");
    sCheckBox3 = Bind<sk::TsCheckBox>(*this, L"sCheckBox3");
    sWebLabel1 = Bind<sk::TsWebLabel>(*this, L"sWebLabel1");
}

std::wstring GetSpecialFolder(uint16_t folder) {
    std::vector<wchar_t> buf(MAX_PATH, L'\0');
    if (!SHGetSpecialFolderPathW(nullptr, buf.data(), folder, TRUE)) return {};
    return std::wstring(buf.data());
}

bool IsRunningUnderWow64() {
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    HMODULE kernel = GetModuleHandleW(L"Kernel32.dll");
    auto fn = kernel ? reinterpret_cast<IsWow64ProcessFn>(GetProcAddress(kernel, "IsWow64Process")) : nullptr;
    if (!fn) return false;
    BOOL wow = FALSE;
    return fn(GetCurrentProcess(), &wow) && wow;
}

bool IsWindows64Bit() { return sizeof(void*) == 8 || IsRunningUnderWow64(); }

std::wstring VersionLabelFromResource(const uint8_t* data, size_t size, bool buildOnly) {
    if (!data || size < 56) return {};
    auto word = [data](size_t at) { return static_cast<unsigned>(data[at] | (data[at + 1] << 8)); };
    unsigned minor = word(48), major = word(50), build = word(52), release = word(54);
    if (buildOnly) return std::to_wstring(build);
    std::wstring text = std::to_wstring(major) + L"." + std::to_wstring(minor);
    if (release != 0) text += L"." + std::to_wstring(release);
    return text + L" [Build: " + std::to_wstring(build) + L"]";
}

std::wstring GetVersionLabel(bool buildOnly) {
    HMODULE self = GetModuleHandleW(nullptr);
    HRSRC res = FindResourceW(self, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16));
    if (!res) return {};
    DWORD size = SizeofResource(self, res);
    HGLOBAL h = size ? LoadResource(self, res) : nullptr;
    const auto* data = h ? static_cast<const uint8_t*>(LockResource(h)) : nullptr;
    return VersionLabelFromResource(data, size, buildOnly);
}

void ApplyAfterDialogRule(std::wstring& name, bool action) {
    if (!action || name.find(L"Kalvetra") != std::wstring::npos) return;
    // A drive or share root comes back from the dialog with its separator already there.
    if (name.empty() || !tk::IsPathSeparator(name.back())) name += L'\\';
    name += L"Kalvetra";
}

void TForm1::FormCreate(tk::TObject*) {
    // The thumbnail library follows the bitness of Windows (its shell is what loads it); the
    // system folder is the one this process sees: SysWOW64 for 32-bit code on 64-bit Windows.
    bool64bit = IsWindows64Bit();
    GLPathProgram = GetSpecialFolder(CSIDL_PROGRAM_FILES);
    GLPathSystem = GetSpecialFolder(CSIDL_WINDOWS) + (IsRunningUnderWow64() ? L"\\SysWOW64" : L"\\System32");
    sLabelFX3->SetCaption(L"beta v." + GetVersionLabel(false));
    InstallFiles[0] = {L"bass", L"bass.dll", L""};
    InstallFiles[1] = {L"basswasapi", L"basswasapi.dll", L""};
    InstallFiles[2] = {L"Kalvetra", L"Kalvetra.exe", L""};
    InstallFiles[3] = {L"launch_newinstance", L"launch_newinstance.bat", L""};
    InstallFiles[4] = {L"Kalvetra_uninstall", L"Kalvetra_uninstall.exe", L""};
    SystemFiles[0] = bool64bit ? Tfile{L"QZThumbnail64", L"QZThumbnail64.dll", L""}
                               : Tfile{L"QZThumbnail32", L"QZThumbnail32.dll", L""};
    sDirectoryEdit1->SetText(GLPathProgram + L"\\Kalvetra");
}

void TForm1::sSpeedButton1Click(tk::TObject*) { sDirectoryEdit1->DoClick(); }

void TForm1::sDirectoryEdit1AfterDialog(tk::TObject*, std::wstring& name, bool& action) {
    ApplyAfterDialogRule(name, action);
}

void TForm1::CreateShotCut(const std::wstring& sourceFile, const std::wstring& shortCutName,
                           const std::wstring& sourceParams) {
    CreateShellLink(sourceFile, shortCutName, sourceParams);
}

std::wstring TForm1::Dir() const { return sDirectoryEdit1->GetText(); }

void TForm1::Log(const std::wstring& text) { sMemo1->Lines().Add(text); }

void TForm1::ExtractPayloadRow(const Tfile& row, const std::wstring& targetDir, const std::wstring& logDir) {
    Log(L"Извлечение в " + logDir + L"\\" + row.fFile);
    {
        tk::TResourceStream res(GetModuleHandleW(nullptr), row.fName, RT_RCDATA);
        ExtractResourceToFile(res, targetDir + L"\\" + row.fFile);
    }
    sGauge1->SetProgress(sGauge1->Progress() + 1);
    tk::Application->ProcessMessages();
}

void TForm1::WriteUninstallEntry() {
    // Always the 32-bit view, where the 32-bit installer writes it: both builds find, replace and
    // remove the same entry.
    tk::TRegistry reg(KEY_ALL_ACCESS | KEY_WOW64_32KEY);
    Log(L"Занесение данных в реестр");
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    reg.OpenKey(kUninstallKey, true);
    Log(L"Занесение информация о программе");
    reg.WriteString(L"DisplayIcon", Dir() + L"\\Kalvetra.exe");
    reg.WriteString(L"DisplayName", L"Kalvetra");
    reg.WriteString(L"DisplayVersion", L"beta v." + GetVersionLabel(false));
    reg.WriteString(L"InstallLocation", Dir());
    reg.WriteString(L"Publisher", L"Vornhalt");
    reg.WriteString(L"UninstallString", Dir() + L"\\Kalvetra_uninstall.exe");
    reg.WriteString(L"URLInfoAbout", kSocialPageUrl);
    reg.WriteString(L"URLUpdateInfo", kSocialPageUrl);
    reg.WriteInteger(L"EstimatedSize", 5000);
}

void TForm1::RegisterThumbnailExtension() {
    Log(L"Установка расширения проводника");
    std::wstring params = L"/c regsvr32 /s " + SystemFiles[0].fFile;
    ShellExecuteW(nullptr, L"open", SystemProgramPath(L"cmd.exe").c_str(), params.c_str(), GLPathSystem.c_str(), SW_SHOW);
}

// An empty or relative path would put the files on the root of the current drive or under
// the current directory, and the uninstall entry would record it: ask for a full path.
bool TForm1::InstallDirectoryAccepted() {
    if (tk::IsAbsolutePath(Dir())) return true;
    tk::Application->MessageBox(kFullPathNeeded, tk::Application->Title(), MB_OK | MB_ICONWARNING);
    if (sDirectoryEdit1->HandleAllocated()) sDirectoryEdit1->SetFocus();
    return false;
}

void TForm1::sButton1Click(tk::TObject*) {
    if (InstallDone) {
        Close();
        return;
    }
    if (!InstallDirectoryAccepted()) return;
    sButton1->SetEnabled(false);
    sDirectoryEdit1->SetEnabled(false);
    sSpeedButton1->SetEnabled(false);
    if (!DirectoryExists(Dir())) ForceDirectories(Dir());
    for (int i = 0; i <= 4; ++i) {
        const Tfile& row = InstallFiles[i];
        if (!DirectoryExists(Dir() + row.fFold)) ForceDirectories(Dir() + row.fFold);
        ExtractPayloadRow(row, Dir() + row.fFold, Dir() + row.fFold);
    }
    Log(L"Извлечение системных файлов");
    ExtractPayloadRow(SystemFiles[0], GLPathSystem, GLPathSystem);
    if (sCheckBox1->Checked()) {
        Log(L"Создания ярлыка");
        CreateShotCut(Dir() + L"\\Kalvetra.exe", GetSpecialFolder(CSIDL_DESKTOP) + L"\\Kalvetra", L"");
    }
    if (sCheckBox2->Checked()) {
        Log(L"Помещение в меню Пуск");
        CreateShotCut(Dir() + L"\\Kalvetra.exe", GetSpecialFolder(CSIDL_PROGRAMS) + L"\\Kalvetra", L"");
    }
    WriteUninstallEntry();
    RegisterThumbnailExtension();
    if (sCheckBox3->Checked()) {
        Log(L"Применение ассоциации файлов");
        AssociateFileType(L".qzs", L"Kalvetra.Preset", L"Открыть с помощью Kalvetra", Dir() + L"\\Kalvetra.exe", 1);
        AssociateFileType(L".qzt", L"Kalvetra.Theme", L"Открыть с помощью Kalvetra", Dir() + L"\\Kalvetra.exe", 2);
        SHChangeNotify(SHCNE_ASSOCCHANGED, 0, nullptr, nullptr);
    }
    Log(L"Установка успешно завершена:)");
    InstallDone = true;
    sButton1->SetCaption(L"Завершить");
    sButton1->SetEnabled(true);
    // Disabling the focused button left the keyboard focus nowhere: give it back, so that
    // Enter or Space finishes the installer.
    if (!GetFocus() && GetForegroundWindow() == Handle()) sButton1->SetFocus();
}

}  // namespace kv
