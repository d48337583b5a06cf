#include "skin/acShadows.h"

#include "render/acBlit.h"
#include "skin/acImageDecode.h"

namespace sk {

namespace {

std::unique_ptr<rd::TMemBitmap32> Copy(const rd::TBitmap32* source) {
    if (!source || source->Width <= 0 || source->Height <= 0) return nullptr;
    auto copy = std::make_unique<rd::TMemBitmap32>();
    rd::CopyWholeBitmap(*copy, *source);
    return copy;
}

// Image `index` of a mask, from its own bitmap or the master bitmap.
std::unique_ptr<rd::TMemBitmap32> MaskImage(const TSkinModel& model, const TsMaskData& m, int index) {
    const rd::TBitmap32* source = m.Bmp ? m.Bmp.get() : model.MasterBitmap.get();
    const int w = MaskImageWidth(m), h = MaskImageHeight(m);
    if (!source || w <= 0 || h <= 0) return nullptr;
    auto image = std::make_unique<rd::TMemBitmap32>(w, h);
    rd::CopyRect32(image.get(), 0, 0, source, m.R.Left + index * w, m.R.Top, w, h);
    return image;
}

}  // namespace

TFormShadows CheckShadows(const TSkinModel& model, bool active, bool extendedBorders,
                          const TBuiltInShadows& builtIn) {
    TFormShadows out;
    if (!active || !extendedBorders) return out;
    const int ex = model.ConstData.ExBorder;
    if (!model.IsValidImgIndex(ex)) {
        out.Active = Copy(builtIn.Active);
        out.Inactive = Copy(builtIn.Inactive);
        out.Size = {kBuiltInShadowSize, kBuiltInShadowSize, kBuiltInShadowSize, kBuiltInShadowSize};
        return out;
    }
    const TsMaskData& m = model.ma[static_cast<size_t>(ex)];
    const int offs = model.CommonSkinData ? model.CommonSkinData->ExContentOffs : 0;
    const bool drawMode = model.CommonSkinData && model.CommonSkinData->ExDrawMode != 0;
    out.Size = drawMode ? rd::TRect{offs, offs, offs, offs} : rd::TRect{m.WL - offs, m.WT - offs, m.WR - offs, m.WB - offs};
    out.Inactive = MaskImage(model, m, 0);
    out.Active = MaskImage(model, m, m.ImageCount > 1 ? 1 : 0);
    if (model.CommonSkinData && model.CommonSkinData->Version < 7.6)
        for (auto* t : {out.Active.get(), out.Inactive.get()})
            if (t) ClearWhiteTransparent(*t);
    return out;
}

}  // namespace sk
