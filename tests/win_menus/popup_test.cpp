// Real popup menus shown with the test skin: the menu window is wrapped, cut to the border
// mask's corners, framed and filled from the menu's picture, and the pictures go when the
// menu closes; a skin without menu sections leaves the platform's menu.
#include <gtest/gtest.h>

#include "menus/acMnuWnd.h"
#include "tests/win_menus/MenusFixture.h"

namespace {

using namespace kvmenus;

class PopupTest : public testing::Test {
protected:
    void SetUp() override {
        UseSkin(TMenuSkin::Full);
        Manager().MenuSupport.AlphaBlend = 255;
    }
};

TEST_F(PopupTest, SkinnedMenuIsWrappedFramedAndFilledFromItsPicture) {
    auto menu = MakeMenu({L"Open", L"-", L"Close"});
    Menus().HookPopupMenu(menu.get(), true);
    ASSERT_TRUE(menu->OwnerDraw);
    bool looked = false;
    PopupAndLook(*menu, 200, 150, [&](HWND wnd) {
        looked = true;
        EXPECT_NE(sk::TacMnuWnd::Find(wnd), nullptr);
        sk::TacMenuInfo* info = sk::FindMenuInfoByWindow(wnd);
        ASSERT_NE(info, nullptr);
        RECT r;
        GetWindowRect(wnd, &r);
        const int w = r.right - r.left, h = r.bottom - r.top;
        ASSERT_TRUE(sk::PictureFits(info->Bmp.get(), w, h));
        // The region loses the mask's key-coloured corner pixel and keeps the rest.
        HRGN rgn = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(GetWindowRgn(wnd, rgn), ERROR);
        EXPECT_FALSE(PtInRegion(rgn, 0, 0));
        EXPECT_TRUE(PtInRegion(rgn, 1, 0));
        EXPECT_TRUE(PtInRegion(rgn, w - 1, h - 1));
        DeleteObject(rgn);
        // Frame pixels on the screen are the picture's.
        for (POINT p : {POINT{1, h / 2}, POINT{w / 2, 1}, POINT{w - 2, h / 2}, POINT{w / 2, h - 2}}) {
            SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
            EXPECT_EQ(WindowPixel(wnd, p.x, p.y), PicturePixel(*info->Bmp, p.x, p.y));
        }
        // The picture: the icon strip right of the frame, the menu colour beyond it.
        EXPECT_EQ(PicturePixel(*info->Bmp, 4, h / 2), kIcoLineColor);
        EXPECT_EQ(PicturePixel(*info->Bmp, Menus().IcoLineWidth() + 6, h / 2), kMenuColor);
        EXPECT_FALSE(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED);  // opacity 255: not layered
    });
    EXPECT_TRUE(looked);
    EXPECT_TRUE(sk::MenuInfoList().empty());  // the pictures go with the menu window
    EXPECT_EQ(sk::TacMnuWnd::Count(), 0);
    Menus().HookPopupMenu(menu.get(), false);
    EXPECT_FALSE(menu->OwnerDraw);
    EXPECT_FALSE(menu->Items()->Items(0)->OnMeasureItem);
}

TEST_F(PopupTest, NormalItemTakesTheItemSectionsFaceAndTheHotFaceWhenSelected) {
    auto menu = MakeMenu({L"Open", L"Save", L"Close"});
    Menus().HookPopupMenu(menu.get(), true);
    rd::TColor normal = 0, hot = 0;
    auto probe = [](HWND wnd) {  // a point of the first item right of its text, away from text
        RECT r;
        GetWindowRect(wnd, &r);
        return WindowPixel(wnd, r.right - r.left - 8, 8);
    };
    PopupWithSteps(*menu, 200, 150,
                   {[&](HWND wnd) {
                        normal = probe(wnd);
                        PressKey(wnd, VK_DOWN);
                    },
                    [&](HWND wnd) { hot = probe(wnd); }});
    EXPECT_EQ(normal, kItemColor);
    EXPECT_EQ(hot, kItemHotColor);
}

TEST_F(PopupTest, OpacityBelowFullMakesTheMenuLayeredAfterItsFirstFramePaint) {
    Manager().MenuSupport.AlphaBlend = 200;
    auto menu = MakeMenu({L"Open", L"Close"});
    Menus().HookPopupMenu(menu.get(), true);
    BYTE alpha = 0;
    DWORD flags = 0;
    bool layered = false;
    PopupAndLook(*menu, 200, 150, [&](HWND wnd) {
        layered = (GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
        GetLayeredWindowAttributes(wnd, nullptr, &alpha, &flags);
        sk::TacMnuWnd* wrapper = sk::TacMnuWnd::Find(wnd);
        ASSERT_NE(wrapper, nullptr);
        EXPECT_TRUE(wrapper->Shown);
        EXPECT_FALSE(wrapper->Hidden());
    });
    EXPECT_TRUE(layered);
    EXPECT_EQ(alpha, 200);
    EXPECT_TRUE(flags & LWA_ALPHA);
}

TEST_F(PopupTest, SkinWithoutMenuSectionsKeepsThePlatformsMenu) {
    UseSkin(TMenuSkin::NoMenuSections);
    auto menu = MakeMenu({L"Open", L"-", L"Close"});
    Menus().HookPopupMenu(menu.get(), true);
    EXPECT_FALSE(menu->OwnerDraw);
    EXPECT_FALSE(menu->Items()->Items(0)->OnAdvancedDrawItem);
    bool looked = false;
    tk::TMenuItem* chosen = PopupWithSteps(*menu, 200, 150,
                                           {[&](HWND wnd) {
                                                looked = true;
                                                PressKey(wnd, VK_DOWN);
                                                PressKey(wnd, VK_RETURN);
                                            }},
                                           false);
    EXPECT_TRUE(looked);
    EXPECT_EQ(chosen, menu->Items()->Items(0));  // still usable
    EXPECT_TRUE(sk::MenuInfoList().empty());
}

}  // namespace

namespace {

using namespace kvmenus;

// Closing a submenu frees every menu picture; the parent menu, still open, is redrawn and its
// picture made again by its next item paint.
TEST_F(PopupTest, ClosingASubmenuFreesThePicturesAndTheParentRebuildsItsOwn) {
    auto menu = MakeMenu({L"File", L"Exit"});
    tk::TMenuItem* file = menu->Items()->Items(0);
    for (const wchar_t* caption : {L"New", L"Open"}) {
        auto* sub = new tk::TMenuItem(menu.get());
        sub->Caption = caption;
        file->Add(sub);
    }
    Menus().HookPopupMenu(menu.get(), true);
    HWND parent = nullptr;
    size_t withSubmenu = 0, afterClose = 0;
    bool parentRebuilt = false, parentFits = false;
    PopupWithSteps(*menu, 200, 150,
                   {[&](HWND wnd) {
                        parent = wnd;
                        PressKey(wnd, VK_DOWN);
                        PressKey(wnd, VK_RIGHT);  // opens the submenu
                    },
                    [&](HWND) {
                        withSubmenu = sk::MenuInfoList().size();
                        PressKey(parent, VK_LEFT);  // closes it
                    },
                    [&](HWND) {
                        afterClose = sk::MenuInfoList().size();
                        sk::TacMenuInfo* info = sk::FindMenuInfoByWindow(parent);
                        parentRebuilt = info && info->FirstItem == file;
                        parentFits = info && sk::PictureFitsWindow(info->Bmp.get(), parent);
                    }});
    EXPECT_EQ(withSubmenu, 2u);
    EXPECT_EQ(afterClose, 1u);
    EXPECT_TRUE(parentRebuilt);
    EXPECT_TRUE(parentFits);
}

}  // namespace
