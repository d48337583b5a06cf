// The skinned combo box with real mouse and keyboard input: the colours of its section replace
// the stored ones (hot while focused or hovered), choosing an item with the mouse in the opened
// list and with the keyboard, the read-only combo that keeps its selection under every key and
// click but takes the focus, the cache shown while unfocused and the native edit part while
// focused, the drop-down arrow of a skin without a glyph, and a skin without the section.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "controls/sComboBox.h"
#include "tests/common/SyntheticInput.h"
#include "tests/win_framework/edit_support.h"
#include "toolkit/StdCtrls.h"

using namespace sk;
using namespace kvfw;

namespace {

constexpr uint32_t kRingNormal = 0x808080, kRingHot = 0xF0F0F0;
const std::wstring kItems[] = {L"\u0420\u0443\u0441\u0441\u043A\u0438\u0439", L"English", L"Deutsch", L"Fran\u00E7ais"};

TsComboBox* MakeCombo(tk::TWinControl* parent, RECT bounds) {
    auto* combo = new TsComboBox(parent);
    combo->BeginLoading();
    combo->SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
    combo->SetColor(0);
    combo->Font().Color = 0x00878686;
    for (const auto& item : kItems) combo->Items().Add(item);
    combo->SetItemIndex(0);
    combo->SetParent(parent);
    combo->Loaded();
    combo->HandleNeeded();
    return combo;
}

struct ComboFixture : ::testing::Test {
    static void SetUpTestSuite() {
        Manager = MakeManager(nullptr, ComboSkin());
        Form = std::make_unique<TTestForm>(420, 260);
        SetForegroundWindow(Form->Handle());
    }
    static void TearDownTestSuite() {
        Form.reset();
        Manager.reset();
    }
    void SetUp() override {
        Combo = MakeCombo(Form.get(), {20, 20, 200, 41});
        Combo->OnChange = [this](tk::TObject*) { ++Changes; };
        Other = new tk::TEdit(Form.get());
        Other->SetBounds(10, 230, 80, 21);
        Other->SetParent(Form.get());
        Other->HandleNeeded();
        FocusOther();
    }
    void TearDown() override {
        if (Combo->DroppedDown()) Combo->SetDroppedDown(false);
        MoveMouseTo(Form->Handle(), 400, 5);
        tk::TComponent::Free(Combo);
        tk::TComponent::Free(Other);
        PumpMessages();
    }
    void FocusOther() {
        SetForegroundWindow(Form->Handle());
        Other->SetFocus();
        PumpFor(50);
    }
    void Click(HWND h, int x, int y) {
        MoveMouseTo(h, x, y);
        PressLeft();
        ReleaseLeft();
        PumpFor(120);
    }
    POINT ButtonCentre() {
        const RECT b = Combo->ButtonRect();
        return {(b.left + b.right) / 2, (b.top + b.bottom) / 2};
    }
    void ClickButton() {
        const POINT p = ButtonCentre();
        Click(Combo->Handle(), p.x, p.y);
    }
    bool ComboHasFocus() {
        const HWND f = GetFocus();
        return f && (f == Combo->Handle() || GetParent(f) == Combo->Handle());
    }
    int ScreenDiffersFromCache() {
        int n = 0;
        for (int y = 0; y < Combo->Height(); ++y)
            for (int x = 0; x < Combo->Width(); ++x)
                n += ScreenPixel(Combo->Handle(), x, y) != CachePixel(Combo->SkinData(), x, y);
        return n;
    }

    static std::unique_ptr<TsSkinManager> Manager;
    static std::unique_ptr<TTestForm> Form;
    TsComboBox* Combo = nullptr;
    tk::TEdit* Other = nullptr;
    int Changes = 0;
};
std::unique_ptr<TsSkinManager> ComboFixture::Manager;
std::unique_ptr<TTestForm> ComboFixture::Form;

}  // namespace

TEST_F(ComboFixture, ColoursOfTheComboSectionReplaceTheStoredOnesAndTurnHotOnFocusAndHover) {
    ASSERT_TRUE(Combo->SkinData().Skinned());
    EXPECT_EQ(L"COMBOBOX", Combo->SkinData().SkinSection()) << "its own section, not the edit's";
    EXPECT_EQ(kComboColor, Combo->Color());
    EXPECT_EQ(kComboFontColor, Combo->Font().Color);
    Click(Combo->Handle(), 30, 10);
    ASSERT_TRUE(ComboHasFocus());
    EXPECT_EQ(kComboHotColor, Combo->Color());
    EXPECT_EQ(kComboHotFontColor, Combo->Font().Color);
    MoveMouseTo(Form->Handle(), 400, 5);
    FocusOther();
    EXPECT_EQ(kComboColor, Combo->Color());
    MoveMouseTo(Combo->Handle(), 150, 10);
    EXPECT_TRUE(PumpUntil([&] { return Combo->Color() == kComboHotColor; })) << "hovered";
    MoveMouseTo(Form->Handle(), 400, 5);
    EXPECT_TRUE(PumpUntil([&] { return Combo->Color() == kComboColor; })) << "the mouse left";
}

