// The installer's log memo as the built installer's description and tinted skin make it: the
// "EDIT" section's colours instead of the stored black and grey, the skinned frame and vertical
// bar attached, unavailable while the install's 14 lines fit and working once they do not.
#include <gtest/gtest.h>

#include "controls/acSBUtils.h"
#include "tests/win_installer/installer_support.h"

TEST(InstallerMemo, TakesTheEditSectionColoursAndTheSkinnedBar) {
    kvinst::ShownInstaller installer;
    sk::TsMemo& memo = *installer.form->sMemo1;
    kvinst::PumpMessages(20, 5);
    const sk::TSkinModel& model = installer.form->sSkinManager1->Model();
    const int edit = model.GetSkinIndex(L"EDIT");
    ASSERT_GE(edit, 0);
    const sk::TsGeneralData& section = model.gd[static_cast<size_t>(edit)];
    EXPECT_EQ(memo.Color(), section.Props[0].Color);
    EXPECT_EQ(memo.Font().Color, section.Props[0].FontColor.Color);
    EXPECT_NE(memo.Font().Color, static_cast<tk::TColor>(0x00999489)) << "not the stored font colour";

    sk::TacEditWnd* sw = memo.ListSW();
    ASSERT_NE(sw, nullptr);
    EXPECT_TRUE(sw->sBarVert.fScrollVisible);
    EXPECT_FALSE(sw->sBarHorz.fScrollVisible) << "ScrollBars is ssVertical";
    EXPECT_TRUE(sw->BarSkinned(sw->sBarVert));
}

TEST(InstallerMemo, BarIsUnavailableWhileTheLogFitsAndWorksOnceItDoesNot) {
    kvinst::ShownInstaller installer;
    sk::TsMemo& memo = *installer.form->sMemo1;
    for (int i = 0; i < 14; ++i) memo.Lines().Add(L"step " + std::to_wstring(i));
    kvinst::PumpMessages(20, 5);
    sk::TacEditWnd* sw = memo.ListSW();
    ASSERT_NE(sw, nullptr);
    sw->sBarVert.ReadScrollInfo(memo.Handle());
    EXPECT_TRUE(sw->sBarVert.Unavailable(memo.Handle()));
    EXPECT_EQ(sw->sBarVert.Thumb().Length, 0);
    RECT wr{};
    GetWindowRect(memo.Handle(), &wr);
    const POINT onBar{wr.left + (sw->sBarVert.BarRect.left + sw->sBarVert.BarRect.right) / 2,
                      wr.top + sw->sBarVert.BarRect.bottom - 3};
    EXPECT_EQ(SendMessageW(memo.Handle(), WM_NCHITTEST, 0, MAKELPARAM(onBar.x, onBar.y)), HTNOWHERE);

    for (int i = 14; i < 60; ++i) memo.Lines().Add(L"step " + std::to_wstring(i));
    kvinst::PumpMessages(20, 5);
    sw->sBarVert.ReadScrollInfo(memo.Handle());
    EXPECT_FALSE(sw->sBarVert.Unavailable(memo.Handle()));
    EXPECT_GE(sw->sBarVert.Thumb().Length, sk::kMinThumbSize);
    EXPECT_EQ(SendMessageW(memo.Handle(), WM_NCHITTEST, 0, MAKELPARAM(onBar.x, onBar.y)), HTVSCROLL);
    EXPECT_EQ(memo.Lines().Count(), 60);
}
