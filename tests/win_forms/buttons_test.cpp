// Caption-button rules without a window: cleaned hit codes, fade alphas, the masks and places
// of the buttons, and the hover, press and release sequences.
#include <gtest/gtest.h>

#include "forms/sCaptionButtons.h"
#include "forms/sTitleAnimation.h"

namespace {

using namespace sk;

TEST(CaptionHitCodes, OnlySkinnedButtonsAnswerButtonCodes) {
    struct Row {
        int Default;
        bool Icon;
        int Expected;
    } rows[] = {
        {htMinButton, true, htCaption},    {htMaxButton, true, htCaption},  {htCloseButton, true, htCaption},
        {htHelpButton, true, htCaption},   {htSysMenu, false, htCaption},   {htSysMenu, true, htSysMenu},
        {htCaption, true, htCaption},      {htClient, true, htClient},      {HTLEFT, true, HTLEFT},
        {HTBOTTOMRIGHT, false, HTBOTTOMRIGHT}, {HTBORDER, true, HTBORDER},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.Default);
        EXPECT_EQ(CleanDefaultHitCode(r.Default, r.Icon), r.Expected);
    }
}

TEST(CaptionHitCodes, ButtonCodeSets) {
    for (int code : {8, 9, 20, 21, 101, 103, 1000, 1100, 2000, 2100}) EXPECT_TRUE(IsButtonHitCode(code)) << code;
    for (int code : {0, 1, 2, 3, 5, 17, 100, 104, 999, 1101, 1999, 2101}) EXPECT_FALSE(IsButtonHitCode(code)) << code;
}

TEST(TitleFade, AlphaStaysInRange) {
    struct Row {
        int Step, Level, Alpha;
    } rows[] = {
        {25, 1, 25}, {25, 9, 225}, {25, 10, 250},
        {25, 11, 255},  // 275 would wrap to 19: a flash of the faded picture
        {25, 0, 0}, {25, -1, 0}, {255, 1, 255}, {255, 2, 255},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.Level);
        EXPECT_EQ(FadeAlpha(r.Step, r.Level), r.Alpha);
    }
    EXPECT_EQ(FadeStep(10), 25);
    EXPECT_EQ(FadeStep(1), 255);
    EXPECT_EQ(FadeStep(0), 255);  // no division by zero
}

// A model with the installer skin's button masks in a 240-pixel master bitmap (no pixels are
// read by the layout).
TSkinModel ButtonModel(bool smallButtons) {
    TSkinModel model;
    model.CommonSkinData = std::make_unique<TsSkinData>();
    model.CommonSkinData->BIRightMargin = 1;
    model.CommonSkinData->BISpacing = -1;
    model.CommonSkinData->BIVAlign = 1;
    auto add = [&](const wchar_t* key, rd::TRect r) {
        TsMaskData m;
        m.ClassName = L"GLOBALINFO";
        m.PropertyName = key;
        m.R = r;
        m.ImageCount = 3;
        model.ma.push_back(std::move(m));
    };
    add(L"BICONCLOSE", {0, 96, 72, 116});
    add(L"BICLOSEALONE", {72, 96, 144, 116});
    add(L"BICONMAX", {144, 96, 216, 116});
    add(L"BICONMIN", {72, 116, 144, 136});
    if (smallButtons) add(L"SICONCLOSE", {0, 136, 48, 150});
    return model;
}

TButtonLayoutInput InstallerWindow() {
    TButtonLayoutInput in;
    in.CaptionWidth = 686;
    in.FrameWidth = 3;
    in.VCenter = 10;
    return in;
}

TEST(CaptionButtonLayout, DialogShowsTheSmallCloseButtonOnly) {
    const TSkinModel model = ButtonModel(true);
    TCaptionButtons b;
    TButtonVisibility v;
    v.Close = true;
    b.AssignMasks(&model, v, false, false);
    b.Layout(&model, v, InstallerWindow());
    EXPECT_EQ(b.Close.ImageIndex, model.GetMaskIndex(L"GLOBALINFO", L"SICONCLOSE"));
    EXPECT_FALSE(b.Close.HaveAlignment);
    // 16 x 14, right edge 1 + 3 from the window's right edge, centred on line 10.
    EXPECT_EQ(b.Close.Rect.Left, 666);
    EXPECT_EQ(b.Close.Rect.Right, 682);
    EXPECT_EQ(b.Close.Rect.Top, 3);
    EXPECT_EQ(b.Close.Rect.Bottom, 17);
    EXPECT_FALSE(b.Max.Visible());
    EXPECT_FALSE(b.Min.Visible());
    EXPECT_FALSE(b.Help.Visible());
    EXPECT_EQ(b.AreaLeft(686), 666);
}

TEST(CaptionButtonLayout, WithoutSmallMasksDialogsUseBigButtonsAlignedToTheTop) {
    const TSkinModel model = ButtonModel(false);
    TCaptionButtons b;
    TButtonVisibility v;
    v.Close = true;
    b.AssignMasks(&model, v, false, false);
    b.Layout(&model, v, InstallerWindow());
    EXPECT_EQ(b.Close.ImageIndex, model.GetMaskIndex(L"GLOBALINFO", L"BICLOSEALONE"));
    EXPECT_TRUE(b.Close.HaveAlignment);
    EXPECT_EQ(b.Close.Rect.Top, 0);  // "BIVALIGN" 1
    EXPECT_EQ(b.Close.Rect.Bottom, 20);
    EXPECT_EQ(b.Close.Rect.Width(), 24);
}

