#include "render/sMaskPaint.h"

#include <algorithm>

#include "render/acBlit.h"
#include "render/acResample.h"

namespace rd {

namespace {

constexpr uint32_t kKey = 0x00FF00FFu;

inline uint32_t ThroughMask(uint32_t d, uint32_t s, uint32_t m) {
    uint32_t out = d & 0xFF000000u;
    for (int lane = 0; lane < 3; ++lane) {
        const int dc = (d >> (8 * lane)) & 0xFF, sc = (s >> (8 * lane)) & 0xFF, mc = (m >> (8 * lane)) & 0xFF;
        out |= static_cast<uint32_t>((((dc - sc) * mc + sc * 256) >> 8) & 0xFF) << (8 * lane);
    }
    return out;
}

bool HasRows(const TBitmap32* b) {
    uint8_t* r;
    ptrdiff_t s;
    return GetScanGeometry(b, r, s);
}

const TBitmap32* BackgroundPixelRow(const TCacheInfo& bg, int x, int y, uint32_t& pixel) {
    const int bx = x + bg.X, by = y + bg.Y;
    if (!bg.Bmp || bx < 0 || by < 0 || bx >= bg.Bmp->Width || by >= bg.Bmp->Height) return nullptr;
    pixel = bg.Bmp->Row(by)[bx];
    return bg.Bmp;
}

// Composes w x h image pixels (mask maskDy rows below each) at (tx, ty), already clipped.
void ComposeMasked(TBitmap32* target, int tx, int ty, int w, int h, const TBitmap32* img, int sx, int sy,
                   const TBitmap32* maskBmp, int mx, int my, bool cornerFlag, const TCacheInfo& bg, bool opaque) {
    const uint32_t fill = ExchangeRedBlue(static_cast<uint32_t>(bg.FillColor));
    for (int j = 0; j < h; ++j) {
        const uint32_t* s = img->Row(sy + j) + sx;
        const uint32_t* m = maskBmp->Row(my + j) + mx;
        uint32_t* d = target->Row(ty + j) + tx;
        for (int i = 0; i < w; ++i) {
            if (bg.Ready && cornerFlag) {
                d[i] |= 0xFF000000u;
                if (s[i] == kKey) {
                    uint32_t p;
                    if (BackgroundPixelRow(bg, tx + i, ty + j, p)) d[i] = p;
                } else {
                    d[i] = ThroughMask(d[i], s[i], m[i]);
                }
            } else if (bg.Ready) {
                d[i] = ThroughMask(d[i], s[i], m[i]) | 0xFF000000u;
            } else if (s[i] == kKey) {
                if (cornerFlag) d[i] = fill;
            } else {
                d[i] = ThroughMask(d[i], s[i], m[i]);
                if (opaque) d[i] |= 0xFF000000u;
            }
        }
    }
}

// Clips a w x h block at (tx, ty) / (sx, sy) to both bitmaps; false when empty.
bool ClipBlock(const TBitmap32& target, const TBitmap32& source, int& tx, int& ty, int& sx, int& sy, int& w, int& h,
               int sourceRows) {
    auto moveIn = [](int& t, int& s, int& len) {
        if (s < 0) { t -= s; len += s; s = 0; }
        if (t < 0) { s -= t; len += t; t = 0; }
    };
    moveIn(tx, sx, w);
    moveIn(ty, sy, h);
    w = std::min({w, target.Width - tx, source.Width - sx});
    h = std::min({h, target.Height - ty, sourceRows - sy});
    return w > 0 && h > 0;
}

// One piece of the grid: source block (sx, sy, sw, sh) of the frame into target block dst.
struct TPiece {
    int sx, sy, sw, sh;
    TRect dst;
    bool corner, centre;
};

// Tiles a piece over its target block: whole pieces while x + sw < end, then one to the end.
template <typename Copy>
void TilePiece(const TPiece& p, Copy copy) {
    if (p.sw <= 0 || p.sh <= 0) return;
    for (int y = p.dst.Top; y < p.dst.Bottom; y += p.sh)
        for (int x = p.dst.Left; x < p.dst.Right; x += p.sw)
            copy(x, y, std::min(p.sw, p.dst.Right - x), std::min(p.sh, p.dst.Bottom - y));
}

}  // namespace

TCacheInfo CacheInfoForBitmap(TBitmap32* bitmap, int x, int y) {
    return TCacheInfo{bitmap, x, y, clMagenta, TRect{}, true};
}

TCacheInfo BackgroundToCacheInfo(int bgKind, TBitmap32* bitmap, TPoint offset, TColor color, TRect borderInsets) {
    if (bgKind == 2) return TCacheInfo{bitmap, offset.X, offset.Y, clMagenta, TRect{}, true};
    return TCacheInfo{bitmap, offset.X, offset.Y, ColorToRGB(color), borderInsets, false};
}

void CopyMaskedPiece(TRect targetRect, TRect sourceRect, TBitmap32* target, int maskDy, bool cornerFlag,
                     const TCacheInfo& background, const TBitmap32* source) {
    if (!HasRows(target) || !HasRows(source)) return;
    int tx = targetRect.Left, ty = targetRect.Top, sx = sourceRect.Left, sy = sourceRect.Top;
    int w = std::min(targetRect.Width(), sourceRect.Width()), h = std::min(targetRect.Height(), sourceRect.Height());
    if (!ClipBlock(*target, *source, tx, ty, sx, sy, w, h, source->Height - maskDy)) return;
    ComposeMasked(target, tx, ty, w, h, source, sx, sy, source, sx, sy + maskDy, cornerFlag, background, false);
}

void CopyKeyedPiece(TBitmap32* target, const TBitmap32* source, int x, bool cornerFlag, const TCacheInfo& background,
                    uint32_t key, TRect sourceRect, int y) {
    if (!HasRows(target) || !HasRows(source)) return;
    sourceRect.Right = std::min(sourceRect.Right, source->Width - 1);
    sourceRect.Bottom = std::min(sourceRect.Bottom, source->Height - 1);
    int tx = x, ty = y, sx = sourceRect.Left, sy = sourceRect.Top;
    int w = sourceRect.Width() + 1, h = sourceRect.Height() + 1;
    if (!ClipBlock(*target, *source, tx, ty, sx, sy, w, h, source->Height)) return;
    const bool ready = background.Ready;
    const bool selfBackground = ready && cornerFlag && background.Bmp == target;
    const uint32_t fill = ExchangeRedBlue(static_cast<uint32_t>(background.FillColor));
    for (int j = 0; j < h; ++j) {
        const uint32_t* s = source->Row(sy + j) + sx;
        uint32_t* d = target->Row(ty + j) + tx;
        for (int i = 0; i < w; ++i) {
            if (s[i] != key) {
                d[i] = selfBackground ? s[i] | 0xFF000000u : s[i];
            } else if (!ready) {
                d[i] = fill;
            } else if (cornerFlag && !selfBackground) {
                uint32_t p;
                if (BackgroundPixelRow(background, tx + i, ty + j, p)) d[i] = p;
            }
        }
    }
}

void StretchMaskedPiece(int x, int y, int width, bool centre, int maskOffset, const TBitmap32* source,
                        TBitmap32* target, int srcHeight, int srcWidth, int srcY, int srcX, int height) {
    if (!HasRows(target) || !HasRows(source) || width <= 0 || height <= 0 || srcWidth <= 0 || srcHeight <= 0) return;
    const TRect dst{x, y, x + width, y + height}, src{srcX, srcY, srcX + srcWidth, srcY + srcHeight};
    if (maskOffset == 0) {
        StretchRect32(target, dst, source, src);
        return;
    }
    if (srcX < 0 || srcY < 0 || srcX + srcWidth > source->Width || srcY + maskOffset + srcHeight > source->Height) return;
    const uint32_t s1 = source->Row(srcY)[srcX], m1 = source->Row(srcY + maskOffset)[srcX];
    if (centre && srcWidth == 1 && srcHeight == 1) {  // one colour through one mask value
        if ((m1 & 0xFFFFFF) == 0xFFFFFF) return;
        for (int ty = std::max(y, 0); ty < std::min(y + height, target->Height); ++ty) {
            uint32_t* d = target->Row(ty);
            for (int tx = std::max(x, 0); tx < std::min(x + width, target->Width); ++tx)
                d[tx] = (m1 & 0xFFFFFF) == 0 ? s1 | 0xFF000000u : ThroughMask(d[tx], s1, m1) | 0xFF000000u;
        }
        return;
    }
    // Image and mask pieces scaled apart, then composed.
    TMemBitmap32 piece(srcWidth, srcHeight), maskPiece(srcWidth, srcHeight);
    CopyRect32(&piece, 0, 0, source, srcX, srcY, srcWidth, srcHeight);
    CopyRect32(&maskPiece, 0, 0, source, srcX, srcY + maskOffset, srcWidth, srcHeight);
    const bool shrinkOneWay = (width < srcWidth && height == srcHeight) || (height < srcHeight && width == srcWidth);
    const bool smooth = (shrinkOneWay || (centre && width >= 2 && height >= 2)) && srcWidth >= 2 && srcHeight >= 2;
    TMemBitmap32 scaled, scaledMask;
    if (smooth) {
        ResampleBitmap32(&piece, &scaled, width, rfMitchell, height);
        ResampleBitmap32(&maskPiece, &scaledMask, width, rfMitchell, height);
    } else {
        scaled.SetSize(width, height);
        scaledMask.SetSize(width, height);
        StretchRect32(&scaled, {0, 0, width, height}, &piece, {0, 0, srcWidth, srcHeight});
        StretchRect32(&scaledMask, {0, 0, width, height}, &maskPiece, {0, 0, srcWidth, srcHeight});
    }
    int tx = x, ty = y, sx = 0, sy = 0, w = width, h = height;
    if (!ClipBlock(*target, scaled, tx, ty, sx, sy, w, h, scaled.Height)) return;
    ComposeMasked(target, tx, ty, w, h, &scaled, sx, sy, &scaledMask, sx, sy, false, TCacheInfo{}, true);
}

void PaintMaskNinePart(TBitmap32* target, TRect rect, const TCacheInfo& background, bool cornerFlag, int state,
                       const sk::TsMaskData& mask) {
    if (!mask.Manager || !HasRows(target) || mask.ImageCount < 1) return;
    if (state == 0 && (mask.DrawMode & 2)) return;
    if (rect.Width() < 2 || rect.Height() < 2) return;
    const TBitmap32* source = mask.Bmp ? mask.Bmp.get() : mask.Manager->MasterBitmap.get();
    if (!HasRows(source)) return;
    // Small target rule: margins and their source blocks shrink, the odd pixel off right/bottom.
    int l = mask.WL, t = mask.WT, r = mask.WR, b = mask.WB;
    auto shrink = [](int& first, int& second, int size) {
        if (size >= first + second) return;
        const int e = first + second - size;
        first = std::max(first - e / 2, 0);
        second = std::max(second - e / 2 - e % 2, 0);
    };
    shrink(l, r, rect.Width());
    shrink(t, b, rect.Height());
    const int fw = sk::MaskImageWidth(mask), fh = sk::MaskImageHeight(mask);
    const int frame = std::clamp(state, 0, mask.ImageCount - 1);
    const int sx = mask.R.Left + frame * fw, sy = mask.R.Top;
    const int cw = fw - l - r, ch = fh - t - b;
    if (cw < 0 || ch < 0) return;
    const bool stretch = mask.DrawMode & 1;
    const bool masked = mask.MaskType >= 1;
    const bool corners = cornerFlag && mask.CornerType > 0;
    const int maskDy = mask.R.Height() / 2;
    const TRect& D = rect;
    const TPiece pieces[9] = {
        {sx, sy, l, t, {D.Left, D.Top, D.Left + l, D.Top + t}, true, false},                          // top-left
        {sx, sy + t, l, ch, {D.Left, D.Top + t, D.Left + l, D.Bottom - b}, false, false},             // left
        {sx + l, sy, cw, t, {D.Left + l, D.Top, D.Right - r, D.Top + t}, false, false},               // top
        {sx, sy + fh - b, l, b, {D.Left, D.Bottom - b, D.Left + l, D.Bottom}, true, false},           // bottom-left
        {sx + l, sy + fh - b, cw, b, {D.Left + l, D.Bottom - b, D.Right - r, D.Bottom}, false, false},  // bottom
        {sx + l + cw, sy + fh - b, r, b, {D.Right - r, D.Bottom - b, D.Right, D.Bottom}, true, false},  // bottom-right
        {sx + l + cw, sy, r, t, {D.Right - r, D.Top, D.Right, D.Top + t}, true, false},               // top-right
        {sx + l + cw, sy + t, r, ch, {D.Right - r, D.Top + t, D.Right, D.Bottom - b}, false, false},  // right
        {sx + l, sy + t, cw, ch, {D.Left + l, D.Top + t, D.Right - r, D.Bottom - b}, false, true},    // centre
    };
    const TCacheInfo none{};
    for (const TPiece& p : pieces) {
        if (p.centre && !(mask.DrawMode & 4)) continue;
        if (p.sw <= 0 || p.sh <= 0 || p.dst.Width() <= 0 || p.dst.Height() <= 0) continue;
        if (p.corner) {
            if (masked)
                CopyMaskedPiece(p.dst, {p.sx, p.sy, p.sx + p.sw, p.sy + p.sh}, target, maskDy, corners, background, source);
            else
                CopyKeyedPiece(target, source, p.dst.Left, corners, background, kKey,
                               {p.sx, p.sy, p.sx + p.sw - 1, p.sy + p.sh - 1}, p.dst.Top);
        } else if (stretch) {
            StretchMaskedPiece(p.dst.Left, p.dst.Top, p.dst.Width(), p.centre, masked ? maskDy : 0, source, target, p.sh,
                               p.sw, p.sy, p.sx, p.dst.Height());
        } else {
            TilePiece(p, [&](int x, int y, int w, int h) {
                if (masked)
                    CopyMaskedPiece({x, y, x + w, y + h}, {p.sx, p.sy, p.sx + w, p.sy + h}, target, maskDy, false, none,
                                    source);
                else
                    CopyRect32(target, x, y, source, p.sx, p.sy, w, h);
            });
        }
    }
}

}  // namespace rd
