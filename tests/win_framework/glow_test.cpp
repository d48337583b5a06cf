// Glow windows: where they go and how large they are, what they show, that clicks pass through
// them, and the glow list's identities.
#include <gtest/gtest.h>
#include <png.h>

#include <memory>
#include <string>
#include <vector>

#include "skin/acSkinPack.h"
#include "skinframework/acGlow.h"
#include "tests/common/SyntheticInput.h"
#include "tests/win_framework/FrameworkFixture.h"
#include "tests/win_framework/TestControls.h"
#include "toolkit/Application.h"

using namespace sk;

namespace {

// The glow mask: margins left 6, top 5, right 8, bottom 7 over a 24 x 22 image whose top-left
// corner pixel is half transparent.
constexpr int kMaskLeft = 6, kMaskTop = 5, kMaskRight = 8, kMaskBottom = 7;
constexpr int kGlowImageWidth = 24, kGlowImageHeight = 22;
constexpr uint8_t kCornerRed = 200, kCornerGreen = 100, kCornerBlue = 50, kCornerAlpha = 128;

// An RGBA PNG of the glow image.
std::vector<uint8_t> GlowPng() {
    std::vector<uint8_t> rgba(size_t(kGlowImageWidth) * kGlowImageHeight * 4);
    for (size_t i = 0; i < rgba.size(); i += 4) {
        rgba[i] = 90, rgba[i + 1] = 160, rgba[i + 2] = 240, rgba[i + 3] = 64;
    }
    rgba[0] = kCornerRed, rgba[1] = kCornerGreen, rgba[2] = kCornerBlue, rgba[3] = kCornerAlpha;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = kGlowImageWidth;
    image.height = kGlowImageHeight;
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr));
    std::vector<uint8_t> out(size);
    EXPECT_TRUE(png_image_write_to_memory(&image, out.data(), &size, 0, rgba.data(), 0, nullptr));
    out.resize(size);
    return out;
}

std::string GlowSkinOptions() {
    const std::string glowMask = "GLOW0=!GLOWTEST.PNG!1!0!4!" + std::to_string(kMaskLeft) + "!" + std::to_string(kMaskTop) +
                                 "!" + std::to_string(kMaskRight) + "!" + std::to_string(kMaskBottom) + "!0\n";
    return "[GLOBALINFO]\nVERSION=7.20\nCOLOR=4210752\n"
           "[FORM]\nSTATES=1\nCOLOR=4210752\n"
           "[PLAIN]\nSTATES=2\nCOLOR=2117760\nGLOW=1\n"
           "[GLOWING]\nSTATES=2\nCOLOR=2117760\nGLOW=1\nGLOWMARGIN=2\n" + glowMask +
           "[WIDEGLOW]\nSTATES=2\nCOLOR=2117760\nGLOW=1\nGLOWMARGIN=200\n" + glowMask;
}

std::unique_ptr<TsSkinManager> GlowSkinManager() {
    const std::string options = GlowSkinOptions();
    auto manager = std::make_unique<TsSkinManager>(nullptr);
    manager->BeginLoading();
    manager->Core().InternalSkins().push_back(
        {L"Glow test", PackSkin({{L"Options.dat", TBytes(options.begin(), options.end())}, {L"GLOWTEST.PNG", GlowPng()}})});
    manager->Core().SetSkinName(L"Glow test");
    manager->Loaded();
    return manager;
}

