#include "skinpaint/sMaskRegion.h"

namespace rd {

bool PaintMaskWithRegion(TBitmap32* target, HRGN region, bool cornerFlag, int state, const sk::TsMaskData& mask) {
    std::vector<TRect> cutOut;
    PaintMaskWithRegion(target, cutOut, cornerFlag, state, mask);
    if (!region) return false;
    bool ok = true;
    HRGN piece = CreateRectRgn(0, 0, 0, 0);
    if (!piece) return false;
    for (const TRect& r : cutOut) {
        SetRectRgn(piece, r.Left, r.Top, r.Right, r.Bottom);
        ok = CombineRgn(region, region, piece, RGN_DIFF) != ERROR && ok;
    }
    DeleteObject(piece);
    return ok;
}

}  // namespace rd
