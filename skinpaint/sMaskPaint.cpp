#include "skinpaint/sMaskPaint.h"

#include <algorithm>
#include <cstring>

#include "render/acBlit.h"
#include "render/acPixelRows.h"
#include "render/acResample.h"
#include "render/sAlphaGraph.h"

namespace rd {

namespace {

constexpr uint32_t kKey = kKeyPixel;

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
    if (bg.Ready && cornerFlag) {  // corners over a ready background: key pixels show it
        for (int j = 0; j < h; ++j) {
            const uint32_t* s = img->Row(sy + j) + sx;
            const uint32_t* m = maskBmp->Row(my + j) + mx;
            uint32_t* d = target->Row(ty + j) + tx;
            for (int i = 0; i < w; ++i) {
                uint32_t p;
                if (s[i] != kKey) d[i] = ThroughMask(d[i], s[i], m[i]) | 0xFF000000u;
                else d[i] = BackgroundPixelRow(bg, tx + i, ty + j, p) ? p : d[i] | 0xFF000000u;
            }
        }
        return;
    }
    const TKeyRule rule = bg.Ready ? TKeyRule::Compose : (cornerFlag ? TKeyRule::Fill : TKeyRule::Leave);
    const uint32_t fill = ExchangeRedBlue(static_cast<uint32_t>(bg.FillColor));
    for (int j = 0; j < h; ++j)
        ComposeMaskedRow(target->Row(ty + j) + tx, img->Row(sy + j) + sx, maskBmp->Row(my + j) + mx, w, rule, fill,
                         bg.Ready || opaque);
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

// to[0, n) := from[phase], from[phase + 1], ..., starting again at from[0] every `period`
// values: one row of a tiled band.
template <typename T>
void RepeatRow(const T* from, int period, int phase, T* to, int n) {
    for (int x = 0, i = phase; x < n; i = 0) {
        const int run = std::min(period - i, n - x);
        std::copy(from + i, from + i + run, to + x);
        x += run;
    }
}

// Tiles an edge or centre piece over its band, one run per target row: copied unchanged, or
// composed through the mask maskDy rows below (key pixels leave the target, alpha not written);
// the piece's pixels are prepared for that once and repeated across the band's width.
// False, with nothing drawn, when the piece does not lie inside the source (the caller then
// tiles piece by piece, which clips every tile to the source) or when its repeated rows would
// take more than a few megabytes.
bool TileBand(TBitmap32* target, const TPiece& p, const TBitmap32& src, bool masked, int maskDy) {
    const int rows = src.Height - (masked ? maskDy : 0);
    if (p.sx < 0 || p.sy < 0 || p.sx + p.sw > src.Width || p.sy + p.sh > rows) return false;
    TRect band = p.dst;
    if (!ClipToBitmap(*target, band)) return true;
    const int n = band.Width(), phase = (band.Left - p.dst.Left) % p.sw;
    if (static_cast<int64_t>(n) * p.sh > (int64_t(1) << 18)) return false;
    auto pieceRow = [&](int y) { return (y - p.dst.Top) % p.sh; };
    if (!masked) {
        std::vector<uint32_t> line(static_cast<size_t>(n));
        for (int j = 0; j < std::min(p.sh, band.Height()); ++j) {
            const int y = band.Top + j, row = pieceRow(y);
            RepeatRow(src.Row(p.sy + row) + p.sx, p.sw, phase, line.data(), n);
            for (int t = y; t < band.Bottom; t += p.sh)
                std::memcpy(target->Row(t) + band.Left, line.data(), static_cast<size_t>(n) * 4);
        }
        return true;
    }
    // Four weights and four addends per pixel: the piece prepared, then its rows repeated.
    const int pieceValues = p.sw * 4, bandValues = n * 4;
    std::vector<uint16_t> pieceWeight(static_cast<size_t>(pieceValues)), pieceAddend(pieceWeight.size());
    std::vector<uint16_t> weight(static_cast<size_t>(bandValues)), addend(weight.size());
    for (int j = 0; j < std::min(p.sh, band.Height()); ++j) {
        const int y = band.Top + j, row = pieceRow(y);
        const uint32_t* image = src.Row(p.sy + row) + p.sx;
        const uint32_t* mask = src.Row(p.sy + row + maskDy) + p.sx;
        for (int i = 0; i < p.sw; ++i)
            PrepareMaskedPixel(image[i], mask[i], image[i] == kKey, &pieceWeight[4 * i], &pieceAddend[4 * i]);
        RepeatRow(pieceWeight.data(), pieceValues, phase * 4, weight.data(), bandValues);
        RepeatRow(pieceAddend.data(), pieceValues, phase * 4, addend.data(), bandValues);
        for (int t = y; t < band.Bottom; t += p.sh) ComposePreparedRow(target->Row(t) + band.Left, weight.data(), addend.data(), n);
    }
    return true;
}

// The nine pieces of one frame of a mask fitted to a target rectangle, in drawing order.
struct TNinePartGrid {
    const TBitmap32* Source = nullptr;
    TPiece Pieces[9];
    bool Stretch = false, Masked = false, FillCentre = false;
    int MaskDy = 0;
    bool Draws(const TPiece& p) const {
        return (!p.centre || FillCentre) && p.sw > 0 && p.sh > 0 && p.dst.Width() > 0 && p.dst.Height() > 0;
    }
};

// Margins, frame and pieces; false when nothing is to be drawn. limits, when given, caps the
// margins (left, top, right, bottom) before the small target rule.
bool BuildNinePartGrid(TRect rect, int state, const sk::TsMaskData& mask, const TRect* limits, TNinePartGrid& grid) {
    if (!mask.Manager || mask.ImageCount < 1) return false;
    if (state == 0 && (mask.DrawMode & 2)) return false;
    if (rect.Width() < 2 || rect.Height() < 2) return false;
    grid.Source = mask.Bmp ? mask.Bmp.get() : mask.Manager->MasterBitmap.get();
    if (!HasRows(grid.Source)) return false;
    int l = mask.WL, t = mask.WT, r = mask.WR, b = mask.WB;
    if (limits) {
        l = std::min(l, limits->Left);
        t = std::min(t, limits->Top);
        r = std::min(r, limits->Right);
        b = std::min(b, limits->Bottom);
    }
    // Widths below 0 (an external image's notation may give them) count as 0.
    for (int* margin : {&l, &t, &r, &b}) *margin = std::max(*margin, 0);
    // Small target rule: margins and their source blocks shrink, the odd pixel off right/bottom.
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
    if (cw < 0 || ch < 0) return false;
    grid.Stretch = mask.DrawMode & 1;
    grid.Masked = mask.MaskType >= 1;
    grid.FillCentre = mask.DrawMode & 4;
    grid.MaskDy = mask.R.Height() / 2;
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
    std::copy(std::begin(pieces), std::end(pieces), grid.Pieces);
    return true;
}

// Image and mask of a piece scaled to width x height: Mitchell when shrinking one way only or
// for a centre of at least 2 x 2, nearest samples otherwise. maskDy 0: no mask (scaledMask empty).
void ScalePiecePair(const TBitmap32* source, TRect piece, int maskDy, int width, int height, bool centre,
                    TMemBitmap32& scaled, TMemBitmap32& scaledMask) {
    const int sw = piece.Width(), sh = piece.Height();
    const bool shrinkOneWay = (width < sw && height == sh) || (height < sh && width == sw);
    const bool smooth = (shrinkOneWay || (centre && width >= 2 && height >= 2)) && sw >= 2 && sh >= 2;
    auto scale = [&](int dy, TMemBitmap32& out) {
        // The piece is read in place when it lies inside the source; otherwise from a copy, whose
        // pixels outside the source are 0.
        const TRect from{piece.Left, piece.Top + dy, piece.Right, piece.Bottom + dy};
        TMemBitmap32 cut;
        TBitmap32 view;
        if (from.Left >= 0 && from.Top >= 0 && from.Right <= source->Width && from.Bottom <= source->Height) {
            view = {reinterpret_cast<uint8_t*>(source->Row(from.Top) + from.Left), source->Stride, sw, sh};
        } else {
            cut.SetSize(sw, sh);
            CopyRect32(&cut, 0, 0, source, from.Left, from.Top, sw, sh);
            view = cut;
        }
        if (smooth) {
            ResampleBitmap32(&view, &out, width, rfMitchell, height);
        } else {
            out.SetSize(width, height);
            StretchRect32(&out, {0, 0, width, height}, &view, {0, 0, sw, sh});
        }
    };
    scale(0, scaled);
    if (maskDy != 0) scale(maskDy, scaledMask);
    else scaledMask.SetSize(0, 0);
}

// Composes a block whose alpha matters: a magenta image pixel clears the target, or takes the
// ready background's pixel whole; any other pixel is weighted by k = ((255 - m) * opacity) >> 8
// (opacity 256: k = 255 - m), m the red byte of its mask pixel (0 without a mask):
// d := (d * (255 - k) + s * k) >> 8 per channel, and an alpha that is not 255 rises to at least k.
void ComposeWeighted(TBitmap32* target, int tx, int ty, int w, int h, const TBitmap32* img, int sx, int sy,
                     const TBitmap32* maskBmp, int mx, int my, const TCacheInfo& bg, int opacity) {
    for (int j = 0; j < h; ++j) {
        const uint32_t* s = img->Row(sy + j) + sx;
        const uint32_t* m = maskBmp ? maskBmp->Row(my + j) + mx : nullptr;
        uint32_t* d = target->Row(ty + j) + tx;
        for (int i = 0; i < w; ++i) {
            if (s[i] == kKey) {
                uint32_t p;
                if (bg.Ready && BackgroundPixelRow(bg, tx + i, ty + j, p)) d[i] = p;
                else d[i] &= 0x00FFFFFFu;
                continue;
            }
            const int maskRed = m ? static_cast<int>((m[i] >> 16) & 0xFF) : 0;
            const int k = opacity >= 256 ? 255 - maskRed : ((255 - maskRed) * opacity) >> 8;
            uint32_t out = 0;
            for (int lane = 0; lane < 3; ++lane) {
                const int dc = (d[i] >> (8 * lane)) & 0xFF, sc = (s[i] >> (8 * lane)) & 0xFF;
                out |= static_cast<uint32_t>((dc * (255 - k) + sc * k) >> 8) << (8 * lane);
            }
            const int a = static_cast<int>(d[i] >> 24);
            const int alpha = a == 0 ? k : (a == 255 ? 255 : std::max(a, k));
            d[i] = out | static_cast<uint32_t>(alpha) << 24;
        }
    }
}

// The nine-part grid composed by ComposeWeighted: corners and tiles straight from the source,
// stretched bands through ScalePiecePair.
void PaintNinePartWeighted(TBitmap32* target, TRect rect, const TCacheInfo& background, int opacity,
                           const TRect* limits, int state, const sk::TsMaskData& mask) {
    TNinePartGrid grid;
    if (!HasRows(target) || !BuildNinePartGrid(rect, state, mask, limits, grid)) return;
    const TBitmap32* src = grid.Source;
    const int maskDy = grid.Masked ? grid.MaskDy : 0;
    auto composeBlock = [&](int x, int y, int w, int h, int sx, int sy) {
        int tx = x, ty = y, px = sx, py = sy;
        if (!ClipBlock(*target, *src, tx, ty, px, py, w, h, src->Height - maskDy)) return;
        ComposeWeighted(target, tx, ty, w, h, src, px, py, grid.Masked ? src : nullptr, px, py + maskDy, background,
                        opacity);
    };
    for (const TPiece& p : grid.Pieces) {
        if (!grid.Draws(p)) continue;
        if (p.corner) {
            composeBlock(p.dst.Left, p.dst.Top, std::min(p.sw, p.dst.Width()), std::min(p.sh, p.dst.Height()), p.sx, p.sy);
        } else if (grid.Stretch) {
            TMemBitmap32 scaled, scaledMask;
            ScalePiecePair(src, {p.sx, p.sy, p.sx + p.sw, p.sy + p.sh}, maskDy, p.dst.Width(), p.dst.Height(), p.centre,
                           scaled, scaledMask);
            int tx = p.dst.Left, ty = p.dst.Top, px = 0, py = 0, w = scaled.Width, h = scaled.Height;
            if (!ClipBlock(*target, scaled, tx, ty, px, py, w, h, scaled.Height)) continue;
            ComposeWeighted(target, tx, ty, w, h, &scaled, px, py, grid.Masked ? &scaledMask : nullptr, px, py,
                            background, opacity);
        } else {
            TilePiece(p, [&](int x, int y, int w, int h) { composeBlock(x, y, w, h, p.sx, p.sy); });
        }
    }
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
    TMemBitmap32 scaled, scaledMask;
    ScalePiecePair(source, src, maskOffset, width, height, centre, scaled, scaledMask);
    int tx = x, ty = y, sx = 0, sy = 0, w = width, h = height;
    if (!ClipBlock(*target, scaled, tx, ty, sx, sy, w, h, scaled.Height)) return;
    ComposeMasked(target, tx, ty, w, h, &scaled, sx, sy, &scaledMask, sx, sy, false, TCacheInfo{}, true);
}

void PaintMaskNinePart(TBitmap32* target, TRect rect, const TCacheInfo& background, bool cornerFlag, int state,
                       const sk::TsMaskData& mask) {
    TNinePartGrid grid;
    if (!HasRows(target) || !BuildNinePartGrid(rect, state, mask, nullptr, grid)) return;
    const bool corners = cornerFlag && mask.CornerType > 0;
    const TCacheInfo none{};
    for (const TPiece& p : grid.Pieces) {
        if (!grid.Draws(p)) continue;
        if (p.corner) {
            if (grid.Masked)
                CopyMaskedPiece(p.dst, {p.sx, p.sy, p.sx + p.sw, p.sy + p.sh}, target, grid.MaskDy, corners, background,
                                grid.Source);
            else
                CopyKeyedPiece(target, grid.Source, p.dst.Left, corners, background, kKey,
                               {p.sx, p.sy, p.sx + p.sw - 1, p.sy + p.sh - 1}, p.dst.Top);
        } else if (grid.Stretch) {
            StretchMaskedPiece(p.dst.Left, p.dst.Top, p.dst.Width(), p.centre, grid.Masked ? grid.MaskDy : 0, grid.Source,
                               target, p.sh, p.sw, p.sy, p.sx, p.dst.Height());
        } else {
            if (TileBand(target, p, *grid.Source, grid.Masked, grid.MaskDy)) continue;
            TilePiece(p, [&](int x, int y, int w, int h) {
                if (grid.Masked)
                    CopyMaskedPiece({x, y, x + w, y + h}, {p.sx, p.sy, p.sx + w, p.sy + h}, target, grid.MaskDy, false,
                                    none, grid.Source);
                else
                    CopyRect32(target, x, y, grid.Source, p.sx, p.sy, w, h);
            });
        }
    }
}

void PaintMaskNinePartAlpha(TBitmap32* target, TRect rect, const TCacheInfo& background, int state,
                            const sk::TsMaskData& mask) {
    PaintNinePartWeighted(target, rect, background, 256, nullptr, state, mask);
}

void PaintMaskNinePartOpacity(TBitmap32* target, TRect rect, const TCacheInfo& background, int opacity, TRect limits,
                              int state, const sk::TsMaskData& mask) {
    PaintNinePartWeighted(target, rect, background, std::clamp(opacity, 0, 255), &limits, state, mask);
}

void PaintMaskWithRegion(TBitmap32* target, std::vector<TRect>& cutOut, bool cornerFlag, int state,
                         const sk::TsMaskData& mask) {
    cutOut.clear();
    if (!HasRows(target)) return;
    const TRect whole{0, 0, target->Width, target->Height};
    PaintMaskNinePart(target, whole, TCacheInfo{}, cornerFlag, state, mask);
    TNinePartGrid grid;
    if (!BuildNinePartGrid(whole, state, mask, nullptr, grid)) return;
    const int imageRows = grid.Source->Height - (grid.Masked ? grid.MaskDy : 0);
    for (const TPiece& p : grid.Pieces) {
        if (!p.corner || !grid.Draws(p)) continue;
        // The part of the corner piece that lies in the source, as it was drawn.
        int tx = p.dst.Left, ty = p.dst.Top, sx = p.sx, sy = p.sy, w = p.sw, h = p.sh;
        if (!ClipBlock(*target, *grid.Source, tx, ty, sx, sy, w, h, imageRows)) continue;
        // Runs of magenta image pixels in each row of it, one rectangle per run.
        for (int j = 0; j < h; ++j) {
            const uint32_t* s = grid.Source->Row(sy + j) + sx;
            for (int i = 0; i < w;) {
                if (s[i] != kKey) { ++i; continue; }
                const int first = i;
                while (i < w && s[i] == kKey) ++i;
                cutOut.push_back({tx + first, ty + j, tx + i, ty + j + 1});
            }
        }
    }
}

void PaintMaskGlyph(TBitmap32* target, TPoint at, int state, const TCacheInfo& background, const sk::TsMaskData& mask,
                    int mode) {
    if (!mask.Manager || !HasRows(target) || mask.ImageCount < 1) return;
    const TBitmap32* source = mask.Bmp ? mask.Bmp.get() : mask.Manager->MasterBitmap.get();
    if (!HasRows(source)) return;
    if (mask.R.Left < 0 || mask.R.Top < 0 || mask.R.Right > source->Width || mask.R.Bottom > source->Height) return;
    const int fw = sk::MaskImageWidth(mask), fh = sk::MaskImageHeight(mask);
    if (fw <= 0 || fh <= 0) return;
    const int sx = mask.R.Left + std::clamp(state, 0, mask.ImageCount - 1) * fw, sy = mask.R.Top;
    if (mask.MaskType <= 0) {
        const TRect inclusive{sx, sy, sx + fw - 1, sy + fh - 1};
        if (mode == 1)
            CopyKeyedPiece(target, source, at.X, true, background, kKey, inclusive, at.Y);
        else
            BlendFromBitmap(target, at.X, at.Y, kKey, 0.5, inclusive, source);
        return;
    }
    int tx = at.X, ty = at.Y, px = sx, py = sy, w = fw, h = fh;
    if (!ClipBlock(*target, *source, tx, ty, px, py, w, h, sy + fh)) return;
    const int extra = mode == 1 ? 0 : 100;  // the disabled look: a more transparent mask
    for (int j = 0; j < h; ++j) {
        const uint32_t* s = source->Row(py + j) + px;
        const uint32_t* m = source->Row(py + fh + j) + px;
        uint32_t* d = target->Row(ty + j) + tx;
        for (int i = 0; i < w; ++i) {
            if (s[i] == kKey || ((m[i] >> 16) & 0xFF) == 255) continue;
            uint32_t weights = 0;
            for (int lane = 0; lane < 3; ++lane)
                weights |= static_cast<uint32_t>(std::min(int((m[i] >> (8 * lane)) & 0xFF) + extra, 255)) << (8 * lane);
            const uint32_t a = d[i] >> 24, maskRed = (weights >> 16) & 0xFF;
            d[i] = (ThroughMask(d[i], s[i], weights) & 0x00FFFFFFu) | ((a + (((255 - a) * (255 - maskRed)) >> 8)) << 24);
        }
    }
}

}  // namespace rd
