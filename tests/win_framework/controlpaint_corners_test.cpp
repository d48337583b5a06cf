// Refreshing the border corners of a control's cache over a fresh parent background, and the
// control's colour adjustments applied to a finished face.
#include <gtest/gtest.h>

#include <vector>

#include "skinframework/sControlPaint.h"
#include "tests/win_framework/FrameworkFixture.h"
#include "tests/win_framework/TestControls.h"

using namespace kvfw;

namespace {

constexpr uint32_t kSentinel = 0x12345678u;
constexpr int kCorner = 3;  // the BUTTON border's margins in the test skin

struct TButtonOnGradient {
    std::unique_ptr<sk::TsSkinManager> Manager = MakeManager();
    TTestForm Form;
    TTestWinControl* Panel = new TTestWinControl(&Form, kPanelLowKind, {10, 10, 210, 110}, L"", L"Panel");
    TTestWinControl* Button = new TTestWinControl(Panel, kButtonKind, {20, 20, 95, 45}, L"", L"Button");
    TButtonOnGradient() {
        Panel->PrepareCache();
        Button->PrepareCache();
    }
    rd::TBitmap32& Cache() { return *Button->SkinData.FCacheBmp->View(); }
    uint32_t PanelPixel(int x, int y) { return rd::ReadPixel32(*Panel->SkinData.FCacheBmp->View(), x, y); }
    std::vector<uint32_t> Snapshot() {
        std::vector<uint32_t> pixels;
        for (int y = 0; y < Cache().Height; ++y)
            for (int x = 0; x < Cache().Width; ++x) pixels.push_back(rd::ReadPixel32(Cache(), x, y));
        return pixels;
    }
    void FillCache(uint32_t value) {
        for (int y = 0; y < Cache().Height; ++y)
            for (int x = 0; x < Cache().Width; ++x) rd::WritePixel32(Cache(), x, y, value);
    }
};

// The corner block (TFaceCorners bit) that holds (x, y) of a w x h cache, or 0.
unsigned CornerAt(int x, int y, int w, int h) {
    const bool left = x < kCorner, right = x >= w - kCorner, top = y < kCorner, bottom = y >= h - kCorner;
    if (left && top) return sk::fcTopLeft;
    if (left && bottom) return sk::fcBottomLeft;
    if (right && top) return sk::fcTopRight;
    if (right && bottom) return sk::fcBottomRight;
    return 0;
}

}  // namespace

TEST(RefreshFaceCorners, RepaintsOnlyTheAskedCorners) {
    const unsigned cases[] = {sk::fcTopLeft, sk::fcBottomLeft, sk::fcTopRight, sk::fcBottomRight,
                              sk::fcTopLeft | sk::fcBottomRight, sk::fcAllCorners};
    for (unsigned corners : cases) {
        TButtonOnGradient t;
        const std::vector<uint32_t> face = t.Snapshot();
        const int w = t.Cache().Width, h = t.Cache().Height;
        t.FillCache(kSentinel);
        sk::RefreshFaceCorners(t.Button->SkinData, 0, corners);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const unsigned corner = CornerAt(x, y, w, h);
                uint32_t expected = kSentinel;
                if (corner & corners) expected = face[size_t(y) * w + x];
                // The frame's magenta pixel shows the panel behind the button.
                if (x == 0 && y == 0 && (corners & sk::fcTopLeft)) expected = t.PanelPixel(20, 20);
                ASSERT_EQ(rd::ReadPixel32(t.Cache(), x, y), expected) << "corners " << corners << " at " << x << "," << y;
            }
    }
}

TEST(RefreshFaceCorners, TakesTheBackgroundWhereTheControlNowIs) {
    TButtonOnGradient t;
    ASSERT_NE(t.PanelPixel(20, 70), t.PanelPixel(20, 20)) << "the gradient differs between the two places";
    t.Button->SetBounds(20, 70, 75, 25);  // moved without rebuilding its face
    sk::RefreshFaceCorners(t.Button->SkinData, 0, sk::fcTopLeft);
    EXPECT_EQ(rd::ReadPixel32(t.Cache(), 0, 0), t.PanelPixel(20, 70));
}

