// Filtered resize: every kernel against a floating-point reference of the same resampler.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <cstdlib>
#include <vector>

#include "render/acResample.h"

using namespace rd;

namespace {

// A deterministic image with edges, ramps and varying alpha.
TMemBitmap32 TestImage(int w, int h) {
    TMemBitmap32 bmp(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t b = (x * 37 + y * 11) & 0xFF, g = ((x / 3 + y / 2) & 1) ? 230 : 20;
            const uint32_t r = (x * x + 3 * y) & 0xFF, a = (x < w / 2) ? 255 : (y * 29) & 0xFF;
            WritePixel32(bmp, x, y, b | g << 8 | r << 16 | a << 24);
        }
    return bmp;
}

// Straightforward double-precision resampler: one output sample at a time, the kernel
// evaluated directly, mirrored edges, bytes between the passes.
double RefKernel(int filter, double x) {
    const double a = std::fabs(x);
    auto sinc = [](double v) { return v == 0 ? 1.0 : std::sin(std::numbers::pi * v) / (std::numbers::pi * v); };
    switch (filter) {
        case 0: return (x > -0.5 && x <= 0.5) ? 1 : 0;
        case 1: return a < 1 ? 1 - a : 0;
        case 2: return a < 1 ? 2 * a * a * a - 3 * a * a + 1 : 0;
        case 3: return a < 0.5 ? 0.75 - a * a : a < 1.5 ? 0.5 * (a - 1.5) * (a - 1.5) : 0;
        case 4: return a < 1 ? a * a * a / 2 - a * a + 2.0 / 3 : a < 2 ? std::pow(2 - a, 3) / 6 : 0;
        case 5: return a < 3 ? sinc(a) * sinc(a / 3) : 0;
        case 6: {
            const double B = 1.0 / 3, C = 1.0 / 3;
            if (a < 1) return ((12 - 9 * B - 6 * C) * a * a * a + (-18 + 12 * B + 6 * C) * a * a + (6 - 2 * B)) / 6;
            if (a < 2)
                return ((-B - 6 * C) * a * a * a + (6 * B + 30 * C) * a * a + (-12 * B - 48 * C) * a + (8 * B + 24 * C)) / 6;
            return 0;
        }
    }
    return 0;
}
const double kSupport[7] = {0.51, 1, 1, 1.5, 2, 3, 2};

std::vector<double> RefLine(const std::vector<double>& in, int outSize, int filter) {
    const int n = static_cast<int>(in.size());
    const double scale = outSize > 1 ? double(outSize - 1) / (n - 1) : double(outSize) / n;
    const double f = scale < 1 ? scale : 1, reach = kSupport[filter] / f;
    std::vector<double> out(outSize);
    for (int i = 0; i < outSize; ++i) {
        const double center = i / scale;
        double sum = 0;
        for (int j = int(std::floor(center - reach)); j <= int(std::ceil(center + reach)); ++j) {
            int m = j < 0 ? -j : j;
            if (m >= n) m = 2 * n - 1 - m;
            sum += RefKernel(filter, (center - j) * f) * f * in[std::clamp(m, 0, n - 1)];
        }
        out[i] = std::clamp(std::floor(sum), 0.0, 255.0);
    }
    return out;
}

std::vector<double> Channels(const TBitmap32& bmp, int lane) {
    std::vector<double> v;
    for (int y = 0; y < bmp.Height; ++y)
        for (int x = 0; x < bmp.Width; ++x) v.push_back((ReadPixel32(bmp, x, y) >> (8 * lane)) & 0xFF);
    return v;
}

// Reference result of one channel, row-major.
std::vector<double> RefResample(const TBitmap32& src, int w, int h, int filter, int lane) {
    const std::vector<double> in = Channels(src, lane);
    std::vector<double> mid(static_cast<size_t>(w) * src.Height), out(static_cast<size_t>(w) * h);
    for (int y = 0; y < src.Height; ++y) {
        std::vector<double> row(in.begin() + y * src.Width, in.begin() + (y + 1) * src.Width);
        const auto r = RefLine(row, w, filter);
        std::copy(r.begin(), r.end(), mid.begin() + y * w);
    }
    for (int x = 0; x < w; ++x) {
        std::vector<double> col(src.Height);
        for (int y = 0; y < src.Height; ++y) col[y] = mid[y * w + x];
        const auto c = RefLine(col, h, filter);
        for (int y = 0; y < h; ++y) out[y * w + x] = c[y];
    }
    return out;
}

}  // namespace

