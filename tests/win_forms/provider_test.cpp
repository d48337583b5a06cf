// The provider on real windows: attachment by the hook, the region from the skin's corners,
// hit tests of every part of the frame, the client offset and background answers, active and
// inactive pictures, skins that lack frame sections, and the caption button under real mouse
// input (hover fade, press, move off, release).
#include <gtest/gtest.h>

#include "forms/sTitleAnimation.h"
#include "skinframework/sVclUtils.h"
#include "tests/win_forms/FormsFixture.h"

namespace {

using namespace kvforms;

// One skinned form for all cases: top-level windows are slow to come and go under Xvfb.
class ProviderTest : public testing::Test {
protected:
    static void SetUpTestSuite() { form = new TFrameForm; }
    static void TearDownTestSuite() {
        delete form;
        form = nullptr;
    }
    void SetUp() override {
        UseSkin(TFrameSkin::Full);
        if (!IsWindowVisible(form->Handle())) form->Show();
        SetForegroundWindow(form->Handle());
        PumpFor(50);
        provider = ProviderOf(form->Handle());
        ASSERT_NE(provider, nullptr);
    }
    HWND Window() const { return form->Handle(); }
    RECT WindowRect() const {
        RECT r;
        GetWindowRect(Window(), &r);
        return r;
    }
    POINT ClientOrigin() const {
        POINT p{0, 0};
        ClientToScreen(Window(), &p);
        return p;
    }
    LRESULT HitAt(int windowX, int windowY) const {
        const RECT r = WindowRect();
        return SendMessageW(Window(), WM_NCHITTEST, 0, MAKELPARAM(r.left + windowX, r.top + windowY));
    }
    static TFrameForm* form;
    sk::TsSkinProvider* provider = nullptr;
};

TFrameForm* ProviderTest::form = nullptr;

TEST(ProviderAttach, OnFirstActivationNotAtCreation) {
    TFrameForm later(0, false);
    EXPECT_EQ(ProviderOf(later.Handle()), nullptr);
    SetForegroundWindow(later.Handle());
    SetActiveWindow(later.Handle());
    PumpFor(50);
    EXPECT_NE(ProviderOf(later.Handle()), nullptr);
}

TEST(ProviderAttach, NeverForTag256) {
    TFrameForm helper(256);
    EXPECT_EQ(ProviderOf(helper.Handle()), nullptr);
}

TEST_F(ProviderTest, GeometryIsTheSystemsDialogFrameAndCaption) {
    const sk::TFrameGeometry g = provider->Geometry();
    EXPECT_EQ(g.FrameWidth, GetSystemMetrics(SM_CXDLGFRAME));
    EXPECT_EQ(g.CaptionHeight, GetSystemMetrics(SM_CYCAPTION));
    const RECT r = WindowRect();
    const POINT client = ClientOrigin();
    EXPECT_EQ(g.OffsetX, client.x - r.left);
    EXPECT_EQ(g.OffsetY, client.y - r.top);
    const LRESULT packed = sk::SendSkinCmd(Window(), sk::SC_GETCLIENTOFFSET);
    EXPECT_EQ(LOWORD(packed), g.OffsetX);
    EXPECT_EQ(HIWORD(packed), g.OffsetY);
}

TEST_F(ProviderTest, RegionCutsTheKeyColouredCornerPixel) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(Window(), region), ERROR);
    const RECT r = WindowRect();
    const int w = r.right - r.left, h = r.bottom - r.top;
    EXPECT_FALSE(PtInRegion(region, 0, 0));  // the mask's key-coloured pixel
    EXPECT_TRUE(PtInRegion(region, 1, 0));
    EXPECT_TRUE(PtInRegion(region, w - 1, 0));
    EXPECT_TRUE(PtInRegion(region, 0, h - 1));
    EXPECT_TRUE(PtInRegion(region, w - 1, h - 1));
    DeleteObject(region);
}

TEST_F(ProviderTest, HitTestsOfEveryPartOfTheFrame) {
    const sk::TFrameGeometry g = provider->Geometry();
    const RECT r = WindowRect();
    const int w = r.right - r.left, h = r.bottom - r.top;
    const rd::TRect close = provider->Buttons().Close.Rect;
    ASSERT_TRUE(provider->Buttons().Close.Visible());
    EXPECT_EQ(close.Width(), kCloseSize);
    EXPECT_EQ(close.Right, w - 1 - g.FrameWidth);
    EXPECT_EQ((close.Top + close.Bottom) / 2, g.VCenter);
    struct Row {
        const char* Part;
        int X, Y;
        LRESULT Expected;
    } rows[] = {
        {"close button", (close.Left + close.Right) / 2, (close.Top + close.Bottom) / 2, HTCLOSE},
        {"caption middle", w / 2, g.VCenter, HTCAPTION},
        {"where the platform's own close button lies", w - g.FrameWidth - 18, g.VCenter, HTCAPTION},
        {"icon place without an icon", g.FrameWidth + 4, g.VCenter, HTCAPTION},
        {"client", g.OffsetX + 10, g.OffsetY + 10, HTCLIENT},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Part);
        EXPECT_EQ(HitAt(row.X, row.Y), row.Expected);
    }
    for (POINT border : {POINT{0, h / 2}, POINT{w - 1, h / 2}, POINT{w / 2, h - 1}}) {
        const LRESULT code = HitAt(border.x, border.y);
        EXPECT_NE(code, HTCLIENT);
        EXPECT_FALSE(sk::IsButtonHitCode(int(code)));
    }
}