TEST(RefreshFaceCorners, DoesNothingWithoutWhatItNeeds) {
    const struct {
        const char* name;
        void (*spoil)(TButtonOnGradient&);
    } cases[] = {
        {"corners of the mask copied like any part",
         [](TButtonOnGradient& t) {
             t.Manager->Core().Model().ma[static_cast<size_t>(t.Button->SkinData.BorderIndex)].CornerType = 0;
         }},
        {"no border mask", [](TButtonOnGradient& t) { t.Button->SkinData.BorderIndex = -1; }},
        {"border mask out of range", [](TButtonOnGradient& t) { t.Button->SkinData.BorderIndex = 4000; }},
        {"no owner control", [](TButtonOnGradient& t) { t.Button->SkinData.FOwnerControl = nullptr; }},
    };
    for (const auto& c : cases) {
        TButtonOnGradient t;
        t.FillCache(kSentinel);
        tk::TControl* owner = t.Button->SkinData.FOwnerControl;
        c.spoil(t);
        for (unsigned corners : {0u, unsigned(sk::fcAllCorners)}) sk::RefreshFaceCorners(t.Button->SkinData, 2, corners);
        t.Button->SkinData.FOwnerControl = owner;
        for (uint32_t p : t.Snapshot()) ASSERT_EQ(p, kSentinel) << c.name;
    }
}

TEST(RefreshFaceCorners, EmptyOrMissingCacheIsLeftAlone) {
    TButtonOnGradient t;
    t.Button->SkinData.EmptyCache();
    sk::RefreshFaceCorners(t.Button->SkinData, 0, sk::fcAllCorners);
    EXPECT_TRUE(t.Button->SkinData.FCacheBmp->Empty());
    auto cache = std::move(t.Button->SkinData.FCacheBmp);
    sk::RefreshFaceCorners(t.Button->SkinData, 0, sk::fcAllCorners);
    t.Button->SkinData.FCacheBmp = std::move(cache);
}

TEST(ApplyColorTone, TonesTheFaceAndReblendsTheCornersWithTheParent) {
    TButtonOnGradient t;
    const std::vector<uint32_t> face = t.Snapshot();
    const int w = t.Cache().Width, h = t.Cache().Height;
    const rd::TColor tone = 0x000080FF;
    t.Button->SkinData.FColorTone = tone;
    sk::ApplyColorTone(&t.Cache(), t.Button->SkinData, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t before = face[size_t(y) * w + x];
            uint32_t expected = CornerAt(x, y, w, h) ? before : rd::ToneByBrightest(before, static_cast<uint32_t>(tone));
            if (x == 0 && y == 0) expected = t.PanelPixel(20, 20);
            ASSERT_EQ(rd::ReadPixel32(t.Cache(), x, y), expected) << x << "," << y;
        }
}

TEST(ApplyColorTone, KeepsTheKeyColourAndDoesNothingWithoutAdjustments) {
    TButtonOnGradient t;
    rd::WritePixel32(t.Cache(), 30, 10, 0x00FF00FFu);
    const std::vector<uint32_t> face = t.Snapshot();
    sk::ApplyColorTone(&t.Cache(), t.Button->SkinData, 0);
    const std::vector<uint32_t> untouched = t.Snapshot();
    for (size_t i = 1; i < face.size(); ++i) ASSERT_EQ(untouched[i], face[i]) << i;
    t.Button->SkinData.FHUEOffset = 180;
    t.Button->SkinData.FSaturation = 40;
    sk::ApplyColorTone(&t.Cache(), t.Button->SkinData, 0);
    EXPECT_EQ(rd::ReadPixel32(t.Cache(), 30, 10), 0x00FF00FFu);
    EXPECT_NE(rd::ReadPixel32(t.Cache(), 37, 12), face[size_t(12) * t.Cache().Width + 37]);
}
