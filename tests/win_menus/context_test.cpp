// Controls' own popup menus asked for with real input (right click, the menu key, Shift+F10):
// a skinned control's menu drops down skinned at the click or at the control's corner, a
// window-less control shows its own, a control without one leaves the request to its parent,
// and a menu freed before its control is forgotten.
#include <gtest/gtest.h>

#include "controls/sSpeedButton.h"
#include "menus/acMnuWnd.h"
#include "skinframework/sVclUtils.h"
#include "tests/common/SyntheticInput.h"
#include "tests/win_framework/FrameworkFixture.h"
#include "tests/win_framework/TestControls.h"
#include "tests/win_menus/MenusFixture.h"

namespace {

using namespace kvmenus;

enum class TAsk { RightClick, MenuKey, ShiftF10 };

void RightClickAt(POINT screen) {
    synthetic::move_cursor(screen);
    synthetic::mouse(MOUSEEVENTF_RIGHTDOWN);
    synthetic::mouse(MOUSEEVENTF_RIGHTUP);
}

POINT ScreenPoint(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    return p;
}

// Asks for the context menu over (x, y) of the window, or from the keyboard with the focus on it.
void Ask(TAsk how, HWND window, int x, int y) {
    switch (how) {
        case TAsk::RightClick: RightClickAt(ScreenPoint(window, x, y)); break;
        case TAsk::MenuKey:
            SetFocus(window);
            synthetic::key_stroke(VK_APPS);
            break;
        case TAsk::ShiftF10:
            SetFocus(window);
            synthetic::key_stroke(VK_F10, VK_SHIFT);
            break;
    }
}

const char* NameOf(TAsk how) {
    return how == TAsk::RightClick ? "right click" : how == TAsk::MenuKey ? "menu key" : "Shift+F10";
}

// What one shown menu looked like.
struct TSeen {
    int Looks = 0;
    bool Wrapped = false;  // the menu window has the skin's wrapper
    bool Pictured = false; // the menu has its picture of the window's size
    RECT Window{};
};

TMenuStep Look(TSeen& seen) {
    return [&seen](HWND wnd) {
        ++seen.Looks;
        seen.Wrapped = sk::TacMnuWnd::Find(wnd) != nullptr;
        const sk::TacMenuInfo* info = sk::FindMenuInfoByWindow(wnd);
        seen.Pictured = info && sk::PictureFitsWindow(info->Bmp.get(), wnd);
        GetWindowRect(wnd, &seen.Window);
    };
}

class ContextMenuTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        UseSkin(TMenuSkin::Full);
        form = new kvfw::TTestForm(300, 200);
        panel = new kvfw::TTestWinControl(form, kvfw::kPanelKind, {10, 10, 290, 190});
        button = new kvfw::TTestWinControl(panel, kvfw::kButtonKind, {20, 20, 120, 50});
        plain = new kvfw::TTestWinControl(panel, kvfw::kButtonKind, {20, 70, 120, 100});
        label = new kvfw::TTestGraphicControl(panel, kvfw::kPanelKind, {150, 20, 250, 50});
        SetForegroundWindow(form->Handle());
        PumpFor(100);
    }
    static void TearDownTestSuite() {
        delete form;
        form = nullptr;
        PumpFor(50);
    }
    void SetUp() override {
        Manager().MenuSupport.AlphaBlend = 255;
        SetForegroundWindow(form->Handle());
        PumpFor(30);
    }
    static kvfw::TTestForm* form;
    static kvfw::TTestWinControl *panel, *button, *plain;
    static kvfw::TTestGraphicControl* label;
};

kvfw::TTestForm* ContextMenuTest::form = nullptr;
kvfw::TTestWinControl* ContextMenuTest::panel = nullptr;
kvfw::TTestWinControl* ContextMenuTest::button = nullptr;
kvfw::TTestWinControl* ContextMenuTest::plain = nullptr;
kvfw::TTestGraphicControl* ContextMenuTest::label = nullptr;

TEST_F(ContextMenuTest, AWindowedControlsMenuDropsDownSkinnedWhereverItIsAskedFor) {
    for (TAsk how : {TAsk::RightClick, TAsk::MenuKey, TAsk::ShiftF10}) {
        SCOPED_TRACE(NameOf(how));
        auto menu = MakeMenu({L"Cut", L"-", L"Paste"});
        button->SetPopupMenu(menu.get());
        TSeen seen;
        {
            TMenuWatch watch({Look(seen)});
            Ask(how, button->Handle(), 30, 12);
            EXPECT_TRUE(watch.WaitUntilFinished());
        }
        ASSERT_EQ(seen.Looks, 1) << "the menu was not shown";
        EXPECT_TRUE(menu->OwnerDraw);
        EXPECT_TRUE(seen.Wrapped);
        EXPECT_TRUE(seen.Pictured);
        EXPECT_EQ(menu->PopupComponent, button);
        // By mouse at the click, by keyboard at the control's top-left corner.
        const POINT at = how == TAsk::RightClick ? ScreenPoint(button->Handle(), 30, 12) : ScreenPoint(button->Handle(), 0, 0);
        EXPECT_EQ(seen.Window.left, at.x);
        EXPECT_EQ(seen.Window.top, at.y);
        button->SetPopupMenu(nullptr);
    }
}

