// The folder selection dialog: built from its stored description and string table, OK only on
// folders of the file system, Create with the next free name (a file of that name counts as
// taken) and renaming, OK while renaming, Cancel, Escape and closing, a start folder that is
// missing, anchored buttons when the dialog grows, and the answers of the folder test.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "controls/acPathDialog.h"
#include "controls/acShellCtrls.h"
#include "controls/sBitBtn.h"
#include "controls/sLabel.h"
#include "tests/win/TestFiles.h"
#include "tests/win_dialogs/dialog_support.h"

namespace {

using sk::TPathDialogForm;
using namespace kvdlg;

TEST(PathDialog, BuiltFromItsDescriptionWithItsCaptions) {
    TPathDialogForm dialog(nullptr);
    EXPECT_FALSE(dialog.sBitBtn3->Enabled());  // until a folder is selected
    dialog.HandleNeeded();
    EXPECT_EQ(dialog.ClientWidth(), 370);
    EXPECT_EQ(dialog.ClientHeight(), 415);
    EXPECT_EQ(dialog.Caption(), L"Select directory");
    EXPECT_EQ(dialog.sBitBtn1->Caption(), L"OK");
    EXPECT_EQ(dialog.sBitBtn2->Caption(), L"Cancel");
    EXPECT_EQ(dialog.sBitBtn3->Caption(), L"Create");
    const RECT tree = dialog.sShellTreeView1->BoundsRect();
    EXPECT_EQ(tree.left, 15);
    EXPECT_EQ(tree.top, 20);
    EXPECT_EQ(tree.right - tree.left, 345);
    EXPECT_EQ(tree.bottom - tree.top, 349);
    EXPECT_TRUE(dialog.sBitBtn1->Default());
    EXPECT_TRUE(dialog.sBitBtn2->Cancel());

    // The line above the tree is its bound label, 4 pixels above it, left edges aligned.
    dialog.sShellTreeView1->BoundLabel().SetCaption(L"Install to");
    sk::TsEditLabel* label = dialog.sShellTreeView1->BoundLabel().TheLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Caption(), L"Install to");
    EXPECT_EQ(label->Left(), tree.left);
    EXPECT_EQ(label->Top() + label->Height(), tree.top - 4);
}

TEST(PathDialog, OkOnlyOnFoldersOfTheFileSystem) {
    TPathDialogForm dialog(nullptr);
    sk::TsShellTreeView& tree = *dialog.sShellTreeView1;
    tree.HandleNeeded();
    tk::TTreeNode* root = tree.TopItem();
    ASSERT_NE(root, nullptr);
    tk::TTreeNode* virtualNode = nullptr;
    for (tk::TTreeNode* c = root->GetFirstChild(); c && !virtualNode; c = c->GetNextSibling())
        if (tree.FolderOf(c)->PathName().empty()) virtualNode = c;
    ASSERT_NE(virtualNode, nullptr);
    tree.SetSelected(virtualNode);
    EXPECT_FALSE(dialog.sBitBtn1->Enabled());
    EXPECT_FALSE(dialog.sBitBtn3->Enabled());

    kvtest::TempDir dir;
    tree.SetPath(dir.Path());
    EXPECT_TRUE(SamePath(tree.Path(), dir.Path()));
    EXPECT_TRUE(dialog.sBitBtn1->Enabled());
    EXPECT_TRUE(dialog.sBitBtn3->Enabled());
}

TEST(PathDialog, EnterChoosesTheSelectedFolder) {
    kvtest::TempDir dir;
    TScript script({[](TPathDialogForm&) { Key(VK_RETURN); }});
    std::wstring chosen = L"unchanged";
    EXPECT_TRUE(sk::ExecutePathDialog({L"Path", L"rfDesktop", true}, dir.Path(), chosen));
    EXPECT_TRUE(SamePath(chosen, dir.Path()));
}

