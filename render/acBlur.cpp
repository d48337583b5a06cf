#include "render/acBlur.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Levels of window sums. The used weights of the kernel are all equal (a box), so the
// double-precision sum of weighted samples is w * (sum of the samples), every product and partial
// sum exact: Table[s] is that value clamped for a window sum s. When (s * Magic) >> (16 + Shift)
// gives Table[s] for every s that can occur, rows of sums are converted with that instead.
struct TBoxLevels {
    int HalfSize = 1;
    std::vector<uint8_t> Table;
    uint16_t Magic = 0;
    int Shift = 0;
    bool Multiply = false;
};

TBoxLevels MakeBoxLevels(int radius) {
    const TBlurKernel k = MakeBlurKernel(radius);
    TBoxLevels levels;
    levels.HalfSize = k.HalfSize;
    const int n = 2 * k.HalfSize + 1;
    const double w = k.Weights[16];
    levels.Table.resize(static_cast<size_t>(255 * n) + 1);
    for (size_t s = 0; s < levels.Table.size(); ++s)
        levels.Table[s] = static_cast<uint8_t>(std::clamp(static_cast<int>(w * static_cast<double>(s)), 0, 255));
    // Division by n: Magic = ceil(2^(16 + Shift) / n) with 2^Shift <= n < 2^(Shift + 1) stays
    // below 2^16 for odd n; it is used only if it reproduces the whole table.
    while ((2 << levels.Shift) <= n) ++levels.Shift;
    const uint32_t magic = ((1u << (16 + levels.Shift)) + n - 1) / n;
    if (magic > 0xFFFF) return levels;
    levels.Magic = static_cast<uint16_t>(magic);
    levels.Multiply = true;
    for (size_t s = 0; s < levels.Table.size() && levels.Multiply; ++s)
        levels.Multiply = ((s * magic) >> (16 + levels.Shift)) == levels.Table[s];
    return levels;
}

// The levels of the radius, kept for the next call: glows blur with one radius.
const TBoxLevels& BoxLevels(int radius) {
    thread_local int cachedRadius = 0;
    thread_local TBoxLevels cached;
    if (cachedRadius != radius) {
        cached = MakeBoxLevels(radius);
        cachedRadius = radius;
    }
    return cached;
}

// out[i] := the level of sums[i] for n sums.
void SumsToLevels(const TBoxLevels& levels, const uint16_t* sums, int n, uint8_t* out) {
    int i = 0;
#if defined(__SSE2__)
    if (levels.Multiply) {
        const __m128i magic = _mm_set1_epi16(static_cast<short>(levels.Magic));
        const __m128i shift = _mm_cvtsi32_si128(levels.Shift);
        auto level = [&](const uint16_t* at) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
            return _mm_srl_epi16(_mm_mulhi_epu16(v, magic), shift);
        };
        for (; i + 16 <= n; i += 16)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(level(sums + i), level(sums + i + 8)));
    }
#endif
    for (; i < n; ++i) out[i] = levels.Table[sums[i]];
}

// prefix[t + 1] := prefix[t] + bytes[t] for count bytes, 16-bit wrapping; prefix[0] := 0.
void PrefixSums(const uint8_t* bytes, int count, uint16_t* prefix) {
    prefix[0] = 0;
    int t = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    __m128i carry = zero;  // the last sum so far in every lane
    for (; t + 8 <= count; t += 8) {
        __m128i x = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(bytes + t)), zero);
        x = _mm_add_epi16(x, _mm_slli_si128(x, 2));
        x = _mm_add_epi16(x, _mm_slli_si128(x, 4));
        x = _mm_add_epi16(_mm_add_epi16(x, _mm_slli_si128(x, 8)), carry);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(prefix + t + 1), x);
        carry = _mm_shuffle_epi32(_mm_shufflehi_epi16(x, 0xFF), 0xFF);
    }
#endif
    for (; t < count; ++t) prefix[t + 1] = static_cast<uint16_t>(prefix[t] + bytes[t]);
}

// One row in place: its edge pixels repeated j times on the left and j + 1 times on the right,
// prefix sums of that (16-bit, wrapping: differences of at most 255 * (2j + 1) stay exact), and
// each window sum as the difference of two of them.
void BlurRow(uint8_t* row, int n, const TBoxLevels& levels, std::vector<uint8_t>& padded,
             std::vector<uint16_t>& prefix, std::vector<uint16_t>& sums) {
    const int j = levels.HalfSize, taps = 2 * j + 1;
    std::fill(padded.begin(), padded.begin() + j, row[0]);
    std::memcpy(padded.data() + j, row, static_cast<size_t>(n));
    std::fill(padded.begin() + j + n, padded.begin() + 2 * j + n + 1, row[n - 1]);
    PrefixSums(padded.data(), n + 2 * j + 1, prefix.data());
    for (int i = 0; i < n; ++i) sums[i] = static_cast<uint16_t>(prefix[i + taps] - prefix[i]);
    SumsToLevels(levels, sums.data(), n, row);
}

// Every column at once, row by row: sums holds each column's window sum. Rows above the current
// one are already blurred, so the last j + 1 original rows are kept in a ring.
void BlurColumns(TBitmap8& b, const TBoxLevels& levels, std::vector<uint16_t>& sums) {
    const int w = b.Width, h = b.Height, j = levels.HalfSize;
    auto original = [&](int y) { return b.Row(std::clamp(y, 0, h - 1)); };
    std::fill(sums.begin(), sums.begin() + w, 0);
    for (int t = -j; t <= j; ++t) {
        const uint8_t* r = original(t);
        for (int x = 0; x < w; ++x) sums[x] = static_cast<uint16_t>(sums[x] + r[x]);
    }
    std::vector<uint8_t> ring(static_cast<size_t>(j + 1) * w);
    auto saved = [&](int y) { return ring.data() + static_cast<size_t>(y % (j + 1)) * w; };
    for (int y = 0; y < h; ++y) {
        uint8_t* row = b.Row(y);
        std::memcpy(saved(y), row, static_cast<size_t>(w));
        SumsToLevels(levels, sums.data(), w, row);
        if (y + 1 == h) break;
        // Leaving: original row max(y - j, 0); entering: row min(y + j + 1, h - 1), not yet blurred.
        const uint8_t* out = saved(std::max(y - j, 0));
        const uint8_t* in = original(y + j + 1);
        for (int x = 0; x < w; ++x) sums[x] = static_cast<uint16_t>(sums[x] + in[x] - out[x]);
    }
}

}  // namespace

void BlurGrey8(TBitmap8* bitmap, int radius) {
    if (!bitmap || !bitmap->Row0 || bitmap->Width <= 0 || bitmap->Height <= 0 || radius < 1) return;
    const TBoxLevels& levels = BoxLevels(radius);
    const int w = bitmap->Width, j = levels.HalfSize;
    std::vector<uint8_t> padded(static_cast<size_t>(w + 2 * j + 1));
    std::vector<uint16_t> prefix(padded.size() + 1), sums(static_cast<size_t>(w));
    for (int y = 0; y < bitmap->Height; ++y) BlurRow(bitmap->Row(y), w, levels, padded, prefix, sums);
    TBitmap8 view = *bitmap;
    if (view.Height == 1) view.Stride = 0;
    BlurColumns(view, levels, sums);
}

}  // namespace rd