TEST_F(ComboFixture, ChoosingAnItemWithTheMouse) {
    ClickButton();
    ASSERT_TRUE(PumpUntil([&] { return Combo->ListOpen(); })) << "the button opens the list";
    EXPECT_EQ(2, Combo->ButtonState()) << "the button shows pressed while the list is open";
    const HWND list = Combo->ListHandle();
    ASSERT_NE(nullptr, list);
    RECT item{};
    ASSERT_NE(LB_ERR, SendMessageW(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item)));
    Click(list, (item.left + item.right) / 2, (item.top + item.bottom) / 2);
    EXPECT_TRUE(PumpUntil([&] { return !Combo->ListOpen(); }));
    EXPECT_EQ(2, Combo->ItemIndex());
    EXPECT_EQ(kItems[2], Combo->GetText());
    EXPECT_GE(Changes, 1);
    EXPECT_NE(2, Combo->ButtonState());
}

TEST_F(ComboFixture, TheOpenedListGetsTheSkinnedEditFrameAndIsReleasedWithTheCombo) {
    EXPECT_EQ(nullptr, Combo->ListSW()) << "nothing before the list is shown";
    ClickButton();
    ASSERT_TRUE(PumpUntil([&] { return Combo->ListOpen(); }));
    const HWND list = Combo->ListHandle();
    ASSERT_TRUE(PumpUntil([&] { return Combo->ListSW() != nullptr; })) << "attached when the list asked for colours";
    EXPECT_EQ(FindScrollWnd(list), Combo->ListSW());
    PumpFor(100);
    RECT r;
    GetWindowRect(list, &r);
    POINT client{0, 0};
    ClientToScreen(list, &client);
    EXPECT_GT(client.x - r.left, 0) << "the list keeps a frame";
    int ring = 0;
    for (int y = 2; y < r.bottom - r.top - 2; ++y) ring += WindowPixel(list, 0, y) == kRingNormal || WindowPixel(list, 1, y) == kRingNormal;
    EXPECT_GT(ring, 0) << "the frame is painted from the \"EDIT\" section";
    Press(VK_ESCAPE);
    EXPECT_TRUE(PumpUntil([&] { return !Combo->ListOpen(); }));
    tk::TComponent::Free(Combo);
    EXPECT_EQ(nullptr, FindScrollWnd(list)) << "the combo detaches the list's object when it goes";
    Combo = MakeCombo(Form.get(), {20, 20, 200, 41});
}

TEST_F(ComboFixture, ChoosingAnItemWithTheKeyboard) {
    Click(Combo->Handle(), 30, 10);
    ASSERT_TRUE(ComboHasFocus());
    Press(VK_DOWN);
    EXPECT_EQ(1, Combo->ItemIndex());
    Press(VK_DOWN);
    EXPECT_EQ(2, Combo->ItemIndex());
    Press(VK_UP);
    EXPECT_EQ(1, Combo->ItemIndex());
    Press(VK_F4);
    ASSERT_TRUE(PumpUntil([&] { return Combo->ListOpen(); })) << "F4 opens the list";
    Press(VK_DOWN);
    Press(VK_DOWN);
    Press(VK_RETURN);
    EXPECT_TRUE(PumpUntil([&] { return !Combo->ListOpen(); }));
    EXPECT_EQ(3, Combo->ItemIndex());
    EXPECT_EQ(kItems[3], Combo->GetText());
}

TEST_F(ComboFixture, AReadOnlyComboKeepsItsSelectionUnderKeysAndMouseButTakesTheFocus) {
    Combo->SetReadOnly(true);
    ClickButton();
    EXPECT_TRUE(ComboHasFocus()) << "the click gives the focus";
    EXPECT_FALSE(Combo->ListOpen()) << "but opens no list";
    for (WORD key : {WORD(VK_DOWN), WORD(VK_END), WORD(VK_NEXT), WORD('D'), WORD('9'), WORD(VK_F4), WORD(VK_SPACE)})
        Press(key);
    Press(VK_DOWN, {VK_MENU});
    TypeText(L"E");
    synthetic::mouse(MOUSEEVENTF_WHEEL, static_cast<DWORD>(-WHEEL_DELTA));
    PumpFor(100);
    EXPECT_EQ(0, Combo->ItemIndex());
    EXPECT_EQ(kItems[0], Combo->GetText());
    EXPECT_FALSE(Combo->ListOpen());
    EXPECT_EQ(0, Changes);
    Combo->SetReadOnly(false);
    Press(VK_DOWN);
    EXPECT_EQ(1, Combo->ItemIndex()) << "writable again";
}

