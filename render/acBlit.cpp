#include "render/acBlit.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace rd {

bool ClipBlock(const TBitmap32& target, const TBitmap32& source, int& tx, int& ty, int& sx, int& sy, int& w, int& h,
               int sourceRows) {
    auto moveIn = [](int& t, int& s, int& len) {
        if (s < 0) { t -= s; len += s; s = 0; }
        if (t < 0) { s -= t; len += t; t = 0; }
    };
    moveIn(tx, sx, w);
    moveIn(ty, sy, h);
    w = std::min({w, target.Width - tx, source.Width - sx});
    h = std::min({h, target.Height - ty, std::min(sourceRows, source.Height) - sy});
    return w > 0 && h > 0;
}

void CopyRect32(TBitmap32* target, int tx, int ty, const TBitmap32* source, int sx, int sy, int w, int h) {
    uint8_t* r;
    ptrdiff_t s;
    if (!GetScanGeometry(target, r, s) || !GetScanGeometry(source, r, s)) return;
    if (!ClipBlock(*target, *source, tx, ty, sx, sy, w, h, source->Height)) return;
    for (int j = 0; j < h; ++j)
        std::memmove(target->Row(ty + j) + tx, source->Row(sy + j) + sx, static_cast<size_t>(w) * 4);
}

void StretchRect32(TBitmap32* target, TRect targetRect, const TBitmap32* source, TRect sourceRect) {
    uint8_t* r;
    ptrdiff_t s;
    if (!GetScanGeometry(target, r, s) || !GetScanGeometry(source, r, s)) return;
    const int dw = targetRect.Width(), dh = targetRect.Height();
    const int sw = sourceRect.Width(), sh = sourceRect.Height();
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    if (sourceRect.Left < 0 || sourceRect.Top < 0 || sourceRect.Right > source->Width ||
        sourceRect.Bottom > source->Height)
        return;
    const int x0 = std::max(targetRect.Left, 0), x1 = std::min(targetRect.Right, target->Width);
    const int y0 = std::max(targetRect.Top, 0), y1 = std::min(targetRect.Bottom, target->Height);
    if (x0 >= x1 || y0 >= y1) return;
    std::vector<int> columns(static_cast<size_t>(x1 - x0));
    for (int x = x0; x < x1; ++x)
        columns[x - x0] = sourceRect.Left + StretchIndex(x - targetRect.Left, sw, dw);
    for (int y = y0; y < y1; ++y) {
        const uint32_t* src = source->Row(sourceRect.Top + StretchIndex(y - targetRect.Top, sh, dh));
        uint32_t* dst = target->Row(y);
        for (int x = x0; x < x1; ++x) dst[x] = src[columns[x - x0]];
    }
}

}  // namespace rd
