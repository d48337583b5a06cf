#include "render/sGraphUtils.h"

#include "render/acArithmetic.h"

#include <algorithm>
#include <array>
#include <memory>
#include <cmath>
#include <cstring>

namespace rd {

namespace {

inline int Channel(uint32_t v, int lane) { return static_cast<int>((v >> (lane * 8)) & 0xFF); }
inline uint32_t ClampByte(int c) { return static_cast<uint32_t>(std::clamp(c, 0, 255)); }
inline uint32_t Pack(uint32_t b0, uint32_t b1, uint32_t b2, uint32_t b3) {
    return b0 | (b1 << 8) | (b2 << 16) | (b3 << 24);
}

// Calls fn(pixel&) for every pixel of rect ∩ bitmap.
template <typename Fn>
void ForRect(TBitmap32* bitmap, TRect rect, Fn fn) {
    uint8_t* row0;
    ptrdiff_t stride;
    if (!GetScanGeometry(bitmap, row0, stride) || !ClipToBitmap(*bitmap, rect)) return;
    for (int y = rect.Top; y < rect.Bottom; ++y) {
        uint32_t* row = bitmap->Row(y);
        for (int x = rect.Left; x < rect.Right; ++x) fn(row[x]);
    }
}

}  // namespace

// rect ∩ bitmap; false when empty.
bool ClipToBitmap(const TBitmap32& bitmap, TRect& rect) {
    rect.Left = std::max(rect.Left, 0);
    rect.Top = std::max(rect.Top, 0);
    rect.Right = std::min(rect.Right, bitmap.Width);
    rect.Bottom = std::min(rect.Bottom, bitmap.Height);
    return rect.Left < rect.Right && rect.Top < rect.Bottom;
}

TBitmap32 ViewOfRect(const TBitmap32& bitmap, TRect rect) {
    TBitmap32 view;
    if (!bitmap.Row0 || !ClipToBitmap(bitmap, rect)) return view;
    view.Row0 = reinterpret_cast<uint8_t*>(bitmap.Row(rect.Top) + rect.Left);
    view.Stride = bitmap.Stride;
    view.Width = rect.Width();
    view.Height = rect.Height();
    return view;
}

bool GetScanGeometry(const TBitmap32* bitmap, uint8_t*& row0, ptrdiff_t& stride) {
    if (!bitmap || bitmap->Height <= 0 || bitmap->Width <= 0 || !bitmap->Row0) return false;
    row0 = bitmap->Row0;
    stride = bitmap->Height > 1 ? bitmap->Stride : 0;
    return true;
}

// ---- TMemBitmap32 ----

void TMemBitmap32::SetSize(int width, int height, bool bottomUp) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    FPixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    Width = width;
    Height = height;
    const ptrdiff_t rowBytes = static_cast<ptrdiff_t>(width) * 4;
    if (FPixels.empty()) {
        Row0 = nullptr;
        Stride = 0;
    } else if (bottomUp) {
        Row0 = reinterpret_cast<uint8_t*>(FPixels.data()) + (height - 1) * rowBytes;
        Stride = -rowBytes;
    } else {
        Row0 = reinterpret_cast<uint8_t*>(FPixels.data());
        Stride = rowBytes;
    }
}

TMemBitmap32::TMemBitmap32(const TMemBitmap32& other) : TBitmap32() { *this = other; }

TMemBitmap32& TMemBitmap32::operator=(const TMemBitmap32& other) {
    if (this != &other) CopyWholeBitmap(*this, other);
    return *this;
}

// ---- Bitmap helpers ----

std::unique_ptr<TMemBitmap32> NewBitmap32(int width, int height) {
    return std::make_unique<TMemBitmap32>(width, height);
}

std::unique_ptr<TMemBitmap32> NewBitmapLike(const TBitmap32& source) {
    return NewBitmap32(source.Width, source.Height);
}

