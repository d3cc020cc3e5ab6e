#pragma once
// What the properties dialog needs of the program around it. The application implements
// it; tests supply a fake. Keeping it this small lets the dialog exist, and be tested,
// before and without an engine.

#include "platform/window_message.h"
#include "settings/particle_settings.h"

namespace lumeno {

class CParticleSystem;

class PropertiesDialogHost {
public:
    // Shut the engine down and build a new one from the settings records (Apply, Restore
    // Default). Failures are reported by the rebuild itself.
    virtual void RebuildEngine() = 0;

    // Whether the engine's device can blend `format` (21, 113 or 116) after the pixel
    // shader. With no engine there is no device to ask and nothing to warn about: answer
    // true, so a Quality change without an engine shows no warning.
    virtual bool SupportsPostPixelShaderBlending(int format) = 0;

    // The engine's particle system; null when there is no engine or it has none.
    virtual CParticleSystem* ParticleSystem() = 0;

    // A key-down pressed in the dialog, offered to the main frame's key handling (the
    // engine's keys, then BackSpace, 1 to 4 and C). The dialog handles the key afterwards
    // as it would anyway.
    virtual void ForwardKeyDown(const WindowMessage& message) = 0;

    // Repaint the main window at once (invalidate, erase, update now): the Scale
    // trackbar shows its new zoom without waiting for the next frame.
    virtual void RedrawMainWindow() = 0;

    // The particle settings Save Settings writes: the record, unless the program changes
    // some of its values for a while (listening to music changes speed and intensity) and
    // keeps the user's own aside.
    virtual ParticleSettings SettingsToSave() { return g_particleSettings; }

protected:
    ~PropertiesDialogHost() = default;
};

} // namespace lumeno