TEST_F(ProviderTest, ChildrenGetTheClientBackgroundAtTheClientOffset) {
    sk::TacBgRequest request;
    request.Offset = {10, 20};
    sk::SendSkinCmd(Window(), sk::SC_GETBG, reinterpret_cast<LPARAM>(&request));
    ASSERT_EQ(request.BgKind, sk::bgBitmap);
    ASSERT_EQ(request.Bitmap, provider->SkinData().FCacheBmp.get());
    const rd::TPoint offset = provider->ClientOffset();
    EXPECT_EQ(request.Offset.X, 10 + offset.X);
    EXPECT_EQ(request.Offset.Y, 20 + offset.Y);
    // The client shows the same pixels the child is given.
    const POINT client = ClientOrigin();
    RedrawWindow(Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(ScreenPixel(client.x + 10, client.y + 20), CachePixel(*provider, request.Offset.X, request.Offset.Y));
}

TEST_F(ProviderTest, ActiveAndInactivePictures) {
    const RECT r = WindowRect();
    const int x = (r.right - r.left) - 40, y = 1;
    SendMessageW(Window(), WM_NCACTIVATE, TRUE, 0);
    PumpFor(50);  // the window's pixels reach the screen
    EXPECT_TRUE(provider->FormActive());
    EXPECT_EQ(CachePixel(*provider, x, y), kTitleHotColor);
    EXPECT_EQ(ScreenPixel(r.left + x, r.top + y), kTitleHotColor);
    SendMessageW(Window(), WM_NCACTIVATE, FALSE, 0);
    PumpFor(50);
    EXPECT_FALSE(provider->FormActive());
    EXPECT_EQ(CachePixel(*provider, x, y), kTitleColor);
    EXPECT_EQ(ScreenPixel(r.left + x, r.top + y), kTitleColor);
    SendMessageW(Window(), WM_NCACTIVATE, TRUE, 0);
}

TEST_F(ProviderTest, CaptionTextInTheTitleFontColourOfTheState) {
    const sk::TFrameGeometry g = provider->Geometry();
    auto countColour = [&](rd::TColor colour) {
        int n = 0;
        for (int y = g.FrameWidth; y < g.HeaderHeight; ++y)
            for (int x = g.FrameWidth; x < provider->Buttons().Close.Rect.Left; ++x) n += CachePixel(*provider, x, y) == colour;
        return n;
    };
    SendMessageW(Window(), WM_NCACTIVATE, TRUE, 0);
    EXPECT_GT(countColour(kTitleHotFont), 0);
    EXPECT_EQ(countColour(kTitleFont), 0);
    SendMessageW(Window(), WM_NCACTIVATE, FALSE, 0);
    EXPECT_GT(countColour(kTitleFont), 0);
    EXPECT_EQ(countColour(kTitleHotFont), 0);
    EXPECT_EQ(countColour(0x0000FF), 0);  // no glow while inactive
    SendMessageW(Window(), WM_NCACTIVATE, TRUE, 0);
}

TEST_F(ProviderTest, SkinWithoutTitleSectionKeepsTheSystemFrame) {
    UseSkin(TFrameSkin::NoTitle);
    EXPECT_FALSE(provider->FrameSkinned());
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(Window(), region), ERROR);  // no region: the plain rectangle
    DeleteObject(region);
    const RECT r = WindowRect();
    // The platform answers its own caption and buttons again.
    EXPECT_EQ(HitAt((r.right - r.left) / 2, 8), HTCAPTION);
    UseSkin(TFrameSkin::Full);
    EXPECT_TRUE(provider->FrameSkinned());
}

TEST_F(ProviderTest, SkinWithoutButtonMasksStillHasAClosableButton) {
    UseSkin(TFrameSkin::NoButtonMasks);
    ASSERT_TRUE(provider->FrameSkinned());
    provider->PrepareCache();
    const rd::TRect close = provider->Buttons().Close.Rect;
    EXPECT_EQ(close.Width(), sk::kDefaultButtonSize);
    EXPECT_EQ(HitAt((close.Left + close.Right) / 2, (close.Top + close.Bottom) / 2), HTCLOSE);
}

