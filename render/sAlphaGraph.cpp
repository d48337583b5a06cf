#include "render/sAlphaGraph.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "render/acArithmetic.h"
#include "render/acBlit.h"
#include "render/acPixelRows.h"

namespace rd {

namespace {

inline int Channel(uint32_t v, int lane) { return static_cast<int>((v >> (lane * 8)) & 0xFF); }

// d := ((d - s) * level + s * 256) >> 8 on the three colour channels; alpha of d kept.
inline uint32_t MixShift8(uint32_t d, uint32_t s, int level) {
    uint32_t out = d & 0xFF000000u;
    for (int lane = 0; lane < 3; ++lane) {
        const int dc = Channel(d, lane), sc = Channel(s, lane);
        out |= static_cast<uint32_t>((((dc - sc) * level + sc * 256) >> 8) & 0xFF) << (lane * 8);
    }
    return out;
}

// MixShift8 over a run of n pixels. A level within 0..255 is a constant mask of that value in
// every channel, composed by the shared row kernel; other levels go pixel by pixel.
class TConstantBlend {
public:
    TConstantBlend(int level, int n)
        : FLevel(level), FMask(level >= 0 && level <= 255 ? static_cast<size_t>(n) : 0, uint32_t(level) * 0x010101u) {}
    void Row(uint32_t* d, const uint32_t* s, int n) const {
        if (FMask.empty()) {
            for (int i = 0; i < n; ++i) d[i] = MixShift8(d[i], s[i], FLevel);
            return;
        }
        ComposeMaskedRow(d, s, FMask.data(), n, TKeyRule::Compose, 0, false);
    }

private:
    int FLevel;
    std::vector<uint32_t> FMask;
};

bool SameSize(const TBitmap32* a, const TBitmap32* b) {
    uint8_t* r;
    ptrdiff_t s;
    return GetScanGeometry(a, r, s) && GetScanGeometry(b, r, s) && a->Width == b->Width && a->Height == b->Height;
}

// A block of w x h pixels at (tx, ty) in the target and (sx, sy) in the source.
struct TBlock {
    int tx, ty, sx, sy, w, h;
};

// The block clipped to both bitmaps; false when empty.
bool ClipBlock(const TBitmap32& target, const TBitmap32& source, TBlock& b) {
    return rd::ClipBlock(target, source, b.tx, b.ty, b.sx, b.sy, b.w, b.h, source.Height);
}

}  // namespace

namespace {

// One channel of BlendFromBitmap: Trunc(s - (s - d) * k), exact on the double k (with 0.4,
// Trunc(255 - 255 * 0.4) is 152).
inline uint32_t BlendChannel(int s, int d, double k) {
    return static_cast<uint32_t>(std::clamp(TruncAddTimes(s, d - s, k), 0, 255));
}

// BlendChannel for one level, looked up: the 256 results of a source value are computed together
// when that value first occurs.
class TBlendChannelTable {
public:
    explicit TBlendChannelTable(double k) : FK(k), FValues(new uint8_t[65536]), FKnown(256, 0) {}
    uint32_t operator()(int s, int d) {
        if (!FKnown[s]) {
            for (int v = 0; v < 256; ++v) FValues[(s << 8) | v] = static_cast<uint8_t>(BlendChannel(s, v, FK));
            FKnown[s] = 1;
        }
        return FValues[(s << 8) | d];
    }

