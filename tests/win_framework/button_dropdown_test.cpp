// Drop-down menus of the buttons, with real mouse input: the menu window appears at the button's
// bottom-left corner, the button shows its pressed face while the menu is open, the chosen
// item's OnClick runs and the button's own click does not; the split parts of the speed button
// and the push button; the command link's caption and hint places.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "skinpaint/sTextOutput.h"
#include "tests/common/SyntheticInput.h"
#include "tests/win_framework/button_support.h"

using namespace kvfw;

namespace {

constexpr RECT kSpeedBounds{40, 30, 100, 52};   // 60 x 22
constexpr RECT kButtonBounds{40, 70, 140, 100};  // 100 x 30

BOOL CALLBACK NoteShownMenu(HWND wnd, LPARAM out) {
    wchar_t name[16] = {};
    if (GetClassNameW(wnd, name, 16) > 0 && wcscmp(name, L"#32768") == 0 && IsWindowVisible(wnd)) {
        *reinterpret_cast<HWND*>(out) = wnd;
        return FALSE;
    }
    return TRUE;
}

// The menu window ("#32768") of this thread that is shown, or null.
HWND ShownMenu() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), NoteShownMenu, reinterpret_cast<LPARAM>(&found));
    return found;
}

// What a test does once the menu is shown (called inside the menu's own loop).
std::function<void(HWND)> gOnMenuShown;
bool gMenuSeen = false;

void CALLBACK WatchForMenu(HWND, UINT, UINT_PTR, DWORD) {
    if (gMenuSeen) return;
    HWND menu = ShownMenu();
    if (!menu) return;
    gMenuSeen = true;
    gOnMenuShown(menu);
}

// Presses the left button at a client point of window; onShown runs once the menu shows up.
// True when a menu was seen.
bool PressAndWatchMenu(HWND window, POINT at, std::function<void(HWND)> onShown) {
    gOnMenuShown = std::move(onShown);
    gMenuSeen = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, WatchForMenu);
    MoveMouseTo(window, at.x, at.y);
    PressLeft();
    PumpFor(40);
    ReleaseLeft();
    PumpUntil([] { return gMenuSeen && !ShownMenu(); }, 3000);
    KillTimer(nullptr, timer);
    PumpFor(40);
    return gMenuSeen;
}

// Clicks the first item of a shown menu with the mouse.
void ClickFirstItem(HWND menu) {
    RECT r{};
    GetWindowRect(menu, &r);
    synthetic::move_cursor({r.left + 20, r.top + 10});
    PressLeft();
    ReleaseLeft();
}

void CloseWithEscape(HWND menu) {
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(menu, WM_KEYUP, VK_ESCAPE, 0xC0000000);
}

class ButtonDropDownTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Manager = MakeManager(nullptr, SkinWith(kSpeedSection)).release();
        Form = new TTestForm(260, 160);
    }
    static void TearDownTestSuite() {
        delete Form;
        delete Manager;
    }
    void SetUp() override {
        SetCursorPos(2, 2);
        PumpFor(40);
        Menu = std::make_unique<tk::TPopupMenu>(nullptr);
        for (const wchar_t* caption : {L"First", L"Second"}) {
            auto* item = new tk::TMenuItem(Menu.get());
            item->Caption = caption;
            item->OnClick = [this, caption](tk::TObject*) { Chosen = caption; };
            Menu->Items()->Add(item);
        }
    }
    // The button's bottom-left corner on the screen.
    static POINT ScreenPoint(int x, int y) {
        POINT p{x, y};
        ClientToScreen(Form->Handle(), &p);
        return p;
    }
    static sk::TsSkinManager* Manager;
    static TTestForm* Form;
    std::unique_ptr<tk::TPopupMenu> Menu;
    std::wstring Chosen;
};
sk::TsSkinManager* ButtonDropDownTest::Manager = nullptr;
TTestForm* ButtonDropDownTest::Form = nullptr;

}  // namespace

