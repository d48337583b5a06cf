#include "controls/sGlyphUtils.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "skin/SkinError.h"
#include "skin/acImageDecode.h"
#include "skinframework/sSkinManager.h"

namespace sk {

namespace {

uint32_t Grey(uint32_t p) {
    const uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    const uint32_t y = (r * 77 + g * 150 + b * 29) >> 8;
    return (p & 0xFF000000u) | (y << 16) | (y << 8) | y;
}

// d + (s - d) * a / 255 per colour channel; the destination stays opaque where it was.
uint32_t Over(uint32_t d, uint32_t s, int a) {
    uint32_t out = d & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const int dc = static_cast<int>((d >> shift) & 0xFF), sc = static_cast<int>((s >> shift) & 0xFF);
        out |= static_cast<uint32_t>(dc + (sc - dc) * a / 255) << shift;
    }
    return out;
}

bool AlphaIsEmpty(const tk::TBitmap& glyph) {
    for (int y = 0; y < glyph.Height(); ++y) {
        const uint32_t* row = glyph.ScanLine(y);
        for (int x = 0; x < glyph.Width(); ++x)
            if (row[x] >> 24) return false;
    }
    return true;
}

bool ChecksEmptyAlpha(const TsGlyphPaintInfo& info) {
    return !info.Manager || info.SkinIndex < 0 || info.Manager->Options.CheckEmptyAlpha;
}

// The weight (0..255) of the glyph over the destination, before the pixel's own alpha.
int GlyphOpacity(const TsGlyphPaintInfo& info) {
    if (!info.Enabled) return (info.DisabledGlyphKind & dgBlended) ? 128 : 255;
    if (info.State == 0 && info.Blend > 0) return 255 * (100 - std::min(info.Blend, 100)) / 100;
    return 255;
}

bool ShowsGrey(const TsGlyphPaintInfo& info) {
    return (!info.Enabled && (info.DisabledGlyphKind & dgGrayed)) || (info.State == 0 && info.Grayed);
}

}  // namespace

int GlyphFrameWidth(int stripWidth, int numGlyphs) { return stripWidth / std::max(numGlyphs, 1); }

namespace {

// One frame of the source: its rows (nullptr for a row that does not exist), size and key.
struct TGlyphSource {
    std::function<const uint32_t*(int y)> RowOf;
    int Width = 0, Height = 0;
    bool Keyed = false;
    uint32_t Key = 0;
};

void ComposeFrame(const TsGlyphPaintInfo& info, const TGlyphSource& source) {
    const int opacity = GlyphOpacity(info);
    const bool grey = ShowsGrey(info);
    const rd::TBitmap32& dst = *info.DstBmp;
    for (int y = 0; y < source.Height; ++y) {
        const int ty = info.GlyphRect.top + y;
        const uint32_t* src = source.RowOf(y);
        if (ty < 0 || ty >= dst.Height || !src) continue;
        uint32_t* out = dst.Row(ty);
        for (int x = 0; x < source.Width; ++x) {
            const int tx = info.GlyphRect.left + x;
            if (tx < 0 || tx >= dst.Width) continue;
            uint32_t s = src[x];
            if (source.Keyed && (s & 0x00FFFFFFu) == source.Key) continue;
            const int alpha = source.Keyed ? 255 : static_cast<int>(s >> 24);
            if (grey) s = Grey(s);
            out[tx] = Over(out[tx], s, alpha * opacity / 255);
        }
    }
}

}  // namespace

void PaintButtonGlyph(const TsGlyphPaintInfo& info) {
    if (!info.DstBmp || !info.DstBmp->Row0) return;
    if (info.Images && info.Images->ValidIndex(info.ImageIndex)) {
        const tk::TCustomImageList& list = *info.Images;
        const int index = info.ImageIndex;
        ComposeFrame(info, {[&list, index](int y) { return list.Row(index, y); }, list.Width(), list.Height()});
        return;
    }
    if (!info.Glyph || info.Glyph->Width() <= 0 || info.Glyph->Height() <= 0) return;
    const tk::TBitmap& glyph = *info.Glyph;
    const int count = std::max(info.NumGlyphs, 1);
    const int frameW = GlyphFrameWidth(glyph.Width(), count);
    if (frameW <= 0) return;
    const int frame = std::clamp(info.State, 0, count - 1);
    TGlyphSource source{[&glyph, frame, frameW](int y) { return glyph.ScanLine(y) + frame * frameW; }, frameW,
                        glyph.Height()};
    source.Keyed = ChecksEmptyAlpha(info) && AlphaIsEmpty(glyph);
    source.Key = glyph.ScanLine(glyph.Height() - 1)[frame * frameW] & 0x00FFFFFFu;
    ComposeFrame(info, source);
}

void LoadGlyphData(const std::vector<uint8_t>& data, tk::TBitmap& glyph) {
    if (data.size() < 4) throw tk::EReadError(L"Invalid glyph data: no length");
    const uint32_t length = uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2]) << 16 | uint32_t(data[3]) << 24;
    if (length != data.size() - 4) throw tk::EReadError(L"Invalid glyph data: the length does not match the data");
    if (length == 0) {
        glyph.SetSize(0, 0);
        return;
    }
    TDecodedImage image;
    try {
        image = DecodeBmp(data.data() + 4, length);
    } catch (const ESkinError& e) {
        throw tk::EReadError(L"Invalid glyph data: " + tk::Utf8ToWide(e.what()));
    }
    const rd::TMemBitmap32& pixels = *image.Bitmap;
    glyph.SetSize(pixels.Width, pixels.Height);
    for (int y = 0; y < pixels.Height; ++y)
        std::memcpy(glyph.ScanLine(y), pixels.Row(y), static_cast<size_t>(pixels.Width) * 4);
}

}  // namespace sk
