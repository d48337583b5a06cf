// The skinned check box with real mouse and keyboard input: a click toggles on release over the
// box only, Space toggles once and shows the pressed frame while held, read-only boxes ignore
// input but not code, AllowGrayed and the grayed glyph, OnValueChanged, the glyph frame of each
// state, the automatic size, the native state kept in step, and a skin without check glyphs.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "controls/sCheckBox.h"
#include "skinpaint/sTextOutput.h"
#include "tests/common/SyntheticInput.h"
#include "tests/win_framework/FrameworkFixture.h"
#include "tests/win_framework/TestControls.h"
#include "toolkit/StdCtrls.h"

using namespace sk;

namespace {

// Glyphs cut from the test skin's master bitmap (rings of 10 x 10 frames):
//  BOXCHECKED    the three BUTTON frames: blue, green, red rings
//  BOXUNCHECKED  the two EDIT frames: grey and near-white rings (two frames only)
//  BOXGRAYED     the green and red BUTTON frames
constexpr uint32_t kCheckedRing[] = {0x0000C0, 0x00C000, 0xC00000};
constexpr uint32_t kUncheckedRing[] = {0x808080, 0xF0F0F0};
constexpr uint32_t kGrayedRing[] = {0x00C000, 0xC00000};
constexpr int kGlyph = 10;

std::string WithGlyphs(const std::string& glyphKeys) {
    std::string options = kvfw::TestSkinOptions();
    const std::string anchor = "FONTCOLOR=14474978\n";
    options.insert(options.find(anchor) + anchor.size(), glyphKeys);
    return options;
}

std::string GlyphSkin() {
    return WithGlyphs("BOXCHECKED=@0000@0000@0030@0010@3@0\nBOXUNCHECKED=@0000@0010@0020@0020@2@0\n"
                      "BOXGRAYED=@0010@0000@0030@0010@2@0\n");
}

// Waits, pumping messages, until the input the system queued has arrived.
template <class Pred> bool PumpUntil(Pred done) {
    for (int i = 0; i < 200 && !done(); ++i) {
        kvfw::PumpMessages();
        Sleep(5);
    }
    kvfw::PumpMessages();
    return done();
}

void SendMouse(DWORD flags, POINT screen) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = screen.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = screen.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SetCursorPos(screen.x, screen.y);
    SendInput(1, &in, sizeof in);
}

void SendKey(WORD vk, bool up) { synthetic::key(vk, !up); }

POINT ScreenPoint(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    return p;
}

struct CheckBoxFixture : ::testing::Test {
    static void SetUpTestSuite() {
        Manager = kvfw::MakeManager(nullptr, GlyphSkin());
        Form = std::make_unique<kvfw::TTestForm>(320, 200);
        SetForegroundWindow(Form->Handle());
    }
    static void TearDownTestSuite() {
        Form.reset();
        Manager.reset();
    }
    void SetUp() override {
        Box = new TsCheckBox(Form.get());
        Box->BeginLoading();
        Box->SkinData().SetSkinSection(L"CHECKBOX");
        Box->SetBounds(20, 20, 150, 30);
        Box->SetCaption(L"Option");
        Box->SetChecked(true);
        Box->SetParent(Form.get());
        Box->Loaded();
        Box->OnValueChanged = [this](tk::TObject*) { ++ValueChanges; };
        Box->OnClick = [this](tk::TObject*) { ++Clicks; };
        Other = new tk::TCheckBox(Form.get());
        Other->SetBounds(20, 120, 100, 20);
        Other->SetParent(Form.get());
        Box->HandleNeeded();
        Other->HandleNeeded();
        SetForegroundWindow(Form->Handle());
        kvfw::PumpMessages();
    }
    void TearDown() override {
        SendMouse(MOUSEEVENTF_MOVE, ScreenPoint(Form->Handle(), 300, 190));
        kvfw::PumpMessages();
        tk::TComponent::Free(Box);
        tk::TComponent::Free(Other);
        kvfw::PumpMessages();
    }
    uint32_t GlyphRing() {
        Box->PrepareCache();
        const RECT g = Box->GlyphRect();
        return kvfw::CachePixel(Box->SkinData(), g.left + 1, g.top + 1);
    }
    POINT BoxCentre() { return ScreenPoint(Box->Handle(), Box->Width() / 2, Box->Height() / 2); }
    LRESULT NativeCheck() { return SendMessageW(Box->Handle(), BM_GETCHECK, 0, 0); }

    static std::unique_ptr<TsSkinManager> Manager;
    static std::unique_ptr<kvfw::TTestForm> Form;
    TsCheckBox* Box = nullptr;
    tk::TCheckBox* Other = nullptr;
    int ValueChanges = 0, Clicks = 0;
};
std::unique_ptr<TsSkinManager> CheckBoxFixture::Manager;
std::unique_ptr<kvfw::TTestForm> CheckBoxFixture::Form;