TEST(CaptionButtonLayout, BigButtonsRightToLeftWithSpacing) {
    const TSkinModel model = ButtonModel(true);
    TCaptionButtons b;
    TButtonVisibility v;
    v.Close = v.Max = v.Min = true;
    v.BigButtons = true;
    b.AssignMasks(&model, v, false, false);
    b.Layout(&model, v, InstallerWindow());
    EXPECT_EQ(b.Close.ImageIndex, model.GetMaskIndex(L"GLOBALINFO", L"BICONCLOSE"));
    EXPECT_EQ(b.Close.Rect.Right, 682);
    EXPECT_EQ(b.Max.Rect.Right, b.Close.Rect.Left + 1);  // "BISPACE" -1
    EXPECT_EQ(b.Min.Rect.Right, b.Max.Rect.Left + 1);
}

TEST(CaptionButtonLayout, AMissingMaskGivesTheDefaultSize) {
    TSkinModel model;  // no masks at all, no skin data
    TCaptionButtons b;
    TButtonVisibility v;
    v.Close = true;
    b.AssignMasks(&model, v, false, false);
    b.Layout(&model, v, InstallerWindow());
    EXPECT_EQ(b.Close.Rect.Width(), kDefaultButtonSize);
    EXPECT_EQ(b.Close.Rect.Height(), kDefaultButtonSize);
    EXPECT_EQ(b.Close.Rect.Right, 683);
}

// One step of a mouse sequence over the caption buttons.
enum class Act { Hover, Press, Release, Leave };
struct Step {
    Act What;
    int Code;
    int CloseState;  // expected afterwards
    int MinState;
    int Performed;   // for releases: the button performed (0: none)
};

struct Sequence {
    const char* Rule;
    std::vector<Step> Steps;
};

TCaptionButtons TwoButtons() {
    TCaptionButtons b;
    TButtonVisibility v;
    v.Close = v.Min = v.Max = true;
    v.BigButtons = true;
    b.AssignMasks(nullptr, v, false, false);
    b.Layout(nullptr, v, InstallerWindow());
    return b;
}

TEST(CaptionButtonInput, PressMoveReleaseSequences) {
    const Sequence sequences[] = {
        {"release over the pressed button performs it",
         {{Act::Hover, 20, 1, 0, 0}, {Act::Press, 20, 2, 0, 0}, {Act::Release, 20, 0, 0, 20}}},
        {"press, move off, release elsewhere does nothing",
         {{Act::Hover, 20, 1, 0, 0}, {Act::Press, 20, 2, 0, 0}, {Act::Hover, 2, 0, 0, 0}, {Act::Release, 2, 0, 0, 0}}},
        {"press close, release over minimize performs neither",
         {{Act::Hover, 20, 1, 0, 0}, {Act::Press, 20, 2, 0, 0}, {Act::Hover, 8, 0, 0, 0}, {Act::Release, 8, 0, 0, 0}}},
        {"while a button is held no other becomes hot",
         {{Act::Hover, 20, 1, 0, 0}, {Act::Press, 20, 2, 0, 0}, {Act::Hover, 8, 0, 0, 0}, {Act::Hover, 20, 0, 0, 0},
          {Act::Release, 20, 0, 0, 20}}},
        {"a release without a press does nothing", {{Act::Hover, 20, 1, 0, 0}, {Act::Release, 20, 0, 0, 0}}},
        {"leaving the frame drops the hold", {{Act::Hover, 20, 1, 0, 0}, {Act::Press, 20, 2, 0, 0}, {Act::Leave, 0, 0, 0, 0}, {Act::Release, 20, 0, 0, 0}}},
        {"hover moves from button to button",
         {{Act::Hover, 20, 1, 0, 0}, {Act::Hover, 8, 0, 1, 0}, {Act::Hover, 2, 0, 0, 0}}},
    };
    for (const Sequence& s : sequences) {
        SCOPED_TRACE(s.Rule);
        TCaptionButtons b = TwoButtons();
        int changed[2];
        for (size_t i = 0; i < s.Steps.size(); ++i) {
            const Step& step = s.Steps[i];
            SCOPED_TRACE(i);
            int performed = 0;
            switch (step.What) {
                case Act::Hover: b.SetHot(step.Code, changed); break;
                case Act::Press: b.SetPressed(step.Code, true, changed); break;
                case Act::Release: performed = b.Release(step.Code, changed); break;
                case Act::Leave: b.Leave(changed); break;
            }
            EXPECT_EQ(b.Close.State, step.CloseState);
            EXPECT_EQ(b.Min.State, step.MinState);
            EXPECT_EQ(performed, step.Performed);
        }
    }
}

TEST(CaptionButtonInput, ADisabledButtonIsNotPressed) {
    TCaptionButtons b = TwoButtons();
    int changed[2];
    EXPECT_FALSE(b.SetPressed(20, false, changed));
    EXPECT_EQ(b.Close.State, 0);
    EXPECT_FALSE(b.Held());
    EXPECT_EQ(b.Release(20, changed), 0);
}

TEST(CaptionButtonInput, HoverReportsWhatToRepaint) {
    TCaptionButtons b = TwoButtons();
    int changed[2];
    EXPECT_TRUE(b.SetHot(20, changed));
    EXPECT_EQ(changed[0], 0);
    EXPECT_EQ(changed[1], 20);
    EXPECT_FALSE(b.SetHot(20, changed));  // no change, nothing to repaint
    EXPECT_TRUE(b.SetHot(8, changed));
    EXPECT_EQ(changed[0], 20);
    EXPECT_EQ(changed[1], 8);
}

}  // namespace
