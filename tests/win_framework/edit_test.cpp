// Skinned edits with real keyboard and mouse input: the colours of the "EDIT" section replace
// the stored ones (hot while focused or under the mouse), the frame comes from the skin in both
// states, the focused edit shows the native caret and selection and the unfocused one the cache,
// typing, selecting and pasting a path into the directory field, the hint in a 65 % blend,
// password characters, the bound label above the edit, the combo edit's button and click key,
// long right-to-left and non-BMP text, and a skin without the edit section.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "controls/sCustomComboEdit.h"
#include "controls/sMaskEdit.h"
#include "controls/sToolEdit.h"
#include "tests/win_framework/edit_support.h"
#include "toolkit/StdCtrls.h"

using namespace sk;
using namespace kvfw;

namespace {

constexpr rd::TColor kStoredColor = 0x00000000;
constexpr rd::TColor kStoredFont = 0x00999489;
constexpr uint32_t kRingNormal = 0x808080, kRingHot = 0xF0F0F0;  // the EDIT mask's two frames

// Creates an edit of type T as a window description would: stored colours, then setup, then loaded.
template <class T, class Setup> T* MakeEdit(tk::TWinControl* parent, RECT bounds, Setup setup) {
    auto* edit = new T(parent);
    edit->BeginLoading();
    edit->SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
    edit->SetColor(kStoredColor);
    edit->Font().Color = kStoredFont;
    setup(*edit);
    edit->SetParent(parent);
    edit->Loaded();
    edit->HandleNeeded();
    return edit;
}
template <class T> T* MakeEdit(tk::TWinControl* parent, RECT bounds) {
    return MakeEdit<T>(parent, bounds, [](T&) {});
}

struct EditFixture : ::testing::Test {
    static void SetUpTestSuite() {
        Manager = MakeManager(nullptr, ComboSkin());
        Form = std::make_unique<TTestForm>(420, 220);
        SetForegroundWindow(Form->Handle());
    }
    static void TearDownTestSuite() {
        Form.reset();
        Manager.reset();
    }
    void SetUp() override {
        Other = new tk::TEdit(Form.get());
        Other->SetBounds(10, 190, 80, 21);
        Other->SetParent(Form.get());
        Other->HandleNeeded();
        FocusOther();
    }
    void TearDown() override {
        MoveMouseTo(Form->Handle(), 400, 5);
        for (tk::TControl* c : Made) tk::TComponent::Free(c);
        tk::TComponent::Free(Other);
        PumpMessages();
    }
    template <class T, class Setup> T* Add(RECT bounds, Setup setup) {
        T* edit = MakeEdit<T>(Form.get(), bounds, setup);
        Made.push_back(edit);
        PumpFor(50);
        return edit;
    }
    template <class T> T* Add(RECT bounds) {
        return Add<T>(bounds, [](T&) {});
    }
    void FocusOther() {
        SetForegroundWindow(Form->Handle());
        Other->SetFocus();
        PumpFor(50);
    }
    void ClickAt(HWND h, int x, int y) {
        MoveMouseTo(h, x, y);
        PressLeft();
        ReleaseLeft();
        PumpFor(80);
    }
    // Screen pixels of the client area that differ from the cache's pixels behind them.
    static int ScreenDiffersFromCache(TsMaskEdit& edit) {
        RECT client;
        GetClientRect(edit.Handle(), &client);
        const int b = edit.TextMargin() - 1;
        int n = 0;
        for (int y = 0; y < client.bottom; y += 2)
            for (int x = 0; x < client.right; x += 2)
                if (ScreenPixel(edit.Handle(), x, y) != CachePixel(edit.SkinData(), x + b, y + b)) ++n;
        return n;
    }
    // Cache pixels of the text line that are not the section's background colour.
    static int InkPixels(TsMaskEdit& edit, rd::TColor background) {
        int n = 0;
        for (int y = 3; y < edit.Height() - 3; ++y)
            for (int x = 3; x < edit.Width() - 3; ++x)
                if (CachePixel(edit.SkinData(), x, y) != AsRgb(background)) ++n;
        return n;
    }

    static std::unique_ptr<TsSkinManager> Manager;
    static std::unique_ptr<TTestForm> Form;
    tk::TEdit* Other = nullptr;
    std::vector<tk::TControl*> Made;
};
std::unique_ptr<TsSkinManager> EditFixture::Manager;
std::unique_ptr<TTestForm> EditFixture::Form;

}  // namespace

