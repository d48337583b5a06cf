// The push button's default and cancel rules with real keys: the form's default button shows
// its default look while no other push button has the focus, a focused push button takes
// Enter, Escape clicks the cancel button, a multi-line edit keeps Enter, and a button's modal
// result goes to its form.
#include <gtest/gtest.h>

#include <memory>

#include "controls/sButton.h"
#include "tests/common/SyntheticInput.h"
#include "tests/win_framework/button_support.h"
#include "toolkit/Forms.h"

using namespace kvfw;

namespace {

void Key(WORD vk) {
    synthetic::key_stroke(vk);
    // Through the application's own loop, where the dialog keys are offered to the buttons.
    for (int i = 0; i < 10; ++i) {
        tk::Application->ProcessMessages();
        Sleep(5);
    }
}

class ButtonDefaultTest : public ::testing::Test {
protected:
    void SetUp() override {
        Manager = MakeManager(nullptr, TestSkinOptions());
        Form = std::make_unique<TTestForm>(300, 160);
        OkButton = Make(L"OK", 20);
        CancelButton = Make(L"Cancel", 110);
        OkButton->SetDefault(true);
        CancelButton->SetCancel(true);
        CancelButton->SetModalResult(tk::mrCancel);
        OkButton->OnClick = [this](tk::TObject*) { ++OkClicks; };
        CancelButton->OnClick = [this](tk::TObject*) { ++CancelClicks; };
        Edit = std::make_unique<tk::TEdit>(nullptr);
        Edit->SetBounds(20, 20, 150, 22);
        Edit->SetParent(Form.get());
        Edit->HandleNeeded();
        Memo = std::make_unique<tk::TMemo>(nullptr);
        Memo->SetBounds(180, 20, 100, 60);
        Memo->SetParent(Form.get());
        Memo->HandleNeeded();
        SetForegroundWindow(Form->Handle());
        PumpFor(30);
    }
    void TearDown() override {
        OkButton.reset();
        CancelButton.reset();
        Edit.reset();
        Memo.reset();
        Form.reset();
        Manager.reset();
    }
    std::unique_ptr<sk::TsButton> Make(const std::wstring& caption, int left) {
        auto b = std::make_unique<sk::TsButton>(nullptr);
        b->BeginLoading();
        b->SkinData().SetSkinSection(L"BUTTON");
        b->SkinData().SetSkinManager(Manager.get());
        b->SetBounds(left, 100, 80, 30);
        b->SetCaption(caption);
        b->SetParent(Form.get());
        b->Loaded();
        b->HandleNeeded();
        ShowWindow(b->Handle(), SW_SHOWNA);
        return b;
    }
    std::unique_ptr<sk::TsSkinManager> Manager;
    std::unique_ptr<TTestForm> Form;
    std::unique_ptr<sk::TsButton> OkButton, CancelButton;
    std::unique_ptr<tk::TEdit> Edit;
    std::unique_ptr<tk::TMemo> Memo;
    int OkClicks = 0, CancelClicks = 0;
};

}  // namespace

TEST_F(ButtonDefaultTest, TheDefaultLookFollowsTheFocus) {
    const struct {
        const char* name;
        tk::TWinControl* focus;
        bool okActive, cancelActive;
        int okState;
    } cases[] = {
        {"edit focused: the default button", Edit.get(), true, false, sk::bsDefault},
        {"the other button focused: it is the default now", CancelButton.get(), false, true, sk::bsNormal},
        {"back to the edit", Edit.get(), true, false, sk::bsDefault},
        {"the default button itself focused: hot", OkButton.get(), true, false, sk::bsHot},
    };
    for (const auto& c : cases) {
        c.focus->SetFocus();
        PumpFor(20);
        EXPECT_EQ(OkButton->Active(), c.okActive) << c.name;
        EXPECT_EQ(CancelButton->Active(), c.cancelActive) << c.name;
        EXPECT_EQ(OkButton->CurrentState(), c.okState) << c.name;
    }
    CancelButton->SetFocus();
    PumpFor(20);
    SetFocus(nullptr);  // the focus goes nowhere: no control announces it
    PumpFor(20);
    EXPECT_FALSE(CancelButton->Active()) << "a button that lost the focus to nothing is not the default";
    EXPECT_TRUE(OkButton->Active()) << "the form's default button is again";
    Edit->SetFocus();
    OkButton->SetDefault(false);
    EXPECT_FALSE(OkButton->Active()) << "no longer the default button";
    EXPECT_EQ(OkButton->CurrentState(), sk::bsNormal);
}

TEST_F(ButtonDefaultTest, EnterAndEscapeClickTheDefaultTheFocusedAndTheCancelButton) {
    const struct {
        const char* name;
        tk::TWinControl* focus;
        WORD key;
        int okClicks, cancelClicks;
    } cases[] = {
        {"Enter in the edit: the default button", Edit.get(), VK_RETURN, 1, 0},
        {"Escape in the edit: the cancel button", Edit.get(), VK_ESCAPE, 0, 1},
        {"Enter on the focused cancel button: that one", CancelButton.get(), VK_RETURN, 0, 1},
        {"Enter in a multi-line edit: a new line, no click", Memo.get(), VK_RETURN, 0, 0},
    };
    for (const auto& c : cases) {
        OkClicks = CancelClicks = 0;
        c.focus->SetFocus();
        PumpFor(20);
        ASSERT_EQ(GetFocus(), c.focus->Handle()) << c.name;
        Key(c.key);
        EXPECT_EQ(OkClicks, c.okClicks) << c.name;
        EXPECT_EQ(CancelClicks, c.cancelClicks) << c.name;
    }
    EXPECT_EQ(Form->ModalResult(), tk::mrCancel) << "the cancel button's modal result went to the form";
    OkButton->SetEnabled(false);
    OkClicks = 0;
    Edit->SetFocus();
    Key(VK_RETURN);
    EXPECT_EQ(OkClicks, 0) << "a disabled default button takes no Enter";
}
