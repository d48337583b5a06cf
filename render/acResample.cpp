#include "render/acResample.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The source samples of every output sample along one axis: output i uses taps
// [i * Taps, i * Taps + Count[i]) of Index and Weight (16.16); the rest up to (i + 1) * Taps
// is padding of weight 0.
//
// For pairwise 16-bit multiply-adds the same taps are also kept as sub-taps: a weight beyond the
// 16-bit range is split into parts within it on the same source sample, so the 32-bit sums stay
// exactly those of the whole weights. Output i uses pairs [i * Pairs, (i + 1) * Pairs): sub-taps
// PairIndex[2k] and PairIndex[2k + 1] with weights in the low and high half of PairWeights[k].
struct TContributions {
    int Taps = 0;
    std::vector<int> Index, Weight, Count;
    int Pairs = 0;
    std::vector<int> PairIndex;
    std::vector<uint32_t> PairWeights;
    int16_t PairWeight(size_t tap) const { return static_cast<int16_t>(PairWeights[tap / 2] >> (16 * (tap % 2))); }
};

int Mirror(int j, int n) {
    if (j < 0) j = -j;
    if (j >= n) j = 2 * n - 1 - j;
    return std::clamp(j, 0, n - 1);  // supports wider than the image stay inside
}

// Lists of (index, weight) per output laid out with the same count for every output, padded
// with weight 0 at index 0.
template <typename Weight>
int PadUniform(const std::vector<std::vector<std::pair<int, Weight>>>& lists, int multiple, std::vector<int>& index,
               std::vector<Weight>& weight) {
    int count = multiple;
    for (const auto& l : lists) count = std::max(count, static_cast<int>(l.size()));
    count = (count + multiple - 1) / multiple * multiple;
    index.assign(lists.size() * count, 0);
    weight.assign(lists.size() * count, 0);
    for (size_t i = 0; i < lists.size(); ++i)
        for (size_t k = 0; k < lists[i].size(); ++k) {
            index[i * count + k] = lists[i][k].first;
            weight[i * count + k] = lists[i][k].second;
        }
    return count;
}

TContributions BuildContributions(int srcSize, int dstSize, int filter) {
    // The first and last samples of both lines coincide.
    const double scale = dstSize > 1 ? double(dstSize - 1) / double(srcSize - 1) : double(dstSize) / srcSize;
    const double support = ResampleSupport(filter);
    const bool shrinking = scale < 1.0;
    const double width = shrinking ? support / scale : support;
    const double factor = shrinking ? scale : 1.0;  // kernel stretched by 1 / scale when shrinking
    std::vector<std::vector<std::pair<int, int>>> taps(static_cast<size_t>(dstSize));
    std::vector<std::vector<std::pair<int, int16_t>>> subTaps(static_cast<size_t>(dstSize));
    for (int i = 0; i < dstSize; ++i) {
        const double center = i / scale;
        const int left = static_cast<int>(std::floor(center - width));
        const int right = static_cast<int>(std::ceil(center + width));
        for (int j = left; j <= right; ++j) {
            const double w = ResampleKernel(filter, (center - j) * factor) * factor;
            const int fixed = static_cast<int>(std::lround(w * 65536.0));
            if (fixed == 0) continue;
            taps[i].push_back({Mirror(j, srcSize), fixed});
            for (int rest = fixed; rest != 0;) {
                const int part = std::clamp(rest, -32767, 32767);
                subTaps[i].push_back({Mirror(j, srcSize), static_cast<int16_t>(part)});
                rest -= part;
            }
        }
    }
    TContributions c;
    c.Taps = PadUniform(taps, 1, c.Index, c.Weight);
    for (const auto& t : taps) c.Count.push_back(static_cast<int>(t.size()));
    std::vector<int16_t> parts;
    c.Pairs = PadUniform(subTaps, 2, c.PairIndex, parts) / 2;
    c.PairWeights.resize(parts.size() / 2);
    for (size_t k = 0; k < c.PairWeights.size(); ++k)
        c.PairWeights[k] = static_cast<uint16_t>(parts[2 * k]) | static_cast<uint32_t>(static_cast<uint16_t>(parts[2 * k + 1])) << 16;
    return c;
}

// The contributions of the last few axes resampled: pieces of one skin are scaled to the same
// sizes on every repaint, and an image and its mask share their tables.
const TContributions& CachedContributions(int srcSize, int dstSize, int filter) {
    struct TEntry {
        int Src = 0, Dst = 0, Filter = -1;
        TContributions Table;
    };
    thread_local TEntry entries[4];
    thread_local int next = 0;
    for (const TEntry& e : entries)
        if (e.Src == srcSize && e.Dst == dstSize && e.Filter == filter) return e.Table;
    TEntry& e = entries[next];
    next = (next + 1) % 4;
    e.Table = BuildContributions(srcSize, dstSize, filter);
    e.Src = srcSize;
    e.Dst = dstSize;
    e.Filter = filter;
    return e.Table;
}