TEST_F(EditFixture, ColoursOfTheEditSectionReplaceTheStoredOnesAndTurnHotOnFocusAndHover) {
    auto* edit = Add<TsDirectoryEdit>({20, 20, 300, 41}, [](TsDirectoryEdit& e) { e.SetShowButton(false); });
    ASSERT_TRUE(edit->SkinData().Skinned());
    EXPECT_EQ(kEditColor, edit->Color());
    EXPECT_EQ(kEditFontColor, edit->Font().Color);
    ClickAt(edit->Handle(), 50, 8);
    ASSERT_TRUE(edit->Focused());
    EXPECT_EQ(kEditHotColor, edit->Color()) << "focused: the hot set of a two-state section";
    EXPECT_EQ(kEditHotFontColor, edit->Font().Color);
    MoveMouseTo(Form->Handle(), 400, 5);
    FocusOther();
    EXPECT_EQ(kEditColor, edit->Color()) << "neither focused nor hovered";
    MoveMouseTo(edit->Handle(), 60, 8);
    EXPECT_TRUE(PumpUntil([&] { return edit->Color() == kEditHotColor; })) << "hovered";
    MoveMouseTo(Form->Handle(), 400, 5);
    EXPECT_TRUE(PumpUntil([&] { return edit->Color() == kEditColor; })) << "the mouse left";
}

