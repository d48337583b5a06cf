// The folder dialog on bad input: a folder whose contents cannot be read (held open by another
// handle without sharing, so every listing is refused), a drive letter the computer lists
// whose medium is missing (its target gone), and a start path longer than MAX_PATH. None may
// crash or hang, OK and Create stay off where nothing can be chosen, and nothing but a real
// folder ever comes back.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>

#include "controls/acPathDialog.h"
#include "controls/acShellCtrls.h"
#include "controls/sBitBtn.h"
#include "tests/win/TestFiles.h"
#include "tests/win_dialogs/dialog_support.h"

namespace {

using namespace kvdlg;

// A folder held open without sharing: the system refuses to list it while the handle lives.
class THeldFolder {
public:
    explicit THeldFolder(const std::wstring& path)
        : FHandle(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                              nullptr)) {}
    ~THeldFolder() { Release(); }
    bool Held() const { return FHandle != INVALID_HANDLE_VALUE; }
    void Release() {
        if (Held()) CloseHandle(FHandle);
        FHandle = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE FHandle;
};

// A drive letter of its own for the test's lifetime, mapped onto target.
class TTestDrive {
public:
    explicit TTestDrive(const std::wstring& target) {
        for (wchar_t letter = L'Q'; letter <= L'Y' && FName.empty(); ++letter) {
            const std::wstring name{letter, L':'};
            if (GetDriveTypeW((name + L"\\").c_str()) == DRIVE_NO_ROOT_DIR && DefineDosDeviceW(0, name.c_str(), target.c_str()))
                FName = name;
        }
    }
    ~TTestDrive() {
        if (!FName.empty()) DefineDosDeviceW(DDD_REMOVE_DEFINITION, FName.c_str(), nullptr);
    }
    // "Q:\" or empty when no letter was free.
    std::wstring Root() const { return FName.empty() ? L"" : FName + L"\\"; }

private:
    std::wstring FName;
};

tk::TTreeNode* ChildWithPath(sk::TsShellTreeView& tree, tk::TTreeNode* parent, const std::wstring& path) {
    parent->Expand();
    for (tk::TTreeNode* c = parent->GetFirstChild(); c; c = c->GetNextSibling())
        if (SamePath(tree.FolderOf(c)->PathName(), path)) return c;
    return nullptr;
}

tk::TTreeNode* ComputerNode(sk::TsShellTreeView& tree) {
    LPITEMIDLIST computer = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer))) return nullptr;
    tk::TTreeNode* found = nullptr;
    tk::TTreeNode* root = tree.TopItem();
    root->Expand();
    for (tk::TTreeNode* c = root->GetFirstChild(); c && !found; c = c->GetNextSibling())
        if (ILIsEqual(tree.FolderOf(c)->AbsoluteID(), computer)) found = c;
    CoTaskMemFree(computer);
    return found;
}

