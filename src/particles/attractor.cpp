#include "particles/attractor.h"

#include <cmath>

namespace lumeno {

void Attractor::Advance(float mouseX, float mouseY, int width, int height)
{
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    Attractor next = *this;
    if (!next.placed) {
        next.x = 2.0f * mouseX / w - 1.0f;
        next.y = -(2.0f * mouseY / h - 1.0f);
        next.placed = true;
    }
    // Simulation y grows upwards, canvas y downwards: the vertical term flips sign.
    const float targetX = 0.9f * (2.0f * mouseX / w - 1.0f);
    const float targetY = 0.9f * -1.0f * (2.0f * mouseY / h - 1.0f);
    next.x = targetX + 0.1f * next.x;
    next.y = targetY + 0.1f * next.y;
    // A pointer mapped through a zero or not-a-number view scale lands at infinity or
    // NaN. Smoothing never recovers from such a place, and the attractor outlives engine
    // rebuilds, so it would pull every later step there: the last finite place stays.
    if (std::isfinite(next.x) && std::isfinite(next.y))
        *this = next;
}

Attractor& SimulationAttractor()
{
    static Attractor attractor;
    return attractor;
}

} // namespace lumeno
