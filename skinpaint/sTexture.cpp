#include "skinpaint/sTexture.h"

#include <algorithm>

#include "render/acBlit.h"
#include "render/acPixelRows.h"
#include "render/sGradient.h"

namespace rd {

namespace {

bool IsEmpty(const TRect& r) { return r.Left >= r.Right || r.Top >= r.Bottom; }

// Places tiles of w x h over area from its top-left corner: whole tiles while x + w < Right
// (y + h < Bottom), then one last piece to the end; with cutLastRow false only rows with
// y + h < Bottom are drawn. place(x, y, pieceW, pieceH).
template <typename Place>
void TileArea(const TRect& area, int w, int h, bool cutLastRow, Place place) {
    if (w <= 0 || h <= 0 || IsEmpty(area)) return;
    for (int y = area.Top; y < area.Bottom; y += h) {
        if (!cutLastRow && y + h >= area.Bottom) break;
        const int ph = std::min(h, area.Bottom - y);
        for (int x = area.Left; x < area.Right; x += w) place(x, y, std::min(w, area.Right - x), ph);
    }
}

void TileBitmap(TBitmap32* target, const TRect& area, const TBitmap32* source, const TRect& frame) {
    TileArea(area, frame.Width(), frame.Height(), true, [&](int x, int y, int w, int h) {
        CopyRect32(target, x, y, source, frame.Left, frame.Top, w, h);
    });
}

TRect RemainderOrCovered(TRect r) { return IsEmpty(r) ? kCovered : r; }

// Stretches frame of source over band, drawing only the pixels inside clip (a band as deep as
// the texture is cut, not squeezed, by a shallower rectangle).
void StretchClipped(TBitmap32* target, const TRect& clip, const TRect& band, const TBitmap32* source,
                    const TRect& frame) {
    TRect inside = clip;
    if (!ClipToBitmap(*target, inside)) return;
    TBitmap32 view = ViewOfRect(*target, inside);
    const TRect moved{band.Left - inside.Left, band.Top - inside.Top, band.Right - inside.Left, band.Bottom - inside.Top};
    StretchRect32(&view, moved, source, frame);
}

// Draws one masked tile, clipped to the target and to the source: image pixel s, mask pixel m
// maskDy rows lower.
void CopyMaskedTile(TBitmap32* target, int tx, int ty, int w, int h, const TBitmap32* source, int sx, int sy,
                    int maskDy, const TCacheInfo& bg) {
    if (!ClipBlock(*target, *source, tx, ty, sx, sy, w, h, source->Height - maskDy)) return;
    const bool fromBitmap = bg.Ready && bg.FillColor == clMagenta && bg.Bmp;
    const bool fromColor = bg.FillColor != clMagenta;
    const uint32_t fill = ExchangeRedBlue(static_cast<uint32_t>(bg.FillColor));
    for (int j = 0; j < h; ++j) {
        const int y = ty + j;
        const uint32_t* img = source->Row(sy + j) + sx;
        const uint32_t* msk = source->Row(sy + j + maskDy) + sx;
        uint32_t* dst = target->Row(y) + tx;
        for (int i = 0; i < w; ++i) {
            const uint32_t s = img[i];
            if (s == 0x00FF00FFu) {
                if (fromBitmap) {
                    const int bx = tx + i + bg.X, by = y + bg.Y;
                    if (bx >= 0 && by >= 0 && bx < bg.Bmp->Width && by < bg.Bmp->Height) dst[i] = bg.Bmp->Row(by)[bx];
                } else if (fromColor) {
                    dst[i] = fill;
                }
                continue;
            }
            dst[i] = ThroughMask(dst[i], s, msk[i]);
        }
    }
}

// Fills the parts of rect outside `done` from the background (bitmap or colour).
void FillFromBackground(TBitmap32* target, const TRect& strip, const TCacheInfo& bg) {
    if (IsEmpty(strip)) return;
    if (bg.Ready && bg.Bmp)
        CopyRect32(target, strip.Left, strip.Top, bg.Bmp, strip.Left + bg.X, strip.Top + bg.Y, strip.Width(),
                   strip.Height());
    else
        FillPixels32(target, strip, bg.FillColor, 255);
}

}  // namespace

bool MaskFrame0(const sk::TsMaskData& mask, const TBitmap32*& source, TRect& frame) {
    if (!mask.Manager) return false;
    source = mask.Bmp ? mask.Bmp.get() : mask.Manager->MasterBitmap.get();
    frame = {mask.R.Left, mask.R.Top, mask.R.Left + sk::MaskImageWidth(mask), mask.R.Top + sk::MaskImageHeight(mask)};
    uint8_t* r;
    ptrdiff_t s;
    return GetScanGeometry(source, r, s) && !IsEmpty(frame) && frame.Left >= 0 && frame.Top >= 0 &&
           frame.Right <= source->Width && frame.Bottom <= source->Height;
}

void TilePatternImage(TBitmap32* target, TRect rect, const TBitmap32* image) {
    uint8_t* r;
    ptrdiff_t s;
    if (!GetScanGeometry(image, r, s)) return;
    TileBitmap(target, rect, image, {0, 0, image->Width, image->Height});
}

void FillTexture(TBitmap32* target, TRect& rect, const TBitmap32* pattern, int mode, const sk::TsMaskData* mask) {
    if (IsEmpty(rect)) return;
    if (pattern) {
        TilePatternImage(target, rect, pattern);
        rect = kCovered;
        return;
    }
    const TBitmap32* src;
    TRect frame;
    if (!mask || !MaskFrame0(*mask, src, frame)) return;
    const int w = frame.Width(), h = frame.Height();
    const TRect r = rect;
    const TRect top{r.Left, r.Top, r.Right, std::min(r.Top + h, r.Bottom)};
    const TRect left{r.Left, r.Top, std::min(r.Left + w, r.Right), r.Bottom};
    const TRect bottom{r.Left, std::max(r.Bottom - h, r.Top), r.Right, r.Bottom};
    const TRect right{std::max(r.Right - w, r.Left), r.Top, r.Right, r.Bottom};
    switch (mode) {
        case 0: TileBitmap(target, r, src, frame); rect = kCovered; break;
        case 1: StretchRect32(target, r, src, frame); rect = kCovered; break;
        case 2: TileBitmap(target, top, src, frame); rect = RemainderOrCovered({r.Left, top.Bottom, r.Right, r.Bottom}); break;
        case 3: TileBitmap(target, left, src, frame); rect = RemainderOrCovered({left.Right, r.Top, r.Right, r.Bottom}); break;
        case 4:
            StretchClipped(target, r, {r.Left, r.Top, r.Right, r.Top + h}, src, frame);
            rect = RemainderOrCovered({r.Left, top.Bottom, r.Right, r.Bottom});
            break;
        case 5:
            StretchClipped(target, r, {r.Left, r.Top, r.Left + w, r.Bottom}, src, frame);
            rect = RemainderOrCovered({left.Right, r.Top, r.Right, r.Bottom});
            break;
        case 6: TileBitmap(target, bottom, src, frame); rect = RemainderOrCovered({r.Left, r.Top, r.Right, bottom.Top}); break;
        case 7: TileBitmap(target, right, src, frame); rect = RemainderOrCovered({r.Left, r.Top, right.Left, r.Bottom}); break;
        case 10:
            TileArea(r, w, h, false, [&](int x, int y, int pw, int ph) {
                CopyRect32(target, x, y, src, frame.Left, frame.Top, pw, ph);
            });
            rect = kCovered;
            break;
        default:  // the right band, reported as uncovered so the colour paints over it
            TileBitmap(target, right, src, frame);
            rect = right;
            break;
    }
}

void TileMaskedTexture(TBitmap32* target, TRect& rect, const TCacheInfo& background, int mode,
                       const sk::TsMaskData& mask) {
    if (mode != 0 && mode != 10) return;
    uint8_t* r;
    ptrdiff_t s;
    const TBitmap32* src = mask.Manager ? (mask.Bmp ? mask.Bmp.get() : mask.Manager->MasterBitmap.get()) : nullptr;
    const int w = sk::MaskImageWidth(mask), th = mask.R.Height() / 2;
    if (!GetScanGeometry(target, r, s) || !GetScanGeometry(src, r, s) || w <= 0 || th <= 0 || IsEmpty(rect)) return;
    const TRect area = rect;
    int wholeRight = area.Left, wholeBottom = area.Top;
    for (int y = area.Top; y < area.Bottom - th; y += th) {
        for (int x = area.Left; x < area.Right - w; x += w) {
            CopyMaskedTile(target, x, y, w, th, src, mask.R.Left, mask.R.Top, th, background);
            wholeRight = x + w;
        }
        wholeBottom = y + th;
    }
    if (mode == 0) {
        for (int y = area.Top; y < wholeBottom; y += th)
            CopyMaskedTile(target, wholeRight, y, area.Right - wholeRight, th, src, mask.R.Left, mask.R.Top, th,
                           background);
    } else {
        FillFromBackground(target, {wholeRight, area.Top, area.Right, wholeBottom}, background);
        FillFromBackground(target, {area.Left, wholeBottom, area.Right, area.Bottom}, background);
    }
    rect = kCovered;
}

void ComposeSectionFill(TBitmap32* target, TRect rect, const TSectionFill& fill, const sk::TSkinModel& model) {
    uint8_t* r;
    ptrdiff_t s;
    if (!GetScanGeometry(target, r, s) || IsEmpty(rect)) return;
    static const sk::TsGradArray kNoGradient;
    const sk::TsGradArray& gradient = fill.GradientArray ? *fill.GradientArray : kNoGradient;
    const sk::TsMaskData* texture = (fill.TextureIndex >= 0 && fill.TextureIndex < static_cast<int>(model.ma.size()))
                                        ? &model.ma[fill.TextureIndex]
                                        : nullptr;
    const int gp = fill.GradientPercent, ip = fill.ImagePercent, level = std::clamp(ip * 255 / 100, 0, 255);
    const TBitmap32* texSource;
    TRect frame;
    // Gradient and an unmasked tiled texture that share the whole fill: one pass.
    if (gp + ip == 100 && gp > 0 && gp < 100 && texture && texture->DrawMode == 0 && texture->MaskType == 0 &&
        !gradient.empty() && gradient[0].Mode1 < 2 && MaskFrame0(*texture, texSource, frame)) {
        FillGradientTextured(target, rect, gradient, 255, level, frame, texSource);
        return;
    }
    bool textured = false;
    if (ip > 0 && (texture || fill.Pattern)) {
        TRect uncovered = rect;
        if (!texture)
            FillTexture(target, uncovered, fill.Pattern, 0, nullptr);
        else if (texture->MaskType > 0)
            TileMaskedTexture(target, uncovered, TCacheInfo{}, texture->DrawMode, *texture);
        else
            FillTexture(target, uncovered, nullptr, texture->DrawMode, texture);
        if (uncovered.Left != -1 || uncovered.Right != -1) FillPixels32(target, uncovered, fill.Color, 255);
        textured = true;
    }
    if (gp > 0) {
        if (textured) {
            TMemBitmap32 layer(rect.Width(), rect.Height());
            const TRect whole{0, 0, layer.Width, layer.Height};
            if (gradient.empty()) FillPixels32(&layer, whole, fill.Color, 255);
            else FillGradient(&layer, whole, gradient);
            BlendRectConstant(target, &layer, level, {rect.Left, rect.Top}, whole);
        } else if (gradient.empty()) {
            FillPixels32(target, rect, fill.Color, 255);
        } else {
            FillGradient(target, rect, gradient);
        }
    }
    const int sum = gp + ip;
    if (sum >= 1 && sum <= 99)
        MixRectWithColor(target, {rect.Left, rect.Top, rect.Right - 1, rect.Bottom - 1}, sum, fill.Color);
    else if (sum <= 0)
        FillPixels32(target, rect, fill.Color, 255);
}

}  // namespace rd
