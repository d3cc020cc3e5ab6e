#include "particles/simulation_step.h"

#include <cmath>

namespace lumeno {

void MakeStepColor(const float color[4], bool invert, float out[4])
{
    if (invert) {
        out[0] = 1.0f - color[0];
        out[1] = 1.0f - color[1];
        out[2] = 1.0f - color[2];
        out[3] = 2.0f - color[3];
    } else {
        for (int c = 0; c < 4; ++c)
            out[c] = color[c];
    }
}

void SimulateReference(Particle* particles, int first, int last, const StepInputs& in)
{
    for (int i = first; i < last; ++i) {
        Particle& p = particles[i];
        ParticleVertex& v = p.current;
        p.previous = v;

        // Move along last step's velocity, then slow it down.
        v.x = v.x + in.speed * v.vx;
        v.y = v.y + in.speed * v.vy;
        v.vx = in.drag * v.vx;
        v.vy = in.drag * v.vy;

        float dx = in.attractorX - v.x;
        float dy = in.attractorY - v.y;
        const float distanceSquared = dx * dx + dy * dy;
        const float q = distanceSquared + 1.01f;
        const float length = std::sqrt(distanceSquared);
        if (length != 0.0f) {
            dx = dx / length;
            dy = dy / length;
        }

        // The power in double, the quotient rounded once to float, so every platform
        // computes the same bits.
        const float f = static_cast<float>(static_cast<double>(in.gravityAmount) /
                                           std::pow(static_cast<double>(q), static_cast<double>(in.gravityPower)));
        v.vx = v.vx + f * dx;
        v.vy = v.vy + f * dy;

        v.r = in.color[0];
        v.g = in.color[1];
        v.b = in.color[2];
        v.a = in.color[3];
    }
}

} // namespace lumeno