TEST_F(EditFixture, UnfocusedEditShowsTheCacheAndFocusedTheNativeCaretAndSelectionInsideTheSkinnedFrame) {
    auto* edit = Add<TsMaskEdit>({20, 20, 300, 41});
    edit->SetText(L"C:\\Data\\Music");
    PumpFor(100);
    const HWND h = edit->Handle();
    const int mid = edit->Height() / 2;
    EXPECT_EQ(kRingNormal, WindowPixel(h, 1, mid)) << "the frame is the section's border";

    EXPECT_EQ(AsRgb(kEditColor), WindowPixel(h, edit->Width() - 6, mid)) << "the section's background";
    EXPECT_GT(InkPixels(*edit, kEditColor), 20) << "the skin drew the text";
    EXPECT_EQ(0, ScreenDiffersFromCache(*edit)) << "the whole client area comes from the cache";

    ClickAt(h, 150, 8);
    ASSERT_TRUE(edit->Focused());
    PumpFor(100);
    POINT caret{-1, -1};
    EXPECT_TRUE(GetCaretPos(&caret));
    EXPECT_GE(caret.x, 0) << "the native caret";
    EXPECT_EQ(kRingHot, WindowPixel(h, 1, mid)) << "the frame stays skinned, in the hot state";
    Press(VK_END);
    Press(VK_HOME, {VK_SHIFT});
    DWORD start = 0, end = 0;
    SendMessageW(h, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(0u, start);
    EXPECT_EQ(13u, end) << "the keyboard selected the whole text";
    int highlighted = 0;
    for (int x = 0; x < 100; ++x) highlighted += ScreenPixel(h, x, 7) == SysRgb(COLOR_HIGHLIGHT);
    EXPECT_GT(highlighted, 5) << "the native selection is on the screen";

    MoveMouseTo(Form->Handle(), 400, 5);
    FocusOther();
    EXPECT_EQ(kRingNormal, WindowPixel(h, 1, mid));
    highlighted = 0;
    for (int x = 0; x < 100; ++x) highlighted += ScreenPixel(h, x, 7) == SysRgb(COLOR_HIGHLIGHT);
    EXPECT_EQ(0, highlighted) << "unfocused: painted from the cache again";
    EXPECT_EQ(0, ScreenDiffersFromCache(*edit));
}

TEST_F(EditFixture, TypingSelectingAndPastingAPathIntoTheDirectoryField) {
    auto* edit = Add<TsDirectoryEdit>({20, 20, 300, 41}, [](TsDirectoryEdit& e) { e.SetShowButton(false); });
    edit->SetText(L"C:\\Program Files\\Kalvetra");
    ASSERT_TRUE(edit->PrepareCache());
    const int inkBefore = InkPixels(*edit, kEditColor);
    const HWND h = edit->Handle();
    ClickAt(h, 200, 8);
    ASSERT_TRUE(edit->Focused());
    Press(VK_END);
    Press(VK_HOME, {VK_SHIFT});
    TypeText(L"D:\\Apps");
    EXPECT_EQ(L"D:\\Apps", edit->GetText()) << "typing replaced the selection";
    DWORD start = 0, end = 0;
    SendMessageW(h, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(7u, start) << "the caret follows the typing";
    EXPECT_EQ(7u, end);
    Press(VK_LEFT, {VK_SHIFT});
    Press(VK_LEFT, {VK_SHIFT});
    Press(VK_LEFT, {VK_SHIFT});
    Press(VK_LEFT, {VK_SHIFT});
    ASSERT_TRUE(PutOnClipboard(Form->Handle(), L"Kalvetra Player"));
    Press('V', {VK_CONTROL});
    EXPECT_EQ(L"D:\\Kalvetra Player", edit->GetText()) << "the paste replaced the selected word";

    MoveMouseTo(Form->Handle(), 400, 5);
    FocusOther();
    EXPECT_EQ(L"D:\\Kalvetra Player", edit->GetText());
    EXPECT_EQ(0, ScreenDiffersFromCache(*edit)) << "the new text is shown from the cache";
    EXPECT_NE(inkBefore, InkPixels(*edit, kEditColor)) << "the cache was rebuilt with the new text";
}

TEST_F(EditFixture, AnEmptyEditShowsItsHintInA65PercentBlendOfFontAndBackground) {
    auto* edit = Add<TsMaskEdit>({20, 20, 300, 41}, [](TsMaskEdit& e) { e.SetTextHint(L"Folder of the program"); });
    // Font 0xDCDCDC moved 65 % toward 0x181818: 220 * 0.35 + 24 * 0.65 = 92.6, truncated.
    EXPECT_EQ(0x005C5C5C, edit->HintColor());
    ASSERT_TRUE(edit->PrepareCache());
    int hint = 0, font = 0;
    for (int y = 0; y < edit->Height(); ++y)
        for (int x = 0; x < edit->Width(); ++x) {
            const uint32_t p = CachePixel(edit->SkinData(), x, y);
            hint += p == 0x5C5C5C;
            font += p == AsRgb(kEditFontColor);
        }
    EXPECT_GT(hint, 10) << "the hint is written in the blend";
    EXPECT_EQ(0, font) << "not in the font colour";
    edit->SetText(L"x");
    ASSERT_TRUE(edit->PrepareCache());
    hint = 0;
    for (int y = 0; y < edit->Height(); ++y)
        for (int x = 0; x < edit->Width(); ++x) hint += CachePixel(edit->SkinData(), x, y) == 0x5C5C5C;
    EXPECT_EQ(0, hint) << "a text hides the hint";
}

TEST_F(EditFixture, APasswordEditShowsOnePasswordCharacterPerTextCharacter) {
    auto* secret = Add<TsMaskEdit>({20, 20, 300, 41}, [](TsMaskEdit& e) { e.SetPasswordChar(L'*'); });
    auto* plain = Add<TsMaskEdit>({20, 60, 300, 81});
    secret->SetText(L"s3cret");
    plain->SetText(L"******");
    ASSERT_TRUE(secret->PrepareCache());
    ASSERT_TRUE(plain->PrepareCache());
    EXPECT_EQ(L"s3cret", secret->GetText()) << "the text itself is kept";
    int differing = 0;
    for (int y = 2; y < secret->Height() - 2; ++y)
        for (int x = 2; x < secret->Width() - 2; ++x)
            differing += CachePixel(secret->SkinData(), x, y) != CachePixel(plain->SkinData(), x, y);
    EXPECT_EQ(0, differing) << "six stars, as a text of six stars is drawn";
    EXPECT_GT(InkPixels(*secret, kEditColor), 10);
}

TEST_F(EditFixture, ABoundLabelTopLeftWithIndentFourStandsFourPixelsAboveTheEdit) {
    auto* edit = Add<TsMaskEdit>({40, 80, 300, 101}, [](TsMaskEdit& e) {
        e.SetName(L"PathEdit");
        e.BoundLabel().SetCaption(L"Installation path");
        e.BoundLabel().SetLayout(TsCaptionLayout::sclTopLeft);
        e.BoundLabel().SetIndent(4);
        e.BoundLabel().SetActive(true);
    });
    TsEditLabel* label = edit->BoundLabel().TheLabel();
    ASSERT_NE(nullptr, label);
    EXPECT_EQ(edit->Left(), label->Left());
    EXPECT_EQ(edit->Top() - 4, label->Top() + label->Height());
}

TEST_F(EditFixture, TheComboEditKeepsItsTextClearOfTheButtonAndRunsItsActionByButtonAndClickKey) {
    int clicks = 0;
    int dialogs = 0;
    auto* edit = Add<TsDirectoryEdit>({20, 20, 300, 41}, [&](TsDirectoryEdit& e) {
        e.OnButtonClick = [&](tk::TObject*) { ++clicks; };
        e.ExecuteDialog = [&](const std::wstring&, std::wstring&) { return ++dialogs, false; };
    });
    const HWND h = edit->Handle();
    RECT client;
    GetClientRect(h, &client);
    TsEditButton* button = edit->Button();
    EXPECT_EQ(client.right, button->Left() + button->Width()) << "the button sits at the right edge";
    const LRESULT margins = SendMessageW(h, EM_GETMARGINS, 0, 0);
    EXPECT_EQ(button->Width(), HIWORD(margins)) << "the text stops before the button";
    edit->SetText(std::wstring(80, L'W'));
    ASSERT_TRUE(edit->PrepareCache());
    EXPECT_EQ(CachePixel(button->SkinData(), button->Width() / 2, 2),
              CachePixel(edit->SkinData(), button->Left() + 2 + button->Width() / 2, 4))
        << "the button's face lies over the text's end in the cache";

    ClickAt(h, button->Left() + button->Width() / 2, client.bottom / 2);
    EXPECT_EQ(1, clicks) << "a click on the button";
    EXPECT_EQ(1, dialogs) << "the directory edit's action: the folder dialog";
    ASSERT_TRUE(edit->Focused());
    Press(VK_DOWN, {VK_MENU});
    EXPECT_EQ(2, clicks) << "Alt+Down";
    Press(VK_DOWN);
    EXPECT_EQ(2, clicks) << "Down alone is no click key";

    edit->SetText(L"kept");
    edit->SetComboReadOnly(true);
    ClickAt(h, button->Left() + button->Width() / 2, client.bottom / 2);
    EXPECT_EQ(2, clicks) << "read-only: the button does nothing";
    EXPECT_EQ(2, dialogs);
    ASSERT_TRUE(PutOnClipboard(Form->Handle(), L"pasted"));
    SendMessageW(h, WM_PASTE, 0, 0);
    EXPECT_EQ(L"kept", edit->GetText()) << "read-only: no paste";
    edit->SetComboReadOnly(false);
    edit->SetDirectInput(false);
    TypeText(L"typed");
    EXPECT_EQ(L"kept", edit->GetText()) << "no direct input: no typing";
}

TEST_F(EditFixture, AComboEditWithoutAGlyphTakesNoClickKey) {
    int clicks = 0, changes = 0;
    auto* edit = Add<TsCustomComboEdit>({20, 20, 300, 41}, [&](TsCustomComboEdit& e) {
        e.OnButtonClick = [&](tk::TObject*) { ++clicks; };
        e.OnChange = [&](tk::TObject*) { ++changes; };
    });
    EXPECT_EQ(0, edit->Button()->GlyphWidth());
    ClickAt(edit->Handle(), 50, 8);
    ASSERT_TRUE(edit->Focused());
    Press(VK_DOWN, {VK_MENU});
    EXPECT_EQ(0, clicks) << "no glyph: Alt+Down is an ordinary key";
    TypeText(L"x");
    EXPECT_EQ(1, changes) << "the key went on to the text";
    EXPECT_EQ(L"x", edit->GetText());
}

TEST_F(EditFixture, LongRightToLeftAndNonBmpTextIsKeptWholeAndPainted) {
    std::wstring text;
    const std::wstring piece = L"\u05E9\u05DC\u05D5\u05DD \U0001F600 abc \U00010348 ";
    while (text.size() < 65536) text += piece;
    auto* plain = Add<TsMaskEdit>({20, 20, 300, 41});
    auto* field = Add<TsDirectoryEdit>({20, 60, 300, 81}, [](TsDirectoryEdit& e) { e.SetShowButton(false); });
    auto* right = Add<TsMaskEdit>({20, 100, 300, 121}, [](TsMaskEdit& e) { e.SetAlignment(tk::TAlignment::taRightJustify); });
    for (TsMaskEdit* edit : {plain, static_cast<TsMaskEdit*>(field), right}) {
        edit->SetText(text);
        UpdateWindow(edit->Handle());
        EXPECT_EQ(text, edit->GetText()) << "64 KB of text, right-to-left and surrogate pairs, unchanged";
        ASSERT_TRUE(edit->PrepareCache());
        EXPECT_GT(InkPixels(*edit, kEditColor), 20);
        ClickAt(edit->Handle(), 100, 8);
        Press(VK_END);
        UpdateWindow(edit->Handle());
        FocusOther();
        EXPECT_EQ(text, edit->GetText());
    }
}

TEST(EditWithoutSkinSection, KeepsTheNativeLookAndStaysUsable) {
    auto manager = MakeManager(nullptr, SkinWithout("EDIT"));
    TTestForm form(320, 120);
    SetForegroundWindow(form.Handle());
    auto* edit = MakeEdit<TsDirectoryEdit>(&form, {20, 20, 300, 41}, [](TsDirectoryEdit& e) { e.SetShowButton(false); });
    EXPECT_FALSE(edit->SkinData().Skinned());
    PumpFor(100);
    EXPECT_NE(kRingNormal, WindowPixel(edit->Handle(), 1, 10)) << "the native frame";
    edit->SetFocus();
    PumpFor(50);
    TypeText(L"C:\\Kalvetra");
    EXPECT_EQ(L"C:\\Kalvetra", edit->GetText());
    Press(VK_HOME, {VK_SHIFT});
    ASSERT_TRUE(PutOnClipboard(form.Handle(), L"D:\\Music"));
    Press('V', {VK_CONTROL});
    EXPECT_EQ(L"D:\\Music", edit->GetText());
}
