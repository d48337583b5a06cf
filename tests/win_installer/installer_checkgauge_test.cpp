// The installer window's three check boxes and its gauge as the built installer's description
// and tinted skin make them: the boxes sized from the skin's 15 x 15 check glyph and their
// captions (height 19, stored left and top kept), drawn with the glyph of their state and
// toggled by input with the system state in step; the gauge advanced as the install procedure
// advances it, showing 25, 50, 75 and 100 % with the filled part painted from "PROGRESSH".
#include <gtest/gtest.h>

#include "skinpaint/sSectionPaint.h"
#include "tests/win_installer/installer_support.h"

namespace {

struct StoredBox {
    sk::TsCheckBox* kv::TForm1::*field;
    int left, top;
};
const StoredBox kBoxes[] = {
    {&kv::TForm1::sCheckBox1, 206, 195},
    {&kv::TForm1::sCheckBox2, 206, 211},
    {&kv::TForm1::sCheckBox3, 454, 195},
};

}  // namespace

TEST(InstallerCheckBoxes, SizeThemselvesFromTheSkinGlyphAndKeepTheirPlace) {
    kvinst::ShownInstaller installer;
    for (const StoredBox& stored : kBoxes) {
        sk::TsCheckBox& box = *(installer.form.get()->*stored.field);
        const std::string name(box.Name().begin(), box.Name().end());
        EXPECT_TRUE(box.SkinData().Skinned()) << name;
        const SIZE glyph = box.GlyphSize();
        EXPECT_EQ(15, glyph.cx) << name;
        EXPECT_EQ(15, glyph.cy) << name;
        EXPECT_EQ(stored.left, box.Left()) << name;
        EXPECT_EQ(stored.top, box.Top()) << name;
        EXPECT_EQ(19, box.Height()) << name;
        RECT window{};
        GetWindowRect(box.Handle(), &window);
        EXPECT_EQ(box.Width(), window.right - window.left) << name << ": the window follows";
        EXPECT_TRUE(box.Checked()) << name;
        EXPECT_EQ(BST_CHECKED, SendMessageW(box.Handle(), BM_GETCHECK, 0, 0)) << name;
    }
}

TEST(InstallerCheckBoxes, DrawTheGlyphOfTheirStateAndToggleOnInput) {
    kvinst::ShownInstaller installer;
    sk::TsCheckBox& box = *installer.form->sCheckBox1;
    ASSERT_TRUE(box.PrepareCache());
    const RECT g = box.GlyphRect();
    auto glyphPixels = [&] {
        std::vector<uint32_t> px;
        for (int y = g.top; y < g.bottom; ++y)
            for (int x = g.left; x < g.right; ++x) px.push_back(kvinst::CachePixel(box.SkinData(), x, y));
        return px;
    };
    const auto checkedGlyph = glyphPixels();
    const uint32_t background = kvinst::CachePixel(box.SkinData(), box.Width() - 1, box.Height() - 1);
    EXPECT_GT(std::count_if(checkedGlyph.begin(), checkedGlyph.end(), [&](uint32_t p) { return p != background; }), 20)
        << "a glyph is drawn";

    box.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    box.Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(box.Checked());
    EXPECT_EQ(BST_UNCHECKED, SendMessageW(box.Handle(), BM_GETCHECK, 0, 0));
    box.SkinData().FFocused = false;
    ASSERT_TRUE(box.PrepareCache());
    EXPECT_NE(checkedGlyph, glyphPixels()) << "the unchecked glyph differs";

    box.Perform(WM_KEYDOWN, VK_SPACE, 0);
    box.Perform(WM_KEYUP, VK_SPACE, 0);
    EXPECT_TRUE(box.Checked());
}

TEST(InstallerGauge, ShowsEachQuarterAsTheInstallAdvancesIt) {
    kvinst::ShownInstaller installer;
    sk::TsGauge& gauge = *installer.form->sGauge1;
    gauge.SetAnimated(false);
    const int sectionIndex = installer.Model().GetSkinIndex(L"PROGRESSH");
    ASSERT_GE(sectionIndex, 0);
    const wchar_t* texts[] = {L"25%", L"50%", L"75%", L"100%", L"100%"};
    const int filled[] = {116, 232, 349, 465, 465};  // round(465 * p / 100), half to even
    for (int step = 0; step < 5; ++step) {
        gauge.SetProgress(gauge.Progress() + 1);  // as the install procedure does after each file
        EXPECT_EQ(texts[step], gauge.Text());
        ASSERT_TRUE(gauge.PrepareCache());
        EXPECT_EQ(filled[step], gauge.FilledWidth());
        // The filled part is "PROGRESSH" of the tinted skin; compare its first column away from the text.
        sk::TacCacheBitmap expected(filled[step], gauge.Height());
        rd::PaintSectionFace(sectionIndex, L"", rd::CacheInfoForBitmap(gauge.SkinData().FCacheBmp->View(), 0, 0), -1, -1,
                             &installer.Model(), expected.View(), {0, 0},
                             rd::TRect{0, 0, filled[step], gauge.Height()}, 0);
        for (int y = 0; y < gauge.Height(); y += 6)
            EXPECT_EQ(expected.ScanLine(y)[2] & 0xFFFFFF, kvinst::CachePixel(gauge.SkinData(), 2, y)) << "step " << step << " row " << y;
        gauge.SkinData().EmptyCache();
    }
}
