#include "play/autopilot_path.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lumeno {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Gestures older than this behind the latest time asked for are dropped, so that a
// screen left running for days holds a handful of gestures, not all of them.
constexpr double kKeptSeconds = 60.0;

// Still at both ends, with no jerk at them either: a hand that settles before it turns.
double Ease(double u)
{
    u = std::clamp(u, 0.0, 1.0);
    return u * u * u * (u * (u * 6.0 - 15.0) + 10.0);
}

float Distance(CanvasPoint p, CanvasPoint q) { return std::hypot(q.x - p.x, q.y - p.y); }

} // namespace

AutopilotPath::AutopilotPath(std::uint64_t seed, int width, int height)
    : m_random(seed), m_width(static_cast<float>(std::max(width, 1))), m_height(static_cast<float>(std::max(height, 1)))
{
    m_side = std::min(m_width, m_height);
    const float margin = kMargin * m_side;
    m_left = margin;
    m_top = margin;
    m_right = m_width - margin;
    m_bottom = m_height - margin;
    // The first surprises come after the cloud has had time to gather.
    m_nextReemit = m_random.Between(12.0, 30.0);
    m_nextColour = m_random.Between(25.0, 50.0);
    // It begins where a person begins, in the middle, with a gesture under way.
    Gesture first = MakeArc(CanvasPoint{m_width / 2.0f, m_height / 2.0f});
    first.start.seconds = 0.0;
    m_gestures.push_back(first);
}

CanvasPoint AutopilotPath::InnerPoint()
{
    return CanvasPoint{static_cast<float>(m_random.Between(m_left, m_right)),
                       static_cast<float>(m_random.Between(m_top, m_bottom))};
}

CanvasPoint AutopilotPath::Gesture::Where(double seconds) const
{
    const double u = duration > 0.0 ? Ease((seconds - start.seconds) / duration) : 1.0;
    switch (kind) {
    case GestureKind::Arc: {
        const double v = 1.0 - u;
        return CanvasPoint{static_cast<float>(v * v * a.x + 2.0 * u * v * b.x + u * u * c.x),
                           static_cast<float>(v * v * a.y + 2.0 * u * v * b.y + u * u * c.y)};
    }
    case GestureKind::Loop: {
        // a is the start, b the centre; the radius draws in and comes back by the end.
        const double radius = Distance(a, b) * (1.0 - breathe * std::sin(std::numbers::pi * u));
        const double angle = std::atan2(a.y - b.y, a.x - b.x) + kTwoPi * turns * u;
        return CanvasPoint{static_cast<float>(b.x + radius * std::cos(angle)),
                           static_cast<float>(b.y + radius * std::sin(angle))};
    }
    case GestureKind::FigureEight: {
        // (sin t, sin t cos t): through the start twice, once each way, and back to it.
        const double t = kTwoPi * u * turns;
        const double along = std::sin(t);
        const double across = std::sin(t) * std::cos(t);
        return standing ? CanvasPoint{static_cast<float>(a.x + b.x * across), static_cast<float>(a.y + b.y * along)}
                        : CanvasPoint{static_cast<float>(a.x + b.x * along), static_cast<float>(a.y + b.y * across)};
    }
    case GestureKind::Still:
        break;
    }
    return a;
}

AutopilotPath::Gesture AutopilotPath::MakeArc(CanvasPoint from)
{
    // Across the canvas: the farthest of a few inner points, so that sweeps are long.
    CanvasPoint to = InnerPoint();
    for (int i = 0; i < 3; ++i) {
        const CanvasPoint other = InnerPoint();
        if (Distance(from, other) > Distance(from, to))
            to = other;
    }
    Gesture arc;
    arc.kind = GestureKind::Arc;
    arc.a = from;
    arc.b = InnerPoint();
    arc.c = to;
    const double length = Distance(from, arc.b) + Distance(arc.b, to);
    const double speed = m_random.Between(0.3, 1.0) * m_side; // pixels a second, on average
    arc.duration = std::clamp(length / speed, 0.8, 6.0);
    return arc;
}

