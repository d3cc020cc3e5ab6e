#pragma once
// Randomise with one step of undo, over g_particleSettings: a new look replaces the record
// and the engine's particles and canvas, and the record it replaced is kept, whole, until
// an undo puts it back or the next Randomise replaces it.

#include <cstdint>
#include <optional>

#include "play/random_look.h"
#include "settings/particle_settings.h"

namespace lumeno {

// Puts `look` in force without a rebuild, as a person would: the record set, the colour
// slot handed to the particle system as the 1..4 keys do, the particles re-emitted around
// the pointer (a left click) and the canvases cleared (a right click), so that the look
// starts on a fresh canvas. Only the record changes while there is no engine. The engine's
// context must be current.
void ApplyLook(const ParticleSettings& look);

class LookUndo {
public:
    // The looks follow from `seed`, one draw after another.
    explicit LookUndo(std::uint64_t seed) : m_random(seed) {}

    // Draws a look for the canvas record in force and applies it, keeping the record it
    // replaces as the one step to undo.
    void Randomise();
    // Puts back the record the last Randomise replaced; false, changing nothing, when
    // there is none (never randomised, or undone already).
    bool Undo();
    bool CanUndo() const { return m_previous.has_value(); }

private:
    SeededRandom m_random;
    std::optional<ParticleSettings> m_previous;
};

// The canvas record in force, as DrawLook needs it.
LookCanvas CanvasInForce();

} // namespace lumeno