TEST(PathDialogBadInput, AFolderThatCannotBeListedCannotBeChosen) {
    kvtest::TempDir dir;
    const std::wstring held = dir.File(L"held");
    ASSERT_TRUE(CreateDirectoryW(held.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((held + L"\\inner").c_str(), nullptr));
    TPathDialogForm dialog(nullptr);
    sk::TsShellTreeView& tree = *dialog.sShellTreeView1;
    tree.HandleNeeded();
    THeldFolder lock(held);
    ASSERT_TRUE(lock.Held());
    ASSERT_FALSE(sk::FolderCanBeListed(held));
    tree.SetPath(held);
    ASSERT_TRUE(SamePath(tree.Path(), held)) << "the folder itself is found and selected";
    EXPECT_FALSE(dialog.sBitBtn1->Enabled());
    EXPECT_FALSE(dialog.sBitBtn3->Enabled());
    tree.Selected()->Expand();  // the shell's listing fails: no children, no crash
    EXPECT_EQ(tree.Selected()->GetFirstChild(), nullptr);
    dialog.OkClick();
    EXPECT_EQ(dialog.ModalResult(), 0) << "OK refused, the dialog stays";
    EXPECT_FALSE(dialog.CreateClick());
    EXPECT_EQ(GetFileAttributesW((held + L"\\New folder1").c_str()), INVALID_FILE_ATTRIBUTES);

    lock.Release();
    dialog.SelectionChanged();
    EXPECT_TRUE(dialog.sBitBtn1->Enabled()) << "readable again: it may be chosen";
}

TEST(PathDialogBadInput, ADriveWithoutItsMediumIsListedButNeverChosen) {
    kvtest::TempDir dir;
    const std::wstring medium = dir.File(L"medium");
    ASSERT_TRUE(CreateDirectoryW(medium.c_str(), nullptr));
    TTestDrive drive(medium);
    ASSERT_FALSE(drive.Root().empty());
    ASSERT_TRUE(RemoveDirectoryW(medium.c_str()));  // the medium is taken out

    TPathDialogForm dialog(nullptr);
    sk::TsShellTreeView& tree = *dialog.sShellTreeView1;
    tree.HandleNeeded();
    tk::TTreeNode* computer = ComputerNode(tree);
    ASSERT_NE(computer, nullptr);
    tk::TTreeNode* node = ChildWithPath(tree, computer, drive.Root());
    ASSERT_NE(node, nullptr) << "the computer lists the drive";
    tree.SetSelected(node);
    EXPECT_FALSE(dialog.sBitBtn1->Enabled());
    EXPECT_FALSE(dialog.sBitBtn3->Enabled());
    node->Expand();  // nothing to read: no children, no crash, no wait
    EXPECT_EQ(node->GetFirstChild(), nullptr);
    dialog.OkClick();
    EXPECT_EQ(dialog.ModalResult(), 0);

    // Opened with the drive in the field: at the root, and Enter never returns the drive.
    bool rootSelected = false;
    TScript script({
        [&](TPathDialogForm& d) {
            rootSelected = d.sShellTreeView1->Selected() == d.sShellTreeView1->TopItem();
            Key(VK_RETURN);
        },
        [](TPathDialogForm& d) { d.CancelClick(); },  // when the root could not be taken either
    });
    std::wstring chosen;
    sk::ExecutePathDialog({}, drive.Root(), chosen);
    EXPECT_TRUE(rootSelected);
    EXPECT_FALSE(SamePath(chosen, drive.Root()));
    EXPECT_TRUE(chosen.empty() || sk::IsDialogFolder(chosen));
}

TEST(PathDialogBadInput, APathLongerThanMaxPathOpensAtTheRootAndLeavesNothingWrong) {
    kvtest::TempDir dir;
    const std::wstring tooLong = dir.Path() + L"\\" + std::wstring(300, L'x') + L"\\deeper";
    const struct {
        const char* name;
        WORD key;
    } cases[] = {
        {"Escape: nothing changes", VK_ESCAPE},
        {"Enter: the root's folder when it may be chosen", VK_RETURN},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring selected = L"unset";
        bool rootChoosable = false;
        TScript script({
            [&](TPathDialogForm& d) {
                selected = d.sShellTreeView1->Selected() == d.sShellTreeView1->TopItem() ? L"root" : d.sShellTreeView1->Path();
                rootChoosable = d.sBitBtn1->Enabled();
                Key(c.key);
            },
            [](TPathDialogForm& d) { d.CancelClick(); },  // OK was off: the dialog is still open
        });
        std::wstring chosen = L"unchanged";
        const bool taken = sk::ExecutePathDialog({}, tooLong, chosen);
        EXPECT_EQ(taken, c.key == VK_RETURN && rootChoosable);
        EXPECT_EQ(selected, L"root");
        if (taken) {
            EXPECT_TRUE(sk::IsDialogFolder(chosen));
            EXPECT_LT(chosen.size(), static_cast<size_t>(MAX_PATH));
        } else {
            EXPECT_EQ(chosen, L"unchanged");
        }
    }
}

}  // namespace