void CopyWholeBitmap(TMemBitmap32& target, const TBitmap32& source) {
    target.SetSize(source.Width, source.Height, source.Stride <= 0);
    for (int y = 0; y < source.Height; ++y)
        std::memcpy(target.Row(y), source.Row(y), static_cast<size_t>(source.Width) * 4);
}

std::unique_ptr<TMemBitmap32> RotateBitmap32(const TBitmap32* bitmap, bool clockwise) {
    uint8_t* row0;
    ptrdiff_t stride;
    if (!GetScanGeometry(bitmap, row0, stride)) return nullptr;
    const int w = bitmap->Width, h = bitmap->Height;
    auto result = NewBitmap32(h, w);
    for (int y = 0; y < h; ++y) {
        const uint32_t* src = bitmap->Row(y);
        for (int x = 0; x < w; ++x) {
            if (clockwise)
                result->Row(x)[h - 1 - y] = src[x];
            else
                result->Row(w - 1 - x)[y] = src[x];
        }
    }
    return result;
}

void CopyByteChannel(TBitmap32* target, const TBitmap32* source, int lane) {
    uint8_t *t0, *s0;
    ptrdiff_t ts, ss;
    if (lane < 0 || lane > 3 || !GetScanGeometry(target, t0, ts) || !GetScanGeometry(source, s0, ss)) return;
    if (target->Width != source->Width || target->Height != source->Height) return;
    for (int y = 0; y < target->Height; ++y) {
        uint8_t* t = reinterpret_cast<uint8_t*>(target->Row(y)) + lane;
        const uint8_t* s = reinterpret_cast<const uint8_t*>(source->Row(y)) + lane;
        for (int x = 0; x < target->Width; ++x) t[x * 4] = s[x * 4];
    }
}

void CopyKeyedOpaque(TBitmap32* target, const TBitmap32* source, int x, TColor key, int y) {
    uint8_t *t0, *s0;
    ptrdiff_t ts, ss;
    if (!GetScanGeometry(target, t0, ts) || !GetScanGeometry(source, s0, ss)) return;
    const uint32_t skip = ExchangeRedBlue(static_cast<uint32_t>(key));
    TRect area{x, y, x + source->Width, y + source->Height};
    if (!ClipToBitmap(*target, area)) return;
    for (int ty = area.Top; ty < area.Bottom; ++ty) {
        const uint32_t* src = source->Row(ty - y);
        uint32_t* dst = target->Row(ty);
        for (int tx = area.Left; tx < area.Right; ++tx) {
            const uint32_t s = src[tx - x];
            if (s != skip) dst[tx] = s | 0xFF000000u;
        }
    }
}

// ---- Rectangle fills ----

void FillPixels32(TBitmap32* bitmap, TRect rect, TColor color, uint8_t alpha) {
    const uint32_t value = (ExchangeRedBlue(static_cast<uint32_t>(color)) & 0x00FFFFFFu) | (uint32_t(alpha) << 24);
    ForRect(bitmap, rect, [value](uint32_t& p) { p = value; });
}

void FillFramePixels32(TBitmap32* bitmap, TRect rect, int left, TColor color, int bottom, int right, int top) {
    FillPixels32(bitmap, {rect.Left, rect.Top, rect.Right, rect.Top + top}, color, 255);
    FillPixels32(bitmap, {rect.Left, rect.Top + top, rect.Left + left, rect.Bottom}, color, 255);
    FillPixels32(bitmap, {rect.Left + left, rect.Bottom - bottom, rect.Right, rect.Bottom}, color, 255);
    FillPixels32(bitmap, {rect.Right - right, rect.Top + top, rect.Right, rect.Bottom - bottom}, color, 255);
}

void TintPixels32(TBitmap32* bitmap, TRect rect, TColor color, int percent, uint8_t alpha) {
    const int pc = percent & 0xFF;
    const uint32_t t = ExchangeRedBlue(static_cast<uint32_t>(color));
    ForRect(bitmap, rect, [&](uint32_t& p) {
        uint32_t out = uint32_t(alpha) << 24;
        for (int lane = 0; lane < 3; ++lane) {
            const int c = Channel(p, lane);
            out |= ClampByte(c - ((c - Channel(t, lane)) * pc) / 100) << (lane * 8);  // above 100 %: off the range
        }
        p = out;
    });
}

