// The directory field with the real dialog: where the dialog opens (the field's folder, else
// InitialDir when it exists, else the root), what lands in the field, and InitialDir taking the
// chosen folder; renaming a new folder by typing, and Escape ending only the renaming.
#include <gtest/gtest.h>

#include <string>

#include "controls/acPathDialog.h"
#include "controls/acShellCtrls.h"
#include "controls/sToolEdit.h"
#include "tests/win/TestFiles.h"
#include "tests/win_dialogs/dialog_support.h"

namespace {

using namespace kvdlg;

TEST(PathDialogField, TheDialogOpensAtTheFieldThenInitialDirThenTheRoot) {
    kvtest::TempDir dir;
    const std::wstring field = dir.File(L"field"), initial = dir.File(L"initial");
    ASSERT_TRUE(CreateDirectoryW(field.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(initial.c_str(), nullptr));
    const struct {
        const char* name;
        std::wstring text, initialDir;
        std::wstring opensAt;  // empty: the root
    } cases[] = {
        {"the field's folder first", field, initial, field},
        {"an empty field: InitialDir", L"", initial, initial},
        {"an empty field, InitialDir gone: the root", L"", dir.File(L"gone"), L""},
        {"a relative field: the root", L"field", L"", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sk::TsDirectoryEdit edit(nullptr);
        edit.NoChangeDir = true;
        edit.SetText(c.text);
        edit.InitialDir = c.initialDir;
        std::wstring opened = L"unset";
        TScript script({[&](TPathDialogForm& d) {
            sk::TsShellTreeView& tree = *d.sShellTreeView1;
            opened = tree.Selected() == tree.TopItem() ? L"" : tree.Path();
            Key(VK_RETURN);
        },
                        [](TPathDialogForm& d) { d.CancelClick(); }});  // the root could not be taken
        edit.DoClick();
        EXPECT_TRUE(SamePath(opened, c.opensAt)) << std::string(opened.begin(), opened.end());
        if (!c.opensAt.empty()) {
            EXPECT_TRUE(SamePath(edit.GetText(), c.opensAt)) << "OK puts the folder into the field";
            EXPECT_TRUE(SamePath(edit.InitialDir, c.opensAt)) << "and InitialDir remembers it";
        }
    }
}

TEST(PathDialogField, TheFieldAsksForTheRootButtonsOnlyWhenItShowsThem) {
    for (const bool show : {false, true}) {
        SCOPED_TRACE(show);
        sk::TsDirectoryEdit edit(nullptr);
        edit.NoChangeDir = true;
        edit.ShowRootBtns = show;
        size_t buttons = 99;
        TScript script({[&](TPathDialogForm& d) {
            buttons = d.RootButtons.size();
            d.CancelClick();
        }});
        edit.DoClick();
        EXPECT_EQ(buttons, show ? 4u : 0u);
    }
}

TEST(PathDialogField, ANewFolderIsRenamedByTypingAndEscapeEndsOnlyTheRenaming) {
    kvtest::TempDir dir;
    bool stillOpen = false, stillEditing = true;
    TScript script({
        [](TPathDialogForm& d) { EXPECT_TRUE(d.CreateClick()); },  // "New folder1", renaming
        [](TPathDialogForm&) { Key(VK_ESCAPE); },                  // ends the renaming only
        [&](TPathDialogForm& d) {
            stillOpen = d.ModalResult() == 0;
            stillEditing = d.sShellTreeView1->IsEditing();
            d.sShellTreeView1->EditText(d.sShellTreeView1->Selected());
        },
        [](TPathDialogForm&) { Key('Q'); },
        [](TPathDialogForm&) { Key('Z'); },
        [](TPathDialogForm&) { Key(VK_RETURN); },  // ends the renaming: the folder is renamed
        [](TPathDialogForm&) { Key(VK_RETURN); },  // OK
    });
    std::wstring chosen;
    EXPECT_TRUE(sk::ExecutePathDialog({}, dir.Path(), chosen));
    EXPECT_TRUE(stillOpen);
    EXPECT_FALSE(stillEditing);
    EXPECT_TRUE(SamePath(chosen, dir.File(L"qz")));
    EXPECT_TRUE(IsFolder(dir.File(L"qz")));
    EXPECT_EQ(GetFileAttributesW(dir.File(L"New folder1").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
