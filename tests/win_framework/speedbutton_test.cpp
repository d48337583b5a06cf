// The skinned speed button: the "..." button's face and centred caption, the one-pixel shift on
// press only with ShiftContentOnClick, the ellipsis, separator and divider styles that never
// become hot, hover and press fades through the animation timer, the disabled look, and a skin
// without the section.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "controls/sSpeedButton.h"
#include "tests/win_framework/button_support.h"

using namespace kvfw;

namespace {

constexpr RECT kBounds{40, 30, 63, 52};  // 23 x 22, as the installer's browse button

void Redraw(tk::TWinControl& parent) {
    RedrawWindow(parent.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages();
}

struct TCommandHook {
    explicit TCommandHook(tk::TControl& c) : Control(c), Old(c.WindowProc) {
        c.WindowProc = [this](tk::TMessage& m) {
            if (m.Msg == sk::SM_SKINCMD) Commands.push_back(sk::SkinCmdOf(m.WParam));
            Old(m);
        };
    }
    ~TCommandHook() { Control.WindowProc = Old; }
    int Count(WORD cmd) const { return static_cast<int>(std::count(Commands.begin(), Commands.end(), cmd)); }
    tk::TControl& Control;
    tk::TWndMethod Old;
    std::vector<WORD> Commands;
};

class SpeedButtonTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Manager = MakeManager(nullptr, SkinWith(kSpeedSection)).release();
        Form = new TTestForm(200, 120);
    }
    static void TearDownTestSuite() {
        delete Form;
        delete Manager;
    }
    void SetUp() override {
        SetCursorPos(2, 2);
        PumpFor(40);
        Manager->ButtonsOptions.ShiftContentOnClick = true;
    }
    void Hover() { MoveMouseTo(Form->Handle(), 51, 41); }
    static sk::TsSkinManager* Manager;
    static TTestForm* Form;
};
sk::TsSkinManager* SpeedButtonTest::Manager = nullptr;
TTestForm* SpeedButtonTest::Form = nullptr;

}  // namespace

TEST_F(SpeedButtonTest, TheBrowseButtonShowsTheSectionFaceWithItsCaptionCentred) {
    auto b = MakeSpeedButton(Form, Manager, kBounds, L"...");
    Redraw(*Form);
    const rd::TMemBitmap32 face = ReferenceFace(b->SkinData(), 23, 22, 0);
    const RECT caption = b->CaptionRect(true);
    const SIZE text = b->TextRectSize();
    EXPECT_EQ(caption.left, (23 - text.cx) / 2);
    EXPECT_EQ(caption.top, (22 - text.cy) / 2);
    // Outside the caption the face is the section's; inside it the text left marks.
    EXPECT_EQ(DifferingPixels(b->SkinData(), face, {0, 0, 23, caption.top}), 0);
    EXPECT_EQ(DifferingPixels(b->SkinData(), face, {0, caption.bottom, 23, 22}), 0);
    EXPECT_GT(DifferingPixels(b->SkinData(), face, caption), 0) << "the dots are drawn";
    EXPECT_EQ(ScreenPixel(Form->Handle(), 40 + 11, 30 + 1), CachePixel(b->SkinData(), 11, 1)) << "shown on screen";
}

TEST_F(SpeedButtonTest, PressedContentMovesOnlyWhenTheManagerAsks) {
    for (const bool shift : {true, false}) {
        Manager->ButtonsOptions.ShiftContentOnClick = shift;
        auto b = MakeSpeedButton(Form, Manager, kBounds, L"...");
        Redraw(*Form);
        const RECT normal = b->CaptionRect(true);
        Hover();
        PressLeft();
        PumpUntil([&] { return b->CurrentState() == 2 && !b->FadeTimer(); });
        const RECT pressed = b->CaptionRect(true);
        ReleaseLeft();
        PumpFor(100);
        EXPECT_EQ(pressed.left - normal.left, shift ? 1 : 0) << shift;
        EXPECT_EQ(pressed.top - normal.top, shift ? 1 : 0) << shift;
        SetCursorPos(2, 2);
        PumpFor(100);
    }
}

TEST_F(SpeedButtonTest, ACaptionThatDoesNotFitIsKeptInsideTheButton) {
    auto b = MakeSpeedButton(Form, Manager, kBounds, L"Browse for a folder");
    b->SetWordWrap(false);
    EXPECT_LE(b->TextRectSize().cx, 23);
    const RECT r = b->CaptionRect(false);
    EXPECT_GE(r.left, 0);
    EXPECT_LE(r.right, 23);
}

TEST_F(SpeedButtonTest, SeparatorAndDividerNeverBecomeHot) {
    const struct {
        sk::TsSpeedButtonStyle style;
        int hoverState;
    } cases[] = {{sk::tbsButton, 1}, {sk::tbsSeparator, 0}, {sk::tbsDivider, 0}};
    for (const auto& c : cases) {
        auto b = MakeSpeedButton(Form, Manager, kBounds, L"");
        b->SetButtonStyle(c.style);
        Redraw(*Form);
        Hover();
        PumpUntil([&] { return !b->FadeTimer(); });
        EXPECT_EQ(b->CurrentState(), c.hoverState) << c.style;
        EXPECT_EQ(b->SkinData().FMouseAbove, c.hoverState == 1) << c.style;
        SetCursorPos(2, 2);
        PumpFor(200);
    }
}

