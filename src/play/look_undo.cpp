#include "play/look_undo.h"

#include "engine/render_engine.h"
#include "particles/particle_system.h"
#include "settings/canvas_settings.h"

namespace lumeno {

void ApplyLook(const ParticleSettings& look)
{
    g_particleSettings = look;
    CParticleSystem* system = g_engine ? g_engine->GetParticleSystem() : nullptr;
    if (!system)
        return;
    // The particle system holds the colour slot from its build on; every other field it
    // reads from the record each step or pass.
    system->SetColorIndex(look.colorIndex);
    const float* mouse = g_engine->GetMousePosition();
    system->Emit(mouse[0], mouse[1]);
    system->ClearCanvases();
}

LookCanvas CanvasInForce()
{
    const CanvasSettings& canvas = CanvasSettingsRecord();
    return LookCanvas{canvas.width, canvas.height, canvas.particleCount};
}

void LookUndo::Randomise()
{
    const ParticleSettings look = DrawLook(g_particleSettings, CanvasInForce(), m_random);
    m_previous = g_particleSettings;
    ApplyLook(look);
}

bool LookUndo::Undo()
{
    if (!m_previous)
        return false;
    const ParticleSettings previous = *m_previous;
    m_previous.reset();
    ApplyLook(previous);
    return true;
}

} // namespace lumeno
