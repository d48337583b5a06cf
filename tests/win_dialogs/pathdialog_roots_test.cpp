// The folder dialog's root buttons: the box and its label shown, the tree, OK and Cancel moved
// right to make room and the dialog grown by as much, one button per root folder with the
// folder's name and icon, and a click on one roots the tree at its folder.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "controls/acPathDialog.h"
#include "controls/acPathDialogRoots.h"
#include "controls/acShellCtrls.h"
#include "controls/sBitBtn.h"
#include "controls/sLabel.h"
#include "controls/sScrollBox.h"
#include "controls/sSpeedButton.h"
#include "tests/win_framework/button_support.h"

namespace {

std::wstring SpecialFolderName(int id) {
    LPITEMIDLIST list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, id, &list))) return L"";
    SHFILEINFOW info{};
    SHGetFileInfoW(reinterpret_cast<LPCWSTR>(list), 0, &info, sizeof(info), SHGFI_PIDL | SHGFI_DISPLAYNAME);
    CoTaskMemFree(list);
    return info.szDisplayName;
}

bool RootIs(sk::TsShellTreeView& tree, int id) {
    LPITEMIDLIST list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, id, &list))) return false;
    const bool same = tree.TopItem() && ILIsEqual(tree.FolderOf(tree.TopItem())->AbsoluteID(), list);
    CoTaskMemFree(list);
    return same;
}

TEST(PathDialogRoots, TheBoxTakesTheLeftAndTheRestMovesRight) {
    sk::TPathDialogForm dialog(nullptr);
    dialog.HandleNeeded();
    const int shift = dialog.sScrollBox1->Width() + 4;
    dialog.ShowRootButtons();
    EXPECT_TRUE(dialog.sScrollBox1->Visible());
    EXPECT_TRUE(dialog.sLabel1->Visible());
    EXPECT_EQ(dialog.sLabel1->Caption(), L"Root :");
    EXPECT_EQ(dialog.ClientWidth(), 370 + shift + GetSystemMetrics(SM_CXSIZEFRAME));
    EXPECT_EQ(dialog.ClientHeight(), 415);
    const struct {
        const char* name;
        tk::TControl* control;
        RECT bounds;
    } places[] = {
        {"tree", dialog.sShellTreeView1, {15 + shift, 20, 15 + shift + 345, 20 + 349}},
        {"OK", dialog.sBitBtn1, {204 + shift, 376, 204 + shift + 75, 376 + 25}},
        {"Cancel", dialog.sBitBtn2, {281 + shift, 376, 281 + shift + 75, 376 + 25}},
        {"Create", dialog.sBitBtn3, {19, 376, 19 + 75, 376 + 25}},
        {"box", dialog.sScrollBox1, {15, 20, 15 + 101, 20 + 349}},
    };
    for (const auto& p : places) {
        SCOPED_TRACE(p.name);
        const RECT r = p.control->BoundsRect();
        EXPECT_EQ(r.left, p.bounds.left);
        EXPECT_EQ(r.top, p.bounds.top);
        EXPECT_EQ(r.right, p.bounds.right);
        EXPECT_EQ(r.bottom, p.bounds.bottom);
    }
    dialog.ShowRootButtons();  // a second call adds nothing and moves nothing
    EXPECT_EQ(dialog.RootButtons.size(), 4u);
    EXPECT_EQ(dialog.sShellTreeView1->Left(), 15 + shift);
}

TEST(PathDialogRoots, OneButtonPerRootWithItsNameAndIconAndAClickRootsTheTree) {
    sk::TPathDialogForm dialog(nullptr);
    dialog.ShowRootButtons();
    dialog.ShowNoActivate();
    SetForegroundWindow(dialog.Handle());
    const int ids[] = {CSIDL_DESKTOP, CSIDL_DRIVES, CSIDL_PERSONAL, CSIDL_NETWORK};
    ASSERT_EQ(dialog.RootButtons.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        sk::TsSpeedButton* b = dialog.RootButtons[i];
        EXPECT_EQ(b->Top(), static_cast<int>(i) * sk::kRootButtonHeight);
        EXPECT_EQ(b->Width(), dialog.sScrollBox1->Width());
        const std::wstring name = SpecialFolderName(ids[i]);
        if (!name.empty()) {
            EXPECT_EQ(b->Caption(), name);
        }
        EXPECT_GT(b->Glyph().Width(), 0) << "the folder's icon";
    }
    // A real click on the computer's button, then on the desktop's.
    const struct {
        size_t button;
        int id;
    } clicks[] = {{1, CSIDL_DRIVES}, {0, CSIDL_DESKTOP}};
    for (const auto& c : clicks) {
        SCOPED_TRACE(c.button);
        sk::TsSpeedButton* b = dialog.RootButtons[c.button];
        kvfw::MoveMouseTo(dialog.sScrollBox1->Handle(), b->Left() + b->Width() / 2, b->Top() + b->Height() / 2);
        kvfw::PressLeft();
        kvfw::PumpFor(40);
        kvfw::ReleaseLeft();
        EXPECT_TRUE(kvfw::PumpUntil([&] { return RootIs(*dialog.sShellTreeView1, c.id); }));
        EXPECT_EQ(dialog.sShellTreeView1->Root(), sk::kRootButtonRoots[c.button]);
        EXPECT_EQ(dialog.sShellTreeView1->Selected(), dialog.sShellTreeView1->TopItem());
    }
}

}  // namespace
