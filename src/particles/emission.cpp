#include "particles/emission.h"

#include <cmath>

#include "particles/emission_fast.h"
#include "particles/emission_setup.h"
#include "particles/particle_system.h"
#include "particles/random_unit.h"
#include "platform/random15.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"

namespace lumeno {

void EmitReference(Particle* particles, int count, const EmissionParams& params)
{
    const EmissionSetup setup(params);
    const float radius = params.radius;

    EmissionCentre centre{setup.nx, setup.ny};
    for (int j = 0; j < count; ++j) {
        switch (params.createMethod) {
        case 0:
            centre = {setup.nx, setup.ny};
            break;
        case 1:
            centre = setup.threeCircles[j % 3];
            break;
        case 2:
            if (Rand15() % setup.period == 0) {
                const double u1 = RandomUnit(1);
                const double u2 = RandomUnit(1);
                centre = setup.MovedCentre(u1, u2);
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
