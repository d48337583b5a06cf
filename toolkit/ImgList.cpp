#include "toolkit/ImgList.h"

#include <algorithm>

namespace tk {

namespace {

bool HasAlpha(const TBitmap& bmp) {
    for (int y = 0; y < bmp.Height(); ++y) {
        const uint32_t* row = bmp.ScanLine(y);
        for (int x = 0; x < bmp.Width(); ++x)
            if (row[x] >> 24) return true;
    }
    return false;
}

// dst + (src - dst) * a / 255 per colour channel, the result opaque.
uint32_t Blend(uint32_t dst, uint32_t src, uint32_t a) {
    uint32_t out = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const int d = static_cast<int>((dst >> shift) & 0xFF), s = static_cast<int>((src >> shift) & 0xFF);
        out |= static_cast<uint32_t>(d + (s - d) * static_cast<int>(a) / 255) << shift;
    }
    return out;
}

}  // namespace

uint32_t DisabledImagePixel(uint32_t p) {
    const uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    const uint32_t y = (r * 77 + g * 150 + b * 29) >> 8;
    return ((p >> 24) / 2) << 24 | y << 16 | y << 8 | y;
}

TCustomImageList::TCustomImageList(TComponent* owner, int width, int height)
    : TComponent(owner), FWidth(std::max(width, 1)), FHeight(std::max(height, 1)) {}

void TCustomImageList::SetSize(int width, int height) {
    FWidth = std::max(width, 1);
    FHeight = std::max(height, 1);
    FImages.clear();
    Changed();
}

void TCustomImageList::Clear() {
    FImages.clear();
    Changed();
}

void TCustomImageList::Changed() {
    if (OnChange) OnChange();
}

int TCustomImageList::AddPieces(const TBitmap& strip, const std::function<uint32_t(uint32_t, int, int)>& alphaOf) {
    const int pieces = strip.Width() / FWidth;
    if (pieces <= 0 || strip.Height() <= 0) return -1;
    const int first = Count();
    const int rows = std::min(FHeight, strip.Height());
    for (int k = 0; k < pieces; ++k) {
        std::vector<uint32_t> image(static_cast<size_t>(FWidth) * static_cast<size_t>(FHeight), 0u);
        for (int y = 0; y < rows; ++y) {
            const uint32_t* src = strip.ScanLine(y) + k * FWidth;
            uint32_t* dst = image.data() + static_cast<size_t>(y) * static_cast<size_t>(FWidth);
            for (int x = 0; x < FWidth; ++x) {
                const uint32_t alpha = alphaOf(src[x], k * FWidth + x, y);
                dst[x] = alpha ? (alpha << 24) | (src[x] & 0x00FFFFFFu) : 0u;
            }
        }
        FImages.push_back(std::move(image));
    }
    Changed();
    return first;
}

int TCustomImageList::Add(const TBitmap& strip, const TBitmap* mask) {
    if (mask) {
        const TBitmap& m = *mask;
        return AddPieces(strip, [&m](uint32_t, int x, int y) -> uint32_t {
            if (x >= m.Width() || y >= m.Height()) return 255;
            return (m.ScanLine(y)[x] & 0x00FFFFFFu) ? 0 : 255;
        });
    }
    if (HasAlpha(strip)) return AddPieces(strip, [](uint32_t p, int, int) { return p >> 24; });
    return AddPieces(strip, [](uint32_t, int, int) -> uint32_t { return 255; });
}

int TCustomImageList::AddMasked(const TBitmap& strip, TColor key) {
    const COLORREF rgb = ColorToRGB(key);
    // Scan lines hold 0x00RRGGBB; the colour is 0x00BBGGRR.
    const uint32_t wanted = (GetRValue(rgb) << 16) | (GetGValue(rgb) << 8) | GetBValue(rgb);
    return AddPieces(strip, [wanted](uint32_t p, int, int) -> uint32_t { return (p & 0x00FFFFFFu) == wanted ? 0 : 255; });
}

const uint32_t* TCustomImageList::Row(int index, int y) const {
    if (!ValidIndex(index) || y < 0 || y >= FHeight) return nullptr;
    return FImages[static_cast<size_t>(index)].data() + static_cast<size_t>(y) * static_cast<size_t>(FWidth);
}

uint32_t TCustomImageList::Pixel(int index, int x, int y) const {
    const uint32_t* row = Row(index, y);
    return row && x >= 0 && x < FWidth ? row[x] : 0u;
}

void TCustomImageList::GetBitmap(int index, TBitmap& out) const {
    if (!ValidIndex(index)) {
        out.SetSize(0, 0);
        return;
    }
    out.SetSize(FWidth, FHeight);
    for (int y = 0; y < FHeight; ++y) std::copy_n(Row(index, y), FWidth, out.ScanLine(y));
}

void TCustomImageList::Draw(HDC dc, int x, int y, int index, bool enabled) const {
    if (!ValidIndex(index) || !dc) return;
    // The pixels under the image are read, blended here and put back: no premultiplied
    // copy of the list is kept for the system's alpha blend.
    TBitmap back(FWidth, FHeight);
    BitBlt(back.Canvas().Handle(), 0, 0, FWidth, FHeight, dc, x, y, SRCCOPY);
    GdiFlush();
    for (int row = 0; row < FHeight; ++row) {
        const uint32_t* src = Row(index, row);
        uint32_t* dst = back.ScanLine(row);
        for (int col = 0; col < FWidth; ++col) {
            const uint32_t p = enabled ? src[col] : DisabledImagePixel(src[col]);
            dst[col] = Blend(dst[col], p, p >> 24);
        }
    }
    BitBlt(dc, x, y, FWidth, FHeight, back.Canvas().Handle(), 0, 0, SRCCOPY);
}

}  // namespace tk
