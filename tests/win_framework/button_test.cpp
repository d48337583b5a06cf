// The skinned push button: faces per state against the section's own face, the default state in
// three- and four-state skins, the disabled look and its rebuild with a new caption, caption
// wrapping, the focus frame, fades on hover and press, the pressed face of a quick click, the
// press-outside rule, the window region of cut-corner masks, and skins without the section.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "controls/sButton.h"
#include "skinpaint/sMaskPaint.h"
#include "tests/common/SyntheticInput.h"
#include "tests/win_framework/button_support.h"

using namespace kvfw;

namespace {

constexpr RECT kBounds{20, 20, 100, 50};  // 80 x 30

void Redraw(sk::TsButton& b) {
    RedrawWindow(b.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages();
}

void MouseAway() {
    SetCursorPos(2, 2);
    PumpFor(40);
}

// Skin messages and paints a button receives, recorded in front of its own handler.
struct TJournalHook {
    explicit TJournalHook(sk::TsButton& b) : Button(b), Old(b.WindowProc) {
        b.WindowProc = [this](tk::TMessage& m) {
            if (m.Msg == sk::SM_SKINCMD) Commands.push_back(sk::SkinCmdOf(m.WParam));
            Old(m);
            if (m.Msg == WM_PAINT && sk::TsButton::PaintPressedNow())
                PressedPaints.push_back(CachePixel(Button.SkinData(), 1, 15));
        };
    }
    ~TJournalHook() { Button.WindowProc = Old; }
    int Count(WORD cmd) const { return static_cast<int>(std::count(Commands.begin(), Commands.end(), cmd)); }
    sk::TsButton& Button;
    tk::TWndMethod Old;
    std::vector<WORD> Commands;
    std::vector<uint32_t> PressedPaints;
};

class ButtonTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Manager = MakeManager().release();
        Form = new TTestForm(320, 200);
    }
    static void TearDownTestSuite() {
        delete Form;
        delete Manager;
    }
    void SetUp() override { MouseAway(); }
    static sk::TsSkinManager* Manager;
    static TTestForm* Form;
};
sk::TsSkinManager* ButtonTest::Manager = nullptr;
TTestForm* ButtonTest::Form = nullptr;

}  // namespace

TEST_F(ButtonTest, EachStateShowsTheSectionFaceOfItsSkinState) {
    const struct {
        const char* name;
        bool down, isDefault;
        int skinState;
    } cases[] = {
        {"normal", false, false, 0},
        {"down", true, false, 2},
        {"default in a three-state section", false, true, 1},
    };
    for (const auto& c : cases) {
        auto b = MakeButton(Form, Manager, kBounds, L"");
        b->SetDown(c.down);
        b->SetDefault(c.isDefault);
        Redraw(*b);
        const rd::TMemBitmap32 face = ReferenceFace(b->SkinData(), 80, 30, c.skinState);
        EXPECT_EQ(DifferingPixels(b->SkinData(), face, {0, 0, 80, 30}), 0) << c.name;
        EXPECT_EQ(ScreenPixel(b->Handle(), 40, 1), CachePixel(b->SkinData(), 40, 1)) << c.name << ": shown on screen";
    }
}

TEST_F(ButtonTest, TheDefaultButtonHasItsOwnFaceInAFourStateSkin) {
    std::string options = TestSkinOptions();
    options.replace(options.find("[BUTTON]\nSTATES=3"), 17, "[BUTTON]\nSTATES=4");
    auto manager = MakeManager(nullptr, options);
    auto b = MakeButton(Form, manager.get(), kBounds, L"");
    b->SetDefault(true);
    EXPECT_EQ(b->CurrentState(), sk::bsDefault);
    EXPECT_EQ(b->SkinState(sk::bsDefault), 3);
    Redraw(*b);
    EXPECT_EQ(DifferingPixels(b->SkinData(), ReferenceFace(b->SkinData(), 80, 30, 3), {0, 0, 80, 30}), 0);
    EXPECT_GT(DifferingPixels(b->SkinData(), ReferenceFace(b->SkinData(), 80, 30, 1), {0, 0, 80, 30}), 0)
        << "not the hot face";
}

