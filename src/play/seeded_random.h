#pragma once
// A small generator whose numbers are fixed by its seed with every compiler and standard
// library (std's distributions differ between them), for what must replay from a seed:
// splitmix64 (Steele, Lea and Flood, 2014), its top 53 bits as a double in [0, 1).

#include <cstdint>

namespace lumeno {

class SeededRandom {
public:
    explicit SeededRandom(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t Next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // In [0, 1), from the top 53 bits.
    double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
    // In [low, high).
    double Between(double low, double high) { return low + (high - low) * Unit(); }
    // In [0, count).
    int Below(int count) { return static_cast<int>(Unit() * count); }

private:
    std::uint64_t m_state;
};

// A seed from the system's entropy source, for what should be new each time (a look, a
// path); replayable only by printing it.
std::uint64_t FreshSeed();

} // namespace lumeno