// ---- Real mouse input ----

TEST_F(ProviderTest, HoverFadesTheCloseButtonInAndOut) {
    const RECT r = WindowRect();
    const rd::TRect close = provider->Buttons().Close.Rect;
    MoveTo(r.left + (close.Left + close.Right) / 2, r.top + (close.Top + close.Bottom) / 2);
    EXPECT_EQ(provider->Buttons().Close.State, 1);
    sk::TacSBAnimation* fade = provider->ButtonAnimation(sk::htCloseButton);
    ASSERT_NE(fade, nullptr);
    EXPECT_NE(fade->Window(), nullptr);
    PumpFor(400);  // ten steps of 12 ms, on timers of about 16 ms
    EXPECT_EQ(fade->LastAlpha(), 255);
    MoveTo(r.left + (r.right - r.left) / 2, r.top + close.Top + 2);  // the caption
    EXPECT_EQ(provider->Buttons().Close.State, 0);
    PumpFor(600);
    EXPECT_EQ(fade->Window(), nullptr);  // faded out and destroyed
    EXPECT_EQ(fade->CurrentState, -1);
}

TEST_F(ProviderTest, PressMoveOffReleaseDoesNotClose_ReleaseOverItCloses) {
    const RECT r = WindowRect();
    const rd::TRect close = provider->Buttons().Close.Rect;
    const int cx = r.left + (close.Left + close.Right) / 2, cy = r.top + (close.Top + close.Bottom) / 2;
    MoveTo(cx, cy);
    Button(true);
    EXPECT_EQ(provider->Buttons().Close.State, 2);
    MoveTo(r.left + (r.right - r.left) / 2, cy);
    Button(false);
    EXPECT_TRUE(IsWindowVisible(Window()));
    EXPECT_FALSE(provider->Buttons().Held());

    MoveTo(cx, cy);
    Button(true);
    Button(false);
    EXPECT_FALSE(IsWindowVisible(Window()));  // closed (a form that is not the main one hides)
}

TEST_F(ProviderTest, SystemMenuItemsOfADialog) {
    sk::TsSystemMenu* menu = provider->SystemMenu();
    ASSERT_NE(menu, nullptr);
    struct Row {
        const wchar_t* Name;
        int Tag;
        bool Visible;
    } rows[] = {
        {L"acIR", SC_RESTORE, false}, {L"acIM", SC_MOVE, true},      {L"acIS", SC_SIZE, false},
        {L"acIN", SC_MINIMIZE, false}, {L"acIX", SC_MAXIMIZE, false}, {L"acIC", SC_CLOSE, true},
    };
    menu->UpdateItems();
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.Tag);
        const sk::TsSystemMenuItem* item = menu->Find(row.Name);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->Tag, row.Tag);
        EXPECT_EQ(item->Visible, row.Visible);
    }
    EXPECT_TRUE(menu->Find(L"acIC")->Enabled);
    EXPECT_EQ(menu->Name().rfind(L"acSysMenu", 0), 0u);
}

TEST(SystemMenuRules, ItemsFollowTheWindow) {
    sk::TsSystemMenu menu(nullptr);
    struct Row {
        const char* Rule;
        sk::TSystemMenuState State;
        bool RestoreVisible, RestoreEnabled, SizeVisible, MinVisible, MaxVisible, MaxEnabled, CloseEnabled;
    } rows[] = {
        {"dialog", {false, true, false, false, false, false, true}, false, false, false, false, false, true, true},
        {"sizeable", {true, false, true, true, false, false, true}, true, false, true, true, true, true, true},
        {"maximized", {true, false, true, true, false, true, true}, true, true, true, true, true, false, true},
        {"close disabled", {false, true, false, false, false, false, false}, false, false, false, false, false, true, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.Rule);
        menu.UpdateItems(r.State);
        EXPECT_EQ(menu.Find(L"acIR")->Visible, r.RestoreVisible);
        EXPECT_EQ(menu.Find(L"acIR")->Enabled, r.RestoreEnabled);
        EXPECT_EQ(menu.Find(L"acIS")->Visible, r.SizeVisible);
        EXPECT_EQ(menu.Find(L"acIN")->Visible, r.MinVisible);
        EXPECT_EQ(menu.Find(L"acIX")->Visible, r.MaxVisible);
        EXPECT_EQ(menu.Find(L"acIX")->Enabled, r.MaxEnabled);
        EXPECT_EQ(menu.Find(L"acIC")->Enabled, r.CloseEnabled);
    }
}

}  // namespace