TEST_F(CheckBoxFixture, ClickTogglesOnReleaseOverTheBox) {
    SendMouse(MOUSEEVENTF_LEFTDOWN, BoxCentre());
    ASSERT_TRUE(PumpUntil([&] { return Box->Pressed(); }));
    EXPECT_TRUE(Box->Checked()) << "the press alone changes nothing";
    EXPECT_EQ(kCheckedRing[2], GlyphRing()) << "pressed frame while the button is down";
    SendMouse(MOUSEEVENTF_LEFTUP, BoxCentre());
    ASSERT_TRUE(PumpUntil([&] { return !Box->Checked(); }));
    EXPECT_EQ(BST_UNCHECKED, NativeCheck()) << "the system box holds the same state";
    EXPECT_EQ(1, ValueChanges);
    EXPECT_EQ(1, Clicks);
    EXPECT_TRUE(Box->Focused()) << "a press takes the focus";
}

TEST_F(CheckBoxFixture, ReleaseAfterLeavingTheBoxDoesNotToggle) {
    SendMouse(MOUSEEVENTF_LEFTDOWN, BoxCentre());
    ASSERT_TRUE(PumpUntil([&] { return Box->Pressed(); }));
    SendMouse(MOUSEEVENTF_MOVE, ScreenPoint(Form->Handle(), 250, 90));
    PumpUntil([&] { return !Box->Pressed(); });
    SendMouse(MOUSEEVENTF_LEFTUP, ScreenPoint(Form->Handle(), 250, 90));
    PumpUntil([] { return false; });
    EXPECT_TRUE(Box->Checked());
    EXPECT_EQ(BST_CHECKED, NativeCheck());
    EXPECT_EQ(0, ValueChanges);
}

TEST_F(CheckBoxFixture, SpaceTogglesOnceAndShowsThePressedFrameWhileHeld) {
    Box->SetFocus();
    SendKey(VK_SPACE, false);
    ASSERT_TRUE(PumpUntil([&] { return Box->Pressed(); }));
    EXPECT_TRUE(Box->Checked());
    EXPECT_EQ(kCheckedRing[2], GlyphRing());
    SendKey(VK_SPACE, true);
    ASSERT_TRUE(PumpUntil([&] { return !Box->Pressed(); }));
    EXPECT_FALSE(Box->Checked());
    EXPECT_EQ(1, ValueChanges);
    EXPECT_EQ(kUncheckedRing[1], GlyphRing()) << "focused: the hot frame";
}

TEST_F(CheckBoxFixture, FocusLossClearsAPressSoALaterReleaseDoesNotToggle) {
    Box->SetFocus();
    SendKey(VK_SPACE, false);
    ASSERT_TRUE(PumpUntil([&] { return Box->Pressed(); }));
    Other->SetFocus();
    kvfw::PumpMessages();
    EXPECT_FALSE(Box->Pressed());
    Box->SetFocus();
    SendKey(VK_SPACE, true);
    PumpUntil([] { return false; });
    EXPECT_TRUE(Box->Checked());
    EXPECT_EQ(0, ValueChanges);
}

TEST_F(CheckBoxFixture, ReadOnlyIgnoresMouseAndKeysButNotCode) {
    Box->SetReadOnly(true);
    SendMouse(MOUSEEVENTF_LEFTDOWN, BoxCentre());
    SendMouse(MOUSEEVENTF_LEFTUP, BoxCentre());
    PumpUntil([] { return false; });
    Box->SetFocus();
    SendKey(VK_SPACE, false);
    SendKey(VK_SPACE, true);
    PumpUntil([] { return false; });
    EXPECT_TRUE(Box->Checked());
    EXPECT_EQ(0, ValueChanges);
    EXPECT_EQ(kCheckedRing[0], GlyphRing()) << "read-only never shows the hot frame";
    Box->SetChecked(false);
    EXPECT_FALSE(Box->Checked());
    EXPECT_EQ(1, ValueChanges);
    EXPECT_EQ(BST_UNCHECKED, NativeCheck());
}

TEST_F(CheckBoxFixture, SettingThePresentValueFiresNothingAndKeepsTheCache) {
    Box->PrepareCache();
    ASSERT_FALSE(Box->SkinData().BGChanged);
    Box->SetChecked(true);
    EXPECT_EQ(0, ValueChanges);
    EXPECT_FALSE(Box->SkinData().BGChanged);
}

TEST_F(CheckBoxFixture, NativeSetCheckFromOutsideChangesTheState) {
    SendMessageW(Box->Handle(), BM_SETCHECK, BST_UNCHECKED, 0);
    EXPECT_FALSE(Box->Checked());
    EXPECT_EQ(1, ValueChanges);
    EXPECT_EQ(kUncheckedRing[0], GlyphRing());
}

TEST_F(CheckBoxFixture, ToggleCyclesThroughGrayedOnlyWhenAllowed) {
    struct Case {
        bool allowGrayed;
        TCheckBoxState after[3];
    };
    using S = TCheckBoxState;
    const Case cases[] = {
        {false, {S::cbUnchecked, S::cbChecked, S::cbUnchecked}},
        {true, {S::cbGrayed, S::cbUnchecked, S::cbChecked}},
    };
    for (const Case& c : cases) {
        Box->SetAllowGrayed(c.allowGrayed);
        Box->SetState(S::cbChecked);
        for (int i = 0; i < 3; ++i) {
            Box->Toggle();
            EXPECT_EQ(c.after[i], Box->State()) << "AllowGrayed " << c.allowGrayed << " toggle " << i;
        }
    }
    Box->SetAllowGrayed(true);
    Box->SetState(S::cbGrayed);
    EXPECT_EQ(kGrayedRing[0], GlyphRing()) << "the BOXGRAYED glyph";
    EXPECT_EQ(BST_INDETERMINATE, NativeCheck());
    EXPECT_FALSE(Box->Checked());
}

