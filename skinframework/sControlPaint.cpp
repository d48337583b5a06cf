#include "skinframework/sControlPaint.h"

#include <algorithm>

#include "render/acPixelRows.h"
#include "skin/acColorAdjust.h"
#include "skinframework/sSkinManager.h"
#include "skinpaint/sSectionPaint.h"

namespace sk {

namespace {

const TSkinModel* ModelOf(const TsCommonData& common) {
    const TsSkinManager* manager = common.SkinManager();
    return manager ? &manager->Model() : nullptr;
}

// The bound section's general data; null when the control is not bound to a valid section.
const TsGeneralData* SectionOf(const TsCommonData& common, const TSkinModel* model) {
    return model && model->IsValidSkinIndex(common.SkinIndex) ? &model->gd[static_cast<size_t>(common.SkinIndex)]
                                                               : nullptr;
}

// A mask that can be drawn: a valid index whose record knows its model.
const TsMaskData* MaskAt(const TSkinModel& model, int index) {
    return model.IsValidImgIndex(index) && model.ma[static_cast<size_t>(index)].Manager
               ? &model.ma[static_cast<size_t>(index)]
               : nullptr;
}

bool HasRows(const rd::TBitmap32* bitmap) {
    uint8_t* row0;
    ptrdiff_t stride;
    return rd::GetScanGeometry(bitmap, row0, stride);
}

bool LiesInside(const rd::TBitmap32& target, const rd::TRect& rect) {
    return rect.Left >= 0 && rect.Top >= 0 && rect.Right <= target.Width && rect.Bottom <= target.Height &&
           rect.Width() > 0 && rect.Height() > 0;
}

int CapState(int state, const TsGeneralData& section) { return std::max(std::min(state, section.States - 1), 0); }

// The colour that replaces the section's background: the control's own colour when the user
// set it (a skin provider's form colour), else magenta, which keeps the section's.
rd::TColor BackgroundOverride(const TsCommonData& common) {
    if (!common.FCustomColor) return rd::clMagenta;
    if (common.FProvider && common.FProvider->Form()) return rd::ColorToRGB(common.FProvider->Form()->Color());
    if (common.FOwnerControl) return rd::ColorToRGB(common.FOwnerControl->Color());
    return rd::clMagenta;
}

rd::TCacheInfo Shifted(rd::TCacheInfo background, rd::TPoint by) {
    background.X += by.X;
    background.Y += by.Y;
    return background;
}

// The corner images of the section (ImgTL, ImgTR, ImgBL, ImgBR) over the face in rect.
void PaintCornerImages(const TSkinModel& model, const TsGeneralData& section, rd::TBitmap32* target, rd::TRect rect,
                       int state) {
    const rd::TCacheInfo self = rd::CacheInfoForBitmap(target, 0, 0);
    const struct {
        int index;
        bool right, bottom;
    } images[] = {{section.ImgTL, false, false},
                  {section.ImgTR, true, false},
                  {section.ImgBL, false, true},
                  {section.ImgBR, true, true}};
    for (const auto& image : images) {
        const TsMaskData* mask = MaskAt(model, image.index);
        if (!mask) continue;
        const rd::TPoint at{image.right ? rect.Right - MaskImageWidth(*mask) : rect.Left,
                            image.bottom ? rect.Bottom - MaskImageHeight(*mask) : rect.Top};
        rd::PaintMaskGlyph(target, at, state, self, *mask, 1);
    }
}

// Tone, hue and saturation of the control over every pixel of bitmap but the key colour.
void AdjustFaceColors(rd::TBitmap32* bitmap, const TsCommonData& common) {
    if (common.FColorTone != rd::clNone)
        rd::ForEachPixel(bitmap, rd::PixelToneByBrightest, rd::ColorToRGB(common.FColorTone), rd::clMagenta);
    if (common.FHUEOffset != 0) rd::ForEachPixel(bitmap, rd::PixelShiftHue, common.FHUEOffset, rd::clMagenta);
    // The saturation is a percentage here as everywhere else a control applies it.
    if (common.FSaturation != 0)
        rd::ForEachPixel(bitmap, rd::PixelShiftSaturation, SaturationAmount(common.FSaturation), rd::clMagenta);
}

// What lies behind the control now, asked from its parent without painting; false when the
// parent's pixels are not ready yet (its cache is still empty).
bool FreshBackground(TsCommonData& common, rd::TCacheInfo& background) {
    TacBgRequest request;
    request.DrawNow = false;
    GetParentBg(common, request);
    if (request.BgKind == bgNotReady) return false;
    rd::TBitmap32* bitmap = request.Bitmap && !request.Bitmap->Empty() ? request.Bitmap->View() : nullptr;
    background = rd::BackgroundToCacheInfo(request.BgKind, bitmap, request.Offset, request.Color, request.BorderInsets);
    if (background.Ready && !bitmap) return false;
    if (background.Ready)
        background = Shifted(background, {common.FOwnerControl->Left(), common.FOwnerControl->Top()});
    return true;
}

// The geometry of a border mask's frames as the corner refresh reads them.
struct TCornerFrames {
    const rd::TBitmap32* Source = nullptr;
    rd::TRect R;
    int ImageCount = 0;
    bool Masked = false;
    int FrameWidth = 0, FrameHeight = 0, MaskDy = 0;
};

// False when the mask's frames do not lie in its image. A mask with its own image and no
// frame count is a masked image of three frames covering that image.
bool CornerFramesOf(const TsMaskData& mask, TCornerFrames& frames) {
    frames.Source = mask.Bmp ? mask.Bmp.get() : mask.Manager->MasterBitmap.get();
    if (!HasRows(frames.Source)) return false;
    TsMaskData shape;
    if (mask.Bmp && mask.ImageCount == 0) {
        shape.R = {0, 0, frames.Source->Width, frames.Source->Height};
        shape.ImageCount = 3;
        shape.MaskType = 1;
    } else {
        shape.R = mask.R;
        shape.ImageCount = mask.ImageCount;
        shape.MaskType = mask.MaskType;
    }
    const rd::TRect& r = shape.R;
    if (shape.ImageCount < 1 || r.Left < 0 || r.Top < 0 || r.Right > frames.Source->Width ||
        r.Bottom > frames.Source->Height)
        return false;
    frames.R = r;
    frames.ImageCount = shape.ImageCount;
    frames.Masked = shape.MaskType >= 1;
    frames.FrameWidth = MaskImageWidth(shape);
    frames.FrameHeight = MaskImageHeight(shape);
    frames.MaskDy = r.Height() / 2;
    return frames.FrameWidth > 0 && frames.FrameHeight > 0;
}

}  // namespace

void PaintControlBackground(TsCommonData& common, const rd::TCacheInfo& background, int state, rd::TBitmap32* target,
                            rd::TPoint offset, rd::TRect rect) {
    const TSkinModel* model = ModelOf(common);
    const TsGeneralData* section = SectionOf(common, model);
    if (!section || !HasRows(target) || !LiesInside(*target, rect)) return;
    rd::PaintSectionBackground(common.SkinIndex, common.FSkinSection, background, BackgroundOverride(common),
                               common.HotTexture, common.Texture, model, target, offset, rect,
                               CapState(state, *section));
}

void PaintControlFace(TsCommonData& common, const rd::TCacheInfo& background, bool cornerFlag, rd::TBitmap32* target,
                      rd::TPoint offset, rd::TRect rect, int state) {
    const TSkinModel* model = ModelOf(common);
    const TsGeneralData* section = SectionOf(common, model);
    if (!section || !HasRows(target) || !LiesInside(*target, rect)) return;
    state = CapState(state, *section);
    PaintControlBackground(common, background, state, target, offset, rect);
    PaintCornerImages(*model, *section, target, rect, state);
    const TsMaskData* border = MaskAt(*model, common.BorderIndex);
    const bool drawsBorder = border && !(state == 0 && (border->DrawMode & 2));
    if (drawsBorder) rd::PaintMaskNinePart(target, rect, Shifted(background, offset), cornerFlag, state, *border);
    // A transparent face without a border holds only the parent's pixels: they keep their colours.
    if (!drawsBorder && section->Props[std::min(state, 1)].Transparency != 0) return;
    rd::TBitmap32 face = rd::ViewOfRect(*target, rect);
    AdjustFaceColors(&face, common);
}

void RefreshFaceCorners(TsCommonData& common, int state, unsigned corners) {
    const TSkinModel* model = ModelOf(common);
    if (!model || !common.FOwnerControl || !common.FCacheBmp || common.FCacheBmp->Empty()) return;
    const TsMaskData* mask = MaskAt(*model, common.BorderIndex);
    if (!mask || mask->CornerType == 0 || (corners & fcAllCorners) == 0) return;
    TCornerFrames frames;
    if (!CornerFramesOf(*mask, frames)) return;
    rd::TCacheInfo background;
    if (!FreshBackground(common, background)) return;
    rd::TBitmap32* cache = common.FCacheBmp->View();
    if (!HasRows(cache)) return;
    const int frame = std::clamp(state, 0, frames.ImageCount - 1);
    const int sx = frames.R.Left + frame * frames.FrameWidth, sy = frames.R.Top;
    const int fw = frames.FrameWidth, fh = frames.FrameHeight, w = cache->Width, h = cache->Height;
    // Margins as the mask gives them, kept within one frame.
    const int l = std::clamp<int>(mask->WL, 0, fw), r = std::clamp<int>(mask->WR, 0, fw);
    const int t = std::clamp<int>(mask->WT, 0, fh), b = std::clamp<int>(mask->WB, 0, fh);
    const struct {
        unsigned bit;
        rd::TRect source;
        rd::TPoint at;
    } blocks[] = {
        {fcTopLeft, {sx, sy, sx + l, sy + t}, {0, 0}},
        {fcBottomLeft, {sx, sy + fh - b, sx + l, sy + fh}, {0, h - b}},
        {fcBottomRight, {sx + fw - r, sy + fh - b, sx + fw, sy + fh}, {w - r, h - b}},
        {fcTopRight, {sx + fw - r, sy, sx + fw, sy + t}, {w - r, 0}},
    };
    for (const auto& block : blocks) {
        const rd::TRect& s = block.source;
        if (!(corners & block.bit) || s.Width() <= 0 || s.Height() <= 0) continue;
        if (frames.Masked) {
            const rd::TRect to{block.at.X, block.at.Y, block.at.X + s.Width(), block.at.Y + s.Height()};
            rd::CopyMaskedPiece(to, s, cache, frames.MaskDy, true, background, frames.Source);
        } else {
            rd::CopyKeyedPiece(cache, frames.Source, block.at.X, true, background, rd::kKeyPixel,
                               {s.Left, s.Top, s.Right - 1, s.Bottom - 1}, block.at.Y);
        }
    }
}

void ApplyColorTone(rd::TBitmap32* bitmap, TsCommonData& common, int state) {
    if (!HasRows(bitmap)) return;
    AdjustFaceColors(bitmap, common);
    RefreshFaceCorners(common, state, fcAllCorners);
}

}  // namespace sk
