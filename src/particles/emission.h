#pragma once
// Emission: every particle placed anew around one point by one of three patterns.

#include <cstdint>

#include "particles/particle.h"

namespace lumeno {

inline constexpr float kTwoPi = 6.2831855f;

struct EmissionParams {
    float pointX, pointY;       // canvas pixels from the top-left corner
    std::int32_t width, height; // canvas size given to the particle system
    std::int32_t createMethod;  // 0 one circle, 1 three circles, 2 random circles
    std::int32_t particleCount; // the setting: sets how often method 2 moves its centre
    float radius, power, scattering;
};

// The plain emission over n records, drawing from the process-wide generator in the
// fixed order: per particle, method 2's draw and centre first, then position and velocity.
void EmitReference(Particle* particles, int count, const EmissionParams& params);

} // namespace lumeno
