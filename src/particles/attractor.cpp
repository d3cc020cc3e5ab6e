#include "particles/attractor.h"

namespace lumeno {

void Attractor::Advance(float mouseX, float mouseY, int width, int height)
{
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    if (!placed) {
        x = 2.0f * mouseX / w - 1.0f;
        y = -(2.0f * mouseY / h - 1.0f);
        placed = true;
    }
    // Simulation y grows upwards, canvas y downwards: the vertical term flips sign.
    const float targetX = 0.9f * (2.0f * mouseX / w - 1.0f);
    const float targetY = 0.9f * -1.0f * (2.0f * mouseY / h - 1.0f);
    x = targetX + 0.1f * x;
    y = targetY + 0.1f * y;
}

Attractor& SimulationAttractor()
{
    static Attractor attractor;
    return attractor;
}

} // namespace lumeno