TEST_F(ButtonTest, DisabledIsBlendedWithTheBackgroundAndReEnablingRebuildsWithTheNewCaption) {
    auto b = MakeButton(Form, Manager, kBounds, L"Install");
    Redraw(*b);
    b->SetEnabled(false);
    Redraw(*b);
    // The face without caption pixels is compared on the border rows, where no text lies.
    rd::TMemBitmap32 expected = ReferenceFace(b->SkinData(), 80, 30, 0);
    rd::TCacheInfo bg;
    b->SkinData().GetParentCache(bg);
    rd::ApplyDisabledLook(&expected, rd::dkBlended, rd::ColorToRGB(Form->Color()), {0, 0}, bg);
    EXPECT_EQ(DifferingPixels(b->SkinData(), expected, {0, 0, 80, 4}), 0);
    EXPECT_EQ(DifferingPixels(b->SkinData(), expected, {0, 26, 80, 30}), 0);

    b->SetCaption(L"Завершить");
    b->SetEnabled(true);
    Redraw(*b);
    auto fresh = MakeButton(Form, Manager, {20, 100, 100, 130}, L"Завершить");
    Redraw(*fresh);
    int differing = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 80; ++x) differing += CachePixel(b->SkinData(), x, y) != CachePixel(fresh->SkinData(), x, y);
    EXPECT_EQ(differing, 0) << "the same face as a button that was never disabled";
}

TEST_F(ButtonTest, ALongCaptionWrapsUnlessWordWrapIsOff) {
    auto b = MakeButton(Form, Manager, {20, 20, 80, 80}, L"Install every part now");
    auto single = MakeButton(Form, Manager, {100, 20, 160, 80}, L"Install");
    const LONG line = single->TextRectSize().cy;
    ASSERT_GT(line, 0);
    EXPECT_GE(b->TextRectSize().cy, 2 * line);
    EXPECT_LE(b->TextRectSize().cx, 60 - 2 * b->ContentMargin());
    b->SetWordWrap(false);
    EXPECT_EQ(b->TextRectSize().cy, line);
    EXPECT_EQ(MakeButton(Form, Manager, kBounds, L"")->TextRectSize().cx, 0);
}

TEST_F(ButtonTest, CaptionIsCentred) {
    auto b = MakeButton(Form, Manager, kBounds, L"Go");
    const SIZE s = b->TextRectSize();
    const RECT r = b->CaptionRect();
    EXPECT_EQ(r.left, (80 - s.cx) / 2 - 1);
    EXPECT_EQ(r.right, r.left + s.cx + 2);
    EXPECT_EQ(r.top, (30 - s.cy) / 2);
    EXPECT_EQ(r.bottom, 30 - r.top);
}

TEST_F(ButtonTest, TheFocusFrameIsDottedAroundACaptionAndAbsentWithoutOne) {
    const struct {
        const wchar_t* caption;
        bool frame;
    } cases[] = {{L"OK", true}, {L"", false}};
    for (const auto& c : cases) {
        auto b = MakeButton(Form, Manager, kBounds, c.caption);
        SetForegroundWindow(Form->Handle());
        b->SetFocus();
        PumpFor(200);
        ASSERT_TRUE(b->SkinData().FFocused);
        Redraw(*b);
        const rd::TMemBitmap32 face = ReferenceFace(b->SkinData(), 80, 30, 1);
        if (!c.frame) {
            EXPECT_EQ(DifferingPixels(b->SkinData(), face, {0, 0, 80, 30}), 0) << "empty caption: the plain hot face";
            continue;
        }
        RECT r = b->CaptionRect();
        InflateRect(&r, b->FocusMargin() + 1, b->FocusMargin());
        r.top = std::max<LONG>(r.top, 3);
        const uint32_t dot = AsRgb(b->SkinData().Section()->Props[1].FontColor.Color);
        int dots = 0;
        for (int x = r.left; x < r.right; ++x) dots += CachePixel(b->SkinData(), x, r.top) == dot;
        EXPECT_GE(dots, (r.right - r.left) / 2 - 1) << "every second pixel of the top edge";
        EXPECT_LE(dots, (r.right - r.left) / 2 + 1);
    }
}

