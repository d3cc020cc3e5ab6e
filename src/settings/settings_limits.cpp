#include "settings/settings_limits.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <utility>

#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"

namespace lumeno {
namespace {

bool CanvasSideWithinReach(std::int32_t side) { return side >= 1 && side <= kMaxCanvasSide; }

std::string NotFinite(const std::string& name, float value)
{
    std::ostringstream text;
    text << "its " << name << " is " << value << ", not a finite number";
    return text.str();
}

} // namespace

std::string SettingsOutOfReach(const CanvasSettings& canvas, const ParticleSettings& particles)
{
    if (!CanvasSideWithinReach(canvas.width) || !CanvasSideWithinReach(canvas.height))
        return "its canvas of " + std::to_string(canvas.width) + " x " + std::to_string(canvas.height) +
               " pixels is not one Lumeno can make (1 to " + std::to_string(kMaxCanvasSide) + " pixels a side)";
    if (std::ranges::count(CanvasFormats, canvas.format) == 0)
        return "its canvas format " + std::to_string(canvas.format) + " is none of " +
               std::to_string(kFormatRGBA8) + " (" + std::string(QualityNames[0]) + "), " +
               std::to_string(kFormatRGBA16F) + " (" + std::string(QualityNames[1]) + ") and " +
               std::to_string(kFormatRGBA32F) + " (" + std::string(QualityNames[2]) + ")";
    if (canvas.particleCount < 1 || canvas.particleCount > kMaxParticleCount)
        return "its particle count " + std::to_string(canvas.particleCount) + " is not one Lumeno can draw (1 to " +
               std::to_string(kMaxParticleCount) + ")";

    const std::pair<const char*, float> fields[] = {
        {"scale", particles.scale},
        {"alphaIntensity", particles.alphaIntensity},
        {"fadeOutRatio", particles.fadeOutRatio},
        {"speed", particles.speed},
        {"drag", particles.drag},
        {"gravityAmount", particles.gravityAmount},
        {"gravityPower", particles.gravityPower},
        {"exp", particles.exp},
        {"radius", particles.radius},
        {"power", particles.power},
        {"scattering", particles.scattering},
        {"colorFadingSpeed", particles.colorFadingSpeed},
    };
    for (const auto& [name, value] : fields) {
        if (!std::isfinite(value))
            return NotFinite(name, value);
    }
    for (std::size_t i = 0; i < particles.colors.size(); ++i) {
        const ColorRGB& colour = particles.colors[i];
        const std::string name = "colors[" + std::to_string(i) + "].";
        for (const auto& [channel, value] : {std::pair("r", colour.r), std::pair("g", colour.g), std::pair("b", colour.b)}) {
            if (!std::isfinite(value))
                return NotFinite(name + channel, value);
        }
    }
    return {};
}

} // namespace lumeno
