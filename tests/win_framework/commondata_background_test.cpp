// Background requests (SC_GETBG): what a parent answers for a child in front of a plain colour,
// a gradient, an empty cache, and when it is not skinned at all; and copying a cache around the
// children that paint themselves.
#include <gtest/gtest.h>

#include "tests/win_framework/commondata_support.h"

using namespace kvfw;

namespace {

sk::TacBgRequest AskParent(sk::TsCommonData& child, bool drawNow = false, HDC target = nullptr) {
    sk::TacBgRequest request;
    request.Offset = {child.FOwnerControl->Left(), child.FOwnerControl->Top()};
    request.Area = {0, 0, child.FOwnerControl->Width(), child.FOwnerControl->Height()};
    request.DrawNow = drawNow;
    request.TargetDC = target;
    sk::GetParentBg(child, request);
    return request;
}

TEST(CommonDataBackground, AUniformParentAnswersItsColourAndBorderInsets) {
    auto manager = MakeManager();
    TTestForm form;
    TTestWinControl edit(&form, kEditKind, {10, 10, 150, 90});
    TTestGraphicControl child(&edit, kCheckBoxKind, {20, 15, 60, 35});
    ASSERT_EQ(sk::PerformSkinCmd(&edit, sk::SC_GETSTATE) & sk::ACS_BGUNIFORM, sk::ACS_BGUNIFORM);
    const sk::TacBgRequest answer = AskParent(child.SkinData);
    EXPECT_EQ(answer.BgKind, sk::bgFill);
    EXPECT_EQ(answer.Color, kEditColor);
    EXPECT_EQ(answer.Bitmap, edit.SkinData.FCacheBmp.get()) << "the border strips come from the cache";
    EXPECT_EQ(answer.BorderInsets.Left, 2);
    EXPECT_EQ(answer.BorderInsets.Top, 2);
    EXPECT_EQ(answer.BorderInsets.Right, 2);
    EXPECT_EQ(answer.BorderInsets.Bottom, 2);
}

TEST(CommonDataBackground, AGradientParentAnswersItsCacheAndTheChildsOffset) {
    auto manager = MakeManager();
    TTestForm form;
    TTestWinControl panel(&form, kPanelLowKind, {10, 10, 150, 90});
    TTestWinControl child(&panel, kCheckBoxKind, {20, 15, 60, 35});
    EXPECT_EQ(sk::PerformSkinCmd(&panel, sk::SC_GETSTATE) & sk::ACS_BGUNIFORM, 0);
    const sk::TacBgRequest answer = AskParent(child.SkinData);
    EXPECT_EQ(answer.BgKind, sk::bgBitmap);
    EXPECT_EQ(answer.Bitmap, panel.SkinData.FCacheBmp.get());
    EXPECT_EQ(answer.Offset.X, 20);
    EXPECT_EQ(answer.Offset.Y, 15);
    ASSERT_NE(answer.Bitmap, nullptr);
    EXPECT_FALSE(answer.Bitmap->Empty()) << "the parent built its cache to answer";
    EXPECT_GE(panel.CacheBuilds, 1);

    rd::TCacheInfo info;
    child.SkinData.GetParentCache(info);
    EXPECT_TRUE(info.Ready);
    EXPECT_EQ(info.X, 20);
    EXPECT_EQ(info.Y, 15);
}

TEST(CommonDataBackground, ATransparentUniformParentPassesTheRequestOnWithItsPosition) {
    auto manager = MakeManager();
    TTestForm form;
    TTestWinControl panel(&form, kPanelLowKind, {10, 10, 200, 120});
    TTestWinControl clear(&panel, kCheckBoxKind, {30, 20, 150, 100}, L"", L"Clear");
    clear.SkinData.FCacheBmp.reset();  // no cache of its own: it cannot answer with pixels
    TTestGraphicControl child(&clear, kCheckBoxKind, {5, 6, 40, 26});
    const sk::TacBgRequest answer = AskParent(child.SkinData);
    EXPECT_EQ(answer.BgKind, sk::bgBitmap);
    EXPECT_EQ(answer.Bitmap, panel.SkinData.FCacheBmp.get());
    EXPECT_EQ(answer.Offset.X, 35);
    EXPECT_EQ(answer.Offset.Y, 26);
}

TEST(CommonDataBackground, AParentWithAnEmptyCacheIsNotReadyAndMarksItselfUpdating) {
    auto manager = MakeManager();
    TTestForm form;
    TTestWinControl semi(&form, kPanelKind, {10, 10, 150, 90}, L"SEMI");
    TTestWinControl child(&semi, kCheckBoxKind, {20, 15, 60, 35});
    semi.SkinData.EmptyCache();
    semi.SkinData.FUpdating = false;
    const sk::TacBgRequest answer = AskParent(child.SkinData);
    EXPECT_EQ(answer.BgKind, sk::bgNotReady);
    EXPECT_EQ(answer.Bitmap, nullptr);
    EXPECT_TRUE(semi.SkinData.FUpdating);

    rd::TCacheInfo info;
    child.SkinData.GetParentCache(info);
    EXPECT_FALSE(info.Ready);
    EXPECT_EQ(info.Bmp, nullptr);
    EXPECT_EQ(info.FillColor, rd::clMagenta);
}

TEST(CommonDataBackground, AParentOutsideTheEnginePaintsItselfIntoTheTarget) {
    auto manager = MakeManager();
    TTestForm form;  // a plain form: nobody answers its background requests
    form.SetColor(0x00336699);
    TTestWinControl child(&form, kCheckBoxKind, {20, 15, 60, 35});
    TMemoryTarget target(40, 20, RGB(1, 2, 3));
    const sk::TacBgRequest answer = AskParent(child.SkinData, true, target.DC());
    EXPECT_EQ(answer.BgKind, sk::bgNone);
    EXPECT_EQ(target.Pixel(5, 5), AsRgb(0x00336699)) << "the form's own background, read back";

    const sk::TacBgRequest colour = AskParent(child.SkinData);
    EXPECT_EQ(colour.BgKind, sk::bgFill);
    EXPECT_EQ(colour.Color, 0x00336699);
}

TEST(CommonDataBackground, AnUnskinnedEngineControlAnswersWithItsOwnColour) {
    auto manager = MakeManager();
    TTestForm form;
    TTestWinControl plain(&form, kPanelKind, {10, 10, 150, 90}, L"NOT_A_SECTION");
    plain.SetColor(0x00124578);
    TTestWinControl child(&plain, kCheckBoxKind, {20, 15, 60, 35});
    ASSERT_FALSE(plain.SkinData.Skinned());
    TMemoryTarget target(40, 20, RGB(1, 2, 3));
    const sk::TacBgRequest answer = AskParent(child.SkinData, true, target.DC());
    EXPECT_EQ(answer.BgKind, sk::bgFill);
    EXPECT_EQ(target.Pixel(5, 5), AsRgb(0x00124578));
    EXPECT_EQ(AskParent(child.SkinData).Color, 0x00124578);
}

TEST(CommonDataBackground, DrawNowCopiesAGradientParentsCacheIntoTheTarget) {
    auto manager = MakeManager();
    TTestForm form;
    TTestWinControl panel(&form, kPanelLowKind, {0, 0, 100, 100});
    TTestWinControl child(&panel, kCheckBoxKind, {10, 40, 50, 60});
    panel.PrepareCache();
    TMemoryTarget target(40, 20, RGB(1, 2, 3));
    const sk::TacBgRequest answer = AskParent(child.SkinData, true, target.DC());
    EXPECT_EQ(answer.BgKind, sk::bgBitmap);
    EXPECT_EQ(target.Pixel(3, 4), CachePixel(panel.SkinData, 13, 44));
    EXPECT_EQ(target.Pixel(39, 19), CachePixel(panel.SkinData, 49, 59));
}

TEST(CommonDataBackground, TheBackgroundColourReplyAndTheMixWeightTransparencyEachTheirWay) {
    auto manager = MakeManager();
    TTestForm form;
    TTestWinControl panel(&form, kPanelKind, {0, 0, 100, 100});
    TTestWinControl semi(&panel, kPanelKind, {10, 10, 60, 60}, L"SEMI");
    // SEMI 0x008000 over PANEL 0x302010 at 50 %.
    EXPECT_EQ(semi.SkinData.GetBgColor(0), 0x00185008) << "trunc(C * T / 100 + P * (1 - T / 100))";
    EXPECT_EQ(sk::SendSkinCmd(semi.Handle(), sk::SC_GETBGCOLOR), 0x00096D03) << "((P - C) * T + C * 256) >> 8";
    EXPECT_EQ(sk::SendSkinCmd(panel.Handle(), sk::SC_GETBGCOLOR), kPanelColor);
    TTestWinControl clear(&panel, kCheckBoxKind, {10, 10, 60, 60});
    EXPECT_EQ(clear.SkinData.GetBgColor(0), kPanelColor);
    EXPECT_EQ(sk::SendSkinCmd(clear.Handle(), sk::SC_GETBGCOLOR), kPanelColor);
}

TEST(CommonDataBackground, CopyingTheCacheLeavesOutChildrenThatPaintThemselves) {
    auto manager = MakeManager();
    TTestForm form;
    TTestWinControl panel(&form, kPanelKind, {0, 0, 100, 80});
    TTestGraphicControl graphic(&panel, kButtonKind, {10, 10, 30, 30});
    panel.PrepareCache();
    TMemoryTarget target(100, 80, RGB(1, 2, 3));
    sk::CopyCacheToDC(panel.SkinData, target.DC(), 0, 0, RECT{0, 0, 100, 80});
    EXPECT_EQ(target.Pixel(50, 50), AsRgb(kPanelColor));
    EXPECT_EQ(target.Pixel(15, 15), 0x010203u) << "the graphic child paints there itself";
    graphic.SetVisible(false);
    sk::CopyCacheToDC(panel.SkinData, target.DC(), 0, 0, RECT{0, 0, 100, 80});
    EXPECT_EQ(target.Pixel(15, 15), AsRgb(kPanelColor)) << "a hidden child is not left out";
}

TEST(CommonDataBackground, CopyingByWindowClipsEveryVisibleChildWindow) {
    auto manager = MakeManager();
    TTestForm form;
    TTestWinControl panel(&form, kPanelKind, {0, 0, 100, 80});
    TTestWinControl child(&panel, kButtonKind, {40, 10, 70, 30});
    child.HandleNeeded();
    panel.PrepareCache();
    TMemoryTarget target(100, 80, RGB(1, 2, 3));
    sk::CopyCacheToDC(panel.SkinData.FCacheBmp.get(), panel.Handle(), target.DC(), 0, 0, RECT{0, 0, 100, 80});
    EXPECT_EQ(target.Pixel(5, 5), AsRgb(kPanelColor));
    EXPECT_EQ(target.Pixel(45, 15), 0x010203u);
}

}  // namespace