TEST_F(ButtonTest, HoverFadesInElevenStepsAndEndsOnTheHotFace) {
    auto b = MakeButton(Form, Manager, kBounds, L"");
    Redraw(*b);
    TJournalHook journal(*b);
    MoveMouseTo(Form->Handle(), 60, 35);
    ASSERT_TRUE(PumpUntil([&] { return journal.Count(sk::SC_FADEDONE) > 0 && !b->FadeTimer(); }));
    EXPECT_EQ(journal.Count(sk::SC_PAINTFADEFRAME), 11);
    EXPECT_EQ(journal.Count(sk::SC_FADEDONE), 1);
    EXPECT_EQ(DifferingPixels(b->SkinData(), ReferenceFace(b->SkinData(), 80, 30, 1), {0, 0, 80, 30}), 0);
    journal.Commands.clear();
    MouseAway();
    ASSERT_TRUE(PumpUntil([&] { return journal.Count(sk::SC_FADEDONE) > 0 && !b->FadeTimer(); }));
    EXPECT_EQ(DifferingPixels(b->SkinData(), ReferenceFace(b->SkinData(), 80, 30, 0), {0, 0, 80, 30}), 0);
}

TEST_F(ButtonTest, AClickFadesFastAndAQuickOneShowsThePressedFaceFirst) {
    auto b = MakeButton(Form, Manager, kBounds, L"");
    int clicks = 0;
    b->OnClick = [&](tk::TObject*) { ++clicks; };
    MoveMouseTo(Form->Handle(), 60, 35);
    PumpUntil([&] { return !b->FadeTimer(); });
    TJournalHook journal(*b);
    synthetic::queued_left_click();
    ASSERT_TRUE(PumpUntil([&] { return clicks == 1 && !b->FadeTimer(); }));
    const uint32_t pressedRing = ReferenceFace(b->SkinData(), 80, 30, 2).Row(15)[1] & 0x00FFFFFFu;
    ASSERT_FALSE(journal.PressedPaints.empty()) << "the release came while the press fade ran";
    EXPECT_EQ(journal.PressedPaints.front(), pressedRing);
    // The release, queued before any timer tick, stopped the press fade before its first frame;
    // the release fade shows its 5 steps.
    EXPECT_EQ(journal.Count(sk::SC_PAINTFADEFRAME), 5);
    EXPECT_EQ(journal.Count(sk::SC_FADEDONE), 1);
    EXPECT_EQ(DifferingPixels(b->SkinData(), ReferenceFace(b->SkinData(), 80, 30, 1), {0, 0, 80, 30}), 0)
        << "hot again after the release";
    MouseAway();
}

TEST_F(ButtonTest, APressOutsideReleasedOverTheButtonDoesNothing) {
    auto b = MakeButton(Form, Manager, kBounds, L"Go");
    int clicks = 0;
    b->OnClick = [&](tk::TObject*) { ++clicks; };
    MoveMouseTo(Form->Handle(), 200, 150);
    PressLeft();
    PumpFor(40);
    MoveMouseTo(Form->Handle(), 60, 35);
    PumpUntil([&] { return !b->FadeTimer(); });
    TJournalHook journal(*b);
    ReleaseLeft();
    PumpFor(150);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(journal.Count(sk::SC_PREPARECACHE), 0) << "no change of face";
    // A press and release on it clicks.
    PressLeft();
    PumpFor(40);
    ReleaseLeft();
    EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }));
    MouseAway();
}

// The system button forgets its press when the capture moves away before the release (an
// activation coming with the same click can do that); the release over the button still
// clicks, once.
TEST_F(ButtonTest, APressThatLostTheCaptureStillClicksOnceWhenReleasedOverTheButton) {
    auto b = MakeButton(Form, Manager, kBounds, L"Go");
    int clicks = 0;
    b->OnClick = [&](tk::TObject*) { ++clicks; };
    MoveMouseTo(Form->Handle(), 60, 35);
    PressLeft();
    ASSERT_TRUE(PumpUntil([&] { return GetCapture() == b->Handle(); }));
    SetCapture(Form->Handle());  // the press is lost to the system button
    ReleaseCapture();
    MoveMouseTo(Form->Handle(), 60, 35);
    ReleaseLeft();
    EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }));
    PumpFor(100);
    EXPECT_EQ(clicks, 1);
    // An ordinary click still clicks exactly once.
    PressLeft();
    PumpFor(40);
    ReleaseLeft();
    EXPECT_TRUE(PumpUntil([&] { return clicks == 2; }));
    PumpFor(100);
    EXPECT_EQ(clicks, 2);
    MouseAway();
}