TEST(ResampleBitmap32, EveryKernelMatchesFloatingPointReference) {
    struct Size { int sw, sh, dw, dh; } sizes[] = {
        {24, 16, 12, 8},   // 2x down
        {12, 8, 24, 16},   // 2x up
        {17, 9, 40, 5},    // wider, lower
        {5, 30, 3, 11},    // narrow: supports reach past both edges
    };
    for (int filter = rfBox; filter <= rfMitchell; ++filter)
        for (const Size& s : sizes) {
            const TMemBitmap32 src = TestImage(s.sw, s.sh);
            TMemBitmap32 dst;
            ResampleBitmap32(&src, &dst, s.dw, filter, s.dh);
            ASSERT_EQ(dst.Width, s.dw);
            ASSERT_EQ(dst.Height, s.dh);
            for (int lane = 0; lane < 4; ++lane) {
                const std::vector<double> ref = RefResample(src, s.dw, s.dh, filter, lane);
                const std::vector<double> got = Channels(dst, lane);
                int worst = 0;
                for (size_t i = 0; i < ref.size(); ++i) worst = std::max(worst, int(std::abs(got[i] - ref[i])));
                // 16.16 weights against exact ones: at most one level per pass.
                EXPECT_LE(worst, 2) << "filter " << filter << " " << s.sw << "x" << s.sh << "->" << s.dw << "x"
                                    << s.dh << " lane " << lane;
            }
        }
}

TEST(ResampleBitmap32, KernelsAtTheirKnots) {
    struct Case { int filter; double x, value; } cases[] = {
        {rfBox, 0.5, 1}, {rfBox, -0.5, 0}, {rfTriangle, 0.25, 0.75}, {rfHermite, 0.5, 0.5},
        {rfBell, 1.0, 0.125}, {rfSpline, 1.0, 1.0 / 6}, {rfLanczos3, 1.0, 0}, {rfMitchell, 0, 8.0 / 9},
        {rfMitchell, 1.0, 1.0 / 18}, {rfMitchell, 2.0, 0},
    };
    for (const auto& c : cases) EXPECT_NEAR(ResampleKernel(c.filter, c.x), c.value, 1e-12) << c.filter << " " << c.x;
}

TEST(ResampleBitmap32, DegenerateSizesAndCopy) {
    const TMemBitmap32 src = TestImage(6, 4);
    TMemBitmap32 dst(3, 3);
    WritePixel32(dst, 0, 0, 0x12345678);
    struct Case { int sw, sh, dw, dh; } untouched[] = {{1, 4, 3, 3}, {6, 1, 3, 3}, {6, 4, 3, 0}, {6, 4, 0, 3}};
    for (const auto& c : untouched) {
        const TMemBitmap32 s = TestImage(c.sw, c.sh);
        ResampleBitmap32(&s, &dst, c.dw, rfMitchell, c.dh);
        EXPECT_EQ(dst.Width, 3);
        EXPECT_EQ(ReadPixel32(dst, 0, 0), 0x12345678u);
    }
    ResampleBitmap32(&src, &dst, 6, rfLanczos3, 4);
    ASSERT_EQ(dst.Width, 6);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(ReadPixel32(dst, x, y), ReadPixel32(src, x, y));
}

TEST(ResampleBitmap32, BoxHalvingAveragesMirroredNeighbours) {
    // 4 -> 2 columns at 21845 / 65536 each: output 0 takes columns -1 (mirrored to 1), 0 and 1;
    // output 1 takes 2, 3 and 4 (mirrored to 3).
    TMemBitmap32 src(4, 2);
    const int values[4] = {30, 90, 150, 240};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) WritePixel32(src, x, y, uint32_t(values[x]));
    TMemBitmap32 dst;
    ResampleBitmap32(&src, &dst, 2, rfBox, 2);
    EXPECT_EQ(ReadPixel32(dst, 0, 0) & 0xFF, uint32_t((30 + 90 + 90) * 21845 >> 16));
    EXPECT_EQ(ReadPixel32(dst, 1, 1) & 0xFF, uint32_t((150 + 240 + 240) * 21845 >> 16));
}

