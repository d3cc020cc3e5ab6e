#pragma once
// The autopilot's hand: a path over the canvas made of gestures a person makes with the
// mouse (arcs across the canvas, loops and spirals, figures of eight, still moments),
// each eased in and out, one starting where the last ended, drawn from a seed. Now and
// then a gesture starts with a re-emission or a new colour. The same seed and canvas
// give the same path; every point of it lies inside the canvas by construction: arcs
// are quadratic curves whose three points lie in the inner rectangle (a curve stays in
// the hull of its points), and the round gestures are sized to fit around their start.

#include <cstdint>
#include <deque>
#include <vector>

#include "play/seeded_random.h"

namespace lumeno {

struct CanvasPoint {
    float x = 0.0f;
    float y = 0.0f;
};

// What a gesture does as it starts, beside moving.
struct GestureStart {
    double seconds = 0.0; // on the path's clock
    CanvasPoint at;       // where the pointer is then
    bool reemits = false;
    int colourSlot = -1;  // 0..3 as the keys 1..4 choose it; -1 keeps the colour
};

enum class GestureKind { Arc, Loop, FigureEight, Still };

class AutopilotPath {
public:
    // Gestures keep this far from the edges, as a share of the shorter side.
    static constexpr float kMargin = 0.08f;

    // A path over a width x height canvas (pixels, y down), starting at its centre.
    AutopilotPath(std::uint64_t seed, int width, int height);

    // The pointer at `seconds` on the path's clock; times before the oldest gesture kept
    // give that gesture's start. Times go forward in use: gestures that ended more than a
    // minute before the latest time asked for are forgotten.
    CanvasPoint At(double seconds);
    // The gestures that start in (from, to], in order.
    std::vector<GestureStart> StartsBetween(double from, double to);
    // The kind of the gesture under way at `seconds`.
    GestureKind KindAt(double seconds);

private:
    struct Gesture {
        GestureKind kind = GestureKind::Still;
        GestureStart start;
        double duration = 0.0;
        CanvasPoint a, b, c; // a the start; Arc: b, c the curve's other points; Loop: b the centre;
                             // FigureEight: b the half sizes
        float turns = 0.0f;  // Loop: signed turns; FigureEight: +1 or -1
        float breathe = 0.0f; // Loop: how far the radius draws in and out again, as a share
        bool standing = false; // FigureEight: its length runs up and down
        CanvasPoint Where(double seconds) const;
        CanvasPoint End() const { return Where(start.seconds + duration); }
    };

    const Gesture& GestureAt(double seconds);
    void AddGesture();
    Gesture MakeArc(CanvasPoint from);
    Gesture MakeLoop(CanvasPoint from);
    Gesture MakeFigureEight(CanvasPoint from);
    Gesture MakeStill(CanvasPoint from);
    CanvasPoint InnerPoint();

    SeededRandom m_random;
    float m_width;
    float m_height;
    float m_side;  // the shorter side
    float m_left, m_top, m_right, m_bottom; // the inner rectangle
    std::deque<Gesture> m_gestures;
    double m_nextReemit;
    double m_nextColour;
    int m_colourSlot = 3;
};

} // namespace lumeno
