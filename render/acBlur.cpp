#include "render/acBlur.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace rd {

TMemBitmap8::TMemBitmap8(int width, int height, uint8_t fill) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    FPixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), fill);
    Width = width;
    Height = height;
    if (FPixels.empty()) return;
    Row0 = FPixels.data() + static_cast<ptrdiff_t>(height - 1) * width;
    Stride = -static_cast<ptrdiff_t>(width);
}

TBlurKernel MakeBlurKernel(int radius) {
    radius = std::max(radius, 1);
    TBlurKernel k;
    double sum = 0;
    for (int i = -16; i <= 16; ++i) {
        const double x = double(i) / radius;
        k.Weights[16 + i] = static_cast<float>(std::nearbyint(std::exp(-x * x / 2)));  // half to even
        sum += k.Weights[16 + i];
    }
    for (float& w : k.Weights) w = static_cast<float>(w / sum);
    // Drop the outermost taps whose total stays below half a level of 255.
    int j = 16;
    double total = 0;
    while (total < 1.0 / (2 * 255) && j > 1) {
        total += 2.0 * k.Weights[16 + j];
        --j;
    }
    k.HalfSize = j;
    sum = 0;
    for (int i = -j; i <= j; ++i) sum += k.Weights[16 + i];
    for (int i = -16; i <= 16; ++i)
        k.Weights[16 + i] = (i < -j || i > j) ? 0.0f : static_cast<float>(k.Weights[16 + i] / sum);
    return k;
}

namespace {

// One line of n samples `step` bytes apart, filtered into `line` and written back. The used
// weights of the kernel are all equal (a box), so a running sum over the window gives exactly
// the double-precision sum of weighted samples: every product and partial sum is exact.
void FilterLine(uint8_t* first, ptrdiff_t step, int n, const TBlurKernel& k, std::vector<uint8_t>& line) {
    const int j = k.HalfSize;
    const double w = k.Weights[16];
    auto at = [&](int i) { return static_cast<int>(first[std::clamp(i, 0, n - 1) * step]); };
    int sum = 0;
    for (int t = -j; t <= j; ++t) sum += at(t);
    for (int i = 0; i < n; ++i) {
        line[i] = static_cast<uint8_t>(std::clamp(static_cast<int>(w * sum), 0, 255));
        sum += at(i + j + 1) - at(i - j);
    }
    for (int i = 0; i < n; ++i) first[i * step] = line[i];
}

}  // namespace

void BlurGrey8(TBitmap8* bitmap, int radius) {
    if (!bitmap || !bitmap->Row0 || bitmap->Width <= 0 || bitmap->Height <= 0 || radius < 1) return;
    const TBlurKernel k = MakeBlurKernel(radius);
    std::vector<uint8_t> line(static_cast<size_t>(std::max(bitmap->Width, bitmap->Height)));
    for (int y = 0; y < bitmap->Height; ++y) FilterLine(bitmap->Row(y), 1, bitmap->Width, k, line);
    const ptrdiff_t stride = bitmap->Height > 1 ? bitmap->Stride : 0;
    for (int x = 0; x < bitmap->Width; ++x) FilterLine(bitmap->Row0 + x, stride, bitmap->Height, k, line);
}

}  // namespace rd
