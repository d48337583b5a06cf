// The provider around activation and the system menu on real windows: the cover window that
// hides the frame while the active state changes (shown and hidden again each time), the
// system menu dropped by a click on the title icon (after the pause the platform's menu needs)
// and by a right click on the caption, and the narrow picture of a minimised form that is not
// the main one.
#include <gtest/gtest.h>

#include <vector>

#include "forms/sCoverWindow.h"
#include "tests/win_forms/FormsFixture.h"

namespace {

using namespace kvforms;

// ---- The cover window, seen through a thread hook as it is shown and hidden ----

struct TCoverSeen {
    RECT Bounds{};
    bool ClientCut = false;       // the form's client centre is outside the cover's region
    bool CaptionCovered = false;  // a caption point is inside it
};

struct TCoverWatch {
    static inline std::vector<TCoverSeen> Shown;
    static inline int Hidden = 0;
    static inline HWND Form = nullptr;
    HHOOK Hook;

    explicit TCoverWatch(HWND form) {
        Shown.clear();
        Hidden = 0;
        Form = form;
        Hook = SetWindowsHookExW(WH_CALLWNDPROC, Proc, nullptr, GetCurrentThreadId());
    }
    ~TCoverWatch() { UnhookWindowsHookEx(Hook); }

    static bool IsCover(HWND h) {
        wchar_t name[64] = {};
        GetClassNameW(h, name, 64);
        return wcscmp(name, sk::TacCoverWindow::ClassName()) == 0;
    }
    static LRESULT CALLBACK Proc(int code, WPARAM wp, LPARAM lp) {
        const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lp);
        if (code == HC_ACTION && msg->message == WM_WINDOWPOSCHANGED && IsCover(msg->hwnd)) {
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(msg->lParam);
            if (pos->flags & SWP_SHOWWINDOW) Shown.push_back(Describe(msg->hwnd));
            if (pos->flags & SWP_HIDEWINDOW) ++Hidden;
        }
        return CallNextHookEx(nullptr, code, wp, lp);
    }
    static TCoverSeen Describe(HWND cover) {
        TCoverSeen seen;
        GetWindowRect(cover, &seen.Bounds);
        RECT fr, cr;
        GetWindowRect(Form, &fr);
        GetClientRect(Form, &cr);
        POINT centre{cr.right / 2, cr.bottom / 2};
        ClientToScreen(Form, &centre);
        HRGN rgn = CreateRectRgn(0, 0, 0, 0);
        if (GetWindowRgn(cover, rgn) != ERROR) {
            seen.ClientCut = !PtInRegion(rgn, centre.x - fr.left, centre.y - fr.top);
            seen.CaptionCovered = PtInRegion(rgn, (fr.right - fr.left) / 2, 8) != 0;
        }
        DeleteObject(rgn);
        return seen;
    }
};

HWND VisibleCover() {
    HWND cover = FindWindowW(sk::TacCoverWindow::ClassName(), nullptr);
    return cover && IsWindowVisible(cover) ? cover : nullptr;
}

TEST(CoverWindow, HidesTheFrameWhileTheActiveStateChanges) {
    UseSkin(TFrameSkin::Full);
    TFrameForm form;
    TFrameForm other;
    SetForegroundWindow(form.Handle());
    PumpFor(80);
    ASSERT_NE(ProviderOf(form.Handle()), nullptr);
    RECT bounds;
    GetWindowRect(form.Handle(), &bounds);

    TCoverWatch watch(form.Handle());
    SetForegroundWindow(other.Handle());  // the form goes inactive
    PumpFor(80);
    SetForegroundWindow(form.Handle());  // and active again
    PumpFor(80);

    ASSERT_GE(TCoverWatch::Shown.size(), 2u);
    EXPECT_EQ(TCoverWatch::Hidden, static_cast<int>(TCoverWatch::Shown.size()));  // never left over the form
    for (const TCoverSeen& seen : TCoverWatch::Shown) {
        EXPECT_TRUE(EqualRect(&seen.Bounds, &bounds));
        EXPECT_TRUE(seen.ClientCut);
        EXPECT_TRUE(seen.CaptionCovered);
    }
    EXPECT_EQ(VisibleCover(), nullptr);
}

TEST(CoverWindow, NotForAFormThatIsOnlyBeingShown) {
    UseSkin(TFrameSkin::Full);
    TCoverWatch watch(nullptr);
    TFrameForm fresh;  // its first activation attaches the provider
    EXPECT_NE(ProviderOf(fresh.Handle()), nullptr);
    EXPECT_TRUE(TCoverWatch::Shown.empty());
}

