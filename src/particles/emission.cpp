#include "particles/emission.h"

#include <cmath>

#include "particles/emission_fast.h"
#include "particles/particle_system.h"
#include "particles/random_unit.h"
#include "platform/random15.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"

namespace lumeno {
namespace {

struct Centre {
    float x, y;
};

// Three circles on a circle of radius 2R around the point, 120 degrees apart, the
// third straight to its right; particle j takes circle j mod 3.
void ThreeCircleCentres(float nx, float ny, float radius, Centre out[3])
{
    const float angles[3] = {kTwoPi / 3.0f, 2.0f * kTwoPi / 3.0f, kTwoPi};
    for (int i = 0; i < 3; ++i)
        out[i] = {nx + 2.0f * radius * std::cos(angles[i]), ny + 2.0f * radius * std::sin(angles[i])};
}

} // namespace

void EmitReference(Particle* particles, int count, const EmissionParams& params)
{
    const float nx = 2.0f * params.pointX / static_cast<float>(params.width) - 1.0f;
    const float ny = -(2.0f * params.pointY / static_cast<float>(params.height) - 1.0f);
    const float radius = params.radius;

    Centre threeCircles[3];
    ThreeCircleCentres(nx, ny, radius, threeCircles);

    // With fewer than ten particles the period of method 2 would be zero; every draw
    // then moves the centre, so each particle gets a circle of its own.
    const int period = params.particleCount / 10 != 0 ? params.particleCount / 10 : 1;

    Centre centre{nx, ny};
    for (int j = 0; j < count; ++j) {
        switch (params.createMethod) {
        case 0:
            centre = {nx, ny};
            break;
        case 1:
            centre = threeCircles[j % 3];
            break;
        case 2:
            if (Rand15() % period == 0) {
                const double u1 = RandomUnit(1);
                const double u2 = RandomUnit(1);
                centre = {static_cast<float>(nx + (u1 - 0.5) * radius * 8),
                          static_cast<float>(ny + (u2 - 0.5) * radius * 8)};
            }
            break;
        default:
            break; // an unknown pattern keeps the point itself
        }

        ParticleVertex& v = particles[j].current;
        const float theta = static_cast<float>(kTwoPi * RandomUnit(1));
        const float rho = static_cast<float>(std::pow(RandomUnit(1), static_cast<double>(params.power)));
        v.x = centre.x + rho * radius * std::cos(theta);
        v.y = centre.y + rho * radius * std::sin(theta);

        v.r = v.g = v.b = 1.0f;
        v.a = 0.0f;

        const float phi = static_cast<float>(kTwoPi * RandomUnit(1));
        const float s = static_cast<float>(RandomUnit(1) + 0.5);
        v.vx = s * params.scattering * std::cos(phi);
        v.vy = s * params.scattering * std::sin(phi);

        particles[j].previous = v;
    }
}

void CParticleSystem::Emit(float pointX, float pointY)
{
    if (!m_initialised)
        return;
    WaitForStep(); // never write under a running step
    const EmissionParams params{pointX,
                                pointY,
                                m_width,
                                m_height,
                                g_particleSettings.createMethod,
                                CanvasSettingsRecord().particleCount,
                                g_particleSettings.radius,
                                g_particleSettings.power,
                                g_particleSettings.scattering};
    EmitFast(m_particles.data(), m_count, params);
}

} // namespace lumeno