TEST(ComboReadOnly, SwallowsTheKeysThatWouldChangeTheSelection) {
    const struct {
        UINT msg;
        WPARAM key;
        bool swallowed;
    } cases[] = {
        {WM_KEYDOWN, VK_SPACE, true},  {WM_KEYDOWN, VK_PRIOR, true},  {WM_KEYDOWN, VK_NEXT, true},
        {WM_KEYDOWN, VK_END, true},    {WM_KEYDOWN, VK_HOME, true},   {WM_KEYDOWN, VK_LEFT, true},
        {WM_KEYDOWN, VK_DOWN, true},   {WM_KEYDOWN, '0', true},       {WM_KEYDOWN, '5', true},
        {WM_KEYDOWN, '9', true},       {WM_KEYDOWN, 'A', true},       {WM_KEYDOWN, 'Z', true},
        {WM_KEYDOWN, VK_F4, true},     {WM_SYSKEYDOWN, VK_DOWN, true}, {WM_CHAR, L'x', true},
        {WM_KEYDOWN, VK_TAB, false},   {WM_KEYDOWN, VK_RETURN, false}, {WM_KEYDOWN, VK_ESCAPE, false},
        {WM_KEYDOWN, VK_F5, false},    {WM_KEYDOWN, VK_SHIFT, false}, {WM_KEYDOWN, VK_INSERT, false},
        {WM_KEYUP, VK_DOWN, false},    {WM_KEYDOWN, VK_NUMPAD5, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.swallowed, TsComboBox::ReadOnlySwallows(c.msg, c.key)) << "message " << c.msg << " key " << c.key;
}

TEST_F(ComboFixture, UnfocusedShowsTheCacheWithTheArrowAndFocusedTheNativeEditPart) {
    PumpFor(100);
    const HWND h = Combo->Handle();
    const int mid = Combo->Height() / 2;
    EXPECT_EQ(kRingNormal, ScreenPixel(h, 1, mid)) << "the section's frame";
    EXPECT_EQ(0, ScreenDiffersFromCache()) << "everything, the edit part too, from the cache";
    const RECT b = Combo->ButtonRect();
    int arrow = 0;
    for (int y = b.top; y < b.bottom; ++y)
        for (int x = b.left; x < b.right; ++x) arrow += CachePixel(Combo->SkinData(), x, y) == SysRgb(COLOR_WINDOWTEXT);
    EXPECT_GT(arrow, 3) << "no glyph in the skin: the drop-down arrow in the window-text colour";
    int ink = 0;
    for (int y = 3; y < Combo->Height() - 3; ++y)
        for (int x = 3; x < b.left - 1; ++x) ink += CachePixel(Combo->SkinData(), x, y) != AsRgb(kComboColor);
    EXPECT_GT(ink, 20) << "the chosen item is drawn into the cache";

    Click(h, 30, 10);
    ASSERT_TRUE(ComboHasFocus());
    PumpFor(100);
    POINT caret{-1, -1};
    EXPECT_TRUE(GetCaretPos(&caret));
    EXPECT_EQ(kRingHot, ScreenPixel(h, 1, mid)) << "the frame in the hot state";
    SendMessageW(h, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    UpdateWindow(Combo->EditHandle());
    int highlighted = 0;
    for (int x = 0; x < b.left; ++x) highlighted += ScreenPixel(h, x, mid) == SysRgb(COLOR_HIGHLIGHT);
    EXPECT_GT(highlighted, 5) << "the native selection of the edit part";
    FocusOther();
    PumpFor(100);
    EXPECT_EQ(0, ScreenDiffersFromCache());
}

TEST(ComboWithoutSkinSection, KeepsTheNativeLookAndStaysUsable) {
    auto manager = MakeManager(nullptr, SkinWithout("EDIT"));
    TTestForm form(320, 200);
    SetForegroundWindow(form.Handle());
    TsComboBox* combo = MakeCombo(&form, {20, 20, 200, 41});
    EXPECT_FALSE(combo->SkinData().Skinned()) << "the test skin has no COMBOBOX section";
    combo->SetFocus();
    PumpFor(50);
    Press(VK_DOWN);
    EXPECT_EQ(1, combo->ItemIndex());
    Press(VK_F4);
    EXPECT_TRUE(PumpUntil([&] { return combo->DroppedDown(); }));
    Press(VK_DOWN);
    Press(VK_RETURN);
    EXPECT_TRUE(PumpUntil([&] { return !combo->DroppedDown(); }));
    EXPECT_EQ(2, combo->ItemIndex());
}