namespace {

// The resampler written out one output sample at a time in its 16.16 integer arithmetic:
// weights Round(kernel * factor * 65536), mirrored edges, 32-bit sums, clamped channels.
uint8_t FixedSample(const std::vector<uint8_t>& in, double center, double factor, double reach, int filter) {
    const int n = static_cast<int>(in.size());
    int sum = 0;
    for (int j = int(std::floor(center - reach)); j <= int(std::ceil(center + reach)); ++j) {
        int m = j < 0 ? -j : j;
        if (m >= n) m = 2 * n - 1 - m;
        sum += int(std::lround(ResampleKernel(filter, (center - j) * factor) * factor * 65536.0)) *
               in[std::clamp(m, 0, n - 1)];
    }
    return uint8_t(sum < 0 ? 0 : sum >= 0xFF0001 ? 255 : sum >> 16);
}

std::vector<uint8_t> FixedLine(const std::vector<uint8_t>& in, int outSize, int filter) {
    const int n = static_cast<int>(in.size());
    const double scale = outSize > 1 ? double(outSize - 1) / (n - 1) : double(outSize) / n;
    const double f = scale < 1 ? scale : 1;
    std::vector<uint8_t> out(outSize);
    for (int i = 0; i < outSize; ++i) out[i] = FixedSample(in, i / scale, f, ResampleSupport(filter) / f, filter);
    return out;
}

// Every channel through FixedLine, rows then columns; result pixels row-major.
std::vector<uint32_t> FixedResample(const TBitmap32& src, int w, int h, int filter) {
    std::vector<uint32_t> mid(size_t(w) * src.Height, 0), out(size_t(w) * h, 0);
    for (int lane = 0; lane < 4; ++lane) {
        for (int y = 0; y < src.Height; ++y) {
            std::vector<uint8_t> row;
            for (int x = 0; x < src.Width; ++x) row.push_back(uint8_t(ReadPixel32(src, x, y) >> (8 * lane)));
            const auto r = FixedLine(row, w, filter);
            for (int x = 0; x < w; ++x) mid[y * w + x] |= uint32_t(r[x]) << (8 * lane);
        }
        for (int x = 0; x < w; ++x) {
            std::vector<uint8_t> col;
            for (int y = 0; y < src.Height; ++y) col.push_back(uint8_t(mid[y * w + x] >> (8 * lane)));
            const auto c = FixedLine(col, h, filter);
            for (int y = 0; y < h; ++y) out[y * w + x] |= uint32_t(c[y]) << (8 * lane);
        }
    }
    return out;
}

// Noise with runs of 0 and 255 so that negative lobes and overshoots reach both clamps.
TMemBitmap32 NoiseImage(int w, int h, bool bottomUp, uint32_t seed) {
    TMemBitmap32 bmp(w, h, bottomUp);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1103515245u + 12345u;
            const uint32_t v = seed >> 8;
            WritePixel32(bmp, x, y, (x / 3 + y) % 4 == 0 ? (v & 1 ? 0xFFFFFFFFu : 0u) : v * 2654435761u);
        }
    return bmp;
}

}  // namespace

TEST(ResampleBitmap32, BitExactAgainstOneSampleAtATimeFixedPoint) {
    struct Size { int sw, sh, dw, dh; } sizes[] = {
        {12, 12, 453, 189},  // a border centre stretched (odd widths: partial 16-byte runs)
        {40, 20, 20, 10},    // 2x down
        {9, 7, 18, 14},      // 2x up
        {300, 6, 3, 6},      // far down: hundreds of taps per sample
        {2, 2, 7, 5},        // smallest source
        {13, 11, 1, 1},      // single output sample
        {33, 5, 34, 4},      // near 1:1, one way up one way down
    };
    for (int filter = rfBox; filter <= rfMitchell; ++filter)
        for (const Size& s : sizes)
            for (bool bottomUp : {true, false}) {
                const TMemBitmap32 src = NoiseImage(s.sw, s.sh, bottomUp, uint32_t(filter * 97 + s.dw));
                const std::vector<uint32_t> ref = FixedResample(src, s.dw, s.dh, filter);
                TMemBitmap32 dst;
                ResampleBitmap32(&src, &dst, s.dw, filter, s.dh);
                ASSERT_EQ(dst.Width, s.dw);
                ASSERT_EQ(dst.Height, s.dh);
                for (int y = 0; y < s.dh; ++y)
                    for (int x = 0; x < s.dw; ++x)
                        ASSERT_EQ(ReadPixel32(dst, x, y), ref[y * s.dw + x])
                            << "filter " << filter << " " << s.sw << "x" << s.sh << "->" << s.dw << "x" << s.dh
                            << (bottomUp ? " bottom-up" : " top-down") << " at " << x << "," << y;
            }
}

TEST(ResampleBitmap32, SourceMayBeAViewIntoALargerBitmap) {
    // A piece of a bottom-up bitmap addressed through its own row 0 and the parent's stride.
    const TMemBitmap32 whole = NoiseImage(30, 20, true, 7);
    TBitmap32 piece;
    piece.Row0 = reinterpret_cast<uint8_t*>(whole.Row(4) + 5);
    piece.Stride = whole.Stride;
    piece.Width = 11;
    piece.Height = 9;
    TMemBitmap32 copy(11, 9);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 11; ++x) WritePixel32(copy, x, y, ReadPixel32(whole, x + 5, y + 4));
    TMemBitmap32 fromView, fromCopy;
    ResampleBitmap32(&piece, &fromView, 29, rfMitchell, 6);
    ResampleBitmap32(&copy, &fromCopy, 29, rfMitchell, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 29; ++x) ASSERT_EQ(ReadPixel32(fromView, x, y), ReadPixel32(fromCopy, x, y)) << x << "," << y;
}
