#pragma once
// How far the vector power may be from the one the reference loop computes, and the
// distance from a float rounding midpoint that a vector result must keep to be used.
//
// The vector code computes r = G * 2^(-P * log2 q) in double; the reference computes
// fl(G / pow(q, P)). Budget, relative, in units of u = 2^-53:
//   log2 m, m in [sqrt(1/2), sqrt(2)): s = (m-1)/(m+1) (m-1 exact, m+1 and the quotient
//     rounded: 2u), polynomial in s^2 (fit error 6e-19, the last multiply-add and the product 2u):
//     |error| <= 4.2u relative, 2.1u absolute since |log2 m| <= 1/2;
//   exponent y = -P*e (exact) + -P*log2 m (rounded: u|P|/2), reduced f = (y-k) rounded
//     (u/2 absolute): |dy| <= 2.6u|P| + 0.5u, so 2^dy is off by ln2*|dy| <= 1.8u|P| + 0.35u;
//   2^f = 1 + f R(f), |f| <= 1/2: fit 0.04u, R's roundings weighted by |f R| / 2^f <= 1/2
//     (1.5u), the last multiply-add u; times 2^k exact; times G: u;
//   the reference: pow within one ulp (2u; glibc's measures 0.52 ulp), the quotient u.
// Sum: 6.9u + 1.8u|P|. We allow twice that, (12 + 4|P|)u, which the tests check against
// a long double power on every target, and demand eight times the allowance as the
// distance to a midpoint. At P = 0.3 that is 106 ulps of the double: about one lane in
// 2.5 million falls back to std::pow.

#include <cmath>
#include <cstdint>

namespace lumeno {

inline constexpr double kPowerUnitRoundoff = 0x1p-53;

// The allowed relative error of the vector power quotient, for gravity power P.
inline double PowerErrorBound(float gravityPower)
{
    return (12.0 + 4.0 * std::fabs(static_cast<double>(gravityPower))) * kPowerUnitRoundoff;
}

// The distance from a float midpoint, in ulps of the double result, below which a lane
// falls back to std::pow. 2^28 (the half-width of a float ulp in double ulps) rejects
// every lane: the answer for NaN, infinite or absurdly large powers.
inline std::int64_t PowerMidpointMarginUlps(float gravityPower)
{
    constexpr double kSafety = 8.0;
    constexpr double kRejectAll = 0x1p28;
    const double margin = std::ceil(kSafety * PowerErrorBound(gravityPower) / kPowerUnitRoundoff);
    return margin < kRejectAll ? static_cast<std::int64_t>(margin) : static_cast<std::int64_t>(kRejectAll);
}

} // namespace lumeno
