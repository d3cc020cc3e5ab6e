// Moves the motion fields (x, y, vx, vy) of a group of particle records in and out of
// vectors, in place in the array of 64-byte records. Per-target code, like
// simd_power_inl.h.
//
// Each record's first 16 bytes are one 128-bit block; a vector of N floats holds N/4
// such blocks, and a 4 x 4 transpose inside each block turns four of them into the
// vectors X, Y, VX, VY of N particles. The lane order is a permutation of the particles
// that the inverse transpose undoes. Shuffles of whole blocks rather than gathers:
// loads that the load ports can take two a cycle, and no second copy of the array.

#if defined(LUMENO_PARTICLES_SIMD_RECORDS_INL_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef LUMENO_PARTICLES_SIMD_RECORDS_INL_H_
#undef LUMENO_PARTICLES_SIMD_RECORDS_INL_H_
#else
#define LUMENO_PARTICLES_SIMD_RECORDS_INL_H_
#endif

#include <cstddef>

#include "hwy/highway.h"
#include "particles/particle.h"

HWY_BEFORE_NAMESPACE();
namespace lumeno {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

#if HWY_TARGET != HWY_SCALAR && !HWY_HAVE_SCALABLE

static_assert(offsetof(Particle, current) + offsetof(ParticleVertex, x) == 0 && offsetof(ParticleVertex, vy) == 12,
              "x, y, vx, vy are the record's first 128-bit block");
static_assert(offsetof(ParticleVertex, r) == 16, "the colour is the current vertex's second block");

// Particles per vector of D: one block each.
template <class D>
constexpr size_t BlocksOf(D d)
{
    return hn::MaxLanes(d) / 4;
}

template <class D>
HWY_INLINE hn::Vec<D> LoadMotionBlocks(D d, const Particle* p)
{
    if constexpr (hn::MaxLanes(d) == 4) {
        return hn::LoadU(d, &p->current.x);
    } else {
        const hn::Half<D> dh;
        return hn::Combine(d, LoadMotionBlocks(dh, p + BlocksOf(dh)), LoadMotionBlocks(dh, p));
    }
}

// With 256-bit vectors a whole current vertex is one vector: each block goes out with
// the colour beside it in one store instead of two.
template <class D>
HWY_INLINE void StoreMotionBlocks(D d, hn::Vec<D> v, Particle* p, hn::Vec<D> colour)
{
    if constexpr (hn::MaxLanes(d) == 8) {
        hn::StoreU(hn::ConcatLowerLower(d, colour, v), d, &p[0].current.x);
        hn::StoreU(hn::ConcatLowerUpper(d, colour, v), d, &p[1].current.x);
    } else if constexpr (hn::MaxLanes(d) == 4) {
        hn::StoreU(v, d, &p->current.x);
        hn::StoreU(colour, d, &p->current.r);
    } else {
        const hn::Half<D> dh;
        StoreMotionBlocks(dh, hn::LowerHalf(dh, v), p, hn::LowerHalf(dh, colour));
        StoreMotionBlocks(dh, hn::UpperHalf(dh, v), p + BlocksOf(dh), hn::LowerHalf(dh, colour));
    }
}

// The motion of the 4 * BlocksOf(d) particles from p on.
template <class D>
struct Motion {
    hn::Vec<D> x, y, vx, vy;
};

template <class D>
HWY_INLINE Motion<D> LoadMotion(D d, const Particle* p)
{
    const hn::Repartition<std::uint64_t, D> du;
    constexpr size_t kB = BlocksOf(D());
    const auto a0 = LoadMotionBlocks(d, p);
    const auto a1 = LoadMotionBlocks(d, p + kB);
    const auto a2 = LoadMotionBlocks(d, p + 2 * kB);
    const auto a3 = LoadMotionBlocks(d, p + 3 * kB);
    // Per block: [x0 x1 y0 y1], [x2 x3 y2 y3], [vx0 vx1 vy0 vy1], [vx2 vx3 vy2 vy3].
    const auto xy01 = hn::BitCast(du, hn::InterleaveLower(d, a0, a1));
    const auto xy23 = hn::BitCast(du, hn::InterleaveLower(d, a2, a3));
    const auto v01 = hn::BitCast(du, hn::InterleaveUpper(d, a0, a1));
    const auto v23 = hn::BitCast(du, hn::InterleaveUpper(d, a2, a3));
    return {hn::BitCast(d, hn::InterleaveLower(du, xy01, xy23)), hn::BitCast(d, hn::InterleaveUpper(du, xy01, xy23)),
            hn::BitCast(d, hn::InterleaveLower(du, v01, v23)), hn::BitCast(d, hn::InterleaveUpper(du, v01, v23))};
}

// Stores the motion and the step colour (the same four floats in every block) of the
// current vertices.
template <class D>
HWY_INLINE void StoreMotion(D d, const Motion<D>& m, Particle* p, hn::Vec<D> colour)
{
    const hn::Repartition<std::uint64_t, D> du;
    constexpr size_t kB = BlocksOf(D());
    // Per block: [x0 y0 x1 y1], [x2 y2 x3 y3], [vx0 vy0 vx1 vy1], [vx2 vy2 vx3 vy3].
    const auto xy01 = hn::BitCast(du, hn::InterleaveLower(d, m.x, m.y));
    const auto xy23 = hn::BitCast(du, hn::InterleaveUpper(d, m.x, m.y));
    const auto v01 = hn::BitCast(du, hn::InterleaveLower(d, m.vx, m.vy));
    const auto v23 = hn::BitCast(du, hn::InterleaveUpper(d, m.vx, m.vy));
    StoreMotionBlocks(d, hn::BitCast(d, hn::InterleaveLower(du, xy01, v01)), p, colour);
    StoreMotionBlocks(d, hn::BitCast(d, hn::InterleaveUpper(du, xy01, v01)), p + kB, colour);
    StoreMotionBlocks(d, hn::BitCast(d, hn::InterleaveLower(du, xy23, v23)), p + 2 * kB, colour);
    StoreMotionBlocks(d, hn::BitCast(d, hn::InterleaveUpper(du, xy23, v23)), p + 3 * kB, colour);
}

// previous = current for `count` records, 32 bytes each, in vectors of at most 256 bits.
template <size_t kCount>
HWY_INLINE void CopyCurrentToPrevious(Particle* p)
{
    const hn::CappedTag<float, 8> dv;
    for (size_t i = 0; i < kCount; ++i) {
        const float* from = &p[i].current.x;
        float* to = &p[i].previous.x;
        for (size_t j = 0; j < 8; j += hn::Lanes(dv))
            hn::StoreU(hn::LoadU(dv, from + j), dv, to + j);
    }
}

#endif // HWY_TARGET != HWY_SCALAR && !HWY_HAVE_SCALABLE

} // namespace HWY_NAMESPACE
} // namespace lumeno
HWY_AFTER_NAMESPACE();

#endif // LUMENO_PARTICLES_SIMD_RECORDS_INL_H_
