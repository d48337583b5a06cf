// The folder selection dialog: a skinned form from its own stored description with a tree of
// the shell's folders, OK, Cancel and Create. OK is only possible on a folder of the file
// system; Create makes "New folder1", "New folder2"... in the selected folder and starts
// renaming it.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "toolkit/Forms.h"

namespace sk {

class TsLabel;
class TsShellTreeView;
class TsBitBtn;
class TsScrollBox;
class TsSkinProvider;
class TsAlphaImageList;
class TsSpeedButton;

// String table entries of the dialog's captions.
inline constexpr UINT kPathDialogCaptionId = 58911, kPathDialogOkId = 58992, kPathDialogCancelId = 58991,
                      kPathDialogCreateId = 58910, kPathDialogRootId = 58912;
inline constexpr int kDialogOk = 1, kDialogCancel = 2;

class TPathDialogForm : public tk::TForm {
public:
    explicit TPathDialogForm(tk::TComponent* owner);
    ~TPathDialogForm() override;

    TsLabel* sLabel1 = nullptr;
    TsShellTreeView* sShellTreeView1 = nullptr;
    TsBitBtn* sBitBtn1 = nullptr;  // OK
    TsBitBtn* sBitBtn2 = nullptr;  // Cancel
    TsBitBtn* sBitBtn3 = nullptr;  // Create
    TsScrollBox* sScrollBox1 = nullptr;
    TsSkinProvider* sSkinProvider1 = nullptr;
    TsAlphaImageList* ImageList1 = nullptr;

    // Shows the dialog and runs its messages until OK, Cancel, Escape or closing the window;
    // the other windows of the program are disabled meanwhile. Returns kDialogOk or kDialogCancel.
    int ShowModal();
    int ModalResult() const { return FResult; }

    void OkClick();
    void CancelClick();
    // Makes the next free "New folderN" in the selected folder; false, with an error box,
    // when it cannot be made.
    bool CreateClick();
    // Shows the scroll box of root buttons at the left with the "Root :" label over it; the
    // tree, OK and Cancel move right by the box's width + 4 and the dialog grows to make room.
    void ShowRootButtons();
    std::vector<TsSpeedButton*> RootButtons;  // owned by the scroll box

    // OK and Create follow the selected node: enabled only on a folder of the file system
    // whose contents can be read.
    void SelectionChanged();

    // Called once the dialog is shown, inside its message loop (tests drive the dialog here).
    static std::function<void(TPathDialogForm&)> OnShown;
    // Shows error messages; a message box unless replaced (tests).
    static std::function<void(const std::wstring&)> ErrorBox;

    void WndProc(tk::TMessage& m) override;

private:
    void SetCaptions();
    void BindFields();
    int FResult = 0;
};

// What the directory edit asks of the dialog.
struct TPathDialogRequest {
    std::wstring DialogText;        // the line above the tree
    std::wstring Root = L"rfDesktop";
    bool AllowCreate = true;
    bool ShowRootBtns = false;
};

// Runs the dialog, opened at start when that is an existing folder; true with the selected
// folder in chosen on OK.
bool ExecutePathDialog(const TPathDialogRequest& request, const std::wstring& start, std::wstring& chosen);

// Whether a path names an existing folder the dialog may return: an absolute path only, so
// that a display name never passes as a path relative to the current directory.
bool IsDialogFolder(const std::wstring& path);
// Whether the contents of a folder can be read (an empty one can).
bool FolderCanBeListed(const std::wstring& path);

}  // namespace sk