TEST_F(ButtonDropDownTest, DropDownSpeedButtonShowsItsMenuBelowItselfAndRunsTheChosenItem) {
    auto b = MakeSpeedButton(Form, Manager, kSpeedBounds, L"Go");
    b->SetButtonStyle(sk::tbsDropDown);
    b->SetDropdownMenu(Menu.get());
    int clicks = 0;
    RECT menuRect{};
    bool pressedWhileOpen = false, keptWhileOpen = false;
    // Without a click handler the whole button drops the menu.
    const bool seen = PressAndWatchMenu(Form->Handle(), {50, 41}, [&](HWND menu) {
        GetWindowRect(menu, &menuRect);
        pressedWhileOpen = b->DroppedDown() && b->CurrentState() == 2;
        keptWhileOpen = sk::TsSpeedButton::DroppedButton() == b.get();
        ClickFirstItem(menu);
    });
    b->OnClick = [&](tk::TObject*) { ++clicks; };
    ASSERT_TRUE(seen);
    const POINT corner = ScreenPoint(kSpeedBounds.left, kSpeedBounds.bottom);
    EXPECT_EQ(menuRect.left, corner.x);
    EXPECT_EQ(menuRect.top, corner.y);
    EXPECT_TRUE(pressedWhileOpen);
    EXPECT_TRUE(keptWhileOpen);
    EXPECT_EQ(Chosen, L"First");
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(b->DroppedDown());
    EXPECT_EQ(sk::TsSpeedButton::DroppedButton(), nullptr);
    EXPECT_NE(b->CurrentState(), 2);
}

TEST_F(ButtonDropDownTest, SplitSpeedButtonClicksOnItsMainPartAndDropsTheMenuOnlyFromTheArrow) {
    auto b = MakeSpeedButton(Form, Manager, kSpeedBounds, L"Go");
    b->SetButtonStyle(sk::tbsDropDown);
    b->SetDropdownMenu(Menu.get());
    int clicks = 0;
    b->OnClick = [&](tk::TObject*) { ++clicks; };
    b->SkinData().BGChanged = true;
    RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages();

    // The main part: an ordinary click, no menu.
    EXPECT_FALSE(PressAndWatchMenu(Form->Handle(), {50, 41}, [](HWND menu) { CloseWithEscape(menu); }));
    EXPECT_EQ(clicks, 1);

    // The arrow part (the right 16 pixels): the menu, closed without a choice, and no click.
    const RECT arrow = b->ArrowRect();
    EXPECT_EQ(arrow.right - arrow.left, 16);
    EXPECT_TRUE(PressAndWatchMenu(Form->Handle(), {kSpeedBounds.right - 6, 41}, [](HWND menu) { CloseWithEscape(menu); }));
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(Chosen.empty());
    EXPECT_FALSE(b->DroppedDown());
}

TEST_F(ButtonDropDownTest, DropDownSpeedButtonDrawsItsArrowInTheArrowPart) {
    auto b = MakeSpeedButton(Form, Manager, kSpeedBounds, L"");
    b->SetButtonStyle(sk::tbsDropDown);
    ASSERT_TRUE(b->PrepareCache());
    const rd::TMemBitmap32 face = ReferenceFace(b->SkinData(), 60, 22, 0);
    // The arrow's pixels take the section's font colour; the rest of the face is untouched.
    const RECT arrow = b->ArrowRect();
    int arrowPixels = 0;
    for (int y = 0; y < 22; ++y)
        for (int x = arrow.left; x < arrow.right; ++x)
            if (CachePixel(b->SkinData(), x, y) == AsRgb(14474978)) ++arrowPixels;
    EXPECT_GT(arrowPixels, 3);
    EXPECT_EQ(DifferingPixels(b->SkinData(), face, {0, 0, arrow.left, 22}), 0);
}