BOOL CALLBACK AddVisibleWindow(HWND h, LPARAM list) {
    if (IsWindowVisible(h)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(h);
    return TRUE;
}

// Every visible top-level window of this thread.
std::vector<HWND> ThreadWindows() {
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), AddVisibleWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

RECT ScreenRect(tk::TWinControl* control) {
    RECT r;
    GetWindowRect(control->Handle(), &r);
    return r;
}

RECT WholeOf(const RECT& r) { return {0, 0, r.right - r.left, r.bottom - r.top}; }

template <class Done> void PumpUntil(Done done) {
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < 10000) {
        tk::Application->ProcessMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

struct GlowFixture : ::testing::Test {
    std::unique_ptr<TsSkinManager> manager = GlowSkinManager();
    std::unique_ptr<kvfw::TTestForm> form = std::make_unique<kvfw::TTestForm>();
    kvfw::TTestWinControl* control = new kvfw::TTestWinControl(form.get(), kvfw::kButtonKind, RECT{100, 100, 160, 130}, L"GLOWING");

    void SetUp() override {
        ASSERT_TRUE(LayeredWindowsAvailable());
        kvfw::PumpMessages();
    }
    void TearDown() override {
        ClearGlows(true);
        kvfw::PumpMessages();
    }
    int Show(const std::wstring& section, int margin, RECT visible) {
        return ShowGlow(ScreenRect(control), visible, section, &control->SkinData, form->Handle(), 255, margin, L"GLOW");
    }
    int ShowWhole(const std::wstring& section = L"GLOWING", int margin = 2) {
        return Show(section, margin, WholeOf(ScreenRect(control)));
    }
};

}  // namespace

TEST(GlowLayout, SizesPositionsAndCuts) {
    const TGlowMargins m{6, 5, 8, 7};
    const RECT r{100, 200, 160, 230};  // 60 x 30 on the screen
    struct Case {
        const char* what;
        RECT visible;
        int margin;
        int width, height, cutLeft, cutTop;
        POINT position;
        int usedMargin;
    } cases[] = {
        {"fully visible", {0, 0, 60, 30}, 2, 60 + 6 + 8 - 4, 30 + 5 + 7 - 4, 0, 0, {100 - 6 + 2, 200 - 5 + 2}, 2},
        {"no pull-in", {0, 0, 60, 30}, 0, 74, 42, 0, 0, {94, 195}, 0},
        {"top-left scrolled out", {10, 4, 60, 30}, 2, 60 - 10 + 8 - 2, 30 - 4 + 7 - 2, 6 - 2 + 10, 5 - 2 + 4, {110, 204}, 2},
        {"right and bottom cut", {0, 0, 40, 20}, 2, 6 - 2 + 40, 5 - 2 + 20, 0, 0, {96, 197}, 2},
        {"all four sides cut", {5, 6, 50, 25}, 1, 45, 19, 6 - 1 + 5, 5 - 1 + 6, {105, 206}, 1},
        {"pull-in beyond the smallest margin", {0, 0, 60, 30}, 200, 60 + 6 + 8 - 10, 30 + 5 + 7 - 10, 0, 0, {99, 200}, 5},
        {"negative pull-in", {0, 0, 60, 30}, -7, 74, 42, 0, 0, {94, 195}, 0},
        {"visible part past the control", {-20, -20, 90, 90}, 2, 70, 38, 0, 0, {96, 197}, 2},
    };
    for (const auto& c : cases) {
        const TGlowLayout l = ComputeGlowLayout(r, c.visible, m, c.margin);
        EXPECT_EQ(l.Width, c.width) << c.what;
        EXPECT_EQ(l.Height, c.height) << c.what;
        EXPECT_EQ(l.CutLeft, c.cutLeft) << c.what;
        EXPECT_EQ(l.CutTop, c.cutTop) << c.what;
        EXPECT_EQ(l.Position.x, c.position.x) << c.what;
        EXPECT_EQ(l.Position.y, c.position.y) << c.what;
        EXPECT_EQ(l.Margin, c.usedMargin) << c.what;
        // The part shown always lies inside the whole glow.
        EXPECT_GE(l.CutLeft, 0) << c.what;
        EXPECT_LE(l.CutLeft + l.Width, l.FullWidth) << c.what;
        EXPECT_LE(l.CutTop + l.Height, l.FullHeight) << c.what;
    }
}

TEST(GlowLayout, NothingToShow) {
    const TGlowMargins m{6, 5, 8, 7};
    struct Case {
        const char* what;
        RECT rect, visible;
    } cases[] = {
        {"control of no width", {10, 10, 10, 40}, {0, 0, 0, 30}},
        {"control of negative height", {10, 40, 50, 10}, {0, 0, 40, 0}},
        {"nothing visible", {10, 10, 50, 40}, {0, 0, 0, 0}},
        {"visible part inverted", {10, 10, 50, 40}, {30, 10, 20, 20}},
        {"visible part beside the control", {10, 10, 50, 40}, {45, 0, 60, 30}},
    };
    for (const auto& c : cases) EXPECT_TRUE(ComputeGlowLayout(c.rect, c.visible, m, 2).Empty()) << c.what;
}

TEST_F(GlowFixture, ASectionWithoutAGlowMaskShowsNothing) {
    const std::vector<HWND> before = ThreadWindows();
    EXPECT_EQ(ShowWhole(L"PLAIN"), -1);
    EXPECT_EQ(ShowWhole(L"NOSUCHSECTION"), -1);
    EXPECT_EQ(ShowGlow(ScreenRect(control), WholeOf(ScreenRect(control)), L"GLOWING", nullptr, form->Handle(), 255, 2,
                       L"GLOW"),
              -1)
        << "no common data";
    EXPECT_EQ(ThreadWindows(), before);
}

TEST_F(GlowFixture, AFullyVisibleControlGetsAWindowOfItsSizePlusTheMargins) {
    int id = ShowWhole();
    ASSERT_GE(id, 0);
    HWND glow = GlowWindow(id);
    ASSERT_NE(glow, nullptr);
    const RECT c = ScreenRect(control);
    RECT g;
    GetWindowRect(glow, &g);
    EXPECT_EQ(g.left, c.left - kMaskLeft + 2);
    EXPECT_EQ(g.top, c.top - kMaskTop + 2);
    EXPECT_EQ(g.right, c.right + kMaskRight - 2);
    EXPECT_EQ(g.bottom, c.bottom + kMaskBottom - 2);
    EXPECT_TRUE(IsWindowVisible(glow));
    const LONG_PTR ex = GetWindowLongPtrW(glow, GWL_EXSTYLE);
    const LONG_PTR styles[] = {WS_EX_LAYERED, WS_EX_TRANSPARENT, WS_EX_TOOLWINDOW, WS_EX_NOACTIVATE};
    for (LONG_PTR style : styles)
        EXPECT_EQ(ex & style, style) << std::hex << style;
    EXPECT_EQ(GetWindow(form->Handle(), GW_HWNDPREV), glow) << "just above its owner";
    EXPECT_NE(GetForegroundWindow(), glow) << "never activated";
    HideGlow(id);
}

TEST_F(GlowFixture, AControlScrolledPartlyOutOfViewGlowsFromTheCut) {
    const RECT c = ScreenRect(control);
    const int id = Show(L"GLOWING", 2, RECT{12, 9, 60, 30});
    ASSERT_GE(id, 0);
    RECT g;
    GetWindowRect(GlowWindow(id), &g);
    EXPECT_EQ(g.left, c.left + 12);
    EXPECT_EQ(g.top, c.top + 9);
    EXPECT_EQ(g.right, c.right + kMaskRight - 2);
    EXPECT_EQ(g.bottom, c.bottom + kMaskBottom - 2);
}

TEST_F(GlowFixture, AGlowMarginBeyondTheMaskMarginsIsLimited) {
    const int id = ShowWhole(L"WIDEGLOW", 200);
    ASSERT_GE(id, 0);
    const RECT c = ScreenRect(control);
    RECT g;
    GetWindowRect(GlowWindow(id), &g);
    const int pull = kMaskTop;  // the smallest of the four margins
    EXPECT_EQ(g.right - g.left, (c.right - c.left) + kMaskLeft + kMaskRight - 2 * pull);
    EXPECT_EQ(g.bottom - g.top, (c.bottom - c.top) + kMaskTop + kMaskBottom - 2 * pull);
}

TEST_F(GlowFixture, TheShownPixelsArePremultipliedOnce) {
    const TSkinModel& model = manager->Model();
    const int mask = model.GetMaskIndex(model.GetSkinIndex(L"GLOWING"), L"GLOWING", L"GLOW0");
    ASSERT_GE(mask, 0);
    // No pull-in and nothing cut: pixel (0, 0) shows the image's top-left corner pixel.
    TacGlowEffect effect(manager.get(), &control->SkinData, mask, 0);
    const RECT c = ScreenRect(control);
    std::unique_ptr<TacCacheBitmap> shown = effect.ShownBitmap(ComputeGlowLayout(c, WholeOf(c), effect.MaskMargins(), 0));
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->Width(), c.right - c.left + kMaskLeft + kMaskRight);
    const uint32_t p = shown->ScanLine(0)[0];
    auto premultiplied = [](int channel) { return channel * kCornerAlpha / 255; };
    EXPECT_EQ(p >> 24, kCornerAlpha);
    EXPECT_NEAR(int((p >> 16) & 0xFF), premultiplied(kCornerRed), 1);
    EXPECT_NEAR(int((p >> 8) & 0xFF), premultiplied(kCornerGreen), 1);
    EXPECT_NEAR(int(p & 0xFF), premultiplied(kCornerBlue), 1);
    EXPECT_EQ(effect.AlphaBmp, nullptr) << "the working bitmap exists only while the window is made";
}

