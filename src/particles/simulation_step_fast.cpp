// The vectorised simulation step, compiled once per Highway target and dispatched at run
// time. The order of float operations is the reference loop's, with no fused
// multiply-adds (the build passes -ffp-contract=off, and the float part uses Mul then
// Add); the power is simd_power_inl.h's certified double power.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "particles/simulation_step_fast.cpp"
#include "hwy/foreach_target.h" // IWYU pragma: keep

#include "hwy/cache_control.h"
#include "hwy/highway.h"
#include "particles/simd_power_inl.h"
#include "particles/simd_records_inl.h"
#include "particles/simulation_step.h"
#include "particles/simulation_step_fast.h"

HWY_BEFORE_NAMESPACE();
namespace lumeno {
namespace HWY_NAMESPACE {

#if HWY_TARGET == HWY_SCALAR || HWY_HAVE_SCALABLE
// One lane, or vectors of unknown length: the block transpose needs fixed 128-bit blocks.
void SimulateFastImpl(Particle* particles, int first, int last, const StepInputs& in)
{
    SimulateReference(particles, first, last, in);
}
#else

// Records ahead of the group being stepped that we ask the memory system for. Measured
// at 1,000,000 particles, AVX2, ns a particle (a busy 2-core machine, so +-1): none 12.6
// to 13.0; 16 ahead 9.7; 32 9.4; 64 8.7 to 10.6; 128 9.4 to 9.9; 256 9.5 to 10.3; 32 with
// write intent 10.1. Hardware prefetch alone leaves the step waiting on memory.
constexpr int kPrefetchRecords = 64;

template <class DF>
HWY_INLINE void StepGroup(DF df, Particle* p, const StepInputs& in, const PowerConstants& power,
                          hn::Vec<DF> colour)
{
    using VF = hn::Vec<DF>;
    constexpr size_t kGroup = hn::MaxLanes(DF());
    Motion<DF> m = LoadMotion(df, p);
    CopyCurrentToPrevious<kGroup>(p);

    const VF speed = hn::Set(df, in.speed);
    const VF drag = hn::Set(df, in.drag);
    m.x = hn::Add(m.x, hn::Mul(speed, m.vx));
    m.y = hn::Add(m.y, hn::Mul(speed, m.vy));
    m.vx = hn::Mul(drag, m.vx);
    m.vy = hn::Mul(drag, m.vy);

    VF dx = hn::Sub(hn::Set(df, in.attractorX), m.x);
    VF dy = hn::Sub(hn::Set(df, in.attractorY), m.y);
    const VF distanceSquared = hn::Add(hn::Mul(dx, dx), hn::Mul(dy, dy));
    const VF q = hn::Add(distanceSquared, hn::Set(df, 1.01f));
    const VF length = hn::Sqrt(distanceSquared);
    // Not Ne: the reference's `length != 0` holds for a NaN length, an ordered Ne does not.
    const auto zero = hn::Eq(length, hn::Zero(df));
    dx = hn::IfThenElse(zero, dx, hn::Div(dx, length));
    dy = hn::IfThenElse(zero, dy, hn::Div(dy, length));

    const VF f = Pull(df, q, power);
    m.vx = hn::Add(m.vx, hn::Mul(f, dx));
    m.vy = hn::Add(m.vy, hn::Mul(f, dy));

    StoreMotion(df, m, p, colour);
}

void SimulateFastImpl(Particle* particles, int first, int last, const StepInputs& in)
{
    const hn::ScalableTag<float> df;
    const int group = static_cast<int>(hn::MaxLanes(df));
    const PowerConstants power = MakePowerConstants(in.gravityAmount, in.gravityPower);
    // The step colour in every 128-bit block.
    const auto colour = hn::LoadDup128(df, in.color);

    int i = first;
    for (; i + group <= last; i += group) {
        // One record is one cache line. Prefetches never fault, so running past the end
        // of the array is harmless.
        for (int ahead = 0; ahead < group; ++ahead)
            hwy::Prefetch(particles + i + kPrefetchRecords + ahead);
        StepGroup(df, particles + i, in, power, colour);
    }
    // The tail, shorter than a vector: the reference is the definition.
    SimulateReference(particles, i, last, in);
}
#endif

void PullsForTestImpl(const float* q, int count, float gravityAmount, float gravityPower, double* quotient,
                      std::uint8_t* certain, float* pull)
{
    const PowerConstants c = MakePowerConstants(gravityAmount, gravityPower);
#if HWY_TARGET == HWY_SCALAR || HWY_HAVE_SCALABLE
    for (int i = 0; i < count; ++i) {
        quotient[i] = static_cast<double>(gravityAmount) / std::pow(static_cast<double>(q[i]), gravityPower);
        certain[i] = 0;
        pull[i] = ReferencePull(q[i], c);
    }
#else
    const hn::ScalableTag<float> df;
    const hn::Half<decltype(df)> dfh;
    const hn::Repartition<double, decltype(df)> dd;
    const int n = static_cast<int>(hn::Lanes(df));
    const int half = n / 2;
    for (int i = 0; i + n <= count; i += n) {
        const auto qv = hn::LoadU(df, q + i);
        hn::StoreU(Pull(df, qv, c), df, pull + i);
        hn::Vec<decltype(df)> m, e;
        SplitFloat(df, qv, m, e);
        for (int h = 0; h < 2; ++h) {
            const auto mh = h == 0 ? hn::LowerHalf(dfh, m) : hn::UpperHalf(dfh, m);
            const auto eh = h == 0 ? hn::LowerHalf(dfh, e) : hn::UpperHalf(dfh, e);
            hn::Vec<decltype(dd)> y;
            const auto r = PowerQuotient(dd, hn::PromoteTo(dd, mh), hn::PromoteTo(dd, eh), c, y);
            const auto sure = CertainLanes(dd, r, y, c);
            hn::StoreU(r, dd, quotient + i + h * half);
            HWY_ALIGN double sureBits[hn::MaxLanes(dd)];
            hn::Store(hn::VecFromMask(dd, sure), dd, sureBits);
            for (int j = 0; j < half; ++j)
                certain[i + h * half + j] = sureBits[j] != 0.0 || std::signbit(sureBits[j]);
        }
    }
#endif
}

const char* TargetNameImpl() { return hwy::TargetName(HWY_TARGET); }

} // namespace HWY_NAMESPACE
} // namespace lumeno
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace lumeno {

HWY_EXPORT(SimulateFastImpl);
HWY_EXPORT(PullsForTestImpl);
HWY_EXPORT(TargetNameImpl);

void SimulateFast(Particle* particles, int first, int last, const StepInputs& inputs)
{
    HWY_DYNAMIC_DISPATCH(SimulateFastImpl)(particles, first, last, inputs);
}

void PullsForTest(const float* q, int count, float gravityAmount, float gravityPower, double* quotient,
                  std::uint8_t* certain, float* pull)
{
    HWY_DYNAMIC_DISPATCH(PullsForTestImpl)(q, count, gravityAmount, gravityPower, quotient, certain, pull);
}

const char* SimulateFastTargetName() { return HWY_DYNAMIC_DISPATCH(TargetNameImpl)(); }

} // namespace lumeno
#endif
