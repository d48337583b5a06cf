// Each open menu's picture: what it is composed of, the extra-line rule, when it goes away,
// and the menu window's wrapper: its sub-commands, its region only from a picture of its size,
// and its opacity on show and at the first frame paint.
#include <gtest/gtest.h>

#include "menus/acMnuWnd.h"
#include "tests/win_menus/MenusFixture.h"
#include "toolkit/Application.h"

namespace {

using namespace kvmenus;

// A menu window of the platform's class, made directly; the manager's hook wraps it.
HWND MakeMenuWindow(int width, int height) {
    return CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, L"#32768", L"", WS_POPUP, 500, 300, width, height,
                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

class BackgroundTest : public testing::Test {
protected:
    void SetUp() override {
        UseSkin(TMenuSkin::Full);
        Manager().MenuSupport.UseExtraLine = false;
        Manager().MenuSupport.AlphaBlend = 255;
        sk::ClearMenuInfoList();
    }
    void TearDown() override {
        Manager().MenuSupport.UseExtraLine = false;
        sk::ClearMenuInfoList();
        sk::MenusMeasuring = false;
    }
    sk::TacMenuInfo* InfoWithoutWindow(tk::TPopupMenu& menu) {
        HDC dc = GetDC(nullptr);
        tk::TCanvas canvas(dc);
        sk::TacMenuInfo* info = Menus().GetMenuInfo(menu.Items()->Items(0), nullptr, &canvas);
        ReleaseDC(nullptr, dc);
        return info;
    }
};

TEST_F(BackgroundTest, PictureHasFrameIconStripAndMenuColour) {
    auto menu = MakeMenu({L"Open", L"-", L"Close"});
    sk::TacMenuInfo* info = InfoWithoutWindow(*menu);
    ASSERT_NE(info, nullptr);
    ASSERT_TRUE(info->Bmp && info->Bmp->Row0());
    const int h = info->Bmp->Height();
    EXPECT_EQ(sk::MenuInfoList().size(), 1u);
    EXPECT_EQ(info->FirstItem, menu->Items()->Items(0));
    EXPECT_EQ(Menus().IcoLineWidth(), 2 + 16 + 8);
    EXPECT_EQ(PicturePixel(*info->Bmp, 3, h / 2), kIcoLineColor);
    EXPECT_EQ(PicturePixel(*info->Bmp, 3 + 25, h / 2), kIcoLineColor);
    EXPECT_EQ(PicturePixel(*info->Bmp, 3 + 26, h / 2), kMenuColor);
    EXPECT_NE(PicturePixel(*info->Bmp, 1, h / 2), kMenuColor);  // the border mask's ring
    // The mask's key-coloured corner pixel is what the window region loses.
    ASSERT_FALSE(info->CutOuts.empty());
    EXPECT_EQ(info->CutOuts[0].Left, 0);
    EXPECT_EQ(info->CutOuts[0].Top, 0);
    // Looked up again, the same entry: the picture is made once per menu.
    EXPECT_EQ(InfoWithoutWindow(*menu), info);
    EXPECT_EQ(sk::MenuInfoList().size(), 1u);
}

TEST_F(BackgroundTest, ExtraLineMovesTheIconStripExceptInASkinSelectMenu) {
    Manager().MenuSupport.UseExtraLine = true;
    auto menu = MakeMenu({L"Open", L"Close"});
    sk::TacMenuInfo* info = InfoWithoutWindow(*menu);
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(info->HaveExtraLine);
    EXPECT_EQ(Menus().ExtraWidth(info), 32);
    const int h = info->Bmp->Height();
    EXPECT_NE(PicturePixel(*info->Bmp, 3, h / 2), kIcoLineColor);
    EXPECT_EQ(PicturePixel(*info->Bmp, 3 + 32, h / 2), kIcoLineColor);

    auto skins = MakeMenu({L"Velmora", L"Other"});
    skins->Items()->Items(0)->SetName(L"SkinSelectItem");
    sk::TacMenuInfo* plain = InfoWithoutWindow(*skins);
    ASSERT_NE(plain, nullptr);
    EXPECT_FALSE(plain->HaveExtraLine);
    EXPECT_EQ(Menus().ExtraWidth(plain), 0);
    EXPECT_EQ(PicturePixel(*plain->Bmp, 3, plain->Bmp->Height() / 2), kIcoLineColor);
}

TEST_F(BackgroundTest, DestroyingAnyMenuWindowFreesEveryPictureAndTheLastFreesTheWrappers) {
    auto menu = MakeMenu({L"Open", L"Close"});
    auto other = MakeMenu({L"Cut", L"Copy", L"Paste"});
    InfoWithoutWindow(*menu);
    InfoWithoutWindow(*other);
    ASSERT_EQ(sk::MenuInfoList().size(), 2u);
    HWND first = MakeMenuWindow(120, 60), second = MakeMenuWindow(120, 60);
    ASSERT_NE(sk::TacMnuWnd::Find(first), nullptr);
    ASSERT_NE(sk::TacMnuWnd::Find(second), nullptr);
    sk::MenusMeasuring = true;
    DestroyWindow(first);
    EXPECT_TRUE(sk::MenuInfoList().empty());
    EXPECT_FALSE(sk::MenusMeasuring);
    EXPECT_EQ(sk::TacMnuWnd::Count(), 2);  // one window is still alive
    DestroyWindow(second);
    EXPECT_EQ(sk::TacMnuWnd::Count(), 0);
}

TEST_F(BackgroundTest, WrapperAnswersItsSubCommands) {
    HWND wnd = MakeMenuWindow(120, 60);
    ASSERT_NE(sk::TacMnuWnd::Find(wnd), nullptr);
    auto cmd = [wnd](WORD sub) { return SendMessageW(wnd, sk::SM_SKINCMD, sk::SkinCmdWParam(sub), 0); };
    EXPECT_EQ(cmd(sk::SC_ISHANDLED), 1);
    EXPECT_EQ(cmd(sk::SC_GETAPPLICATION), reinterpret_cast<LRESULT>(tk::Application));
    EXPECT_EQ(cmd(sk::kMnuGetRgnChanged), 0);
    cmd(sk::kMnuSetRgnChanged);  // not visible: nothing was applied where it shows
    EXPECT_EQ(cmd(sk::kMnuGetRgnChanged), 0);
    ShowWindow(wnd, SW_SHOWNA);
    cmd(sk::kMnuSetRgnChanged);
    EXPECT_EQ(cmd(sk::kMnuGetRgnChanged), 1);
    DestroyWindow(wnd);
}

// A picture that is empty or of another size than the window cuts no region: an empty region
// would make the menu invisible.
TEST_F(BackgroundTest, RegionOnlyFromAPictureOfTheWindowsSize) {
    HWND wnd = MakeMenuWindow(120, 60);
    ShowWindow(wnd, SW_SHOWNA);
    auto menu = MakeMenu({L"Open", L"Close"});
    struct Row {
        const char* Rule;
        int Width, Height;
        bool Region;
    } rows[] = {{"empty picture", 0, 0, false}, {"another size", 80, 40, false}, {"the window's size", 120, 60, true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.Rule);
        sk::ClearMenuInfoList();
        SetWindowRgn(wnd, nullptr, FALSE);
        SendMessageW(wnd, WM_ERASEBKGND, 0, 0);  // clears the wrapper's "region applied"
        sk::TacMenuInfo* info = Menus().PrepareMenuBG(menu->Items()->Items(0), r.Width, r.Height, wnd);
        ASSERT_NE(info, nullptr);
        HRGN rgn = CreateRectRgn(0, 0, 0, 0);
        const int kind = GetWindowRgn(wnd, rgn);
        EXPECT_EQ(kind != ERROR, r.Region);
        if (r.Region) {
            EXPECT_FALSE(PtInRegion(rgn, 0, 0));
            EXPECT_TRUE(PtInRegion(rgn, 60, 30));
        }
        DeleteObject(rgn);
    }
    DestroyWindow(wnd);
}

// Shown while items are being measured, the window is hidden at opacity 0; its first frame
// paint brings it back even when another menu's end has cleared the measuring mark meanwhile.
TEST_F(BackgroundTest, HiddenOnShowAndAlwaysBroughtBackAtTheFirstFramePaint) {
    struct Row {
        const char* Rule;
        int AlphaBlend;
        bool StillMeasuring;
        bool Layered;
    } rows[] = {
        {"opaque", 255, true, false},
        {"opaque, measuring mark cleared", 255, false, false},
        {"translucent", 180, true, true},
        {"translucent, measuring mark cleared", 180, false, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.Rule);
        Manager().MenuSupport.AlphaBlend = r.AlphaBlend;
        HWND wnd = MakeMenuWindow(120, 60);
        sk::TacMnuWnd* wrapper = sk::TacMnuWnd::Find(wnd);
        ASSERT_NE(wrapper, nullptr);
        sk::MenusMeasuring = true;
        // The show as the window sees it first: hidden at opacity 0 until its frame is painted.
        WINDOWPOS pos{wnd, nullptr, 500, 300, 120, 60, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW};
        SendMessageW(wnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
        EXPECT_TRUE(wrapper->Hidden());
        BYTE hiddenAlpha = 255;
        GetLayeredWindowAttributes(wnd, nullptr, &hiddenAlpha, nullptr);
        EXPECT_EQ(hiddenAlpha, 0);
        EXPECT_FALSE(wrapper->Shown);
        sk::MenusMeasuring = r.StillMeasuring;
        ShowWindow(wnd, SW_SHOWNA);
        RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
        PumpFor(20);
        EXPECT_FALSE(wrapper->Hidden());
        EXPECT_TRUE(wrapper->Shown);
        const bool layered = (GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
        EXPECT_EQ(layered, r.Layered);
        if (layered) {
            BYTE alpha = 0;
            GetLayeredWindowAttributes(wnd, nullptr, &alpha, nullptr);
            EXPECT_EQ(alpha, r.AlphaBlend);
        }
        DestroyWindow(wnd);
    }
    Manager().MenuSupport.AlphaBlend = 255;
}

// A menu whose items were measured gets its picture when its window is shown; an opaque one is
// then painted from the picture at once and is not hidden (nothing unskinned could show). Without
// a picture it is hidden as the test above shows.
TEST_F(BackgroundTest, AnOpaqueMenuWithItsPictureReadyIsNotHiddenOnShow) {
    struct Row {
        const char* Rule;
        int AlphaBlend;
        bool Measured;
        bool Hidden;
    } rows[] = {
        {"opaque, picture ready", 255, true, false},
        {"translucent, picture ready", 180, true, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.Rule);
        sk::ClearMenuInfoList();
        Manager().MenuSupport.AlphaBlend = r.AlphaBlend;
        auto menu = MakeMenu({L"Open", L"Close"});
        sk::MenusMeasuring = true;
        if (r.Measured) {
            HDC dc = GetDC(nullptr);
            tk::TCanvas canvas(dc);
            int w = 0, h = 0;
            Menus().sMeasureItem(menu->Items()->Items(0), canvas, w, h);
            ReleaseDC(nullptr, dc);
        }
        HWND wnd = MakeMenuWindow(120, 60);
        sk::TacMnuWnd* wrapper = sk::TacMnuWnd::Find(wnd);
        ASSERT_NE(wrapper, nullptr);
        WINDOWPOS pos{wnd, nullptr, 500, 300, 130, 70, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW};
        SendMessageW(wnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
        EXPECT_EQ(wrapper->Hidden(), r.Hidden);
        EXPECT_EQ((GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0, r.Hidden);
        const sk::TacMenuInfo* info = sk::FindMenuInfoByWindow(wnd);
        EXPECT_EQ(info && sk::PictureFits(info->Bmp.get(), 130, 70), r.Measured) << "made for the size being taken";
        DestroyWindow(wnd);
    }
    Manager().MenuSupport.AlphaBlend = 255;
}

}  // namespace