TEST_F(CheckBoxFixture, GlyphFrameFollowsStateAndHover) {
    SendMouse(MOUSEEVENTF_MOVE, BoxCentre());
    ASSERT_TRUE(PumpUntil([&] { return Box->SkinData().FMouseAbove; }));
    EXPECT_EQ(kCheckedRing[1], GlyphRing()) << "hovered: frame 1";
    SendMouse(MOUSEEVENTF_MOVE, ScreenPoint(Form->Handle(), 300, 190));
    ASSERT_TRUE(PumpUntil([&] { return !Box->SkinData().FMouseAbove; }));
    EXPECT_EQ(kCheckedRing[0], GlyphRing());
}

TEST(CheckBoxFrames, FrameIndexIsClampedToTheStrip) {
    struct Case {
        int frames, state, index;
    };
    const Case cases[] = {{1, 0, 0}, {1, 1, 0}, {1, 2, 0}, {2, 1, 1}, {2, 2, 1}, {3, 2, 2}, {5, 2, 2}, {5, 1, 1}, {0, 2, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(c.index, GlyphFrameIndex(c.frames, c.state)) << c.frames << " frames, state " << c.state;
}

TEST(CheckBoxFrames, StripNarrowerThanTallHasOneFrame) {
    struct Case {
        int w, h, frames;
    };
    const Case cases[] = {{45, 15, 3}, {16, 16, 1}, {10, 16, 1}, {0, 16, 1}, {16, 0, 1}, {47, 15, 3}};
    for (const Case& c : cases) EXPECT_EQ(c.frames, StripFrameCount(c.w, c.h)) << c.w << " x " << c.h;
}

TEST_F(CheckBoxFixture, AutoSizeFromGlyphAndCaption) {
    const SIZE text = rd::MeasureText(Box->Font().Handle(), L"Option", DT_NOPREFIX, 0x7FFF, false);
    EXPECT_EQ(kGlyph + 2 * 2 + text.cx + 8, Box->Width());
    EXPECT_EQ(std::max<int>(kGlyph, text.cy + 4) + 2, Box->Height());
    Box->SetCaption(L"");
    EXPECT_EQ(kGlyph + 2 * 2, Box->Width()) << "no caption: glyph and margins only";
    EXPECT_EQ(kGlyph + 2, Box->Height());
}

TEST_F(CheckBoxFixture, FaceShowsTheParentThroughTheTransparentSection) {
    Box->SetCaption(L"");
    Box->SetAutoSize(false);
    Box->SetBounds(20, 20, 60, 30);
    Box->PrepareCache();
    // The plain test form answers with its colour.
    rd::TCacheInfo behind;
    Box->SkinData().GetParentCache(behind);
    ASSERT_FALSE(behind.Ready);
    const uint32_t parent = ((behind.FillColor & 0xFF) << 16) | (behind.FillColor & 0xFF00) | ((behind.FillColor >> 16) & 0xFF);
    EXPECT_EQ(parent, kvfw::CachePixel(Box->SkinData(), 55, 25));
    const RECT g = Box->GlyphRect();
    EXPECT_EQ(2, g.left);
    EXPECT_EQ((30 - kGlyph) / 2, g.top);
    EXPECT_EQ(parent, kvfw::CachePixel(Box->SkinData(), g.left, g.top)) << "the glyph's magenta corner";
    EXPECT_EQ(kCheckedRing[0], kvfw::CachePixel(Box->SkinData(), g.left + 1, g.top));
    Box->SetAlignment(tk::TAlignment::taLeftJustify);
    EXPECT_EQ(60 - kGlyph - 2, Box->GlyphRect().left) << "glyph at the right";
}

TEST(CheckBoxWithoutGlyphs, PaintsAndWorksWithTheDefaultGlyphRoom) {
    auto manager = kvfw::MakeManager();  // the test skin has no check glyphs
    kvfw::TTestForm form(200, 100);
    auto* box = new TsCheckBox(&form);
    box->BeginLoading();
    box->SkinData().SetSkinSection(L"CHECKBOX");
    box->SetBounds(10, 10, 100, 20);
    box->SetParent(&form);
    box->Loaded();
    box->HandleNeeded();
    const SIZE g = box->GlyphSize();
    EXPECT_EQ(16, g.cx);
    EXPECT_EQ(16, g.cy);
    EXPECT_TRUE(box->PrepareCache());
    box->Toggle();
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(BST_CHECKED, SendMessageW(box->Handle(), BM_GETCHECK, 0, 0));
    UpdateWindow(form.Handle());
    tk::TComponent::Free(box);
}

}  // namespace