// 0 when negative, 255 from 0xFF0001 on, else the sum shifted right by 16; the same as
// clamp(sum >> 16, 0, 255) with an arithmetic shift.
inline uint32_t ClampChannel(int sum) {
    if (sum < 0) return 0;
    if (sum >= 0xFF0001) return 255;
    return static_cast<uint32_t>(sum >> 16);
}

#if defined(__SSE2__)

// With vector instructions both passes sum whole lines of bytes, sixteen at a time, through
// pairs of sub-taps.

// One output byte: byte i of the lines of the taps of output o, summed with their weights.
inline uint8_t FilterByte(const TContributions& c, int o, const uint8_t* const* lines, size_t i) {
    int sum = 0;
    for (int k = 0; k < 2 * c.Pairs; ++k) sum += lines[k][i] * c.PairWeight(size_t(o) * c.Pairs * 2 + k);
    return static_cast<uint8_t>(ClampChannel(sum));
}

// 32-bit sums to bytes: shifted right by 16, the saturating packs clamp as ClampChannel does.
inline __m128i PackSums(__m128i a, __m128i b, __m128i c, __m128i d) {
    const __m128i ab = _mm_packs_epi32(_mm_srai_epi32(a, 16), _mm_srai_epi32(b, 16));
    const __m128i cd = _mm_packs_epi32(_mm_srai_epi32(c, 16), _mm_srai_epi32(d, 16));
    return _mm_packus_epi16(ab, cd);
}

// Bytes [i, i + 16) of one output line from the lines of its taps.
inline void FilterBytes16(const uint32_t* weights, const uint8_t* const* lines, int pairs, size_t i, uint8_t* dst) {
    const __m128i zero = _mm_setzero_si128();
    __m128i acc[4] = {zero, zero, zero, zero};
    for (int k = 0; k < pairs; ++k) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lines[2 * k] + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lines[2 * k + 1] + i));
        // Bytes of both sub-taps side by side, as 16-bit values, for pairwise multiply-adds.
        const __m128i il = _mm_unpacklo_epi8(a, b), ih = _mm_unpackhi_epi8(a, b);
        const __m128i w = _mm_set1_epi32(static_cast<int>(weights[k]));
        acc[0] = _mm_add_epi32(acc[0], _mm_madd_epi16(_mm_unpacklo_epi8(il, zero), w));
        acc[1] = _mm_add_epi32(acc[1], _mm_madd_epi16(_mm_unpackhi_epi8(il, zero), w));
        acc[2] = _mm_add_epi32(acc[2], _mm_madd_epi16(_mm_unpacklo_epi8(ih, zero), w));
        acc[3] = _mm_add_epi32(acc[3], _mm_madd_epi16(_mm_unpackhi_epi8(ih, zero), w));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), PackSums(acc[0], acc[1], acc[2], acc[3]));
}

// Pixel rows through row 0 and a signed stride: bitmaps and scratch buffers alike.
struct TRows {
    uint8_t* Row0;
    ptrdiff_t Stride;
    uint8_t* Row(int y) const { return Row0 + y * Stride; }
};

// Output lines [0, count) of one axis: line o is the weighted sum, byte by byte, of the input
// lines of its taps; every line is `bytes` long.
void FilterLines(const TContributions& c, int count, TRows in, TRows out, size_t bytes) {
    const int taps = 2 * c.Pairs;
    std::vector<const uint8_t*> lines(static_cast<size_t>(taps));
    for (int o = 0; o < count; ++o) {
        for (int k = 0; k < taps; ++k) lines[k] = in.Row(c.PairIndex[static_cast<size_t>(o) * taps + k]);
        uint8_t* dst = out.Row(o);
        size_t i = 0;
        const uint32_t* weights = &c.PairWeights[static_cast<size_t>(o) * c.Pairs];
        for (; i + 16 <= bytes; i += 16) FilterBytes16(weights, lines.data(), c.Pairs, i, dst);
        // The last partial run as the final 16 bytes of the line, overlapping bytes already
        // written with the same values (input and output lines are distinct).
        if (i < bytes && bytes >= 16) {
            FilterBytes16(weights, lines.data(), c.Pairs, bytes - 16, dst);
            i = bytes;
        }
        for (; i < bytes; ++i) dst[i] = FilterByte(c, o, lines.data(), i);
    }
}

