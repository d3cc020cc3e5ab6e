#pragma once
// The program's one random generator: a linear congruential generator with the
// constants of a widespread C runtime (state * 214013 + 2531011, result bits 16..30),
// never seeded, so every run and every platform emits the same particles.

#include <cstdint>

namespace lumeno {

inline constexpr int kRandMax = 32767;

// Next value in 0..32767 from the process-wide state (1 at process start).
int Rand15();

// Sets the process-wide state; for tests that need a known sequence.
void SeedRand15(std::uint32_t state);

// The process-wide state, so that a parallel consumer can replay draws exactly.
std::uint32_t Rand15State();

// One step of the generator on a caller's state.
constexpr int NextRand15(std::uint32_t& state)
{
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFFu);
}

} // namespace lumeno