TEST_F(GlowFixture, AClickOnTheGlowReachesTheWindowBelow) {
    std::vector<POINT> clicks;
    tk::TWndMethod old = form->WindowProc;
    form->WindowProc = [&](tk::TMessage& m) {
        if (m.Msg == WM_LBUTTONDOWN) clicks.push_back({static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))});
        old(m);
    };
    const int id = ShowWhole();
    ASSERT_GE(id, 0);
    RECT g;
    GetWindowRect(GlowWindow(id), &g);
    const RECT c = ScreenRect(control);
    // Over the glow, beside the control, over the form's client area.
    const POINT at{c.left - 2, (c.top + c.bottom) / 2};
    ASSERT_TRUE(at.x >= g.left && at.x < g.right && at.y >= g.top && at.y < g.bottom);
    EXPECT_NE(WindowFromPoint(at), GlowWindow(id));
    SetCursorPos(at.x, at.y);
    synthetic::queued_left_click();
    PumpUntil([&] { return !clicks.empty(); });
    form->WindowProc = old;
    ASSERT_EQ(clicks.size(), 1u);
    POINT client = at;
    ScreenToClient(form->Handle(), &client);
    EXPECT_EQ(clicks[0].x, client.x);
    EXPECT_EQ(clicks[0].y, client.y);
}