AutopilotPath::Gesture AutopilotPath::MakeLoop(CanvasPoint from)
{
    Gesture loop;
    loop.kind = GestureKind::Loop;
    loop.a = from;
    const CanvasPoint middle{(m_left + m_right) / 2.0f, (m_top + m_bottom) / 2.0f};
    const double inwards = std::atan2(middle.y - from.y, middle.x - from.x);
    float radius = static_cast<float>(m_random.Between(0.1, 0.3)) * m_side;
    // A circle through the start, its centre towards the middle, made smaller until it
    // fits inside the inner rectangle.
    for (int attempt = 0; attempt < 16; ++attempt, radius *= 0.8f) {
        const double direction = inwards + m_random.Between(-1.0, 1.0);
        const CanvasPoint centre{static_cast<float>(from.x + radius * std::cos(direction)),
                                 static_cast<float>(from.y + radius * std::sin(direction))};
        if (centre.x - radius >= m_left && centre.x + radius <= m_right && centre.y - radius >= m_top &&
            centre.y + radius <= m_bottom) {
            loop.b = centre;
            const double turns = m_random.Between(1.0, 2.5);
            loop.turns = static_cast<float>(m_random.Unit() < 0.5 ? turns : -turns);
            loop.breathe = static_cast<float>(m_random.Unit() < 0.4 ? m_random.Between(0.2, 0.7) : 0.0);
            loop.duration = turns * m_random.Between(1.6, 3.5);
            return loop;
        }
    }
    // Pressed into a corner, there is no room to turn: sweep out of it instead.
    return MakeArc(from);
}

AutopilotPath::Gesture AutopilotPath::MakeFigureEight(CanvasPoint from)
{
    Gesture eight;
    eight.kind = GestureKind::FigureEight;
    eight.a = from;
    const float roomX = std::min(from.x - m_left, m_right - from.x);
    const float roomY = std::min(from.y - m_top, m_bottom - from.y);
    // The eight lies on its side or stands, its crossing at the start. Along its length
    // it reaches its full half size; across, half of it (sin t cos t peaks at a half).
    eight.standing = m_random.Unit() < 0.35;
    const float length = static_cast<float>(m_random.Between(0.12, 0.3)) * m_side;
    const float width = length * static_cast<float>(m_random.Between(0.5, 1.0));
    eight.b = eight.standing ? CanvasPoint{std::min(width, 2.0f * roomX), std::min(length, roomY)}
                             : CanvasPoint{std::min(length, roomX), std::min(width, 2.0f * roomY)};
    if (std::min(eight.b.x, eight.b.y) < 0.04f * m_side)
        return MakeArc(from);
    eight.turns = m_random.Unit() < 0.5 ? 1.0f : -1.0f;
    eight.duration = m_random.Between(3.5, 7.0);
    return eight;
}

AutopilotPath::Gesture AutopilotPath::MakeStill(CanvasPoint from)
{
    Gesture still;
    still.kind = GestureKind::Still;
    still.a = from;
    still.duration = m_random.Between(0.8, 2.5);
    return still;
}

void AutopilotPath::AddGesture()
{
    const Gesture& last = m_gestures.back();
    const CanvasPoint from = last.End();
    const double pick = m_random.Unit();
    Gesture next;
    if (pick < 0.45 || (pick >= 0.82 && last.kind == GestureKind::Still))
        next = MakeArc(from);
    else if (pick < 0.70)
        next = MakeLoop(from);
    else if (pick < 0.82)
        next = MakeFigureEight(from);
    else
        next = MakeStill(from);
    next.start.seconds = last.start.seconds + last.duration;
    next.start.at = from;
    if (next.start.seconds >= m_nextReemit) {
        next.start.reemits = true;
        m_nextReemit = next.start.seconds + m_random.Between(20.0, 45.0);
    }
    if (next.start.seconds >= m_nextColour) {
        // Another slot than the one shown, the cycling one among them.
        next.start.colourSlot = (m_colourSlot + 1 + m_random.Below(3)) % 4;
        m_colourSlot = next.start.colourSlot;
        m_nextColour = next.start.seconds + m_random.Between(30.0, 70.0);
    }
    m_gestures.push_back(next);
}

const AutopilotPath::Gesture& AutopilotPath::GestureAt(double seconds)
{
    while (m_gestures.back().start.seconds + m_gestures.back().duration <= seconds)
        AddGesture();
    while (m_gestures.size() > 1 && m_gestures.front().start.seconds + m_gestures.front().duration < seconds - kKeptSeconds)
        m_gestures.pop_front();
    for (const Gesture& gesture : m_gestures) {
        if (seconds < gesture.start.seconds + gesture.duration)
            return gesture;
    }
    return m_gestures.back();
}

CanvasPoint AutopilotPath::At(double seconds)
{
    const Gesture& gesture = GestureAt(seconds);
    return gesture.Where(std::max(seconds, gesture.start.seconds));
}

GestureKind AutopilotPath::KindAt(double seconds) { return GestureAt(seconds).kind; }

std::vector<GestureStart> AutopilotPath::StartsBetween(double from, double to)
{
    GestureAt(to);
    std::vector<GestureStart> starts;
    for (const Gesture& gesture : m_gestures) {
        if (gesture.start.seconds > from && gesture.start.seconds <= to)
            starts.push_back(gesture.start);
    }
    return starts;
}

} // namespace lumeno
