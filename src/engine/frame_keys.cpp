#include "engine/frame_keys.h"

#include "engine/render_engine.h"
#include "particles/particle_system.h"
#include "settings/particle_settings.h"

namespace lumeno {

void HandleFrameKeys(const WindowMessage& message, const FrameKeyActions& actions)
{
    if (message.message != WM_KEYDOWN)
        return;
    const std::uint32_t key = message.virtualKey;
    if (key == VK_BACK) {
        if (actions.toggleDebug)
            actions.toggleDebug();
        else
            g_particleSettings.debug = !g_particleSettings.debug;
    } else if (key >= '1' && key <= '4') {
        // The setting changes with or without an engine; a new engine starts from it.
        const int slot = static_cast<int>(key - '1');
        g_particleSettings.colorIndex = slot;
        if (g_engine && g_engine->GetParticleSystem())
            g_engine->GetParticleSystem()->SetColorIndex(slot);
        if (actions.syncColorRadios)
            actions.syncColorRadios(slot);
    } else if (key == 'C') {
        if (g_engine && actions.copyToClipboard)
            actions.copyToClipboard();
    }
}

} // namespace lumeno
