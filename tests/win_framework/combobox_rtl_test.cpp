// Right-to-left placement of the combo box and the combo edit: the button at the left edge, the
// text drawn right-aligned beside it (pixels of the cache), the native edit part and the
// formatting rectangle clear of the button, and the left button opening the list under the
// real mouse; the same controls left to right for comparison.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "controls/sComboBox.h"
#include "controls/sToolEdit.h"
#include "tests/win_framework/edit_support.h"

using namespace sk;
using namespace kvfw;

namespace {

// Columns of the cache between x0 and x1 holding pixels of another colour than background.
int InkColumns(TsCommonData& data, int x0, int x1, int y0, int y1, rd::TColor background) {
    int columns = 0;
    for (int x = x0; x < x1; ++x) {
        bool ink = false;
        for (int y = y0; y < y1 && !ink; ++y) ink = CachePixel(data, x, y) != AsRgb(background);
        columns += ink;
    }
    return columns;
}

struct RtlFixture : ::testing::Test {
    static void SetUpTestSuite() {
        Manager = MakeManager(nullptr, ComboSkin());
        Form = std::make_unique<TTestForm>(420, 300);
        SetForegroundWindow(Form->Handle());
    }
    static void TearDownTestSuite() {
        Form.reset();
        Manager.reset();
    }
    void TearDown() override {
        for (tk::TControl* c : Made) tk::TComponent::Free(c);
        PumpMessages();
    }
    TsComboBox* Combo(tk::TBiDiMode mode, tk::TComboBoxStyle style, int top) {
        auto* combo = new TsComboBox(Form.get());
        combo->BeginLoading();
        combo->SetBounds(20, top, 220, 24);
        combo->SetStyle(style);
        combo->SetBiDiMode(mode);
        combo->Items().Add(L"Deutsch");
        combo->Items().Add(L"English");
        combo->SetItemIndex(0);
        combo->SetParent(Form.get());
        combo->Loaded();
        combo->HandleNeeded();
        Made.push_back(combo);
        PumpFor(50);
        return combo;
    }
    TsDirectoryEdit* ComboEdit(tk::TBiDiMode mode, int top) {
        auto* edit = new TsDirectoryEdit(Form.get());
        edit->BeginLoading();
        edit->SetBounds(20, top, 220, 21);
        edit->SetBiDiMode(mode);
        edit->SetText(L"C:\\Data");
        edit->SetParent(Form.get());
        edit->Loaded();
        edit->HandleNeeded();
        Made.push_back(edit);
        PumpFor(50);
        return edit;
    }

    static std::unique_ptr<TsSkinManager> Manager;
    static std::unique_ptr<TTestForm> Form;
    std::vector<tk::TControl*> Made;
};
std::unique_ptr<TsSkinManager> RtlFixture::Manager;
std::unique_ptr<TTestForm> RtlFixture::Form;

}  // namespace

TEST_F(RtlFixture, TheComboBoxButtonGoesLeftAndItsTextRight) {
    TsComboBox* ltr = Combo(tk::TBiDiMode::bdLeftToRight, tk::TComboBoxStyle::csDropDownList, 20);
    TsComboBox* rtl = Combo(tk::TBiDiMode::bdRightToLeft, tk::TComboBoxStyle::csDropDownList, 60);
    const RECT lb = ltr->ButtonRect(), rb = rtl->ButtonRect();
    EXPECT_EQ(lb.right - lb.left, rb.right - rb.left) << "the same button width";
    EXPECT_EQ(ltr->Width() - lb.right, rb.left) << "the same margin, at the other edge";
    const RECT rt = rtl->TextRect();
    EXPECT_GT(rt.left, rb.right) << "the text area lies right of the button";
    EXPECT_EQ(rtl->Width() - 3, rt.right);

    for (TsComboBox* c : {ltr, rtl}) ASSERT_TRUE(c->PrepareCache());
    const int h = rtl->Height();
    const int mid = rtl->Width() / 2;
    const rd::TColor bg = rtl->Color();
    EXPECT_GT(InkColumns(rtl->SkinData(), rb.left + 2, rb.right - 2, 4, h - 4, bg), 2) << "the arrow at the left";
    EXPECT_GT(InkColumns(rtl->SkinData(), mid, rt.right, 4, h - 4, bg), 10) << "right-aligned text";
    EXPECT_EQ(0, InkColumns(rtl->SkinData(), rt.left, mid, 4, h - 4, bg));
    EXPECT_GT(InkColumns(ltr->SkinData(), 4, mid, 4, h - 4, bg), 10) << "left to right for comparison";
    EXPECT_EQ(0, InkColumns(ltr->SkinData(), mid, lb.left - 2, 4, h - 4, bg));
}

