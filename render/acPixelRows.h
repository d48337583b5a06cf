// Row kernels shared by the piece copies: composing image pixels through their mask over a run
// of target pixels. SSE2 where the compiler offers it, the same arithmetic per pixel otherwise
// and for the tail of a run.
#pragma once
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace rd {

constexpr uint32_t kKeyPixel = 0x00FF00FFu;

// d := ((d - s) * m + s * 256) >> 8 on blue, green and red; alpha of d kept.
inline uint32_t ThroughMask(uint32_t d, uint32_t s, uint32_t m) {
    uint32_t out = d & 0xFF000000u;
    for (int lane = 0; lane < 3; ++lane) {
        const int dc = (d >> (8 * lane)) & 0xFF, sc = (s >> (8 * lane)) & 0xFF, mc = (m >> (8 * lane)) & 0xFF;
        out |= static_cast<uint32_t>((((dc - sc) * mc + sc * 256) >> 8) & 0xFF) << (8 * lane);
    }
    return out;
}

// What a masked run does with image pixels equal to kKeyPixel.
enum class TKeyRule { Compose, Leave, Fill };

// One pixel of ComposeMaskedRow.
inline uint32_t ComposeMaskedPixel(uint32_t d, uint32_t s, uint32_t m, TKeyRule rule, uint32_t fill,
                                   uint32_t alphaOr) {
    if (s == kKeyPixel && rule != TKeyRule::Compose) return rule == TKeyRule::Fill ? fill : d;
    return ThroughMask(d, s, m) | alphaOr;
}

namespace detail {

// ComposeMaskedRow with the rule and the alpha bits fixed at compile time.
template <TKeyRule Rule, bool Opaque>
void ComposeMaskedRun(uint32_t* d, const uint32_t* s, const uint32_t* m, int n, uint32_t fill) {
    constexpr uint32_t alphaOr = Opaque ? 0xFF000000u : 0;
    int i = 0;
#if defined(__SSE2__)
    // (d - s) * m + s * 256 is the exact result times 256, at most 255 * 256: computed modulo
    // 2^16 in 16-bit lanes it comes out right. The alpha lane is given the weight 256, which
    // keeps the alpha of d.
    const __m128i zero = _mm_setzero_si128(), alphaWeight = _mm_set1_epi64x(0x0100000000000000LL);
    const __m128i colour = _mm_set1_epi32(0x00FFFFFF), alpha = _mm_set1_epi32(static_cast<int>(alphaOr));
    const __m128i key = _mm_set1_epi32(static_cast<int>(kKeyPixel)), fillV = _mm_set1_epi32(static_cast<int>(fill));
    auto half = [&](__m128i dv, __m128i sv, __m128i mv) {
        const __m128i t = _mm_mullo_epi16(_mm_sub_epi16(dv, sv), _mm_or_si128(mv, alphaWeight));
        return _mm_srli_epi16(_mm_add_epi16(t, _mm_slli_epi16(sv, 8)), 8);
    };
    for (; i + 4 <= n; i += 4) {
        const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i mv = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(m + i)), colour);
        const __m128i lo = half(_mm_unpacklo_epi8(dv, zero), _mm_unpacklo_epi8(sv, zero), _mm_unpacklo_epi8(mv, zero));
        const __m128i hi = half(_mm_unpackhi_epi8(dv, zero), _mm_unpackhi_epi8(sv, zero), _mm_unpackhi_epi8(mv, zero));
        __m128i out = _mm_packus_epi16(lo, hi);
        if constexpr (Opaque) out = _mm_or_si128(out, alpha);
        if constexpr (Rule != TKeyRule::Compose) {
            const __m128i keyed = _mm_cmpeq_epi32(sv, key);
            const __m128i other = Rule == TKeyRule::Fill ? fillV : dv;
            out = _mm_or_si128(_mm_and_si128(keyed, other), _mm_andnot_si128(keyed, out));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), out);
    }
#endif
    for (; i < n; ++i) d[i] = ComposeMaskedPixel(d[i], s[i], m[i], Rule, fill, alphaOr);
}

template <TKeyRule Rule>
void ComposeMaskedRun(uint32_t* d, const uint32_t* s, const uint32_t* m, int n, uint32_t fill, bool opaque) {
    if (opaque) ComposeMaskedRun<Rule, true>(d, s, m, n, fill);
    else ComposeMaskedRun<Rule, false>(d, s, m, n, fill);
}

}  // namespace detail

// n pixels: d := ThroughMask(d, s, m), made opaque when asked, except that key image pixels are
// composed, leave d, or write fill, by rule.
inline void ComposeMaskedRow(uint32_t* d, const uint32_t* s, const uint32_t* m, int n, TKeyRule rule, uint32_t fill,
                             bool opaque) {
    switch (rule) {
        case TKeyRule::Compose: detail::ComposeMaskedRun<TKeyRule::Compose>(d, s, m, n, fill, opaque); break;
        case TKeyRule::Leave: detail::ComposeMaskedRun<TKeyRule::Leave>(d, s, m, n, fill, opaque); break;
        case TKeyRule::Fill: detail::ComposeMaskedRun<TKeyRule::Fill>(d, s, m, n, fill, opaque); break;
    }
}

// A masked image prepared for composing over many target rows (tiling): per channel a weight
// and an addend such that d := (d * weight + addend) >> 8 is ThroughMask: weight m and addend
// s * (256 - m) for blue, green and red; weight 256 and addend 0 for alpha, and for every channel
// of a key pixel that is to leave the target. Terms and sums stay within unsigned 16 bits.
inline void PrepareMaskedPixel(uint32_t s, uint32_t m, bool leave, uint16_t* weight, uint16_t* addend) {
    for (int lane = 0; lane < 4; ++lane) {
        const uint32_t sc = (s >> (8 * lane)) & 0xFF, mc = (m >> (8 * lane)) & 0xFF;
        const bool keep = lane == 3 || leave;
        weight[lane] = static_cast<uint16_t>(keep ? 256 : mc);
        addend[lane] = static_cast<uint16_t>(keep ? 0 : sc * (256 - mc));
    }
}

// n target pixels composed with prepared weights and addends (four of each per pixel).
inline void ComposePreparedRow(uint32_t* d, const uint16_t* weight, const uint16_t* addend, int n) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    auto half = [](__m128i dv, const uint16_t* w, const uint16_t* a) {
        const __m128i wv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(w));
        const __m128i av = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
        return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(dv, wv), av), 8);
    };
    for (; i + 4 <= n; i += 4) {
        const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const __m128i lo = half(_mm_unpacklo_epi8(dv, zero), weight + 4 * i, addend + 4 * i);
        const __m128i hi = half(_mm_unpackhi_epi8(dv, zero), weight + 4 * i + 8, addend + 4 * i + 8);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_packus_epi16(lo, hi));
    }
#endif
    for (; i < n; ++i) {
        uint32_t out = 0;
        for (int lane = 0; lane < 4; ++lane) {
            const uint32_t dc = (d[i] >> (8 * lane)) & 0xFF;
            out |= ((dc * weight[4 * i + lane] + addend[4 * i + lane]) >> 8) << (8 * lane);
        }
        d[i] = out;
    }
}

}  // namespace rd
