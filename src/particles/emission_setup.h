#pragma once
// What one emission's pattern needs, fixed before any particle is placed: the point in
// normalised coordinates, the three circles of method 1 and the period of method 2. The
// plain and the fast emission share it, so both start every call from the same bits.

#include <cmath>

#include "particles/emission.h"

namespace lumeno {

struct EmissionCentre {
    float x, y;
};

struct EmissionSetup {
    const EmissionParams& params;
    float nx, ny;
    EmissionCentre threeCircles[3];
    int period;

    explicit EmissionSetup(const EmissionParams& p) : params(p)
    {
        nx = 2.0f * p.pointX / static_cast<float>(p.width) - 1.0f;
        ny = -(2.0f * p.pointY / static_cast<float>(p.height) - 1.0f);
        // Three circles on a circle of radius 2R around the point, 120 degrees apart, the
        // third straight to its right; particle j takes circle j mod 3.
        const float angles[3] = {kTwoPi / 3.0f, 2.0f * kTwoPi / 3.0f, kTwoPi};
        for (int i = 0; i < 3; ++i)
            threeCircles[i] = {nx + 2.0f * p.radius * std::cos(angles[i]), ny + 2.0f * p.radius * std::sin(angles[i])};
        // With fewer than ten particles the period of method 2 would be zero; every draw
        // then moves the centre, so each particle gets a circle of its own.
        period = p.particleCount / 10 != 0 ? p.particleCount / 10 : 1;
    }

    // Method 2's new centre from the units of its two draws, u1 drawn first. The caller
    // draws them into variables: as arguments of one call their order would be unspecified.
    EmissionCentre MovedCentre(double u1, double u2) const
    {
        return {static_cast<float>(nx + (u1 - 0.5) * params.radius * 8),
                static_cast<float>(ny + (u2 - 0.5) * params.radius * 8)};
    }
};

} // namespace lumeno
