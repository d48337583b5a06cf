// The number model of the colour and geometry formulas (docs/arithmetic.md): every formula is
// evaluated exactly on the values its operands hold (an integer, a double or a single), and only
// the final Trunc or Round loses anything. Integer arithmetic throughout, so the result does not
// depend on the floating-point unit a build computes with.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace rd {

// n / d rounded half to even; d > 0.
inline int64_t DivRoundHalfEven(int64_t n, int64_t d) {
    int64_t q = n / d, r = n % d;
    if (r < 0) { r += d; --q; }  // floor division: 0 <= r < d
    if (2 * r > d || (2 * r == d && (q & 1))) ++q;
    return q;
}

// Trunc(percent * 2.55): the percentage as an amount of 0..255, toward zero.
inline int TruncPercentOf255(int percent) { return static_cast<int>(int64_t(percent) * 255 / 100); }

// Round(percent * 2.55), half to even.
inline int RoundPercentOf255(int percent) { return static_cast<int>(DivRoundHalfEven(int64_t(percent) * 255, 100)); }

namespace detail {

inline int ClampToInt(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// Trunc(base + n / 2^shift) for shift >= 0, exact.
inline int TruncAddDyadic(int64_t base, int64_t n, int shift) {
    int64_t q, r;
    if (shift >= 62) {  // |n| < 2^62: the quotient lies strictly between -1 and 1
        q = n < 0 ? -1 : 0;
        r = n == 0 ? 0 : 1;
    } else {
        const int64_t p = int64_t(1) << shift;
        q = n / p;
        r = n % p;
        if (r < 0) --q;  // floor: base + q <= value < base + q + 1
    }
    const int64_t f = base + q;
    return ClampToInt(r != 0 && f < 0 ? f + 1 : f);
}

}  // namespace detail

// Trunc(base + delta * k) with k taken at its exact value as a number of `Bits` significant bits
// (53 for a double, 24 for a single); |delta| must stay below 2^(62 - Bits).
template <int Bits>
int TruncAddScaled(int base, int64_t delta, double k) {
    if (std::isnan(k)) return base;
    if (std::isinf(k)) {
        if (delta == 0) return base;
        return (delta > 0) == (k > 0) ? std::numeric_limits<int>::max() : std::numeric_limits<int>::min();
    }
    int e = 0;
    const double f = std::frexp(k, &e);  // k = f * 2^e, 0.5 <= |f| < 1
    const int64_t m = static_cast<int64_t>(std::ldexp(f, Bits));
    const int shift = Bits - e;
    if (shift >= 0) return detail::TruncAddDyadic(base, delta * m, shift);
    // k is a whole number of at least 2^Bits: the product is too, and only its size matters.
    const double whole = static_cast<double>(delta) * k + base;
    return detail::ClampToInt(static_cast<int64_t>(std::clamp(whole, -9.0e18, 9.0e18)));
}

// Trunc(base + delta * k) for a double fraction k.
inline int TruncAddTimes(int base, int delta, double k) { return TruncAddScaled<53>(base, delta, k); }

// Trunc(a * q + b) for a single-precision q.
inline int TruncSingleProduct(int a, float q, int b) { return TruncAddScaled<24>(b, a, q); }

}  // namespace rd