TEST(PathDialog, CancelEscapeAndClosingChangeNothing) {
    kvtest::TempDir dir;
    const std::vector<std::function<void(TPathDialogForm&)>> ways = {
        [](TPathDialogForm& d) { d.sBitBtn2->Click(); },
        [](TPathDialogForm&) { Key(VK_ESCAPE); },
        [](TPathDialogForm& d) { PostMessageW(d.Handle(), WM_CLOSE, 0, 0); },
    };
    for (size_t i = 0; i < ways.size(); ++i) {
        SCOPED_TRACE(i);
        TScript script({ways[i]});
        std::wstring chosen = L"unchanged";
        EXPECT_FALSE(sk::ExecutePathDialog({}, dir.Path(), chosen));
        EXPECT_EQ(chosen, L"unchanged");
    }
}

TEST(PathDialog, AMissingStartFolderOpensAtTheRoot) {
    bool rootSelected = false;
    TScript script({[&](TPathDialogForm& d) {
        rootSelected = d.sShellTreeView1->Selected() == d.sShellTreeView1->TopItem();
        d.CancelClick();
    }});
    std::wstring chosen;
    EXPECT_FALSE(sk::ExecutePathDialog({}, L"C:\\no such folder here", chosen));
    EXPECT_TRUE(rootSelected);
}

TEST(PathDialog, CreateTakesTheNextFreeNumberAndStartsRenaming) {
    kvtest::TempDir dir;
    CreateDirectoryW(dir.File(L"New folder1").c_str(), nullptr);
    kvtest::WriteFileBytes(dir.File(L"New folder2"), "a file takes the number too");
    bool editing = false, stillOpen = false;
    TScript script({
        [](TPathDialogForm& d) { EXPECT_TRUE(d.CreateClick()); },
        [&](TPathDialogForm& d) {
            editing = d.sShellTreeView1->IsEditing();
            d.OkClick();  // only ends the renaming
            stillOpen = d.ModalResult() == 0 && !d.sShellTreeView1->IsEditing();
        },
        [](TPathDialogForm& d) { d.OkClick(); },
    });
    std::wstring chosen;
    EXPECT_TRUE(sk::ExecutePathDialog({}, dir.Path(), chosen));
    EXPECT_TRUE(IsFolder(dir.File(L"New folder3")));
    EXPECT_TRUE(editing);
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(SamePath(chosen, dir.File(L"New folder3")));
}

TEST(PathDialog, AFolderThatCannotBeMadeIsReportedAndTheDialogStays) {
    kvtest::TempDir dir;
    // A folder so deep that "\\New folder1" does not fit into a path any more (249
    // characters; where the system stops making folders earlier, as deep as it goes, where
    // making the new folder fails as well).
    constexpr size_t kDeep = 249;
    std::wstring deep = dir.Path();
    while (deep.size() < kDeep) {
        const std::wstring next = deep + L"\\" + std::wstring(std::min<size_t>(40, kDeep - deep.size() - 1), L'd');
        if (!CreateDirectoryW(next.c_str(), nullptr)) break;
        deep = next;
    }
    TErrors errors;
    TPathDialogForm dialog(nullptr);
    dialog.sShellTreeView1->HandleNeeded();
    dialog.sShellTreeView1->SetPath(deep);
    ASSERT_TRUE(SamePath(dialog.sShellTreeView1->Path(), deep));
    EXPECT_FALSE(dialog.CreateClick());
    ASSERT_EQ(errors.Seen.size(), 1u);
    EXPECT_EQ(errors.Seen[0].rfind(L"Directory ", 0), 0u);
    EXPECT_NE(errors.Seen[0].find(L"can`t be created!"), std::wstring::npos);
    EXPECT_EQ(dialog.ModalResult(), 0);
}

