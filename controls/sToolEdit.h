// Directory edit: an edit whose button action lets the user pick a folder.
#pragma once
#include <windows.h>
#include <shtypes.h>

#include <functional>

#include "controls/sCustomComboEdit.h"

namespace sk {

class TsDirectoryEdit : public TsCustomComboEdit {
public:
    explicit TsDirectoryEdit(tk::TComponent* owner);
    tk::TExecOpenDialogEvent OnBeforeDialog, OnAfterDialog;
    const std::wstring& DialogText() const { return FDialogText; }
    const std::wstring& Root() const { return FRoot; }
    std::wstring InitialDir;
    bool NoChangeDir = false;
    bool ShowRootBtns = false;  // the dialog shows its root-folder buttons
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;
    // Shows the folder dialog; returns false when cancelled. Replaceable for tests.
    std::function<bool(const std::wstring& start, std::wstring& chosen)> ExecuteDialog;

protected:
    // Runs the folder dialog and puts the accepted folder into the edit.
    void ButtonClick() override;

private:
    std::wstring FDialogText, FRoot = L"rfDesktop";
    bool FAllowCreate = true;
};

// Whether a path names an existing directory, answering yes for errors other than the
// ones that say the path is not there.
bool DirectoryExistsForDialog(const std::wstring& path);
// The shell folder identifier of a root-folder name ("rfDesktop" -> 0), or -1.
int RootFolderId(const std::wstring& name);

}  // namespace sk
