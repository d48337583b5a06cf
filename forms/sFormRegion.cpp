#include "forms/sFormRegion.h"

#include <algorithm>

#include "render/acPixelRows.h"

namespace sk {

namespace {

// The first picture of a mask inside its source, cut to the source's rows and columns.
bool FirstPicture(const TsMaskData& mask, const rd::TBitmap32*& source, rd::TRect& picture) {
    source = mask.Bmp ? mask.Bmp.get() : mask.Manager ? mask.Manager->MasterBitmap.get() : nullptr;
    if (!source || !source->Row0) return false;
    picture = {mask.R.Left, mask.R.Top, mask.R.Left + MaskImageWidth(mask), mask.R.Top + MaskImageHeight(mask)};
    picture.Left = std::max(picture.Left, 0);
    picture.Top = std::max(picture.Top, 0);
    picture.Right = std::min(picture.Right, source->Width);
    picture.Bottom = std::min(picture.Bottom, source->Height);
    return picture.Width() > 0 && picture.Height() > 0;
}

// Runs of key pixels in the block of the picture starting at (sx, sy), w x h, as rectangles
// at (x, y) of the window.
void ScanBlock(const rd::TBitmap32& source, int sx, int sy, int w, int h, int x, int y,
               std::vector<rd::TRect>& cutOut) {
    for (int j = 0; j < h; ++j) {
        const uint32_t* row = source.Row(sy + j) + sx;
        for (int i = 0; i < w;) {
            if (row[i] != rd::kKeyPixel) {
                ++i;
                continue;
            }
            const int first = i;
            while (i < w && row[i] == rd::kKeyPixel) ++i;
            cutOut.push_back({x + first, y + j, x + i, y + j + 1});
        }
    }
}

}  // namespace

void AddCornerCutouts(const TsMaskData& mask, int width, int height, bool topOnly, std::vector<rd::TRect>& cutOut) {
    const rd::TBitmap32* source = nullptr;
    rd::TRect pic;
    if (!FirstPicture(mask, source, pic) || width <= 0 || height <= 0) return;
    // Margins larger than the picture or the window are cut down to them.
    const int wl = std::clamp<int>(mask.WL, 0, std::min(pic.Width(), width));
    const int wr = std::clamp<int>(mask.WR, 0, std::min(pic.Width(), width));
    const int wt = std::clamp<int>(mask.WT, 0, std::min(pic.Height(), height));
    const int wb = std::clamp<int>(mask.WB, 0, std::min(pic.Height(), height));
    ScanBlock(*source, pic.Left, pic.Top, wl, wt, 0, 0, cutOut);
    ScanBlock(*source, pic.Right - wr, pic.Top, wr, wt, width - wr, 0, cutOut);
    if (topOnly) return;
    ScanBlock(*source, pic.Left, pic.Bottom - wb, wl, wb, 0, height - wb, cutOut);
    ScanBlock(*source, pic.Right - wr, pic.Bottom - wb, wr, wb, width - wr, height - wb, cutOut);
}

HRGN MakeWindowRegion(int width, int height, const std::vector<rd::TRect>& cutOut) {
    HRGN region = CreateRectRgn(0, 0, width, height);
    if (!region) return nullptr;
    HRGN piece = CreateRectRgn(0, 0, 0, 0);
    if (!piece) return region;
    for (const rd::TRect& r : cutOut) {
        SetRectRgn(piece, r.Left, r.Top, r.Right, r.Bottom);
        CombineRgn(region, region, piece, RGN_DIFF);
    }
    DeleteObject(piece);
    return region;
}

}  // namespace sk