// A drop-down speed button drops its menu below itself, skinned like every other popup menu.
TEST_F(ContextMenuTest, ADropDownSpeedButtonsMenuDropsSkinnedBelowIt) {
    auto menu = MakeMenu({L"First", L"-", L"Second"});
    sk::TsSpeedButton dropDown(nullptr);
    dropDown.SkinData().SetSkinManager(&Manager());
    dropDown.SetButtonStyle(sk::tbsDropDown);
    dropDown.SetDropdownMenu(menu.get());
    dropDown.SetBounds(150, 120, 60, 22);
    dropDown.SetParent(panel);
    PumpFor(40);
    TSeen seen;
    bool ownerDrawn = false;
    {
        TMenuWatch watch({Look(seen), [&](HWND) { ownerDrawn = menu->OwnerDraw; }});
        synthetic::move_cursor(ScreenPoint(panel->Handle(), 170, 130));
        PumpFor(60);
        synthetic::mouse(MOUSEEVENTF_LEFTDOWN);
        synthetic::mouse(MOUSEEVENTF_LEFTUP);
        EXPECT_TRUE(watch.WaitUntilFinished());
    }
    ASSERT_EQ(seen.Looks, 1) << "the menu was not shown";
    EXPECT_TRUE(ownerDrawn) << "its items drawn from the skin";
    EXPECT_TRUE(seen.Wrapped);
    EXPECT_TRUE(seen.Pictured);
    const POINT below = ScreenPoint(panel->Handle(), 150, 142);
    EXPECT_EQ(seen.Window.left, below.x);
    EXPECT_EQ(seen.Window.top, below.y);
    dropDown.SetParent(nullptr);
}

TEST_F(ContextMenuTest, TheRequestGoesToTheControlUnderThePointOrOnToTheParent) {
    auto panelMenu = MakeMenu({L"Panel"});
    auto labelMenu = MakeMenu({L"Label"});
    panel->SetPopupMenu(panelMenu.get());
    label->SetPopupMenu(labelMenu.get());
    struct TCase {
        const char* Name;
        HWND Window;
        POINT At;
        tk::TPopupMenu* Shown;
        tk::TControl* Component;
    } cases[] = {
        {"window-less control with its own menu", panel->Handle(), {160, 30}, labelMenu.get(), label},
        {"control without a menu", plain->Handle(), {10, 10}, panelMenu.get(), panel},
        {"the parent itself", panel->Handle(), {200, 150}, panelMenu.get(), panel},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        panelMenu->PopupComponent = labelMenu->PopupComponent = nullptr;
        TSeen seen;
        tk::TMenuItem* firstShown = nullptr;
        {
            TMenuWatch watch({Look(seen)});
            Ask(TAsk::RightClick, c.Window, c.At.x, c.At.y);
            EXPECT_TRUE(watch.WaitUntilFinished());
        }
        firstShown = c.Shown->Items()->Items(0);
        ASSERT_EQ(seen.Looks, 1);
        EXPECT_EQ(c.Shown->PopupComponent, c.Component);
        EXPECT_TRUE(c.Shown->OwnerDraw);
        EXPECT_TRUE(seen.Pictured);
        EXPECT_NE(firstShown, nullptr);
        tk::TPopupMenu* other = c.Shown == panelMenu.get() ? labelMenu.get() : panelMenu.get();
        EXPECT_EQ(other->PopupComponent, nullptr) << "the other menu was shown as well";
    }
    panel->SetPopupMenu(nullptr);
    label->SetPopupMenu(nullptr);
}

TEST_F(ContextMenuTest, TheSkinnedFormsOwnMenuIsSkinnedToo) {
    ASSERT_NE(sk::SendSkinCmd(form->Handle(), sk::SC_GETPROVIDER), 0) << "the form has its skin provider";
    auto menu = MakeMenu({L"Form"});
    form->SetPopupMenu(menu.get());
    TSeen seen;
    {
        TMenuWatch watch({Look(seen)});
        Ask(TAsk::RightClick, form->Handle(), 5, 195);  // beside the panel
        EXPECT_TRUE(watch.WaitUntilFinished());
    }
    ASSERT_EQ(seen.Looks, 1);
    EXPECT_EQ(menu->PopupComponent, form);
    EXPECT_TRUE(menu->OwnerDraw);
    EXPECT_TRUE(seen.Pictured);
    form->SetPopupMenu(nullptr);
}

TEST_F(ContextMenuTest, AMenuFreedBeforeItsControlIsForgotten) {
    auto panelMenu = MakeMenu({L"Panel"});
    panel->SetPopupMenu(panelMenu.get());
    auto menu = MakeMenu({L"Gone"});
    button->SetPopupMenu(menu.get());
    menu.reset();
    EXPECT_EQ(button->PopupMenu(), nullptr);
    TSeen seen;
    {
        TMenuWatch watch({Look(seen)});
        Ask(TAsk::RightClick, button->Handle(), 30, 12);
        EXPECT_TRUE(watch.WaitUntilFinished());
    }
    EXPECT_EQ(seen.Looks, 1);
    EXPECT_EQ(panelMenu->PopupComponent, panel) << "the parent's menu stands in";
    panel->SetPopupMenu(nullptr);
}

TEST_F(ContextMenuTest, AnItemChosenFromTheKeyboardRunsItsClick) {
    auto menu = MakeMenu({L"Cut", L"Paste"});
    int clicked = -1;
    for (int i = 0; i < 2; ++i) menu->Items()->Items(i)->OnClick = [&clicked, i](tk::TObject*) { clicked = i; };
    button->SetPopupMenu(menu.get());
    {
        TMenuWatch watch({[](HWND wnd) { PressKey(wnd, VK_DOWN); }, [](HWND wnd) { PressKey(wnd, VK_DOWN); },
                          [](HWND wnd) { PressKey(wnd, VK_RETURN); }},
                         false);
        Ask(TAsk::MenuKey, button->Handle(), 0, 0);
        EXPECT_TRUE(watch.WaitUntilFinished());
    }
    EXPECT_EQ(clicked, 1);
    button->SetPopupMenu(nullptr);
}

}  // namespace
