#include "controls/acAlphaImgList.h"

#include <shellapi.h>

#include <vector>

#include "toolkit/DescriptionReader.h"

namespace sk {

HIMAGELIST SystemSmallImageList() {
    SHFILEINFOW info{};
    return reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}

namespace {

// The pixels of a bitmap as 32-bit rows from the top; empty when they cannot be read.
std::vector<uint32_t> TopDownPixels(HBITMAP bitmap, int width, int height) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC dc = GetDC(nullptr);
    const int rows = GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    if (rows != height) pixels.clear();
    return pixels;
}

}  // namespace

bool IconToGlyph(HICON icon, tk::TBitmap& glyph) {
    glyph.SetSize(0, 0);
    ICONINFO parts{};
    if (!icon || !GetIconInfo(icon, &parts)) return false;
    BITMAP shape{};
    const bool colour = parts.hbmColor && GetObjectW(parts.hbmColor, sizeof(shape), &shape);
    const int width = colour ? shape.bmWidth : 0, height = colour ? shape.bmHeight : 0;
    std::vector<uint32_t> pixels, mask;
    if (width > 0 && height > 0) {
        pixels = TopDownPixels(parts.hbmColor, width, height);
        mask = TopDownPixels(parts.hbmMask, width, height);
    }
    if (parts.hbmColor) DeleteObject(parts.hbmColor);
    if (parts.hbmMask) DeleteObject(parts.hbmMask);
    if (pixels.empty()) return false;
    bool hasAlpha = false;
    for (uint32_t p : pixels) hasAlpha = hasAlpha || (p >> 24) != 0;
    glyph.SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        uint32_t* row = glyph.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            const size_t at = static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
            uint32_t p = pixels[at];
            // Without alpha of its own the mask decides: black in the mask is the icon.
            if (!hasAlpha) p = (p & 0x00FFFFFFu) | ((!mask.empty() && (mask[at] & 0x00FFFFFFu)) ? 0u : 0xFF000000u);
            row[x] = p;
        }
    }
    return true;
}

HIMAGELIST TsAlphaImageList::Handle() const { return ShareImages ? SystemSmallImageList() : nullptr; }

void TsAlphaImageList::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (name == "ShareImages") ShareImages = reader.Bool(v);
    else tk::TComponent::SetProperty(reader, name, v);
}

}  // namespace sk