TEST_F(ButtonDropDownTest, SplitPushButtonDropsItsMenuFromTheRightPartAndShowsItPressed) {
    auto b = MakeButton(Form, Manager, kButtonBounds, L"Install");
    b->SetStyle(sk::TsButtonStyle::bsSplitButton);
    b->SetDropDownMenu(Menu.get());
    int clicks = 0;
    b->OnClick = [&](tk::TObject*) { ++clicks; };
    RECT menuRect{};
    bool pressedWhileOpen = false;
    uint32_t linePixel = 0;
    const bool seen = PressAndWatchMenu(b->Handle(), {92, 15}, [&](HWND menu) {
        GetWindowRect(menu, &menuRect);
        pressedWhileOpen = b->DroppedDown() && b->CurrentState() == sk::bsPressed;
        b->PrepareCache();
        linePixel = CachePixel(b->SkinData(), 100 - 15, 15);
        ClickFirstItem(menu);
    });
    ASSERT_TRUE(seen);
    POINT corner{0, 30};
    ClientToScreen(b->Handle(), &corner);
    EXPECT_EQ(menuRect.left, corner.x);
    EXPECT_EQ(menuRect.top, corner.y);
    EXPECT_TRUE(pressedWhileOpen);
    // The dividing line in the hot font colour of the section (pressed is above state 0).
    EXPECT_EQ(linePixel, 0xFFFFFFu);
    EXPECT_EQ(Chosen, L"First");
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(b->DroppedDown());

    // The left part clicks as an ordinary push button, without the menu.
    Chosen.clear();
    EXPECT_FALSE(PressAndWatchMenu(b->Handle(), {30, 15}, [](HWND menu) { CloseWithEscape(menu); }));
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(Chosen.empty());
}

TEST_F(ButtonDropDownTest, SplitPushButtonCentresItsCaptionLeftOfTheMenuPart) {
    auto plain = MakeButton(Form, Manager, kButtonBounds, L"Go");
    auto split = MakeButton(Form, Manager, kButtonBounds, L"Go");
    split->SetStyle(sk::TsButtonStyle::bsSplitButton);
    const RECT p = plain->CaptionRect(), s = split->CaptionRect();
    EXPECT_EQ(p.left - s.left, 8);  // centred in Width - 16 instead of Width
    EXPECT_EQ(s.right - s.left, p.right - p.left);
    EXPECT_EQ(s.top, p.top);
}

TEST_F(ButtonDropDownTest, CommandLinkPlacesItsBoldCaptionBesideTheImageRoomAndItsHintBelow) {
    auto b = MakeButton(Form, Manager, {10, 10, 210, 80}, L"Install now");
    b->SetStyle(sk::TsButtonStyle::bsCommandLink);
    const RECT caption = b->CaptionRect();
    // No image: the room of a 32 x 32 image, then the content margin and 6 pixels.
    EXPECT_EQ(caption.left, 32 + 6 + 6);
    EXPECT_EQ(caption.top, 6);
    EXPECT_EQ(caption.right, 200 - 6);
    // The caption is measured bold and two points larger than the control font.
    const SIZE plainSize = rd::MeasureText(b->Font().Handle(), L"Install now", DT_EXPANDTABS, 400, false);
    EXPECT_GT(b->TextRectSize().cx, plainSize.cx);
    EXPECT_GT(b->TextRectSize().cy, plainSize.cy);

    // The hint shows under the caption: pixels there differ from a face without one.
    ASSERT_TRUE(b->PrepareCache());
    const RECT below{caption.left, caption.bottom + 6, caption.right, 70 - 6};
    const auto countText = [&] {
        int n = 0;
        const uint32_t background = CachePixel(b->SkinData(), below.right - 2, below.bottom - 2);
        for (int y = below.top; y < below.bottom; ++y)
            for (int x = below.left; x < below.right; ++x)
                if (CachePixel(b->SkinData(), x, y) != background) ++n;
        return n;
    };
    EXPECT_EQ(countText(), 0);
    b->SetCommandLinkHint(L"Everything goes into the chosen folder");
    ASSERT_TRUE(b->PrepareCache());
    EXPECT_GT(countText(), 20);
}
