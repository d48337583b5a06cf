#include "skinpaint/sSectionPaint.h"

#include <algorithm>
#include <cmath>

#include "render/acArithmetic.h"
#include "render/acBlit.h"
#include "skinpaint/sTexture.h"

namespace rd {

namespace {

bool HasRows(const TBitmap32* b) {
    uint8_t* r;
    ptrdiff_t s;
    return GetScanGeometry(b, r, s);
}

bool Intersect(TRect a, const TRect& b, TRect& out) {
    out = {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
    return out.Left < out.Right && out.Top < out.Bottom;
}

int ResolveSection(const sk::TSkinModel* model, int sectionIndex, std::wstring_view sectionName) {
    if (!model) return -1;
    if (model->IsValidSkinIndex(sectionIndex)) return sectionIndex;
    const int byName = model->GetSkinIndex(sectionName);
    return model->IsValidSkinIndex(byName) ? byName : -1;
}

bool IsMask(const sk::TSkinModel& model, int index) { return model.IsValidImgIndex(index) && model.ma[index].Manager; }

// What lies behind rect (background position = target position + offset + (X, Y)) put into it:
// a ready bitmap copied; a bitmap that is valid only in the parent's border strips copied there
// over a fill of FillColor; otherwise FillColor.
void PutBackground(TBitmap32* target, TRect rect, const TCacheInfo& bg, TPoint offset) {
    const int dx = offset.X + bg.X, dy = offset.Y + bg.Y;
    if (bg.Ready && bg.Bmp) {
        CopyRect32(target, rect.Left, rect.Top, bg.Bmp, rect.Left + dx, rect.Top + dy, rect.Width(), rect.Height());
        return;
    }
    FillPixels32(target, rect, bg.FillColor, 255);
    if (!bg.Bmp || !HasRows(bg.Bmp)) return;
    const int w = bg.Bmp->Width, h = bg.Bmp->Height;
    const TRect& in = bg.FillRect;  // border widths
    const TRect strips[4] = {{0, 0, in.Left, h}, {0, 0, w, in.Top}, {w - in.Right, 0, w, h}, {0, h - in.Bottom, w, h}};
    const TRect under{rect.Left + dx, rect.Top + dy, rect.Right + dx, rect.Bottom + dy};
    const int widths[4] = {in.Left, in.Top, in.Right, in.Bottom};
    for (int i = 0; i < 4; ++i) {
        TRect part;
        if (widths[i] > 0 && Intersect(strips[i], under, part))
            CopyRect32(target, part.Left - dx, part.Top - dy, bg.Bmp, part.Left, part.Top, part.Width(), part.Height());
    }
}

// The fill values of one section state, with the texture chosen as the background layer does.
struct TStateFill {
    TSectionFill Fill;
    int Transparency = 0;
    int MaskedTexture = -1;  // a masked texture mask tiled over the layer afterwards
};

TStateFill ChooseFill(const sk::TSkinModel& model, int section, int state, TColor colorOverride, int hotTexture,
                      int texture) {
    const sk::TsGeneralData& gd = model.gd[section];
    const sk::TsGenState& props = gd.Props[state];
    TStateFill out;
    if (colorOverride != clMagenta) {
        out.Fill.Color = colorOverride;
        return out;
    }
    out.Fill.Color = props.Color;
    out.Transparency = props.Transparency;
    int index = state == 1 ? hotTexture : texture;
    if (!IsMask(model, index)) index = props.TextureIndex;
    if (!IsMask(model, index)) index = model.GetMaskIndex(section, gd.ClassName, L"PATTERN");
    if (IsMask(model, index) && model.ma[index].MaskType > 0 && model.ma[index].DrawMode == 10)
        out.MaskedTexture = index;
    if (out.Transparency == 100) return out;
    out.Fill.GradientPercent = props.GradientPercent;
    out.Fill.GradientArray = &props.GradientArray;
    out.Fill.ImagePercent = props.ImagePercent;
    if (IsMask(model, index) && model.ma[index].MaskType == 0) {
        out.Fill.TextureIndex = index;
    } else {
        const int pattern = model.GetPatternIndex(section, gd.ClassName, L"PATTERN");
        if (pattern >= 0 && pattern < static_cast<int>(model.pa.size())) out.Fill.Pattern = model.pa[pattern].Img.get();
    }
    return out;
}

bool HasGradientOrTexture(const TSectionFill& fill) {
    const bool gradient = fill.GradientPercent > 0 && fill.GradientArray && !fill.GradientArray->empty();
    const bool textured = fill.ImagePercent > 0 && (fill.TextureIndex >= 0 || fill.Pattern);
    return gradient || textured;
}

TCacheInfo Offset(TCacheInfo bg, TPoint by) {
    bg.X += by.X;
    bg.Y += by.Y;
    return bg;
}

}  // namespace

void PaintSectionBackground(int sectionIndex, std::wstring_view sectionName, const TCacheInfo& background,
                            TColor colorOverride, int hotTexture, int texture, const sk::TSkinModel* model,
                            TBitmap32* target, TPoint offset, TRect rect, int state) {
    const int section = ResolveSection(model, sectionIndex, sectionName);
    if (section < 0 || !HasRows(target) || rect.Width() <= 0 || rect.Height() <= 0) return;
    state = std::clamp(std::min(state, model->gd[section].States - 1), 0, 1);
    const TStateFill chosen = ChooseFill(*model, section, state, colorOverride, hotTexture, texture);
    const int transparency = chosen.Transparency;
    const bool known = background.Ready || background.FillColor != clMagenta;
    if (known && transparency != 0) {
        if (transparency >= 100) {
            PutBackground(target, rect, background, offset);
        } else if (background.Ready || HasGradientOrTexture(chosen.Fill)) {
            TMemBitmap32 layer(rect.Width(), rect.Height());
            const TRect whole{0, 0, layer.Width, layer.Height};
            ComposeSectionFill(&layer, whole, chosen.Fill, *model);
            PutBackground(target, rect, background, offset);
            const int level = std::clamp(RoundPercentOf255(transparency), 0, 255);
            BlendRectConstant(target, &layer, level, {rect.Left, rect.Top}, whole);
        } else {
            const uint32_t mixed = InterpolateColor(static_cast<uint32_t>(ColorToRGB(background.FillColor)),
                                                    static_cast<uint32_t>(ColorToRGB(chosen.Fill.Color)),
                                                    transparency / 100.0);
            FillPixels32(target, rect, static_cast<TColor>(mixed & 0x00FFFFFFu), 255);
        }
    } else {
        ComposeSectionFill(target, rect, chosen.Fill, *model);
    }
    if (chosen.MaskedTexture >= 0) {
        TRect area = rect;
        TileMaskedTexture(target, area, Offset(background, offset), 10, model->ma[chosen.MaskedTexture]);
    }
}

void PaintSectionFace(int sectionIndex, std::wstring_view sectionName, const TCacheInfo& background, int hotTexture,
                      int texture, const sk::TSkinModel* model, TBitmap32* target, TPoint offset, TRect rect,
                      int state) {
    const int section = ResolveSection(model, sectionIndex, sectionName);
    if (section < 0 || !HasRows(target)) return;
    if (rect.Left < 0 || rect.Top < 0 || rect.Right > target->Width || rect.Bottom > target->Height ||
        rect.Width() <= 0 || rect.Height() <= 0)
        return;
    const sk::TsGeneralData& gd = model->gd[section];
    state = std::max(std::min(state, gd.States - 1), 0);
    PaintSectionBackground(section, sectionName, background, clMagenta, hotTexture, texture, model, target, offset,
                           rect, state);
    // Corner images over the face just painted.
    const TCacheInfo self = CacheInfoForBitmap(target, 0, 0);
    const struct { int index; bool right, bottom; } corners[] = {
        {gd.ImgTL, false, false}, {gd.ImgTR, true, false}, {gd.ImgBL, false, true}, {gd.ImgBR, true, true}};
    for (const auto& c : corners) {
        if (!IsMask(*model, c.index)) continue;
        const sk::TsMaskData& m = model->ma[c.index];
        const TPoint at{c.right ? rect.Right - sk::MaskImageWidth(m) : rect.Left,
                        c.bottom ? rect.Bottom - sk::MaskImageHeight(m) : rect.Top};
        PaintMaskGlyph(target, at, state, self, m, 1);
    }
    if (IsMask(*model, gd.BorderIndex))
        PaintMaskNinePart(target, rect, Offset(background, offset), true, state, model->ma[gd.BorderIndex]);
}

void PaintSectionAlpha(int sectionIndex, int state, const sk::TSkinModel* model, TBitmap32* target, TRect rect) {
    const int section = ResolveSection(model, sectionIndex, {});
    if (section < 0 || !HasRows(target) || rect.Width() <= 0 || rect.Height() <= 0) return;
    const sk::TsGeneralData& gd = model->gd[section];
    state = std::max(std::min(state, gd.States - 1), 0);
    // The target as it was, one pixel larger each way, is the background of everything below.
    TMemBitmap32 before(target->Width + 1, target->Height + 1);
    CopyRect32(&before, 0, 0, target, 0, 0, target->Width, target->Height);
    const TCacheInfo behind = CacheInfoForBitmap(&before, 0, 0);
    const bool wholeTarget = rect.Left <= 0 && rect.Top <= 0 && rect.Right >= target->Width && rect.Bottom >= target->Height;
    if (gd.Props[std::min(state, 1)].Transparency >= 100 && wholeTarget)
        FillPixels32(target, {0, 0, target->Width, target->Height}, 0, 0);
    else
        PaintSectionBackground(section, {}, behind, clMagenta, -1, -1, model, target, {0, 0}, rect, state);
    if (IsMask(*model, gd.BorderIndex)) PaintMaskNinePartAlpha(target, rect, behind, state, model->ma[gd.BorderIndex]);
    if (wholeTarget) PremultiplyRect(target, {0, 0, target->Width, target->Height});
}

}  // namespace rd
