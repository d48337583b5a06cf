// The test skin and the test controls themselves: a control binds to its kind's section and
// paints that section's face; the screen shows the cache.
#include <gtest/gtest.h>

#include "tests/win_framework/FrameworkFixture.h"
#include "tests/win_framework/TestControls.h"

using namespace kvfw;

TEST(FrameworkFixture, TheTestSkinLoadsWithEverySection) {
    auto manager = MakeManager();
    ASSERT_TRUE(manager->Active());
    for (const wchar_t* section : {L"FORM", L"PANEL", L"PANEL_LOW", L"BUTTON", L"CHECKBOX", L"EDIT", L"SEMI"})
        EXPECT_GE(manager->Model().GetSkinIndex(section), 0) << std::string(section, section + wcslen(section));
    EXPECT_LT(manager->Model().GetSkinIndex(L"GAUGE"), 0);
}

TEST(FrameworkFixture, AButtonPaintsItsBorderRingAndKeepsItsCentre) {
    auto manager = MakeManager();
    TTestForm form;
    auto* panel = new TTestWinControl(&form, kPanelKind, {10, 10, 210, 110}, L"", L"Panel");
    auto* button = new TTestWinControl(panel, kButtonKind, {20, 20, 95, 45}, L"", L"Button");
    ASSERT_TRUE(button->SkinData.Skinned());
    button->PrepareCache();
    ASSERT_EQ(button->CacheBuilds, 1);
    EXPECT_EQ(CachePixel(button->SkinData, 1, 1), 0x0000C0u) << "ring of the normal frame";
    EXPECT_EQ(CachePixel(button->SkinData, 37, 12), AsRgb(kButtonColor)) << "centre shows the section colour";
    EXPECT_EQ(CachePixel(button->SkinData, 0, 0), AsRgb(kPanelColor)) << "the magenta corner shows the panel";
    RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(ScreenPixel(button->Handle(), 1, 1), 0x0000C0u);
    EXPECT_EQ(ScreenPixel(button->Handle(), 37, 12), AsRgb(kButtonColor));
}

TEST(FrameworkFixture, AButtonOverAGradientShowsTheGradientBehindItsCorner) {
    auto manager = MakeManager();
    TTestForm form;
    auto* panel = new TTestWinControl(&form, kPanelLowKind, {10, 10, 210, 110}, L"", L"Panel");
    auto* button = new TTestWinControl(panel, kButtonKind, {20, 30, 95, 55}, L"", L"Button");
    panel->PrepareCache();
    button->PrepareCache();
    ASSERT_EQ(panel->CacheBuilds, 1);
    ASSERT_EQ(button->CacheBuilds, 1);
    // The vertical gradient differs from row to row, so a wrong offset shows.
    ASSERT_NE(CachePixel(panel->SkinData, 20, 30), CachePixel(panel->SkinData, 20, 60));
    EXPECT_EQ(CachePixel(button->SkinData, 0, 0), CachePixel(panel->SkinData, 20, 30));
}
