// What the label tests share: a label painted over a plain background, read back as pixels.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "render/sSysColors.h"
#include "toolkit/Controls.h"
#include "toolkit/Graphics.h"

namespace kvfw {

// The label painted onto a bitmap of its size filled with background; its pixels as 0x00RRGGBB.
inline std::vector<uint32_t> PaintOver(tk::TControl& label, rd::TColor background) {
    tk::TBitmap bmp(label.Width(), label.Height());
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(background));
    RECT all{0, 0, bmp.Width(), bmp.Height()};
    FillRect(bmp.Canvas().Handle(), &all, brush);
    DeleteObject(brush);
    tk::TCanvas canvas(bmp.Canvas().Handle());
    label.Paint(canvas);
    GdiFlush();
    std::vector<uint32_t> pixels;
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x) pixels.push_back(bmp.ScanLine(y)[x] & 0xFFFFFFu);
    return pixels;
}

}  // namespace kvfw
