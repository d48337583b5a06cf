// Edit masks: how a mask string is read (input positions, literals, escapes, case, the saved
// literals and blank fields), how text is laid onto it and checked, and a skinned mask edit
// driven by the real keyboard: the caret skipping literals, refused characters, backspace and
// delete, pasting, Escape, and the check when the focus leaves.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "controls/sMaskEdit.h"
#include "tests/win_framework/edit_support.h"
#include "toolkit/EditCtrlsMask.h"
#include "toolkit/StdCtrls.h"

using namespace sk;
using namespace kvfw;

namespace {

constexpr size_t npos = tk::TEditMask::npos;

struct MaskReading {
    const wchar_t* mask;
    const wchar_t* blankText;
    bool saveLiterals;
};

const MaskReading kReadings[] = {
    {L"(000) 000-0000;1;_", L"(___) ___-____", true},
    {L"00/00/0000;0;*", L"**/**/****", false},
    {L"\\L\\0-LL;1; ", L"L0-  ", true},     // escaped input characters are literals
    {L">LL<ll<>cc!", L"______", true},        // case and ! take no place
    {L"a\\;b", L"_;b", true},                  // an escaped field separator
    {L"99\\", L"__", true},                     // a trailing backslash escapes nothing
    {L"", L"", true},
    {L";0", L"", false},
    {L"#9;;", L"__", true},                     // an empty blank field keeps '_'
};

TEST(EditMaskReading, PositionsLiteralsAndFields) {
    for (const MaskReading& r : kReadings) {
        const tk::TEditMask mask(r.mask);
        EXPECT_EQ(std::wstring(r.blankText), mask.BlankText()) << r.mask;
        EXPECT_EQ(wcslen(r.blankText), mask.Length()) << r.mask;
        EXPECT_EQ(r.saveLiterals, mask.SaveLiterals()) << r.mask;
    }
}

struct Acceptance {
    const wchar_t* mask;
    size_t pos;
    wchar_t typed;
    wchar_t taken;  // 0: refused
};

const Acceptance kAcceptance[] = {
    {L"0", 0, L'7', L'7'},   {L"0", 0, L'x', 0},      {L"9", 0, L'+', 0},     {L"#", 0, L'-', L'-'},
    {L"#", 0, L'5', L'5'},   {L"L", 0, L'q', L'q'},   {L"L", 0, L'4', 0},     {L"A", 0, L'4', L'4'},
    {L"a", 0, L'-', 0},      {L"C", 0, L'-', L'-'},   {L"C", 0, L'\t', 0},    {L">l", 0, L'q', L'Q'},
    {L"<L", 0, L'Q', L'q'},  {L"><c", 0, L'Q', L'q'}, {L"<<>c", 0, L'Q', L'Q'}, {L"(0)", 0, L'(', 0},
    {L"C", 0, 0xD83D, 0},    {L"C", 0, 0xDE00, 0},    {L"0", 3, L'1', 0},     {L"\\0", 0, L'0', 0},
};

TEST(EditMaskReading, WhatEachPositionTakes) {
    for (const Acceptance& a : kAcceptance)
        EXPECT_EQ(a.taken, tk::TEditMask(a.mask).Accept(a.pos, a.typed)) << a.mask << " " << int(a.typed);
}

struct Laying {
    const wchar_t* mask;
    const wchar_t* text;
    const wchar_t* conformed;
    size_t missing;
    const wchar_t* unmasked;
};

const Laying kLayings[] = {
    {L"(000) 000-0000", L"5551234567", L"(555) 123-4567", npos, L"(555) 123-4567"},
    {L"(000) 000-0000", L"(555) 123-4567", L"(555) 123-4567", npos, L"(555) 123-4567"},
    {L"(000) 000-0000", L"(555) 12", L"(555) 12_-____", 8, L"(555) 12-"},
    {L"(000) 000-0000;0", L"555x1234567", L"(555) _12-3456", 6, L"555123456"},
    {L"00/99/0000", L"", L"__/__/____", 0, L"//"},
    {L"00/99/0000;0", L"12/3/2026", L"12/3_/2026", npos, L"1232026"},
    {L"LL", L"toolong", L"to", npos, L"to"},
    {L"", L"anything", L"", npos, L""},
};

TEST(EditMaskReading, TextLaidOntoTheMaskAndChecked) {
    for (const Laying& l : kLayings) {
        const tk::TEditMask mask(l.mask);
        const std::wstring conformed = mask.Conform(l.text);
        EXPECT_EQ(std::wstring(l.conformed), conformed) << l.mask << " / " << l.text;
        EXPECT_EQ(l.missing, mask.MissingRequired(conformed)) << l.mask << " / " << l.text;
        EXPECT_EQ(std::wstring(l.unmasked), mask.Unmasked(conformed)) << l.mask << " / " << l.text;
    }
}

TEST(EditMaskReading, NextAndPreviousInputPositions) {
    const tk::TEditMask mask(L"(00) 0");
    EXPECT_EQ(1u, mask.NextInput(0));
    EXPECT_EQ(5u, mask.NextInput(3)) << "over the literals \") \"";
    EXPECT_EQ(npos, mask.NextInput(6));
    EXPECT_EQ(2u, mask.PrevInput(5));
    EXPECT_EQ(npos, mask.PrevInput(1));
    EXPECT_EQ(5u, mask.PrevInput(100)) << "a position past the end counts from the end";
}

// ---- A skinned mask edit under the real keyboard ----

struct MaskEditFixture : ::testing::Test {
    static void SetUpTestSuite() {
        Manager = MakeManager(nullptr, ComboSkin());
        Form = std::make_unique<TTestForm>(420, 160);
        Edit = new TsMaskEdit(Form.get());
        Edit->SetBounds(20, 20, 300, 21);
        Edit->SetParent(Form.get());
        Edit->Loaded();
        Edit->HandleNeeded();
        Other = new tk::TEdit(Form.get());
        Other->SetBounds(20, 100, 80, 21);
        Other->SetParent(Form.get());
        Other->HandleNeeded();
    }
    static void TearDownTestSuite() {
        Form.reset();
        Manager.reset();
    }
    void SetUp() override {
        FocusOther();
        Edit->SetEditMask(L"");
        Edit->SetText(L"");
        Edit->SetEditMask(L"(000) 000-0000;1;_");
        FocusEdit();
        Edit->OnValidateError = [this](tk::TObject*) { ++ValidateErrors; };
    }
    void TearDown() override { Edit->OnValidateError = nullptr; }
    static void FocusEdit() {
        SetForegroundWindow(Form->Handle());
        MoveMouseTo(Form->Handle(), 400, 150);
        Edit->SetFocus();
        PumpFor(50);
        Edit->SelectRange(0, 0);
    }
    static void FocusOther() {
        Other->SetFocus();
        PumpFor(80);
    }
    static size_t Caret() {
        DWORD start = 0, end = 0;
        SendMessageW(Edit->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return end;
    }

    static std::unique_ptr<TsSkinManager> Manager;
    static std::unique_ptr<TTestForm> Form;
    static TsMaskEdit* Edit;
    static tk::TEdit* Other;
    int ValidateErrors = 0;
};
std::unique_ptr<TsSkinManager> MaskEditFixture::Manager;
std::unique_ptr<TTestForm> MaskEditFixture::Form;
TsMaskEdit* MaskEditFixture::Edit = nullptr;
tk::TEdit* MaskEditFixture::Other = nullptr;

}  // namespace

TEST_F(MaskEditFixture, AnEmptyMaskedEditShowsTheLiteralsAndBlanks) {
    EXPECT_EQ(L"(___) ___-____", Edit->GetText());
}

TEST_F(MaskEditFixture, TypedDigitsFillTheInputPositionsAndTheCaretSkipsLiterals) {
    TypeText(L"555");
    EXPECT_EQ(L"(555) ___-____", Edit->GetText()) << "the first digit went past the opening bracket";
    EXPECT_EQ(6u, Caret()) << "the caret stands after \") \", on the next input position";
    TypeText(L"1234567");
    EXPECT_EQ(L"(555) 123-4567", Edit->GetText());
    EXPECT_EQ(14u, Caret());
    TypeText(L"8");
    EXPECT_EQ(L"(555) 123-4567", Edit->GetText()) << "no input position is left";
}

TEST_F(MaskEditFixture, RefusedCharactersChangeNothing) {
    TypeText(L"5x");
    EXPECT_EQ(L"(5__) ___-____", Edit->GetText());
    EXPECT_EQ(2u, Caret()) << "a refused letter leaves the caret where it was";
    TypeText(L"\U0001F600");
    EXPECT_EQ(L"(5__) ___-____", Edit->GetText()) << "a character outside the BMP fits no position";
}

TEST_F(MaskEditFixture, BackspaceAndDeleteBlankInputPositionsOnly) {
    TypeText(L"5551");
    ASSERT_EQ(L"(555) 1__-____", Edit->GetText());
    Press(VK_BACK);
    EXPECT_EQ(L"(555) ___-____", Edit->GetText());
    EXPECT_EQ(6u, Caret());
    Press(VK_BACK);
    EXPECT_EQ(L"(55_) ___-____", Edit->GetText()) << "backspace passed over the literals \") \"";
    EXPECT_EQ(3u, Caret());
    Press(VK_HOME);
    Press(VK_DELETE);
    EXPECT_EQ(L"(_5_) ___-____", Edit->GetText()) << "delete at the bracket blanks the next input position";
    Press(VK_END);
    Press(VK_HOME, {VK_SHIFT});
    Press(VK_DELETE);
    EXPECT_EQ(L"(___) ___-____", Edit->GetText()) << "a selection is blanked, its literals stay";
}

TEST_F(MaskEditFixture, PastedTextTakesLiteralsInPlaceAndStopsAtARefusedCharacter) {
    ASSERT_TRUE(PutOnClipboard(Form->Handle(), L"(555) 12"));
    Press('V', {VK_CONTROL});
    EXPECT_EQ(L"(555) 12_-____", Edit->GetText());
    ASSERT_TRUE(PutOnClipboard(Form->Handle(), L"3-45x99"));
    Press('V', {VK_CONTROL});
    EXPECT_EQ(L"(555) 123-45__", Edit->GetText());
    Press(VK_HOME);
    Press(VK_END, {VK_SHIFT});
    Press('X', {VK_CONTROL});
    EXPECT_EQ(L"(___) ___-____", Edit->GetText()) << "cut blanks the selection";
}

TEST_F(MaskEditFixture, LeavingWithAMissingRequiredPositionIsReportedOnce) {
    TypeText(L"55512");
    FocusOther();
    EXPECT_EQ(1, ValidateErrors);
    EXPECT_EQ(8u, Caret()) << "the caret waits at the first missing position";
    EXPECT_EQ(L"(555) 12_-____", Edit->GetText()) << "nothing typed is lost";

    FocusEdit();
    FocusOther();
    EXPECT_EQ(1, ValidateErrors) << "no change since the focus came: no report";

    FocusEdit();
    Edit->SelectRange(8, 8);
    TypeText(L"34567");
    FocusOther();
    EXPECT_EQ(1, ValidateErrors) << "complete text passes";
    EXPECT_EQ(tk::TEditMask::npos, Edit->ValidateEdit());
}

TEST_F(MaskEditFixture, EscapeTakesBackWhatWasTypedSinceTheFocusCame) {
    Edit->SetText(L"(555) 000-1111");
    FocusOther();
    FocusEdit();
    TypeText(L"99");
    ASSERT_EQ(L"(995) 000-1111", Edit->GetText());
    Press(VK_ESCAPE);
    EXPECT_EQ(L"(555) 000-1111", Edit->GetText());
}

TEST_F(MaskEditFixture, TextSetByTheProgramIsLaidOntoTheMask) {
    Edit->SetText(L"4441239876");
    EXPECT_EQ(L"(444) 123-9876", Edit->GetText());
    Edit->SetEditMask(L"00-00");
    EXPECT_EQ(L"44-41", Edit->GetText()) << "a new mask takes the text's characters in order";
    Edit->SetEditMask(L"");
    Edit->SetText(L"free text");
    EXPECT_EQ(L"free text", Edit->GetText()) << "without a mask the text is free";
}

TEST_F(MaskEditFixture, TheUnfocusedSkinnedEditDrawsTheMaskedText) {
    TypeText(L"5");
    FocusOther();
    ASSERT_TRUE(Edit->PrepareCache());
    const rd::TColor background = Edit->Color();
    int ink = 0;
    for (int y = 3; y < Edit->Height() - 3; ++y)
        for (int x = 3; x < 120; ++x) ink += CachePixel(Edit->SkinData(), x, y) != AsRgb(background);
    EXPECT_GT(ink, 30) << "brackets, blanks and the digit are drawn by the skin";
}
