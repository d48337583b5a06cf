// Button images: the frame of the strip picked by state, alpha blending, the key colour of a
// glyph without alpha, the half-transparent and grey disabled looks, and glyphs that reach past
// the destination's edge or are narrower than their frame count.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "controls/sGlyphUtils.h"
#include "render/sGraphUtils.h"

namespace {

constexpr uint32_t kBack = 0xFF102030u;

// A strip of `frames` 2 x 2 frames, frame k filled with colours[k] (0xAARRGGBB).
std::unique_ptr<tk::TBitmap> Strip(const std::vector<uint32_t>& colours) {
    auto strip = std::make_unique<tk::TBitmap>(2 * static_cast<int>(colours.size()), 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < strip->Width(); ++x) strip->ScanLine(y)[x] = colours[static_cast<size_t>(x / 2)];
    return strip;
}

rd::TMemBitmap32 Target() {
    rd::TMemBitmap32 t(6, 4);
    rd::FillPixels32(&t, {0, 0, 6, 4}, 0x00302010, 0xFF);
    return t;
}

sk::TsGlyphPaintInfo Info(rd::TBitmap32* target, const tk::TBitmap* glyph, int frames) {
    sk::TsGlyphPaintInfo info;
    info.DstBmp = target;
    info.Glyph = glyph;
    info.NumGlyphs = frames;
    info.GlyphRect = {1, 1, 3, 3};
    return info;
}

}  // namespace

TEST(PaintButtonGlyph, PicksTheFrameOfTheStateAndLooksAsTheStateAsks) {
    const auto strip = Strip({0xFF0000FFu, 0xFF00FF00u, 0xFFFF0000u});
    const struct {
        const char* name;
        int state;
        bool enabled;
        unsigned disabledKind;
        int blend;
        bool grayed;
        uint32_t expected;  // pixel (1, 1), alpha ignored
    } cases[] = {
        {"normal", 0, true, sk::dgBlended, 0, false, 0x0000FF},
        {"hot", 1, true, sk::dgBlended, 0, false, 0x00FF00},
        {"pressed", 2, true, sk::dgBlended, 0, false, 0xFF0000},
        {"beyond the strip: last frame", 5, true, sk::dgBlended, 0, false, 0xFF0000},
        {"disabled blended: half way", 0, false, sk::dgBlended, 0, false, 0x081097},
        {"disabled grey", 0, false, sk::dgGrayed, 0, false, 0x1C1C1C},
        {"normal with blend 100: background", 0, true, sk::dgBlended, 100, false, 0x102030},
        {"normal, grayed", 0, true, sk::dgBlended, 0, true, 0x1C1C1C},
        {"hot, grayed: coloured", 1, true, sk::dgBlended, 0, true, 0x00FF00},
    };
    for (const auto& c : cases) {
        rd::TMemBitmap32 target = Target();
        sk::TsGlyphPaintInfo info = Info(&target, strip.get(), 3);
        info.State = c.state;
        info.Enabled = c.enabled;
        info.DisabledGlyphKind = c.disabledKind;
        info.Blend = c.blend;
        info.Grayed = c.grayed;
        sk::PaintButtonGlyph(info);
        EXPECT_EQ(rd::ReadPixel32(target, 1, 1) & 0xFFFFFFu, c.expected) << c.name;
        EXPECT_EQ(rd::ReadPixel32(target, 0, 0), kBack) << c.name << ": outside the glyph untouched";
        EXPECT_EQ(rd::ReadPixel32(target, 3, 1), kBack) << c.name << ": one frame wide only";
    }
}

TEST(PaintButtonGlyph, AlphaBlendsAndKeysGlyphsWithoutAlpha) {
    // Half-transparent red over the background; a glyph with no alpha at all keyed by its
    // bottom-left pixel.
    const auto translucent = Strip({0x80FF0000u});
    rd::TMemBitmap32 target = Target();
    sk::PaintButtonGlyph(Info(&target, translucent.get(), 1));
    EXPECT_EQ(rd::ReadPixel32(target, 1, 1) & 0xFFFFFFu, 0x871018u);

    auto keyed = Strip({0x00FF00FFu});
    keyed->ScanLine(0)[1] = 0x000000FFu;  // one blue pixel, the rest the key colour
    rd::TMemBitmap32 keyedTarget = Target();
    sk::PaintButtonGlyph(Info(&keyedTarget, keyed.get(), 1));
    EXPECT_EQ(rd::ReadPixel32(keyedTarget, 1, 1), kBack) << "key colour left out";
    EXPECT_EQ(rd::ReadPixel32(keyedTarget, 2, 1) & 0xFFFFFFu, 0x0000FFu) << "the rest drawn opaque";
}

TEST(PaintButtonGlyph, NothingIsReadOrWrittenPastAnEdge) {
    const auto strip = Strip({0xFF0000FFu, 0xFF00FF00u});
    const struct {
        const char* name;
        RECT at;
        int frames;
    } cases[] = {
        {"past the right and bottom edges", {5, 3, 7, 5}, 2},
        {"before the left and top edges", {-1, -1, 1, 1}, 2},
        {"far outside", {100, 100, 102, 102}, 2},
        {"more frames than pixels", {1, 1, 3, 3}, 9},
        {"no frame count", {1, 1, 3, 3}, 0},
    };
    for (const auto& c : cases) {
        rd::TMemBitmap32 target = Target();
        sk::TsGlyphPaintInfo info = Info(&target, strip.get(), c.frames);
        info.GlyphRect = c.at;
        sk::PaintButtonGlyph(info);  // must not touch memory outside either bitmap
        int painted = 0;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x) painted += rd::ReadPixel32(target, x, y) != kBack;
        // The frame (its width from the strip, 2 rows) clipped to the 6 x 4 target.
        const int frameWidth = sk::GlyphFrameWidth(4, c.frames);
        const int visible = std::max(0, std::min<int>(c.at.left + frameWidth, 6) - std::max<int>(c.at.left, 0)) *
                            std::max(0, std::min<int>(c.at.top + 2, 4) - std::max<int>(c.at.top, 0));
        EXPECT_EQ(painted, visible) << c.name;
    }
    sk::TsGlyphPaintInfo none;
    sk::PaintButtonGlyph(none);  // no destination, no glyph: nothing
}
