// Outer shadows: a control paints its shadow into its container's cache, keeping the pixels
// it covers so that the next shadow can erase the previous one.
#include <algorithm>

#include "skinframework/sCommonData.h"
#include "skinframework/sSkinManager.h"
#include "skinframework/sVclUtils.h"
#include "skinpaint/sMaskPaint.h"

namespace sk {

namespace {

constexpr WORD kRestoreOuterCache = 0x100;

struct TOuterShadow {
    int Mask = -1;
    rd::TRect Offset;
    int Opacity = 0;
};

// The section's own shadow, or the skin's outer-effect entry the section names.
TOuterShadow ShadowOf(const TsGeneralData& section, const TSkinModel& model) {
    TOuterShadow shadow{section.OuterMask, section.OuterOffset, section.OuterOpacity};
    const int entry = section.OuterMode - 1;
    if (shadow.Mask < 0 && entry >= 0 && entry < static_cast<int>(model.oe.size())) {
        const TacOutEffData& e = model.oe[static_cast<size_t>(entry)];
        shadow = {e.Mask, {e.OffsetL, e.OffsetT, e.OffsetR, e.OffsetB}, e.Opacity};
    }
    return shadow;
}

void CopyRows(const rd::TBitmap32& source, rd::TPoint from, const rd::TBitmap32& target, rd::TPoint to, int width,
              int height) {
    for (int y = 0; y < height; ++y)
        std::copy_n(source.Row(from.Y + y) + from.X, width, target.Row(to.Y + y) + to.X);
}

}  // namespace

void TsCommonData::PaintOuterEffects(tk::TWinControl* ownerCtrl, rd::TPoint offset) {
    const TsSkinManager* manager = SkinManager();
    if (!manager || !manager->Effects.AllowOuterEffects || !ownerCtrl || !FCacheBmp) return;
    TacPaintOuterRequest request{FCacheBmp.get(), offset};
    for (int i = 0; i < ownerCtrl->ControlCount(); ++i) {
        tk::TControl* child = ownerCtrl->Controls(i);
        auto* win = dynamic_cast<tk::TWinControl*>(child);
        const bool canPaint = child->Visible() && (!win || win->HandleAllocated());
        if (canPaint) PerformSkinCmd(child, SC_PAINTOUTER, reinterpret_cast<LPARAM>(&request));
    }
}

void TsCommonData::PaintOuterShadow(const TacPaintOuterRequest& request, WORD flags) {
    const TsSkinManager* manager = SkinManager();
    const TsGeneralData* section = Section();
    if (!manager || !manager->Effects.AllowOuterEffects || !section || !FOwnerControl || !request.Bitmap) return;
    rd::TBitmap32& target = *request.Bitmap->View();
    if ((flags & kRestoreOuterCache) && FOuterCache) RestoreOuterCache(target);
    const TSkinModel& model = manager->Model();
    const TOuterShadow shadow = ShadowOf(*section, model);
    if (!model.IsValidImgIndex(shadow.Mask)) return;
    const RECT bounds = FOwnerControl->BoundsRect();
    rd::TRect rect{bounds.left + request.Offset.X - shadow.Offset.Left, bounds.top + request.Offset.Y - shadow.Offset.Top,
                   bounds.right + request.Offset.X + shadow.Offset.Right,
                   bounds.bottom + request.Offset.Y + shadow.Offset.Bottom};
    SaveOuterCache(target, rect);
    const rd::TCacheInfo behind = rd::CacheInfoForBitmap(&target, 0, 0);
    const rd::TRect limits{rect.Width(), rect.Height(), rect.Width(), rect.Height()};
    rd::PaintMaskNinePartOpacity(&target, rect, behind, shadow.Opacity, limits, 0,
                                 model.ma[static_cast<size_t>(shadow.Mask)]);
}

// Keeps the pixels the shadow is about to cover (the part inside the container's cache).
void TsCommonData::SaveOuterCache(const rd::TBitmap32& target, rd::TRect rect) {
    if (!rd::ClipToBitmap(target, rect)) {
        FOuterCache.reset();
        return;
    }
    if (!FOuterCache) FOuterCache = std::make_unique<tk::TBitmap>();
    FOuterCache->SetSize(rect.Width(), rect.Height());
    const rd::TBitmap32 saved{FOuterCache->Row0(), FOuterCache->Stride(), rect.Width(), rect.Height()};
    if (!saved.Row0) return;
    CopyRows(target, {rect.Left, rect.Top}, saved, {0, 0}, rect.Width(), rect.Height());
    FOuterCacheRect = rect;
}

// Puts back what the previous shadow covered.
void TsCommonData::RestoreOuterCache(const rd::TBitmap32& target) {
    rd::TRect rect = FOuterCacheRect;
    const int width = std::min(rect.Width(), FOuterCache->Width());
    const int height = std::min(rect.Height(), FOuterCache->Height());
    rect.Right = rect.Left + width;
    rect.Bottom = rect.Top + height;
    if (!FOuterCache->Row0() || !rd::ClipToBitmap(target, rect)) return;
    const rd::TBitmap32 saved{FOuterCache->Row0(), FOuterCache->Stride(), FOuterCache->Width(), FOuterCache->Height()};
    CopyRows(saved, {rect.Left - FOuterCacheRect.Left, rect.Top - FOuterCacheRect.Top}, target, {rect.Left, rect.Top},
             rect.Width(), rect.Height());
}

void TsCommonData::InvalidateParentBg() {
    tk::TWinControl* parent = FOwnerControl ? FOwnerControl->Parent() : nullptr;
    if (!parent || Updating()) return;
    PerformSkinCmd(parent, SC_BGCHANGED, 0, 1);
    PerformSkinCmd(parent, SC_PREPARECACHE);
}

}  // namespace sk