TEST_F(RtlFixture, TheLeftButtonOfADropDownComboOpensTheListAndTheEditStaysClearOfIt) {
    TsComboBox* rtl = Combo(tk::TBiDiMode::bdRightToLeft, tk::TComboBoxStyle::csDropDown, 20);
    const HWND edit = rtl->EditHandle();
    ASSERT_NE(nullptr, edit);
    RECT er;
    GetWindowRect(edit, &er);
    MapWindowPoints(nullptr, rtl->Handle(), reinterpret_cast<POINT*>(&er), 2);
    const RECT b = rtl->ButtonRect();
    EXPECT_GT(er.left, b.right) << "the native edit lies right of the button";
    EXPECT_NE(0, GetWindowLongPtrW(edit, GWL_STYLE) & ES_RIGHT) << "and aligns its text right";

    MoveMouseTo(rtl->Handle(), (b.left + b.right) / 2, (b.top + b.bottom) / 2);
    PressLeft();
    ReleaseLeft();
    ASSERT_TRUE(PumpUntil([&] { return rtl->ListOpen(); })) << "a click on the left button opens the list";
    EXPECT_EQ(2, rtl->ButtonState());
    Press(VK_DOWN);
    Press(VK_RETURN);
    EXPECT_TRUE(PumpUntil([&] { return !rtl->ListOpen(); }));
    EXPECT_EQ(1, rtl->ItemIndex());
    EXPECT_EQ(L"English", rtl->GetText());
    MoveMouseTo(Form->Handle(), 400, 290);
}

TEST_F(RtlFixture, TheComboEditButtonGoesLeftAndTheTextKeepsClearOfIt) {
    TsDirectoryEdit* ltr = ComboEdit(tk::TBiDiMode::bdLeftToRight, 120);
    TsDirectoryEdit* rtl = ComboEdit(tk::TBiDiMode::bdRightToLeft, 160);
    RECT client;
    GetClientRect(rtl->Handle(), &client);
    EXPECT_EQ(0, rtl->Button()->Left());
    EXPECT_EQ(client.right - ltr->Button()->Width(), ltr->Button()->Left());
    const LRESULT margins = SendMessageW(rtl->Handle(), EM_GETMARGINS, 0, 0);
    EXPECT_GE(LOWORD(margins), rtl->Button()->Width()) << "the native text starts right of the button";
    EXPECT_EQ(0, HIWORD(margins));
    EXPECT_NE(0, GetWindowLongPtrW(rtl->Handle(), GWL_STYLE) & ES_RIGHT);

    for (TsDirectoryEdit* e : {ltr, rtl}) ASSERT_TRUE(e->PrepareCache());
    const rd::TColor bg = rtl->Color();
    const int w = rtl->Width(), h = rtl->Height(), bw = rtl->Button()->Width();
    EXPECT_GT(InkColumns(rtl->SkinData(), w / 2, w - 4, 4, h - 4, bg), 10) << "right-aligned text";
    EXPECT_EQ(0, InkColumns(rtl->SkinData(), bw + 4, w / 2, 4, h - 4, bg));
    EXPECT_GT(InkColumns(ltr->SkinData(), 4, w / 2, 4, h - 4, bg), 10);
}
