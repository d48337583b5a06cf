#include "render/sGradient.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "render/acArithmetic.h"

namespace rd {

namespace {

TTriangleFillFunc GTriangleFill = InterpolateTriangles;

inline int ColorChannel(int32_t color, int lane) { return (static_cast<uint32_t>(color) >> (lane * 8)) & 0xFF; }

// A colour value as an opaque pixel.
uint32_t OpaquePixel(int32_t color) { return ExchangeRedBlue(static_cast<uint32_t>(color) & 0x00FFFFFFu) | 0xFF000000u; }

// The colour of a fill one line long: Color1 of the first piece with a share above 0 per cent
// (a longer fill skips a first piece of 0 per cent), else of the last piece.
uint32_t OneLineColor(const sk::TsGradArray& array) {
    const auto covering = std::find_if(array.begin(), array.end(), [](const sk::TsGradPie& p) { return p.Percent > 0; });
    return OpaquePixel(covering != array.end() ? covering->Color1 : array.back().Color1);
}

// Colours (as opaque pixels) of the rows (vertical) or columns (horizontal) of a gradient,
// indexed from `first`; 0 marks a line no piece painted (painted lines have alpha 255).
// pieceEnd(start, percent) gives where a piece that starts at `start` ends; `last` is the
// last line of the fill.
template <typename PieceEnd>
std::vector<uint32_t> GradientLines(const sk::TsGradArray& array, int first, int begin, int last, PieceEnd pieceEnd) {
    std::vector<uint32_t> lines(static_cast<size_t>(std::max(last - first + 1, 0)), 0);
    int y = begin;
    for (size_t i = 0; i < array.size() && y <= last; ++i) {
        const sk::TsGradPie& pie = array[i];
        const int start = y;
        int end = pieceEnd(start, pie.Percent);
        end = (i + 1 == array.size()) ? last : std::min(end, last);
        if (end - start <= 0) continue;  // skipped: the next piece starts at the same line
        float acc[3];
        double step[3];
        for (int lane = 0; lane < 3; ++lane) {
            acc[lane] = static_cast<float>(ColorChannel(pie.Color1, lane));
            step[lane] = pie.Color1 == pie.Color2
                             ? 0.0
                             : double(ColorChannel(pie.Color2, lane) - ColorChannel(pie.Color1, lane)) / (end - start);
        }
        for (int line = start; line <= end; ++line) {
            uint32_t value = 0xFF000000u;
            for (int lane = 0; lane < 3; ++lane) {
                const uint32_t c = static_cast<uint32_t>(std::clamp(static_cast<int>(acc[lane]), 0, 255));
                value |= c << ((2 - lane) * 8);  // colour value lane 0 (red) is pixel byte 2
                acc[lane] = static_cast<float>(acc[lane] + step[lane]);
            }
            if (line >= first) lines[line - first] = value;
        }
        y = end;
    }
    // A fill one line long leaves every piece empty; the line takes the colour the first line
    // of a longer fill starts with.
    if (begin == last && begin >= first && !array.empty() && !lines[last - first])
        lines[last - first] = OneLineColor(array);
    return lines;
}

std::vector<uint32_t> VerticalLines(const sk::TsGradArray& array, const TRect& rect, int offset) {
    const int span = rect.Height() + offset;
    return GradientLines(array, rect.Top, rect.Top + offset, rect.Bottom - 1,
                         [span](int start, int percent) { return (span * percent) / 100 + start; });
}

std::vector<uint32_t> HorizontalLines(const sk::TsGradArray& array, const TRect& rect) {
    const float unit = static_cast<float>(rect.Width()) / 100.0f;
    return GradientLines(array, rect.Left, rect.Left, rect.Right - 1, [unit](int start, int percent) {
        return TruncSingleProduct(percent, unit, start);  // only the quotient is single precision
    });
}

// Whether a pixel lying exactly on the edge from u to v belongs to a triangle whose edge
// functions have the sign `sign` inside: the top-left rule (a horizontal edge with the inside
// below it, or an edge with the inside to its right). Triangles sharing an edge paint it once,
// and triangles spanning a rectangle's corners stay off its right and bottom sides, as the
// platform's fill does.
bool OwnsEdge(const TTriVertex& u, const TTriVertex& v, int sign) {
    const int64_t towardInsideX = sign * (int64_t(u.Y) - v.Y), towardInsideY = sign * (int64_t(v.X) - u.X);
    return towardInsideX > 0 || (towardInsideX == 0 && towardInsideY > 0);
}

// A pixel whose edge function is w (positive inside after times sign) lies in the triangle.
bool InsideEdge(int64_t w, int sign, bool ownsEdge) { return w * sign > 0 || (w == 0 && ownsEdge); }

uint16_t Channel16(int32_t color, int lane) { return static_cast<uint16_t>(ColorChannel(color, lane) << 8); }

void FillTriangles(TBitmap32* target, const TRect& rect, const sk::TsGradArray& array) {
    const int w = rect.Width(), h = rect.Height();
    const TPoint corners[5] = {{rect.Left, rect.Top},  {rect.Left + w / 2, rect.Top + h / 2},
                               {rect.Right, rect.Top}, {rect.Right, rect.Bottom},
                               {rect.Left, rect.Bottom}};
    TTriVertex v[5];
    for (int k = 0; k < 5; ++k) {
        const int32_t color = array[std::min<size_t>(k, array.size() - 1)].Color1;
        v[k] = {corners[k].X, corners[k].Y, Channel16(color, 0), Channel16(color, 1), Channel16(color, 2), 0xFF00};
    }
    const TTriangle triangles[4] = {{0, 1, 2}, {1, 2, 3}, {0, 1, 4}, {4, 1, 3}};
    GTriangleFill(target, v, 5, triangles, 4);
}

}  // namespace

void SetTriangleFillFunc(TTriangleFillFunc func) { GTriangleFill = func ? func : InterpolateTriangles; }

bool InterpolateTriangles(TBitmap32* target, const TTriVertex* vertices, int vertexCount, const TTriangle* triangles,
                          int triangleCount) {
    uint8_t* r;
    ptrdiff_t s;
    if (!GetScanGeometry(target, r, s)) return true;
    for (int t = 0; t < triangleCount; ++t) {
        const TTriangle& tri = triangles[t];
        if (std::max({tri.A, tri.B, tri.C}) >= vertexCount || std::min({tri.A, tri.B, tri.C}) < 0) continue;
        const TTriVertex &a = vertices[tri.A], &b = vertices[tri.B], &c = vertices[tri.C];
        // Twice the signed area; edge functions divided by it give the barycentric weights.
        const int64_t area = int64_t(b.X - a.X) * (c.Y - a.Y) - int64_t(b.Y - a.Y) * (c.X - a.X);
        if (area == 0) continue;
        const int sign = area > 0 ? 1 : -1;
        const bool ownsA = OwnsEdge(b, c, sign), ownsB = OwnsEdge(c, a, sign), ownsC = OwnsEdge(a, b, sign);
        const int x0 = std::max(std::min({a.X, b.X, c.X}), 0), x1 = std::min(std::max({a.X, b.X, c.X}), target->Width - 1);
        const int y0 = std::max(std::min({a.Y, b.Y, c.Y}), 0), y1 = std::min(std::max({a.Y, b.Y, c.Y}), target->Height - 1);
        for (int y = y0; y <= y1; ++y) {
            uint32_t* row = target->Row(y);
            for (int x = x0; x <= x1; ++x) {
                const int64_t wa = int64_t(b.X - x) * (c.Y - y) - int64_t(b.Y - y) * (c.X - x);
                const int64_t wb = int64_t(c.X - x) * (a.Y - y) - int64_t(c.Y - y) * (a.X - x);
                const int64_t wc = area - wa - wb;
                if (!InsideEdge(wa, sign, ownsA) || !InsideEdge(wb, sign, ownsB) || !InsideEdge(wc, sign, ownsC))
                    continue;
                auto mix = [&](uint16_t ca, uint16_t cb, uint16_t cc) {
                    return static_cast<uint32_t>((wa * ca + wb * cb + wc * cc) / area) >> 8;
                };
                row[x] = mix(a.Blue, b.Blue, c.Blue) | mix(a.Green, b.Green, c.Green) << 8 |
                         mix(a.Red, b.Red, c.Red) << 16 | mix(a.Alpha, b.Alpha, c.Alpha) << 24;
            }
        }
    }
    return true;
}

void FillGradient(TBitmap32* target, TRect rect, const sk::TsGradArray& array, int offset) {
    uint8_t* r;
    ptrdiff_t s;
    if (!GetScanGeometry(target, r, s) || array.empty() || !ClipToBitmap(*target, rect)) return;
    switch (array[0].Mode1) {
        case gsVertical: {
            const std::vector<uint32_t> lines = VerticalLines(array, rect, offset);
            for (int y = rect.Top; y < rect.Bottom; ++y) {
                const uint32_t value = lines[y - rect.Top];
                if (value) std::fill(target->Row(y) + rect.Left, target->Row(y) + rect.Right, value);
            }
            break;
        }
        case gsHorizontal: {
            const std::vector<uint32_t> lines = HorizontalLines(array, rect);
            uint32_t* top = target->Row(rect.Top);
            for (int x = rect.Left; x < rect.Right; ++x)
                if (lines[x - rect.Left]) top[x] = lines[x - rect.Left];
            for (int y = rect.Top + 1; y < rect.Bottom; ++y)
                std::copy(top + rect.Left, top + rect.Right, target->Row(y) + rect.Left);
            break;
        }
        case gsTriangles: FillTriangles(target, rect, array); break;
        default: break;
    }
}

void FillGradientTextured(TBitmap32* target, TRect rect, const sk::TsGradArray& array, uint8_t alpha, int level,
                          TRect sourceRect, const TBitmap32* texture) {
    uint8_t* r;
    ptrdiff_t s;
    if (!GetScanGeometry(target, r, s) || !GetScanGeometry(texture, r, s) || array.empty()) return;
    const int shape = array[0].Mode1;
    if ((shape != gsVertical && shape != gsHorizontal) || !ClipToBitmap(*target, rect)) return;
    sourceRect.Left = std::max(sourceRect.Left, 0);
    sourceRect.Top = std::max(sourceRect.Top, 0);
    sourceRect.Right = std::min(sourceRect.Right, texture->Width);
    sourceRect.Bottom = std::min(sourceRect.Bottom, texture->Height);
    const int tw = sourceRect.Width(), th = sourceRect.Height();
    if (tw <= 0 || th <= 0) return;
    const bool vertical = shape == gsVertical;
    const std::vector<uint32_t> lines = vertical ? VerticalLines(array, rect, 0) : HorizontalLines(array, rect);
    const uint32_t alphaBits = uint32_t(alpha) << 24;
    for (int y = rect.Top; y < rect.Bottom; ++y) {
        const uint32_t* tex = texture->Row(y % th + sourceRect.Top) + sourceRect.Left;
        uint32_t* dst = target->Row(y);
        for (int x = rect.Left; x < rect.Right; ++x) {
            const uint32_t g = vertical ? lines[y - rect.Top] : lines[x - rect.Left];
            if (!g) continue;
            const uint32_t t = tex[x % tw];
            uint32_t out = alphaBits;
            for (int lane = 0; lane < 3; ++lane) {
                const int gc = (g >> (lane * 8)) & 0xFF, tc = (t >> (lane * 8)) & 0xFF;
                out |= static_cast<uint32_t>((((tc - gc) * level + gc * 256) >> 8) & 0xFF) << (lane * 8);
            }
            dst[x] = out;
        }
    }
}

}  // namespace rd