TEST_F(ButtonTest, CutCornerMasksGiveTheWindowARegionThatItOwns) {
    const std::string huge =
        "[BUTTON_HUGE]\nSTATES=3\nCOLOR=2117760\nHOTCOLOR=3187952\nFONTCOLOR=14474978\n"
        "BORDERSMASK=^0000^0000^0030^0010^0003^0003^0003^0003^3^0^0^0\n";
    auto manager = MakeManager(nullptr, SkinWith(huge));
    auto b = MakeButton(Form, manager.get(), kBounds, L"", L"BUTTON_HUGE");
    ASSERT_NE(b->SkinData().BorderMask(), nullptr);
    ASSERT_EQ(b->SkinData().BorderMask()->CornerType, 2);
    for (const RECT bounds : {kBounds, RECT{20, 20, 90, 44}}) {
        b->SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
        Redraw(*b);
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(GetWindowRgn(b->Handle(), region), ERROR);
        EXPECT_FALSE(PtInRegion(region, 0, 0)) << "the magenta corner is cut out";
        EXPECT_TRUE(PtInRegion(region, 10, 10));
        EXPECT_TRUE(PtInRegion(region, bounds.right - bounds.left - 1, bounds.bottom - bounds.top - 1));
        DeleteObject(region);
        EXPECT_EQ(b->StoredRegion(), nullptr) << "handed to the window and forgotten";
    }
}

TEST_F(ButtonTest, WithoutAButtonSectionTheButtonPaintsPlainAndClicks) {
    auto manager = MakeManager(nullptr, SkinWithout("BUTTON"));
    auto b = MakeButton(Form, manager.get(), kBounds, L"Go");
    EXPECT_FALSE(b->SkinData().Skinned());
    int clicks = 0;
    b->OnClick = [&](tk::TObject*) { ++clicks; };
    Redraw(*b);
    EXPECT_EQ(ScreenPixel(b->Handle(), 40, 3), AsRgb(rd::ColorToRGB(tk::clBtnFace))) << "the system's face";
    MoveMouseTo(Form->Handle(), 60, 35);
    PressLeft();
    PumpFor(40);
    ReleaseLeft();
    EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }));
    MouseAway();
}

TEST_F(ButtonTest, AClickThatDisablesAndRenamesTheButtonEndsOnTheNewFace) {
    // As the install click: disabled while the work runs (messages pumped), renamed, enabled and
    // focused again, all inside the click.
    auto b = MakeButton(Form, Manager, kBounds, L"Install");
    auto fresh = MakeButton(Form, Manager, {20, 100, 100, 130}, L"Finish");
    Redraw(*fresh);
    TJournalHook journal(*b);
    b->OnClick = [&](tk::TObject*) {
        b->SetEnabled(false);
        PumpFor(100);
        b->SetCaption(L"Finish");
        b->SetEnabled(true);
        b->SetFocus();
        journal.Commands.clear();
    };
    MoveMouseTo(Form->Handle(), 60, 35);
    PumpUntil([&] { return !b->FadeTimer(); });
    PressLeft();
    PumpFor(40);
    ReleaseLeft();
    ASSERT_TRUE(PumpUntil([&] { return b->Caption() == L"Finish" && !b->FadeTimer(); }));
    EXPECT_EQ(journal.Count(sk::SC_PAINTFADEFRAME), 0) << "no fade from the picture with the old caption";
    MouseAway();
    PumpUntil([&] { return !b->FadeTimer(); });
    PumpFor(100);
    EXPECT_FALSE(b->SkinData().BGChanged);
    EXPECT_FALSE(b->SkinData().FUpdating);
    fresh->SetFocus();
    b->SetFocus();
    PumpUntil([&] { return !b->FadeTimer(); });
    Redraw(*b);
    for (int x = 0; x < 80; ++x)
        ASSERT_EQ(ScreenPixel(b->Handle(), x, 15), CachePixel(b->SkinData(), x, 15)) << "screen shows the cache at " << x;
    ::SetFocus(Form->Handle());  // neither button keeps the focus
    PumpUntil([&] { return !b->FadeTimer() && !fresh->FadeTimer(); });
    Redraw(*b);
    Redraw(*fresh);
    int differing = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 80; ++x) differing += CachePixel(b->SkinData(), x, y) != CachePixel(fresh->SkinData(), x, y);
    EXPECT_EQ(differing, 0) << "the face of a button that was always called Finish";
}