namespace {

// One channel of MixRectWithColor: Round(c * k + t * (1 - k)) with k = percent / 100, exact,
// half to even.
inline uint32_t MixChannel(int c, int t, int percent) {
    const int64_t scaled = int64_t(c) * percent + int64_t(t) * (100 - int64_t(percent));
    return ClampByte(static_cast<int>(std::clamp<int64_t>(DivRoundHalfEven(scaled, 100), -1, 256)));
}

}  // namespace

void MixRectWithColor(TBitmap32* bitmap, TRect rect, int percent, TColor color) {
    if (!bitmap) return;
    // Inclusive Right / Bottom, clamped to the last column and row.
    rect.Right = std::min(rect.Right, bitmap->Width - 1) + 1;
    rect.Bottom = std::min(rect.Bottom, bitmap->Height - 1) + 1;
    const uint32_t t = ExchangeRedBlue(static_cast<uint32_t>(ColorToRGB(color)));
    // With percent and colour fixed a channel's result depends on its input byte alone: one
    // table per lane, each entry computed by the same arithmetic, shifted into place. The
    // tables of the last call are kept, as callers mix many rectangles with one colour.
    thread_local struct {
        bool valid = false;
        int percent = 0;
        uint32_t color = 0;
        uint32_t lanes[3][256];
    } cache;
    if (!cache.valid || cache.percent != percent || cache.color != t) {
        for (int lane = 0; lane < 3; ++lane)
            for (int c = 0; c < 256; ++c) cache.lanes[lane][c] = MixChannel(c, Channel(t, lane), percent) << (lane * 8);
        cache.valid = true;
        cache.percent = percent;
        cache.color = t;
    }
    const auto& table = cache.lanes;
    ForRect(bitmap, rect, [&table](uint32_t& p) {
        p = (p & 0xFF000000u) | table[0][p & 0xFF] | table[1][(p >> 8) & 0xFF] | table[2][(p >> 16) & 0xFF];
    });
}

void SetAlphaInRect(TBitmap32* bitmap, TRect rect, uint8_t alpha, uint32_t key) {
    uint8_t* row0;
    ptrdiff_t stride;
    if (!GetScanGeometry(bitmap, row0, stride)) return;
    const bool all = key == static_cast<uint32_t>(clNone);
    for (int y = rect.Top; y < rect.Bottom; ++y) {
        uint32_t* row = bitmap->Row(y);
        for (int x = rect.Left; x < rect.Right; ++x)
            if (all || row[x] != key) row[x] = (row[x] & 0x00FFFFFFu) | (uint32_t(alpha) << 24);
    }
}

void PremultiplyRect(TBitmap32* bitmap, TRect rect) {
    ForRect(bitmap, rect, [](uint32_t& p) {
        if (p == 0x00FFFFFFu) {
            p = 0;
            return;
        }
        const uint32_t a = p >> 24;
        p = Pack((Channel(p, 0) * a) >> 8, (Channel(p, 1) * a) >> 8, (Channel(p, 2) * a) >> 8, a);
    });
}

void PremultiplyBitmap(TBitmap32* bitmap) {
    if (bitmap) PremultiplyRect(bitmap, {0, 0, bitmap->Width, bitmap->Height});
}

// ---- Per-pixel driver ----

