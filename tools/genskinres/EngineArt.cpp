#include "EngineArt.h"

#include <algorithm>
#include <cmath>

namespace genskinres {

namespace {

constexpr int kHalf = kBlurSize / 2;  // 9: the middle row and column

// The known profiles, from a corner inward (distance 0..9 from the edges).
constexpr std::array<int, kHalf + 1> kEdgeRow = {255, 254, 253, 250, 247, 243, 238, 235, 233, 232};
constexpr std::array<int, kHalf + 1> kFifthRow = {247, 226, 194, 155, 115, 86, 69, 58, 52, 51};
constexpr std::array<int, kHalf + 1> kMiddleRow = {232, 188, 135, 87, 51, 51, 51, 51, 51, 51};
constexpr std::array<int, 3> kKnownLines = {0, 4, kHalf};

int Known(int line, int d) {
    return line == 0 ? kEdgeRow[d] : line == 4 ? kFifthRow[d] : kMiddleRow[d];
}

// Linear interpolation across the known lines (rows 0, 4 and 9) at distance d along them.
double AcrossKnownLines(int at, int d) {
    for (size_t i = 0; i + 1 < kKnownLines.size(); ++i) {
        const int a = kKnownLines[i], b = kKnownLines[i + 1];
        if (at >= a && at <= b) {
            const double t = double(at - a) / (b - a);
            return Known(a, d) + t * (Known(b, d) - Known(a, d));
        }
    }
    return Known(kHalf, d);
}

bool IsKnownLine(int v) { return std::find(kKnownLines.begin(), kKnownLines.end(), v) != kKnownLines.end(); }

// One value of the top-left quadrant; row and column are distances from the edges.
int QuadrantValue(int row, int col) {
    if (IsKnownLine(row)) return Known(row, col);
    if (IsKnownLine(col)) return Known(col, row);
    // Both interpolations fall toward the middle; the lower one keeps the fall steady where
    // the known rows fall faster than a straight line.
    return static_cast<int>(std::lround(std::min(AcrossKnownLines(row, col), AcrossKnownLines(col, row))));
}

void Put16(std::vector<uint8_t>& o, unsigned v) {
    o.push_back(uint8_t(v));
    o.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& o, uint32_t v) {
    for (int k = 0; k < 4; ++k) o.push_back(uint8_t(v >> (8 * k)));
}

}  // namespace

TBlurTemplate MakeBlurTemplate() {
    TBlurTemplate t{};
    for (int y = 0; y < kBlurSize; ++y)
        for (int x = 0; x < kBlurSize; ++x)
            t[y][x] = uint8_t(QuadrantValue(std::min(y, kBlurSize - 1 - y), std::min(x, kBlurSize - 1 - x)));
    return t;
}

std::vector<uint8_t> EncodeGreyBmp(const TBlurTemplate& t) {
    const uint32_t stride = (kBlurSize + 3) & ~3u;
    const uint32_t bitsOffset = 14 + 40 + 256 * 4;
    std::vector<uint8_t> o;
    o.push_back('B');
    o.push_back('M');
    Put32(o, bitsOffset + stride * kBlurSize);
    Put32(o, 0);
    Put32(o, bitsOffset);
    Put32(o, 40);
    Put32(o, kBlurSize);
    Put32(o, kBlurSize);  // bottom-up rows
    Put16(o, 1);
    Put16(o, 8);
    Put32(o, 0);  // no compression
    Put32(o, stride * kBlurSize);
    Put32(o, 2835);
    Put32(o, 2835);
    Put32(o, 256);
    Put32(o, 0);
    for (uint32_t i = 0; i < 256; ++i) Put32(o, i | (i << 8) | (i << 16));
    for (int y = kBlurSize - 1; y >= 0; --y) {
        o.insert(o.end(), t[y].begin(), t[y].end());
        o.resize(o.size() + (stride - kBlurSize), 0);
    }
    return o;
}

genicon::RgbaImage MakeShadowImage(uint8_t innerAlpha, bool transparentOuterRing) {
    genicon::RgbaImage img;
    img.size = kShadowSize;
    img.pixels.assign(size_t(kShadowSize) * kShadowSize * 4, 0);
    const int start = transparentOuterRing ? 1 : 0;
    for (int y = 0; y < kShadowSize; ++y)
        for (int x = 0; x < kShadowSize; ++x) {
            const int ring = std::min({x, y, kShadowSize - 1 - x, kShadowSize - 1 - y});
            // Smooth rise: 0 on the first lit ring's outside, innerAlpha from kShadowDepth inward.
            const double t = std::clamp(double(ring - start) / (kShadowDepth - start), 0.0, 1.0);
            const double eased = t * t * (3 - 2 * t);
            img.pixels[(size_t(y) * kShadowSize + x) * 4 + 3] = uint8_t(std::lround(innerAlpha * eased));
        }
    return img;
}

}  // namespace genskinres
