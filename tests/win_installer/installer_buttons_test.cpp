// The installer window's own buttons, read from its description and painted from its tinted
// skin: the install button and the browse button show their sections' faces, their captions
// fit ("Установить" and "Завершить"), the browse button's dots are centred, and the disabled
// install button is blended with the window behind it.
#include <gtest/gtest.h>

#include <windows.h>

#include "controls/sButton.h"
#include "controls/sSpeedButton.h"
#include "render/sAlphaGraph.h"
#include "skinframework/sControlPaint.h"
#include "tests/win_installer/installer_support.h"

namespace {

uint32_t Rgb(uint32_t pixel) { return pixel & 0x00FFFFFFu; }

// The section's face behind the control for its size and state.
rd::TMemBitmap32 SectionFace(sk::TsCommonData& data, int w, int h, int state, rd::TCacheInfo& bg) {
    rd::TMemBitmap32 face(w, h);
    data.GetParentCache(bg);
    sk::PaintControlFace(data, bg, true, &face, {0, 0}, {0, 0, w, h}, state);
    return face;
}

// Pixels of the control's cache that differ from face within rows [top, bottom).
int DifferingRows(sk::TsCommonData& data, const rd::TBitmap32& face, int top, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < face.Width; ++x)
            n += Rgb(data.FCacheBmp->ScanLine(y)[x]) != Rgb(rd::ReadPixel32(face, x, y));
    return n;
}

}  // namespace

TEST(InstallerButtons, TheInstallButtonShowsItsSectionFaceAndItsCaptionsFit) {
    kvinst::ShownInstaller w;
    sk::TsButton& b = *w.form->sButton1;
    ASSERT_TRUE(b.SkinData().Skinned());
    EXPECT_EQ(b.SkinData().SkinIndex, w.form->sSkinManager1->Model().GetSkinIndex(L"BUTTON"));
    ASSERT_TRUE(b.PrepareCache());
    rd::TCacheInfo bg;
    const rd::TMemBitmap32 face = SectionFace(b.SkinData(), b.Width(), b.Height(), b.SkinState(b.CurrentState()), bg);
    const RECT caption = b.CaptionRect();
    EXPECT_EQ(DifferingRows(b.SkinData(), face, 0, caption.top), 0) << "above the caption";
    EXPECT_EQ(DifferingRows(b.SkinData(), face, caption.bottom, b.Height()), 0) << "below the caption";
    EXPECT_GT(DifferingRows(b.SkinData(), face, caption.top, caption.bottom), 0) << "the caption is drawn";
    // Each caption lies whole inside the button, on one line.
    const LONG line = b.TextRectSize().cy;
    for (const wchar_t* text : {L"Установить", L"Завершить"}) {
        b.SetCaption(text);
        const RECT r = b.CaptionRect();
        EXPECT_GE(r.left, 0) << "no clipped caption";
        EXPECT_LE(r.right, b.Width());
        EXPECT_GE(r.top, 0);
        EXPECT_LE(r.bottom, b.Height());
        EXPECT_EQ(b.TextRectSize().cy, line) << "one line";
    }
}

TEST(InstallerButtons, TheDisabledInstallButtonIsBlendedWithTheWindow) {
    kvinst::ShownInstaller w;
    sk::TsButton& b = *w.form->sButton1;
    b.SetEnabled(false);
    ASSERT_TRUE(b.PrepareCache());
    rd::TCacheInfo bg;
    rd::TMemBitmap32 face = SectionFace(b.SkinData(), b.Width(), b.Height(), 0, bg);
    rd::ApplyDisabledLook(&face, rd::dkBlended, rd::ColorToRGB(w.form->Color()), {0, 0}, bg);
    const RECT caption = b.CaptionRect();
    EXPECT_EQ(DifferingRows(b.SkinData(), face, 0, caption.top), 0);
    EXPECT_EQ(DifferingRows(b.SkinData(), face, caption.bottom, b.Height()), 0);
}

TEST(InstallerButtons, TheBrowseButtonShowsItsSectionFaceWithTheDotsCentred) {
    kvinst::ShownInstaller w;
    sk::TsSpeedButton& b = *w.form->sSpeedButton1;
    EXPECT_EQ(b.Width(), 23);
    EXPECT_EQ(b.Height(), 22);
    EXPECT_TRUE(b.DrawOverBorder());
    ASSERT_TRUE(b.SkinData().Skinned());
    EXPECT_EQ(b.SkinData().SkinIndex, w.form->sSkinManager1->Model().GetSkinIndex(L"SPEEDBUTTON"));
    ASSERT_TRUE(b.PrepareCache());
    rd::TCacheInfo bg;
    const rd::TMemBitmap32 face = SectionFace(b.SkinData(), 23, 22, 0, bg);
    const RECT caption = b.CaptionRect(true);
    const SIZE s = b.TextRectSize();
    EXPECT_EQ(caption.left, (23 - s.cx) / 2);
    EXPECT_EQ(DifferingRows(b.SkinData(), face, 0, caption.top), 0);
    EXPECT_EQ(DifferingRows(b.SkinData(), face, caption.bottom, 22), 0);
    EXPECT_GT(DifferingRows(b.SkinData(), face, caption.top, caption.bottom), 0);
}
