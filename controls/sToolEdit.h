// Directory edit: an edit whose button action lets the user pick a folder.
#pragma once
#include <windows.h>
#include <shtypes.h>

#include "controls/sBoundLabel.h"
#include "skinframework/sCommonData.h"
#include "toolkit/StdCtrls.h"

namespace sk {

class TsDirectoryEdit : public tk::TEdit {
public:
    explicit TsDirectoryEdit(tk::TComponent* owner);
    TsCommonData& SkinData() { return FSkinData; }
    TsBoundLabel& BoundLabel() { return FBoundLabel; }
    // The skin message and the window messages every skinned control shares, then the default.
    void WndProc(tk::TMessage& m) override {
        if (!HandleCommonMessage(m, FSkinData)) tk::TEdit::WndProc(m);
    }
    void Loaded() override {
        tk::TEdit::Loaded();
        FSkinData.Loaded();
        FBoundLabel.Loaded();
    }
    // The button action: runs the folder dialog and puts the accepted folder into the edit.
    void DoClick();
    tk::TExecOpenDialogEvent OnBeforeDialog, OnAfterDialog;
    const std::wstring& DialogText() const { return FDialogText; }
    const std::wstring& Root() const { return FRoot; }
    std::wstring InitialDir;
    bool NoChangeDir = false;
    bool ShowButton() const { return FShowButton; }
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;
    // Shows the folder picker; returns false when cancelled. Replaceable for tests.
    std::function<bool(const std::wstring& start, std::wstring& chosen)> ExecuteDialog;

private:
    bool ShellBrowse(const std::wstring& start, std::wstring& chosen);
    TsCtrlSkinData FSkinData{this, true, 134};
    TsBoundLabel FBoundLabel{this, &FSkinData};
    std::wstring FDialogText, FRoot = L"rfDesktop";
    bool FShowButton = true;
    bool FAllowCreate = true;
};

// Whether a path names an existing directory, answering yes for errors other than the
// ones that say the path is not there.
bool DirectoryExistsForDialog(const std::wstring& path);
// The file system path of the item picked in the shell's folder dialog; false, with the path
// empty, for an item that has none (a virtual folder such as the computer node): the dialog
// then counts as cancelled.
bool PickedFolderPath(LPCITEMIDLIST picked, std::wstring& path);
// The shell folder identifier of a root-folder name ("rfDesktop" -> 0), or -1.
int RootFolderId(const std::wstring& name);

}  // namespace sk
