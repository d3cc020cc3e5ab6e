#pragma once
// The point that pulls every particle. It belongs to the simulation as a whole: placed
// on the first step after program start, it keeps its place across re-initialisations.

namespace lumeno {

struct Attractor {
    float x = 0.0f;
    float y = 0.0f;
    bool placed = false;

    // One smoothing step towards the mouse (canvas pixels on a width x height canvas):
    // nine tenths of the remaining distance. The first call starts on the mouse. A step
    // that would leave the attractor infinite or NaN leaves it where it was.
    void Advance(float mouseX, float mouseY, int width, int height);
};

// The process-wide attractor; touched only by the thread that starts a step.
Attractor& SimulationAttractor();

} // namespace lumeno
