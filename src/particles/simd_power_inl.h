// The step's pull, f = (float)(G / pow(q, P)), for a vector of q, bit for bit as the
// reference loop computes it. Per-target code: included once per Highway target, inside
// a file that includes hwy/foreach_target.h. The error budget is in power_error_bound.h.
//
// The power is 2^(-P * log2 q) in double from our own polynomials, accurate to a few
// ulps of the double. A lane is kept only when that quotient lies clearly away from any
// float rounding midpoint, so that it rounds to the float the reference would give;
// other lanes (about one in millions, plus NaN, infinite and out-of-range inputs) are
// recomputed with std::pow exactly as the reference does.

#if defined(LUMENO_PARTICLES_SIMD_POWER_INL_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef LUMENO_PARTICLES_SIMD_POWER_INL_H_
#undef LUMENO_PARTICLES_SIMD_POWER_INL_H_
#else
#define LUMENO_PARTICLES_SIMD_POWER_INL_H_
#endif

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "hwy/highway.h"
#include "particles/power_error_bound.h"

HWY_BEFORE_NAMESPACE();
namespace lumeno {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// Per-step constants of the power, made once per call.
struct PowerConstants {
    float gravityAmount;
    float gravityPower;
    double negativePower;   // -P: the vector code multiplies by 2^(-P log2 q)
    std::int64_t margin;    // PowerMidpointMarginUlps(P)
    // The exponents y for which the rounding of r is surely decided by the midpoint test:
    // for a normal G, those where |G| 2^y is a normal float, a whole binade inside the
    // range on either side so that no rounding in r can leave it; for a zero G, every
    // exponent the reduction handles (r is then an exact zero). An empty window (G
    // subnormal or not finite) sends every vector through the full test.
    double yLow;
    double yHigh;
};

inline PowerConstants MakePowerConstants(float gravityAmount, float gravityPower)
{
    PowerConstants c{gravityAmount, gravityPower, -static_cast<double>(gravityPower),
                     PowerMidpointMarginUlps(gravityPower), std::numeric_limits<double>::infinity(),
                     -std::numeric_limits<double>::infinity()};
    if (std::isnormal(gravityAmount)) {
        const double log2Amount = std::log2(std::fabs(static_cast<double>(gravityAmount)));
        c.yLow = -125.0 - log2Amount;
        c.yHigh = 126.0 - log2Amount;
    } else if (gravityAmount == 0.0f) {
        c.yLow = -1000.0;
        c.yHigh = 1000.0;
    }
    return c;
}

// The reference's own expression, for the lanes the vector result may not answer.
inline float ReferencePull(double q, const PowerConstants& c)
{
    return static_cast<float>(static_cast<double>(c.gravityAmount) / std::pow(q, static_cast<double>(c.gravityPower)));
}

// The vector part needs fixed 128-bit blocks: not the one-lane or scalable targets.
#if HWY_TARGET != HWY_SCALAR && !HWY_HAVE_SCALABLE

// log2 m for m in [sqrt(1/2), sqrt(2)]: (2/ln 2) atanh(s), s = (m-1)/(m+1), as s times a
// polynomial in z = s^2 (z <= 0.0295). Degree 7, Chebyshev fit: error 6e-19 absolute.
// Estrin's scheme under the constant term: a third of Horner's dependency chain (the step
// at 20,000 particles went from 8.8 to 8.1 ns a particle, AVX2, busy machine); rounding in
// the tail is scaled by z, so only the last multiply-add rounds at full weight.
template <class DD, class VD = hn::Vec<DD>>
HWY_INLINE VD Log2Mantissa(DD dd, VD m)
{
    const VD one = hn::Set(dd, 1.0);
    const VD s = hn::Div(hn::Sub(m, one), hn::Add(m, one));
    const VD z = hn::Mul(s, s);
    const VD z2 = hn::Mul(z, z);
    const VD z4 = hn::Mul(z2, z2);
    const VD c12 = hn::MulAdd(hn::Set(dd, 0x1.2776c50ee39a4p-1), z, hn::Set(dd, 0x1.ec709dc3a047dp-1));
    const VD c34 = hn::MulAdd(hn::Set(dd, 0x1.484afb77d8797p-2), z, hn::Set(dd, 0x1.a61762d699b46p-2));
    const VD c56 = hn::MulAdd(hn::Set(dd, 0x1.c46df723fd2ebp-3), z, hn::Set(dd, 0x1.0ca160eda205bp-2));
    const VD c14 = hn::MulAdd(c34, z2, c12);
    const VD c57 = hn::MulAdd(hn::Set(dd, 0x1.b594042f590e9p-3), z2, c56);
    const VD tail = hn::MulAdd(c57, z4, c14);
    return hn::Mul(s, hn::MulAdd(tail, z, hn::Set(dd, 0x1.71547652b82fep+1)));
}

// 2^f for |f| <= 1/2 (and a little beyond): degree 11, Chebyshev fit, relative error
// 4.5e-18. 1 + f R(f) with R by Estrin's scheme, as above. The constant term is exactly 1,
// so 2^0 is exactly 1 (gravity power 0).
template <class DD, class VD = hn::Vec<DD>>
HWY_INLINE VD Exp2Reduced(DD dd, VD f)
{
    const VD f2 = hn::Mul(f, f);
    const VD f4 = hn::Mul(f2, f2);
    const VD f8 = hn::Mul(f4, f4);
    const VD c12 = hn::MulAdd(hn::Set(dd, 0x1.ebfbdff82c5afp-3), f, hn::Set(dd, 0x1.62e42fefa39efp-1));
    const VD c34 = hn::MulAdd(hn::Set(dd, 0x1.3b2ab6fb9f17fp-7), f, hn::Set(dd, 0x1.c6b08d704a0c6p-5));
    const VD c56 = hn::MulAdd(hn::Set(dd, 0x1.4309131133fe4p-13), f, hn::Set(dd, 0x1.5d87fe78a3f8cp-10));
    const VD c78 = hn::MulAdd(hn::Set(dd, 0x1.62bfc2b4dbc3ep-20), f, hn::Set(dd, 0x1.ffcbfc6dad6adp-17));
    const VD c910 = hn::MulAdd(hn::Set(dd, 0x1.e622ad9593e67p-28), f, hn::Set(dd, 0x1.b524ebc089f66p-24));
    const VD c14 = hn::MulAdd(c34, f2, c12);
    const VD c58 = hn::MulAdd(c78, f2, c56);
    const VD c911 = hn::MulAdd(hn::Set(dd, 0x1.e9ec3d7558475p-32), f2, c910);
    const VD r = hn::MulAdd(c911, f8, hn::MulAdd(c58, f4, c14));
    return hn::MulAdd(r, f, hn::Set(dd, 1.0));
}

// G * 2^(-P (e + log2 m)) for one double half, and its exponent y = -P log2 q. NaN in e
// marks a q outside [FLT_MIN, FLT_MAX]: y is then NaN and fails both certainty tests.
template <class DD, class VD = hn::Vec<DD>>
HWY_INLINE VD PowerQuotient(DD dd, VD m, VD e, const PowerConstants& c, VD& y)
{
    const hn::RebindToSigned<DD> di;
    const VD negP = hn::Set(dd, c.negativePower);

    // y = -P e exactly (24-bit P times an 8-bit integer), plus -P log2 m: the exponent is
    // reduced without ever rounding the integer part into the fraction.
    const VD whole = hn::Mul(negP, e);
    const VD frac = hn::Mul(negP, Log2Mantissa(dd, m));
    y = hn::Add(whole, frac);

    // k = round(y) by the 1.5 * 2^52 shifter: its low bits then hold k for |y| < 2^51.
    const VD shifter = hn::Set(dd, 0x1.8p52);
    const VD kShifted = hn::Add(y, shifter);
    const VD k = hn::Sub(kShifted, shifter);
    const VD f = hn::Add(hn::Sub(whole, k), frac);
    const auto kBits = hn::BitCast(di, kShifted);
    const VD scale = hn::BitCast(dd, hn::ShiftLeft<52>(hn::Add(kBits, hn::Set(di, 1023))));
    return hn::Mul(hn::Set(dd, static_cast<double>(c.gravityAmount)), hn::Mul(Exp2Reduced(dd, f), scale));
}

// Lanes of r clearly off a float rounding midpoint: midpoints have the 29 bits below the
// float's mantissa equal to 2^28. Meaningful for normal floats only.
template <class DD, class VD = hn::Vec<DD>>
HWY_INLINE hn::Mask<DD> OffMidpoint(DD dd, VD r, const PowerConstants& c)
{
    const hn::RebindToSigned<DD> di;
    const auto low29 = hn::And(hn::Sub(hn::BitCast(di, r), hn::Set(di, (std::int64_t{1} << 28) - c.margin)),
                               hn::Set(di, (std::int64_t{1} << 29) - 1));
    return hn::RebindMask(dd, hn::Gt(low29, hn::Set(di, 2 * c.margin)));
}

// The test nearly every lane passes: y inside the window where r is surely a normal
// float, and r off a midpoint. Every lane it passes, CertainLanes passes too.
template <class DD, class VD = hn::Vec<DD>>
HWY_INLINE hn::Mask<DD> SurelyNormalAndCertain(DD dd, VD r, VD y, const PowerConstants& c)
{
    const auto inWindow = hn::And(hn::Gt(y, hn::Set(dd, c.yLow)), hn::Lt(y, hn::Set(dd, c.yHigh)));
    return hn::And(inWindow, OffMidpoint(dd, r, c));
}

// The lanes whose rounding to float is certain: far below half the smallest subnormal
// float (rounds to zero), far above the overflow threshold (rounds to infinity), or a
// normal float clearly off a midpoint; and in every case an exponent the reduction
// above handles.
template <class DD, class VD = hn::Vec<DD>>
HWY_INLINE hn::Mask<DD> CertainLanes(DD dd, VD r, VD y, const PowerConstants& c)
{
    const auto yInRange = hn::Le(hn::Abs(y), hn::Set(dd, 1000.0));
    const VD a = hn::Abs(r);
    const auto normal = hn::And(hn::Ge(a, hn::Set(dd, 0x1p-126)), hn::Lt(a, hn::Set(dd, 0x1p127)));
    const auto zero = hn::Lt(a, hn::Set(dd, 0x1p-151));
    const auto infinite = hn::Ge(a, hn::Set(dd, 0x1p129));
    return hn::And(yInRange, hn::Or(hn::Or(zero, infinite), hn::And(normal, OffMidpoint(dd, r, c))));
}

// Mantissa in [sqrt(1/2), sqrt(2)) and exponent of q, both exact in float; the exponent
// is NaN where q is not a positive normal finite float.
template <class DF, class VF = hn::Vec<DF>>
HWY_INLINE void SplitFloat(DF df, VF q, VF& m, VF& e)
{
    const hn::RebindToSigned<DF> di;
    const auto bits = hn::BitCast(di, q);
    const auto valid = hn::And(hn::Gt(bits, hn::Set(di, 0x007FFFFF)), hn::Lt(bits, hn::Set(di, 0x7F800000)));
    m = hn::BitCast(df, hn::Or(hn::And(bits, hn::Set(di, 0x007FFFFF)), hn::Set(di, 0x3F800000)));
    e = hn::ConvertTo(df, hn::Sub(hn::ShiftRight<23>(bits), hn::Set(di, 127)));
    const auto big = hn::Ge(m, hn::Set(df, 1.41421356f));
    m = hn::IfThenElse(big, hn::Mul(m, hn::Set(df, 0.5f)), m);
    e = hn::Add(e, hn::IfThenElseZero(big, hn::Set(df, 1.0f)));
    e = hn::IfThenElse(hn::RebindMask(df, valid), e, hn::Set(df, std::numeric_limits<float>::quiet_NaN()));
}

// Redoes the uncertain lanes of one half with the reference expression.
template <class DD, class DFH, class VFH = hn::Vec<DFH>>
HWY_NOINLINE VFH FallBack(DD dd, DFH dfh, hn::Vec<DD> q, hn::Mask<DD> certain, VFH pull, const PowerConstants& c)
{
    constexpr size_t kMax = hn::MaxLanes(DD());
    HWY_ALIGN double qs[kMax];
    HWY_ALIGN float pulls[kMax];
    HWY_ALIGN double keep[kMax];
    hn::Store(q, dd, qs);
    hn::Store(pull, dfh, pulls);
    hn::Store(hn::VecFromMask(dd, certain), dd, keep);
    for (size_t i = 0; i < hn::Lanes(dd); ++i) {
        std::uint64_t keepBits;
        std::memcpy(&keepBits, &keep[i], sizeof keepBits);
        if (keepBits == 0)
            pulls[i] = ReferencePull(qs[i], c);
    }
    return hn::Load(dfh, pulls);
}

// The pulls of one half: the demoted quotient, with the lanes the full test cannot
// vouch for redone by the reference expression.
template <class DD, class DFH, class VFH = hn::Vec<DFH>>
HWY_NOINLINE VFH CheckHalf(DD dd, DFH dfh, VFH q, hn::Vec<DD> r, hn::Vec<DD> y, VFH pull, const PowerConstants& c)
{
    const auto certain = CertainLanes(dd, r, y, c);
    if (hn::AllTrue(dd, certain))
        return pull;
    return FallBack(dd, dfh, hn::PromoteTo(dd, q), certain, pull, c);
}

// f for a full float vector of q.
template <class DF, class VF = hn::Vec<DF>>
HWY_INLINE VF Pull(DF df, VF q, const PowerConstants& c)
{
    const hn::Half<DF> dfh;
    const hn::Repartition<double, DF> dd;
    VF m, e;
    SplitFloat(df, q, m, e);

    hn::Vec<decltype(dd)> yLo, yHi;
    const auto rLo = PowerQuotient(dd, hn::PromoteTo(dd, hn::LowerHalf(dfh, m)),
                                   hn::PromoteTo(dd, hn::LowerHalf(dfh, e)), c, yLo);
    const auto rHi = PowerQuotient(dd, hn::PromoteTo(dd, hn::UpperHalf(dfh, m)),
                                   hn::PromoteTo(dd, hn::UpperHalf(dfh, e)), c, yHi);
    auto pullLo = hn::DemoteTo(dfh, rLo);
    auto pullHi = hn::DemoteTo(dfh, rHi);
    // One cheap test for both halves; the full one only where it fails: a vector in some
    // hundreds of thousands, or every vector for a subnormal or infinite gravity.
    const auto sure = hn::And(SurelyNormalAndCertain(dd, rLo, yLo, c), SurelyNormalAndCertain(dd, rHi, yHi, c));
    if (HWY_UNLIKELY(!hn::AllTrue(dd, sure))) {
        pullLo = CheckHalf(dd, dfh, hn::LowerHalf(dfh, q), rLo, yLo, pullLo, c);
        pullHi = CheckHalf(dd, dfh, hn::UpperHalf(dfh, q), rHi, yHi, pullHi, c);
    }
    return hn::Combine(df, pullHi, pullLo);
}

#endif // HWY_TARGET != HWY_SCALAR && !HWY_HAVE_SCALABLE

} // namespace HWY_NAMESPACE
} // namespace lumeno
HWY_AFTER_NAMESPACE();

#endif // LUMENO_PARTICLES_SIMD_POWER_INL_H_