// Pixel (x, y) of the w x h pixels of `from` to pixel (y, x) of `to`.
void Transpose(TRows from, int w, int h, TRows to) {
    auto at = [](TRows r, int y, int x) { return reinterpret_cast<uint32_t*>(r.Row(y)) + x; };
    int y = 0;
    for (; y + 4 <= h; y += 4) {
        int x = 0;
        for (; x + 4 <= w; x += 4) {
            __m128i r[4];
            for (int k = 0; k < 4; ++k) r[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at(from, y + k, x)));
            const __m128i t0 = _mm_unpacklo_epi32(r[0], r[1]), t1 = _mm_unpacklo_epi32(r[2], r[3]);
            const __m128i t2 = _mm_unpackhi_epi32(r[0], r[1]), t3 = _mm_unpackhi_epi32(r[2], r[3]);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(at(to, x, y)), _mm_unpacklo_epi64(t0, t1));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(at(to, x + 1, y)), _mm_unpackhi_epi64(t0, t1));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(at(to, x + 2, y)), _mm_unpacklo_epi64(t2, t3));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(at(to, x + 3, y)), _mm_unpackhi_epi64(t2, t3));
        }
        for (; x < w; ++x)
            for (int k = 0; k < 4; ++k) *at(to, x, y + k) = *at(from, y + k, x);
    }
    for (; y < h; ++y)
        for (int x = 0; x < w; ++x) *at(to, x, y) = *at(from, y, x);
}

// Uninitialised pixels for `height` rows of `width`, owned by `buffer`.
TRows Scratch(std::unique_ptr<uint32_t[]>& buffer, int width, int height) {
    buffer.reset(new uint32_t[static_cast<size_t>(width) * static_cast<size_t>(height)]);
    return {reinterpret_cast<uint8_t*>(buffer.get()), static_cast<ptrdiff_t>(width) * 4};
}

// Source columns become lines for the horizontal pass; its lines are turned back into rows.
void ResamplePasses(const TBitmap32& source, int width, int filter, int height, TMemBitmap32& target) {
    const int srcW = source.Width, srcH = source.Height;
    std::unique_ptr<uint32_t[]> columns, filtered, rows;
    const TRows sourceColumns = Scratch(columns, srcH, srcW), filteredColumns = Scratch(filtered, srcH, width);
    const TRows work = Scratch(rows, width, srcH);
    Transpose({source.Row0, source.Stride}, srcW, srcH, sourceColumns);
    FilterLines(CachedContributions(srcW, width, filter), width, sourceColumns, filteredColumns,
                static_cast<size_t>(srcH) * 4);
    Transpose(filteredColumns, srcH, width, work);
    target.SetSize(width, height);
    FilterLines(CachedContributions(srcH, height, filter), height, work, {target.Row0, target.Stride},
                static_cast<size_t>(width) * 4);
}

#else

// Without vector instructions: the horizontal pass pixel by pixel with four channel sums, the
// vertical pass adding the row of every tap into one line of sums.

uint32_t FilterPixel(const TContributions& c, int i, const uint32_t* src) {
    int sum[4] = {0, 0, 0, 0};
    for (size_t k = size_t(i) * c.Taps; k < size_t(i) * c.Taps + c.Count[i]; ++k) {
        const uint32_t p = src[c.Index[k]];
        for (int lane = 0; lane < 4; ++lane) sum[lane] += static_cast<int>((p >> (8 * lane)) & 0xFF) * c.Weight[k];
    }
    return ClampChannel(sum[0]) | ClampChannel(sum[1]) << 8 | ClampChannel(sum[2]) << 16 | ClampChannel(sum[3]) << 24;
}

void ResamplePasses(const TBitmap32& source, int width, int filter, int height, TMemBitmap32& target) {
    TMemBitmap32 work(width, source.Height);
    {   // a cached table stays valid only until the next one is asked for
        const TContributions& horizontal = CachedContributions(source.Width, width, filter);
        for (int y = 0; y < source.Height; ++y) {
            const uint32_t* src = source.Row(y);
            uint32_t* dst = work.Row(y);
            for (int i = 0; i < width; ++i) dst[i] = FilterPixel(horizontal, i, src);
        }
    }
    target.SetSize(width, height);
    const TContributions& vertical = CachedContributions(source.Height, height, filter);
    std::vector<int> sums(static_cast<size_t>(width) * 4);
    for (int y = 0; y < height; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        for (size_t k = size_t(y) * vertical.Taps; k < size_t(y) * vertical.Taps + vertical.Count[y]; ++k) {
            const uint8_t* src = reinterpret_cast<const uint8_t*>(work.Row(vertical.Index[k]));
            for (size_t i = 0; i < sums.size(); ++i) sums[i] += src[i] * vertical.Weight[k];
        }
        uint8_t* dst = reinterpret_cast<uint8_t*>(target.Row(y));
        for (size_t i = 0; i < sums.size(); ++i) dst[i] = static_cast<uint8_t>(ClampChannel(sums[i]));
    }
}

#endif

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
    ResamplePasses(*source, width, filter, height, *target);
}

}  // namespace rd