TEST_F(SpeedButtonTest, HoverFadesInElevenStepsToTheHotFaceAndAClickFiresOnce) {
    auto b = MakeSpeedButton(Form, Manager, kBounds, L"");
    int clicks = 0;
    b->OnClick = [&](tk::TObject*) { ++clicks; };
    Redraw(*Form);
    TCommandHook hook(*b);
    Hover();
    ASSERT_TRUE(PumpUntil([&] { return hook.Count(sk::SC_FADEDONE) > 0 && !b->FadeTimer(); }));
    EXPECT_EQ(hook.Count(sk::SC_INVALIDATE), 11);
    EXPECT_EQ(hook.Count(sk::SC_FADEDONE), 1);
    Redraw(*Form);
    EXPECT_EQ(DifferingPixels(b->SkinData(), ReferenceFace(b->SkinData(), 23, 22, 1), {0, 0, 23, 22}), 0);
    EXPECT_EQ(ScreenPixel(Form->Handle(), 40 + 11, 30 + 1), CachePixel(b->SkinData(), 11, 1));
    hook.Commands.clear();
    PressLeft();
    PumpUntil([&] { return hook.Count(sk::SC_FADEDONE) > 0; });
    EXPECT_EQ(hook.Count(sk::SC_INVALIDATE), 5) << "a press fades in half the steps";
    ReleaseLeft();
    EXPECT_TRUE(PumpUntil([&] { return clicks == 1 && !b->FadeTimer(); }));
    PumpFor(50);
    EXPECT_EQ(clicks, 1);
}

TEST_F(SpeedButtonTest, AMenuOwnerHoldsTheFadesAndTheForcedHotLookNeedsNoMouse) {
    auto b = MakeSpeedButton(Form, Manager, kBounds, L"");
    Redraw(*Form);
    b->SetHotState(true);
    EXPECT_EQ(b->CurrentState(), 1) << "hot without the mouse";
    Redraw(*Form);
    EXPECT_EQ(DifferingPixels(b->SkinData(), ReferenceFace(b->SkinData(), 23, 22, 1), {0, 0, 23, 22}), 0);
    b->SetHotState(false);
    EXPECT_EQ(b->CurrentState(), 0);

    // Held by a menu owner, the mouse coming and going starts no fade: the face is only stale.
    b->SetMenuOwnerMode(true);
    TCommandHook hook(*b);
    Hover();
    PumpFor(150);
    SetCursorPos(2, 2);
    PumpFor(150);
    EXPECT_EQ(hook.Count(sk::SC_INVALIDATE), 0);
    EXPECT_EQ(hook.Count(sk::SC_FADEDONE), 0);
    EXPECT_EQ(b->FadeTimer(), nullptr);

    // Released, the mouse makes it hot again (the stale face is rebuilt rather than faded).
    b->SetMenuOwnerMode(false);
    Hover();
    EXPECT_TRUE(PumpUntil([&] { return b->CurrentState() == 1 && !b->FadeTimer(); }));
    Redraw(*Form);
    EXPECT_EQ(DifferingPixels(b->SkinData(), ReferenceFace(b->SkinData(), 23, 22, 1), {0, 0, 23, 22}), 0);
    SetCursorPos(2, 2);
    PumpFor(300);
}

TEST_F(SpeedButtonTest, DisabledIsBlendedWithTheBackground) {
    auto b = MakeSpeedButton(Form, Manager, kBounds, L"");
    b->SetEnabled(false);
    Redraw(*Form);
    rd::TMemBitmap32 expected = ReferenceFace(b->SkinData(), 23, 22, 0);
    rd::TCacheInfo bg;
    b->SkinData().GetParentCache(bg);
    rd::ApplyDisabledLook(&expected, rd::dkBlended, rd::ColorToRGB(Form->Color()), {0, 0}, bg);
    EXPECT_EQ(DifferingPixels(b->SkinData(), expected, {0, 0, 23, 22}), 0);
    Hover();
    EXPECT_EQ(b->CurrentState(), 0) << "a disabled button does not become hot";
    EXPECT_EQ(b->FadeTimer(), nullptr);
}

TEST_F(SpeedButtonTest, WithoutTheSectionTheButtonPaintsPlainAndClicks) {
    auto manager = MakeManager(nullptr, SkinWithout("SPEEDBUTTON"));
    auto b = MakeSpeedButton(Form, manager.get(), kBounds, L"...");
    EXPECT_FALSE(b->SkinData().Skinned());
    int clicks = 0;
    b->OnClick = [&](tk::TObject*) { ++clicks; };
    Redraw(*Form);
    Hover();
    PressLeft();
    PumpFor(40);
    ReleaseLeft();
    EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }));
}