namespace {

// Skin images repeat their colours, and every pixel operation is a pure function of the
// pixel and the amount: results are remembered in a small direct-mapped table, so a hit
// gives exactly what the operation gave.
class TPixelMemo {
public:
    TPixelMemo(TPixelOp operation, int amount) : FOperation(operation), FAmount(amount) {}
    uint32_t operator()(uint32_t pixel) {
        const uint32_t slot = (pixel * 2654435761u) >> (32 - kBits);
        if (!FUsed[slot] || FIn[slot] != pixel) {
            FUsed[slot] = true;
            FIn[slot] = pixel;
            FOut[slot] = FOperation(pixel, FAmount);
        }
        return FOut[slot];
    }
    static constexpr int kBits = 10;
    static constexpr int kMinPixels = 4 << kBits;  // smaller bitmaps are not worth the table

private:
    TPixelOp FOperation;
    int FAmount;
    std::array<bool, 1 << kBits> FUsed{};
    std::array<uint32_t, 1 << kBits> FIn, FOut;
};

template <class Op> void ApplyToPixels(TBitmap32* bitmap, uint32_t skip, bool all, Op op) {
    for (int y = 0; y < bitmap->Height; ++y) {
        uint32_t* row = bitmap->Row(y);
        for (int x = 0; x < bitmap->Width; ++x)
            if (all || row[x] != skip) row[x] = op(row[x]);
    }
}

}  // namespace

void ForEachPixel(TBitmap32* bitmap, TPixelOp operation, int amount, TColor key) {
    uint8_t* row0;
    ptrdiff_t stride;
    if (!operation || !GetScanGeometry(bitmap, row0, stride)) return;
    const bool all = key == clNone;
    const uint32_t skip = ExchangeRedBlue(static_cast<uint32_t>(key));
    if (int64_t(bitmap->Width) * bitmap->Height >= TPixelMemo::kMinPixels) {
        auto memo = std::make_unique<TPixelMemo>(operation, amount);
        ApplyToPixels(bitmap, skip, all, [&](uint32_t p) { return (*memo)(p); });
    } else {
        ApplyToPixels(bitmap, skip, all, [&](uint32_t p) { return operation(p, amount); });
    }
}

// ---- Colour operations ----

uint32_t ShiftBrightness(uint32_t color, int amount) {
    if (amount == 0) return color;
    return Pack(ClampByte(Channel(color, 0) + amount), ClampByte(Channel(color, 1) + amount),
                ClampByte(Channel(color, 2) + amount), color >> 24);
}

uint32_t ShiftSaturation(int amount, uint32_t color) {
    if (amount == 0) return color;
    const int e = (Channel(color, 0) + Channel(color, 1) + Channel(color, 2)) / 3;
    auto shift = [&](int c) { return ClampByte(c - ((e - c) * amount) / 255); };
    return Pack(shift(Channel(color, 0)), shift(Channel(color, 1)), shift(Channel(color, 2)), color >> 24);
}

uint32_t ShiftHue(int offset, uint32_t pixel) {
    const int r = Channel(pixel, 2), g = Channel(pixel, 1), b = Channel(pixel, 0);
    const int maxc = std::max({r, g, b});
    const int delta = maxc - std::min({r, g, b});
    if (maxc == 0 || delta == 0) return pixel;  // grey, black or white: hue 0, value unchanged
    const double v = maxc;
    const double s = delta / v;

    const double k = 60.0 / delta;
    const double rc = (maxc - r) * k, gc = (maxc - g) * k, bc = (maxc - b) * k;
    double h;
    if (r == maxc)
        h = bc - gc;
    else if (g == maxc)
        h = 120 + rc - bc;
    else
        h = 240 + gc - rc;
    if (h < 0) h += 360;

    int hue = static_cast<int>(std::trunc(offset + h)) % 360;
    if (hue < 0) hue += 360;
    const double hs = hue / 60.0;
    const int sector = static_cast<int>(hs);
    const double f = hs - sector;
    const double p = std::clamp(v * (1 - s), 0.0, 255.0);
    const double q = std::clamp(v * (1 - s * f), 0.0, 255.0);
    const double t = std::clamp(v * (1 - s * (1 - f)), 0.0, 255.0);

    double nr, ng, nb;
    switch (sector) {
        case 0: nr = v, ng = t, nb = p; break;
        case 1: nr = q, ng = v, nb = p; break;
        case 2: nr = p, ng = v, nb = t; break;
        case 3: nr = p, ng = q, nb = v; break;
        case 4: nr = t, ng = p, nb = v; break;
        default: nr = v, ng = p, nb = q; break;
    }
    return Pack(static_cast<uint32_t>(nb), static_cast<uint32_t>(ng), static_cast<uint32_t>(nr), pixel >> 24);
}

