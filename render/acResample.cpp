#include "render/acResample.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace rd {

namespace {

double Sinc(double x) {
    if (x == 0.0) return 1.0;
    x *= std::numbers::pi;
    return std::sin(x) / x;
}

double Mitchell(double x) {
    constexpr double B = 1.0 / 3.0, C = 1.0 / 3.0;
    x = std::fabs(x);
    const double x2 = x * x, x3 = x2 * x;
    if (x < 1.0) return ((12 - 9 * B - 6 * C) * x3 + (-18 + 12 * B + 6 * C) * x2 + (6 - 2 * B)) / 6.0;
    if (x < 2.0) return ((-B - 6 * C) * x3 + (6 * B + 30 * C) * x2 + (-12 * B - 48 * C) * x + (8 * B + 24 * C)) / 6.0;
    return 0.0;
}

// One source sample of an output sample: index into the source line and 16.16 weight.
struct TContribution {
    int Index;
    int Weight;
};

// Contributions of every output sample along one axis, stored flat: output i uses
// Items[First[i] .. First[i + 1]).
struct TContributions {
    std::vector<int> First;
    std::vector<TContribution> Items;
};

int Mirror(int j, int n) {
    if (j < 0) j = -j;
    if (j >= n) j = 2 * n - 1 - j;
    return std::clamp(j, 0, n - 1);  // supports wider than the image stay inside
}

TContributions BuildContributions(int srcSize, int dstSize, int filter) {
    // The first and last samples of both lines coincide.
    const double scale = dstSize > 1 ? double(dstSize - 1) / double(srcSize - 1) : double(dstSize) / srcSize;
    const double support = ResampleSupport(filter);
    const bool shrinking = scale < 1.0;
    const double width = shrinking ? support / scale : support;
    const double factor = shrinking ? scale : 1.0;  // kernel stretched by 1 / scale when shrinking
    TContributions c;
    c.First.reserve(dstSize + 1);
    for (int i = 0; i < dstSize; ++i) {
        c.First.push_back(static_cast<int>(c.Items.size()));
        const double center = i / scale;
        const int left = static_cast<int>(std::floor(center - width));
        const int right = static_cast<int>(std::ceil(center + width));
        for (int j = left; j <= right; ++j) {
            const double weight = ResampleKernel(filter, (center - j) * factor) * factor;
            const int fixed = static_cast<int>(std::lround(weight * 65536.0));
            if (fixed != 0) c.Items.push_back({Mirror(j, srcSize), fixed});
        }
    }
    c.First.push_back(static_cast<int>(c.Items.size()));
    return c;
}

inline uint32_t ClampChannel(int sum) {
    if (sum < 0) return 0;
    if (sum >= 0xFF0001) return 255;
    return static_cast<uint32_t>(sum >> 16);
}

// Filters one row of pixels into dstSize output pixels.
void FilterRow(const TContributions& c, int dstSize, const uint32_t* src, uint32_t* dst) {
    for (int i = 0; i < dstSize; ++i) {
        int sum[4] = {0, 0, 0, 0};
        for (int k = c.First[i]; k < c.First[i + 1]; ++k) {
            const uint32_t p = src[c.Items[k].Index];
            const int w = c.Items[k].Weight;
            sum[0] += static_cast<int>(p & 0xFF) * w;
            sum[1] += static_cast<int>((p >> 8) & 0xFF) * w;
            sum[2] += static_cast<int>((p >> 16) & 0xFF) * w;
            sum[3] += static_cast<int>(p >> 24) * w;
        }
        dst[i] = ClampChannel(sum[0]) | ClampChannel(sum[1]) << 8 | ClampChannel(sum[2]) << 16 |
                 ClampChannel(sum[3]) << 24;
    }
}

}  // namespace

double ResampleSupport(int filter) {
    switch (filter) {
        case rfBox: return 0.51;
        case rfTriangle:
        case rfHermite: return 1.0;
        case rfBell: return 1.5;
        case rfSpline:
        case rfMitchell: return 2.0;
        case rfLanczos3: return 3.0;
        default: return 0.0;
    }
}

double ResampleKernel(int filter, double x) {
    const double a = std::fabs(x);
    switch (filter) {
        case rfBox: return (x > -0.5 && x <= 0.5) ? 1.0 : 0.0;
        case rfTriangle: return a < 1.0 ? 1.0 - a : 0.0;
        case rfHermite: return a < 1.0 ? (2.0 * a - 3.0) * a * a + 1.0 : 0.0;
        case rfBell:
            if (a < 0.5) return 0.75 - a * a;
            if (a < 1.5) return 0.5 * (a - 1.5) * (a - 1.5);
            return 0.0;
        case rfSpline:
            if (a < 1.0) return 0.5 * a * a * a - a * a + 2.0 / 3.0;
            if (a < 2.0) return (2.0 - a) * (2.0 - a) * (2.0 - a) / 6.0;
            return 0.0;
        case rfLanczos3: return a < 3.0 ? Sinc(a) * Sinc(a / 3.0) : 0.0;
        case rfMitchell: return Mitchell(x);
        default: return 0.0;
    }
}

void ResampleBitmap32(const TBitmap32* source, TMemBitmap32* target, int width, int filter, int height) {
    uint8_t* row0;
    ptrdiff_t stride;
    if (!target || !GetScanGeometry(source, row0, stride)) return;
    if (source->Width < 2 || source->Height < 2 || width <= 0 || height <= 0) return;
    if (ResampleSupport(filter) == 0.0) return;
    if (width == source->Width && height == source->Height) {
        if (target != source) CopyWholeBitmap(*target, *source);
        return;
    }
    const int srcW = source->Width, srcH = source->Height;
    TMemBitmap32 work(width, srcH);
    const TContributions horizontal = BuildContributions(srcW, width, filter);
    for (int y = 0; y < srcH; ++y) FilterRow(horizontal, width, source->Row(y), work.Row(y));
    target->SetSize(width, height);
    const TContributions vertical = BuildContributions(srcH, height, filter);
    // Row by row: every contributing source row is added into one line of sums.
    std::vector<int> sums(static_cast<size_t>(width) * 4);
    for (int y = 0; y < height; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        for (int k = vertical.First[y]; k < vertical.First[y + 1]; ++k) {
            const uint8_t* src = reinterpret_cast<const uint8_t*>(work.Row(vertical.Items[k].Index));
            const int w = vertical.Items[k].Weight;
            for (size_t i = 0; i < sums.size(); ++i) sums[i] += src[i] * w;
        }
        uint8_t* dst = reinterpret_cast<uint8_t*>(target->Row(y));
        for (size_t i = 0; i < sums.size(); ++i) dst[i] = static_cast<uint8_t>(ClampChannel(sums[i]));
    }
}

}  // namespace rd