// ---- The system menu from the icon and the caption ----

// Watches for the menu window while a menu's modal loop runs, and closes it once seen.
struct TMenuWatch {
    static inline bool Opened = false;
    UINT_PTR Timer;
    TMenuWatch() {
        Opened = false;
        Timer = SetTimer(nullptr, 0, 20, Tick);
    }
    ~TMenuWatch() { KillTimer(nullptr, Timer); }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        HWND menu = FindWindowW(L"#32768", nullptr);
        if (menu && IsWindowVisible(menu) && !Opened) {
            Opened = true;
            EndMenu();
        }
    }
};

class SystemMenuInput : public testing::Test {
protected:
    void SetUp() override {
        UseSkin(TFrameSkin::Full);
        form = std::make_unique<TFrameForm>();
        // The test program has no icon of its own: give the caption one to click.
        SendMessageW(form->Handle(), WM_SETICON, ICON_SMALL,
                     reinterpret_cast<LPARAM>(LoadIconW(nullptr, MAKEINTRESOURCEW(32512))));
        SetForegroundWindow(form->Handle());
        PumpFor(80);
        provider = ProviderOf(form->Handle());
        ASSERT_NE(provider, nullptr);
        GetWindowRect(form->Handle(), &bounds);
    }
    void TearDown() override { Manager().SkinnedPopups = true; }
    POINT IconCentre() const {
        const sk::TFrameGeometry g = provider->Geometry();
        return {bounds.left + (g.IconRect.Left + g.IconRect.Right) / 2,
                bounds.top + (g.IconRect.Top + g.IconRect.Bottom) / 2};
    }
    std::unique_ptr<TFrameForm> form;
    sk::TsSkinProvider* provider = nullptr;
    RECT bounds{};
};

TEST_F(SystemMenuInput, AClickOnTheIconDropsIt) {
    const POINT icon = IconCentre();
    ASSERT_EQ(SendMessageW(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(icon.x, icon.y)), HTSYSMENU);
    TMenuWatch watch;
    MoveTo(icon.x, icon.y);
    Button(true);
    Button(false);
    PumpFor(300);
    EXPECT_TRUE(TMenuWatch::Opened);
}

TEST_F(SystemMenuInput, WithThePlatformsMenuItDropsOnlyAfterAPause) {
    Manager().SkinnedPopups = false;
    const POINT icon = IconCentre();
    TMenuWatch watch;
    MoveTo(icon.x, icon.y);
    Button(true);  // the press is handled at once; the menu waits for the pause
    EXPECT_FALSE(TMenuWatch::Opened);
    Button(false);
    PumpFor(400);
    EXPECT_TRUE(TMenuWatch::Opened);
}

TEST_F(SystemMenuInput, ARightClickOnTheCaptionDropsIt) {
    const int x = (bounds.left + bounds.right) / 2, y = bounds.top + provider->Geometry().HeaderHeight / 2;
    ASSERT_EQ(SendMessageW(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(x, y)), HTCAPTION);
    TMenuWatch watch;
    MoveTo(x, y);
    Button(true, true);
    Button(false, true);
    PumpFor(300);
    EXPECT_TRUE(TMenuWatch::Opened);
}

// ---- A minimised form ----

TEST(IconicForm, ANonMainFormKeepsANarrowPicture) {
    UseSkin(TFrameSkin::Full);
    TFrameForm form;
    sk::TsSkinProvider* provider = ProviderOf(form.Handle());
    ASSERT_NE(provider, nullptr);
    ASSERT_NE(tk::Application->MainForm(), &form);
    ShowWindow(form.Handle(), SW_MINIMIZE);
    PumpFor(100);
    ASSERT_TRUE(IsIconic(form.Handle()));
    EXPECT_EQ(provider->CaptionWidth(), 160);
    provider->SkinData().BGChanged = true;
    ASSERT_TRUE(provider->PrepareCache());
    EXPECT_EQ(provider->SkinData().FCacheBmp->Width(), 160);
    const sk::TFrameGeometry g = provider->Geometry();
    EXPECT_EQ(provider->SkinData().FCacheBmp->Height(), g.BorderWidth + g.CaptionHeight + 2);
    ShowWindow(form.Handle(), SW_RESTORE);
    PumpFor(100);
    EXPECT_GT(provider->CaptionWidth(), 160 + 100);  // back to the form's own width
}

}  // namespace
