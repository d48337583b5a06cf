#include "controls/sToolEdit.h"

#include <shlobj.h>

#include <map>

#include "controls/acPathDialog.h"
#include "toolkit/DescriptionReader.h"

namespace sk {

int RootFolderId(const std::wstring& name) {
    static const std::map<std::wstring, int> ids = {
        {L"rfDesktop", 0x00}, {L"rfInternet", 0x01}, {L"rfPrograms", 0x02}, {L"rfControlPanel", 0x03},
        {L"rfPrinters", 0x04}, {L"rfPersonal", 0x05}, {L"rfFavorites", 0x06}, {L"rfStartup", 0x07},
        {L"rfRecent", 0x08}, {L"rfSendTo", 0x09}, {L"rfRecycleBin", 0x0A}, {L"rfStartMenu", 0x0B},
        {L"rfDesktopDirectory", 0x10}, {L"rfMyComputer", 0x11}, {L"rfNetwork", 0x12}, {L"rfFonts", 0x14},
        {L"rfTemplates", 0x15}, {L"rfCommonStartMenu", 0x16}, {L"rfCommonPrograms", 0x17},
        {L"rfCommonStartup", 0x18}, {L"rfCommonDesktopDirectory", 0x19}, {L"rfAppData", 0x1A},
        {L"rfPrintHood", 0x1B},
    };
    for (const auto& [n, id] : ids)
        if (_wcsicmp(n.c_str(), name.c_str()) == 0) return id;
    return -1;
}

bool DirectoryExistsForDialog(const std::wstring& path) {
    DWORD attr = GetFileAttributesW(path.c_str());
    if (attr == INVALID_FILE_ATTRIBUTES) {
        DWORD e = GetLastError();
        return !(e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND || e == ERROR_NOT_READY ||
                 e == ERROR_BAD_NETPATH || e == ERROR_INVALID_NAME);
    }
    if (!(attr & FILE_ATTRIBUTE_DIRECTORY)) return false;
    if (!(attr & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

TsDirectoryEdit::TsDirectoryEdit(tk::TComponent* owner) : TsCustomComboEdit(owner, 134) {
    FMaxLength = 255;
    FDefBmpID = 1;
    ExecuteDialog = [this](const std::wstring& start, std::wstring& chosen) {
        return ExecutePathDialog({FDialogText, FRoot, FAllowCreate, ShowRootBtns}, start, chosen);
    };
}

void TsDirectoryEdit::ButtonClick() {
    TsCustomComboEdit::ButtonClick();
    std::wstring name = GetText();
    bool action = true;
    if (OnBeforeDialog) OnBeforeDialog(this, name, action);
    if (!action) return;
    if (name.empty()) name = InitialDir;
    // Only an absolute path of an existing folder: a relative one would be read against
    // whatever the current directory is.
    if (!IsDialogFolder(name)) {
        name.clear();
    } else if (!NoChangeDir && !SetCurrentDirectoryW(name.c_str())) {
        throw tk::EOSError(tk::SysErrorMessage(GetLastError()));
    }
    std::wstring chosen;
    if (ExecuteDialog(name, chosen)) {
        name = chosen;
        if (IsDialogFolder(name)) InitialDir = name;
    } else {
        name = GetText();
        action = false;
    }
    if (OnAfterDialog) OnAfterDialog(this, name, action);
    if (action) SetText(name);
}

void TsDirectoryEdit::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (name == "DialogText") FDialogText = reader.String(v);
    else if (name == "Root") FRoot = reader.String(v);
    else if (name == "OnAfterDialog") OnAfterDialog = reader.OpenDialogEvent(v);
    else if (name == "OnBeforeDialog") OnBeforeDialog = reader.OpenDialogEvent(v);
    else if (name == "ShowRootBtns") ShowRootBtns = reader.Bool(v);
    else if (name == "NoChangeDir") NoChangeDir = reader.Bool(v);
    else if (name == "DialogOptions") {
        const auto& opts = reader.Set(v);
        FAllowCreate = std::find(opts.begin(), opts.end(), "sdAllowCreate") != opts.end();
    } else TsCustomComboEdit::SetProperty(reader, name, v);
}

}  // namespace sk