    double Level() const { return FK; }

private:
    double FK;
    std::unique_ptr<uint8_t[]> FValues;
    std::vector<uint8_t> FKnown;
};

// The tables of the last two levels blended with, kept between calls: faces are blended at one
// or two fixed levels on every repaint.
TBlendChannelTable& BlendTableFor(double k) {
    thread_local std::unique_ptr<TBlendChannelTable> tables[2];
    thread_local int next = 0;
    for (auto& t : tables)
        if (t && t->Level() == k) return *t;
    auto& slot = tables[next];
    next = 1 - next;
    slot = std::make_unique<TBlendChannelTable>(k);
    return *slot;
}

}  // namespace

void BlendFromBitmap(TBitmap32* target, int x, int y, uint32_t key, double level, TRect rect,
                     const TBitmap32* source) {
    uint8_t* r;
    ptrdiff_t s;
    if (!GetScanGeometry(target, r, s) || !GetScanGeometry(source, r, s)) return;
    rect.Right = std::min(rect.Right, source->Width - 1);
    rect.Bottom = std::min(rect.Bottom, source->Height - 1);
    if (rect.Left < 0) { x -= rect.Left; rect.Left = 0; }
    if (rect.Top < 0) { y -= rect.Top; rect.Top = 0; }
    if (rect.Right < rect.Left || rect.Bottom < rect.Top) return;
    TBlendChannelTable& blend = BlendTableFor(level);
    for (int j = 0; j <= rect.Bottom - rect.Top; ++j) {
        const int ty = y + j;
        if (ty >= target->Height) break;
        if (ty < 0) continue;
        const uint32_t* src = source->Row(rect.Top + j) + rect.Left;
        uint32_t* dst = target->Row(ty);
        // Source columns whose target column lies inside the target.
        const int first = std::max(0, -x), last = std::min(rect.Right - rect.Left, target->Width - 1 - x);
        for (int i = first; i <= last; ++i) {
            const uint32_t sp = src[i], dp = dst[x + i];
            if (sp == key) continue;
            dst[x + i] = (dp & 0xFF000000u) | blend(Channel(sp, 0), Channel(dp, 0)) |
                     blend(Channel(sp, 1), Channel(dp, 1)) << 8 | blend(Channel(sp, 2), Channel(dp, 2)) << 16;
        }
    }
}

void BlendColorThroughMask(TBitmap32* target, const TBitmap32* mask, TColor color) {
    if (!SameSize(target, mask)) return;
    const uint32_t t = ExchangeRedBlue(static_cast<uint32_t>(color));
    for (int y = 0; y < target->Height; ++y) {
        uint32_t* dst = target->Row(y);
        const uint32_t* m = mask->Row(y);
        for (int x = 0; x < target->Width; ++x) {
            uint32_t out = dst[x] & 0xFF000000u;
            for (int lane = 0; lane < 3; ++lane) {
                const int dc = Channel(dst[x], lane), tc = Channel(t, lane);
                out |= static_cast<uint32_t>((((dc - tc) * Channel(m[x], lane) + tc * 256) >> 8) & 0xFF) << (lane * 8);
            }
            dst[x] = out;
        }
    }
}

void CrossFade32(TBitmap32* target, const TBitmap32* source, int level) {
    if (!SameSize(target, source)) return;
    const TConstantBlend blend(level, target->Width);
    for (int y = 0; y < target->Height; ++y) blend.Row(target->Row(y), source->Row(y), target->Width);
}

void BlendRectConstant(TBitmap32* target, const TBitmap32* source, int level, TPoint at, TRect sourceRect) {
    uint8_t* r;
    ptrdiff_t s;
    if (!GetScanGeometry(target, r, s) || !GetScanGeometry(source, r, s)) return;
    TBlock b{at.X, at.Y, sourceRect.Left, sourceRect.Top, sourceRect.Width(), sourceRect.Height()};
    if (!ClipBlock(*target, *source, b)) return;
    const TConstantBlend blend(level, b.w);
    for (int j = 0; j < b.h; ++j) blend.Row(target->Row(b.ty + j) + b.tx, source->Row(b.sy + j) + b.sx, b.w);
}

void AlphaOver32(TRect targetRect, TRect sourceRect, TBitmap32* target, bool copyParent,
                 const TCacheInfo& background, const TBitmap32* source) {
    uint8_t* r;
    ptrdiff_t s;
    if (!GetScanGeometry(target, r, s) || !GetScanGeometry(source, r, s)) return;
    TBlock b{targetRect.Left, targetRect.Top, sourceRect.Left, sourceRect.Top,
             std::min(targetRect.Width(), sourceRect.Width()), std::min(targetRect.Height(), sourceRect.Height())};
    if (!ClipBlock(*target, *source, b)) return;
    const TBitmap32* bg = background.Ready ? background.Bmp : nullptr;
    const bool keyed = background.Ready;
    for (int j = 0; j < b.h; ++j) {
        const int ty = b.ty + j;
        uint32_t* dst = target->Row(ty);
        const uint32_t* src = source->Row(b.sy + j) + b.sx;
        for (int i = 0; i < b.w; ++i) {
            const int tx = b.tx + i;
            const uint32_t sp = src[i];
            uint32_t& d = dst[tx];
            if (keyed && sp == 0x00FF00FFu) {
                const int bx = tx + background.X, by = ty + background.Y;
                if (copyParent && bg && bx >= 0 && by >= 0 && bx < bg->Width && by < bg->Height)
                    d = (bg->Row(by)[bx] & 0x00FFFFFFu) | 0xFF000000u;
                continue;
            }
            const int sa = static_cast<int>(sp >> 24);
            uint32_t out = 0;
            for (int lane = 0; lane < 3; ++lane) {
                const int dc = Channel(d, lane), sc = Channel(sp, lane);
                out |= static_cast<uint32_t>((((sc - dc) * sa + dc * 256) >> 8) & 0xFF) << (lane * 8);
            }
            int da = static_cast<int>(d >> 24);
            if (sa > 0) da += ((255 - da) * sa) >> 8;
            d = out | (static_cast<uint32_t>(da) << 24);
        }
    }
}

void ApplyDisabledLook(TBitmap32* bitmap, unsigned kinds, TColor parentColor, TPoint at,
                       const TCacheInfo& background) {
    uint8_t* r;
    ptrdiff_t s;
    if (!GetScanGeometry(bitmap, r, s)) return;
    if (kinds & dkGrayed) {
        if (DisabledSaturationAmount == -100)
            MakeGrey32(bitmap);
        else
            ForEachPixel(bitmap, PixelShiftSaturation, DisabledSaturationAmount, clMagenta);
    }
    if (kinds & dkBlended) {
        const TRect face{0, 0, bitmap->Width, bitmap->Height};
        if (background.Ready && background.Bmp) {
            const int dx = at.X + background.X, dy = at.Y + background.Y;
            BlendFromBitmap(bitmap, 0, 0, static_cast<uint32_t>(clMagenta), DisabledBlendLevel,
                            {face.Left + dx, face.Top + dy, face.Right + dx, face.Bottom + dy}, background.Bmp);
        } else {
            const TColor fill = background.FillColor == clMagenta ? parentColor : background.FillColor;
            MixRectWithColor(bitmap, face, static_cast<int>(DisabledBlendLevel * 100), fill);
        }
    }
}

}  // namespace rd
