#pragma once
// What a settings file of Lumeno can hold: the canvases and particle counts the program
// can make, one of its three formats, finite numbers. The start-up load takes every value
// as it is; a file the user opens must lie within these.

#include <cstdint>
#include <string>

namespace lumeno {

struct CanvasSettings;
struct ParticleSettings;

// The largest texture side any OpenGL implementation offers.
inline constexpr std::int32_t kMaxCanvasSide = 32768;
// Two vertices a particle, drawn in one call whose vertex count is a 32-bit signed int.
inline constexpr std::int32_t kMaxParticleCount = 1073741823;

// Empty when the records are within reach; otherwise the first value that is not, as a
// clause that follows "is not a settings file: ", e.g. "its particle count -5 is not one
// Lumeno can draw (1 to 1073741823)".
std::string SettingsOutOfReach(const CanvasSettings& canvas, const ParticleSettings& particles);

} // namespace lumeno