TEST(PathDialog, ButtonsKeepTheirPlaceAgainstTheGrowingSides) {
    TPathDialogForm dialog(nullptr);
    dialog.ShowNoActivate();
    RECT w;
    GetWindowRect(dialog.Handle(), &w);
    const int okFromRight = dialog.ClientWidth() - dialog.sBitBtn1->Left();
    SetWindowPos(dialog.Handle(), nullptr, 0, 0, w.right - w.left + 60, w.bottom - w.top + 40,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    GetClientRect(dialog.Handle(), &client);
    EXPECT_EQ(client.right - dialog.sBitBtn1->Left(), okFromRight);
    EXPECT_EQ(dialog.sBitBtn1->Top(), 376 + 40);
    EXPECT_EQ(dialog.sBitBtn3->Left(), 19);
    EXPECT_EQ(dialog.sShellTreeView1->Width(), 345 + 60);
    EXPECT_EQ(dialog.sShellTreeView1->Height(), 349 + 40);
}

TEST(DialogFolderTest, OnlyAbsolutePathsOfExistingFolders) {
    kvtest::TempDir dir;
    kvtest::WriteFileBytes(dir.File(L"file.txt"), "x");
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    struct Row {
        std::wstring Path;
        bool Folder;
    } rows[] = {
        {L"", false},
        {L"My Computer", false},  // a display name, never a path
        {L"windows", false},
        {system, true},
        {dir.Path(), true},
        {dir.File(L"file.txt"), false},
        {dir.File(L"missing"), false},
        {L"C:\\" + std::wstring(300, L'x'), false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.Path.begin(), r.Path.end()));
        EXPECT_EQ(sk::IsDialogFolder(r.Path), r.Folder);
    }
}

}  // namespace

namespace {

TEST(PathDialog, TabReachesEveryButtonAndEnterActsOnTheFocusedOne) {
    kvtest::TempDir dir;
    HWND focus[4] = {};
    HWND buttons[3] = {};
    TScript script({
        [&](TPathDialogForm& d) {
            focus[0] = GetFocus();
            buttons[0] = d.sBitBtn1->Handle();
            buttons[1] = d.sBitBtn2->Handle();
            buttons[2] = d.sBitBtn3->Handle();
            Key(VK_TAB);
        },
        [&](TPathDialogForm&) { focus[1] = GetFocus(); Key(VK_TAB); },
        [&](TPathDialogForm&) { focus[2] = GetFocus(); Key(VK_TAB); },
        [&](TPathDialogForm&) { focus[3] = GetFocus(); Key(VK_RETURN); },  // Create
        [](TPathDialogForm& d) { d.sShellTreeView1->EndEditing(false); d.CancelClick(); },
    });
    std::wstring chosen;
    EXPECT_FALSE(sk::ExecutePathDialog({}, dir.Path(), chosen));
    EXPECT_NE(focus[0], nullptr);
    EXPECT_EQ(focus[1], buttons[0]);
    EXPECT_EQ(focus[2], buttons[1]);
    EXPECT_EQ(focus[3], buttons[2]);
    EXPECT_TRUE(IsFolder(dir.File(L"New folder1")));
}

}  // namespace

namespace {

TEST(PathDialog, AFolderThatVanishedCannotBeChosen) {
    kvtest::TempDir dir;
    const std::wstring gone = dir.File(L"soon gone");
    ASSERT_TRUE(CreateDirectoryW(gone.c_str(), nullptr));
    TPathDialogForm dialog(nullptr);
    dialog.sShellTreeView1->HandleNeeded();
    dialog.sShellTreeView1->SetPath(gone);
    ASSERT_TRUE(dialog.sBitBtn1->Enabled());
    ASSERT_TRUE(RemoveDirectoryW(gone.c_str()));
    dialog.OkClick();
    EXPECT_EQ(dialog.ModalResult(), 0);  // the dialog stays
    EXPECT_FALSE(dialog.sBitBtn1->Enabled());
    EXPECT_FALSE(dialog.sBitBtn3->Enabled());
}

}  // namespace