uint32_t ShiftHueOfColor(int offset, uint32_t color) {
    if (offset == 0) return color;
    return ExchangeRedBlue(ShiftHue(offset, ExchangeRedBlue(color)));
}

uint32_t ToneByBrightest(uint32_t value, uint32_t tone) {
    const uint32_t m = static_cast<uint32_t>(std::max({Channel(value, 0), Channel(value, 1), Channel(value, 2)}));
    return Pack((m * Channel(tone, 2)) >> 8, (m * Channel(tone, 1)) >> 8, (m * Channel(tone, 0)) >> 8, value >> 24);
}

uint32_t InterpolateColor(uint32_t a, uint32_t b, double k) {
    // Trunc(k * a + (1 - k) * b), exact: b + k * (a - b).
    auto mix = [&](int lane) {
        return static_cast<uint32_t>(TruncAddTimes(Channel(b, lane), Channel(a, lane) - Channel(b, lane), k));
    };
    return Pack(mix(0) & 0xFF, mix(1) & 0xFF, mix(2) & 0xFF, a >> 24);
}

uint32_t HalfwayColor(uint32_t a, uint32_t b) {
    auto mid = [&](int lane) { return static_cast<uint32_t>((Channel(a, lane) * 127 + Channel(b, lane) * 129) >> 8); };
    return Pack(mid(0), mid(1), mid(2), 0);
}

uint32_t PixelShiftBrightness(uint32_t pixel, int amount) { return ShiftBrightness(pixel, amount); }
uint32_t PixelShiftSaturation(uint32_t pixel, int amount) { return ShiftSaturation(amount, pixel); }
uint32_t PixelShiftHue(uint32_t pixel, int offset) { return ShiftHue(offset, pixel); }
uint32_t PixelToneByBrightest(uint32_t pixel, int tone) { return ToneByBrightest(pixel, static_cast<uint32_t>(tone)); }
uint32_t PixelMakeOpaque(uint32_t pixel, int) { return pixel | 0xFF000000u; }

TColor AdjustControlColor(TColor color, const TControlColorAdjust& control) {
    // A system colour is resolved first: the arithmetic below would otherwise change its index.
    uint32_t c = static_cast<uint32_t>(ColorToRGB(color));
    if (control.ColorTone != clNone)
        c = ToneByBrightest(c, ExchangeRedBlue(static_cast<uint32_t>(ColorToRGB(control.ColorTone))));
    c = ShiftHueOfColor(control.HueOffset, c);
    const int amount = TruncPercentOf255(control.Saturation);
    if (amount != 0) c = ShiftSaturation(amount, c);
    return ColorToRGB(static_cast<TColor>(c));
}

void MakeGrey32(TBitmap32* bitmap) {
    if (!bitmap) return;
    ForRect(bitmap, {0, 0, bitmap->Width, bitmap->Height}, [](uint32_t& p) {
        const uint32_t m = static_cast<uint32_t>((Channel(p, 0) + Channel(p, 1) + Channel(p, 2)) / 3);
        p = Pack(m, m, m, p >> 24);
    });
}

void MakeGreyExceptKey32(TBitmap32* bitmap, uint32_t key) {
    if (!bitmap) return;
    ForRect(bitmap, {0, 0, bitmap->Width, bitmap->Height}, [key](uint32_t& p) {
        if (p == key) return;
        const uint32_t m = static_cast<uint32_t>((Channel(p, 0) + Channel(p, 1) + Channel(p, 2)) / 3);
        p = Pack(m, m, m, p >> 24);
    });
}

}  // namespace rd
