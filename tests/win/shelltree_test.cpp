// The shell tree on the real shell namespace of the prefix: the desktop root and its virtual
// folders (no path), a path root, finding a folder by its path, folders only (hidden ones
// too) in the shell's order, re-reading a folder, renaming, and roots that cannot be resolved.
#include <gtest/gtest.h>

#include <vector>

#include "controls/acShellCtrls.h"
#include "tests/win/TestFiles.h"
#include "toolkit/Application.h"
#include "toolkit/Forms.h"
#include "toolkit/PathNames.h"

namespace {

using namespace tk;

class ShellTreeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void SetUp() override {
        form.SetBounds(10, 10, 400, 500);
        form.ShowNoActivate();
        tree.SetParent(&form);
        tree.SetBounds(5, 5, 380, 450);
        tree.OnError = [this](const std::wstring& message) { errors.push_back(message); };
        tree.HandleNeeded();
    }
    std::vector<std::wstring> ChildTexts(TTreeNode* node) {
        node->Expand();
        std::vector<std::wstring> texts;
        for (TTreeNode* c = node->GetFirstChild(); c; c = c->GetNextSibling()) texts.push_back(c->Text());
        return texts;
    }
    static bool SamePath(const std::wstring& a, const std::wstring& b) { return _wcsicmp(a.c_str(), b.c_str()) == 0; }

    TApplication app;
    TForm form{nullptr};
    sk::TsShellTreeView tree{nullptr};
    std::vector<std::wstring> errors;
};

TEST_F(ShellTreeTest, TheDesktopRootWithVirtualFoldersThatHaveNoPath) {
    TTreeNode* root = tree.TopItem();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(tree.Selected(), root);
    EXPECT_TRUE(root->Expanded());
    ASSERT_GT(root->Count(), 0);
    int virtualFolders = 0;
    for (TTreeNode* c = root->GetFirstChild(); c; c = c->GetNextSibling()) {
        sk::TacShellFolder* folder = tree.FolderOf(c);
        ASSERT_NE(folder, nullptr);
        const std::wstring path = folder->PathName();
        if (path.empty()) ++virtualFolders;
        else EXPECT_TRUE(tk::IsAbsolutePath(path)) << std::string(path.begin(), path.end());
    }
    EXPECT_GT(virtualFolders, 0);  // the computer node at least
}

TEST_F(ShellTreeTest, APathIsFoundByExpandingTheWayToIt) {
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    tree.SetPath(system);
    ASSERT_NE(tree.Selected(), nullptr);
    EXPECT_TRUE(SamePath(tree.Path(), system));
    for (TTreeNode* up = tree.Selected()->Parent(); up; up = up->Parent()) EXPECT_TRUE(up->Expanded());
    EXPECT_THROW(tree.SetPath(L"C:\\no such folder here\\at all"), tk::Exception);
}

TEST_F(ShellTreeTest, APathRootShowsItsLastComponentAndFoldersOnlyInTheShellsOrder) {
    kvtest::TempDir dir;
    for (const wchar_t* name : {L"beta", L"Alpha", L"gamma"}) CreateDirectoryW(dir.File(name).c_str(), nullptr);
    CreateDirectoryW(dir.File(L"hidden one").c_str(), nullptr);
    SetFileAttributesW(dir.File(L"hidden one").c_str(), FILE_ATTRIBUTE_HIDDEN);
    kvtest::WriteFileBytes(dir.File(L"afile.txt"), "x");

    tree.SetRoot(dir.Path());
    TTreeNode* root = tree.TopItem();
    ASSERT_NE(root, nullptr);
    const std::wstring last = dir.Path().substr(dir.Path().find_last_of(L'\\') + 1);
    EXPECT_EQ(root->Text(), last);
    EXPECT_TRUE(SamePath(tree.Path(), dir.Path()));
    EXPECT_EQ(ChildTexts(root), (std::vector<std::wstring>{L"Alpha", L"beta", L"gamma", L"hidden one"}));
}

TEST_F(ShellTreeTest, RefreshShowsANewFolderAndRenamingGoesToTheDisk) {
    kvtest::TempDir dir;
    CreateDirectoryW(dir.File(L"one").c_str(), nullptr);
    tree.SetRoot(dir.Path());
    TTreeNode* root = tree.TopItem();
    ASSERT_EQ(ChildTexts(root), (std::vector<std::wstring>{L"one"}));

    CreateDirectoryW(dir.File(L"New folder1").c_str(), nullptr);
    tree.Refresh(root);
    ASSERT_EQ(ChildTexts(root), (std::vector<std::wstring>{L"New folder1", L"one"}));

    TTreeNode* made = root->GetFirstChild();
    ASSERT_TRUE(tree.RenameItem(made, L"Renamed"));
    const DWORD renamed = GetFileAttributesW(dir.File(L"Renamed").c_str());
    EXPECT_NE(renamed, INVALID_FILE_ATTRIBUTES);  // a missing item has every attribute bit set
    EXPECT_TRUE(renamed & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributesW(dir.File(L"New folder1").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(SamePath(tree.FolderOf(made)->PathName(), dir.File(L"Renamed")));
    EXPECT_FALSE(tree.RenameItem(root->GetFirstChild()->GetNextSibling(), L""));
}

TEST_F(ShellTreeTest, ARootThatCannotBeResolvedKeepsThePreviousOne) {
    kvtest::TempDir dir;
    tree.SetRoot(dir.Path());
    tree.SetRoot(L"Q:\\not\\there");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], L"Error Setting Path : Q:\\not\\there");
    EXPECT_TRUE(SamePath(tree.Path(), dir.Path()));
    EXPECT_EQ(tree.Root(), dir.Path());
}

}  // namespace