TEST_F(GlowFixture, HidingTwiceDoesNothingTheSecondTime) {
    int id = ShowWhole();
    const int other = ShowWhole();
    ASSERT_GE(id, 0);
    ASSERT_NE(other, id);
    HWND glow = GlowWindow(id);
    HideGlow(id);
    EXPECT_EQ(id, -1);
    EXPECT_FALSE(IsWindowVisible(glow)) << "hidden at once, freed by the message loop";
    HideGlow(id);
    EXPECT_EQ(id, -1);
    int stale = other - 1;  // the freed entry's index
    HideGlow(stale);
    EXPECT_EQ(stale, other - 1) << "an index already freed is left alone";
    for (int bad : {-5, other + 1, 1 << 30}) {
        int index = bad;
        HideGlow(index);
        EXPECT_EQ(index, bad);
    }
    EXPECT_NE(GlowWindow(other), nullptr) << "the other glow is untouched";
    kvfw::PumpMessages();
    EXPECT_FALSE(IsWindow(glow));
}

TEST_F(GlowFixture, AnIndexFromBeforeAClearNeverReachesANewGlow) {
    int old = ShowWhole();
    ASSERT_GE(old, 0);
    HWND oldWindow = GlowWindow(old);
    ClearGlows(true);
    EXPECT_FALSE(IsWindow(oldWindow)) << "destroyed at once when asked";
    const int fresh = ShowWhole();
    ASSERT_GE(fresh, 0);
    EXPECT_NE(fresh, old);
    EXPECT_EQ(GlowWindow(old), nullptr);
    HideGlow(old);
    EXPECT_NE(old, -1) << "the old index names nothing";
    EXPECT_TRUE(IsWindowVisible(GlowWindow(fresh)));
}

TEST_F(GlowFixture, AControlFreedWhileItsGlowShows) {
    control->SkinData.GlowID = ShowWhole();
    ASSERT_GE(control->SkinData.GlowID, 0);
    HWND glow = GlowWindow(control->SkinData.GlowID);
    const int id = control->SkinData.GlowID;
    delete control;
    control = nullptr;
    kvfw::PumpMessages();
    EXPECT_EQ(GlowWindow(id), nullptr) << "the control's glow goes with it";
    EXPECT_FALSE(IsWindow(glow));
    ClearGlows(false);
    kvfw::PumpMessages();
}

TEST_F(GlowFixture, AManagerFreedBeforeItsGlows) {
    const int id = ShowWhole();
    ASSERT_GE(id, 0);
    HWND glow = GlowWindow(id);
    manager.reset();
    ClearGlows(false);  // nothing of the freed manager is asked; windows go at once
    EXPECT_FALSE(IsWindow(glow));
}
