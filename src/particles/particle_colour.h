#pragma once
// The particle colour: one of three preset colours or a slowly cycling fourth one,
// reached through a blend that lasts colorFadingSpeed seconds.

namespace lumeno {

class ParticleColour {
public:
    // As a new particle system starts: already at slot `index`'s preset colour (black for
    // the cycling one, whose cycle has not begun), no blend under way.
    void Start(int index);
    // Once a frame, with the engine's frame count and the seconds of the last frame.
    void Update(int frameCount, float frameSeconds);
    // Starts the blend towards slot `index` (0..2 a preset, 3 the cycling colour).
    void SetSlot(int index);

    // RGBA, four floats each.
    const float* Current() const { return m_current; }
    const float* Cycle() const { return m_cycle; }

private:
    float m_current[4] = {0, 0, 0, 0};
    float m_cycle[4] = {0, 0, 0, 0};
    float m_blend = 1.0f;
    int m_targetSlot = 0;
};

} // namespace lumeno
