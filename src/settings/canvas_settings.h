#pragma once
// What needs new device resources: canvas size and precision, particle count, threading.
// Changed only before the first engine build or together with a rebuild.

#include <array>
#include <cstdint>
#include <string_view>

namespace lumeno {

class SettingsArchive;

inline constexpr std::array<std::int32_t, 13> CanvasWidths = {
    800, 960, 1024, 1080, 1152, 1280, 1360, 1440, 1600, 1680, 1920, 2048, 2560};
inline constexpr std::array<std::int32_t, 11> CanvasHeights = {
    600, 720, 768, 864, 900, 960, 1024, 1050, 1200, 1536, 2048};

// Canvas pixel formats by their Direct3D 9 numbers, parallel to QualityNames.
inline constexpr std::int32_t kFormatRGBA8 = 21;    // D3DFMT_A8R8G8B8
inline constexpr std::int32_t kFormatRGBA16F = 113; // D3DFMT_A16B16G16R16F
inline constexpr std::int32_t kFormatRGBA32F = 116; // D3DFMT_A32B32G32R32F
inline constexpr std::array<std::int32_t, 3> CanvasFormats = {kFormatRGBA8, kFormatRGBA16F, kFormatRGBA32F};
extern const std::array<std::string_view, 3> QualityNames;

struct CanvasSettings {
    std::int32_t width;
    std::int32_t height;
    std::int32_t format;
    std::int32_t particleCount;
    bool multiThreaded;

    CanvasSettings() { SetDefaults(); }

    // The format default asks the graphics layer which float format can be blended.
    void SetDefaults();
    void Serialize(SettingsArchive& archive);
};

// The process's one canvas record, made with its defaults on first use rather than during
// static initialisation: its format default probes the graphics adapter, which needs a
// GL context. The application makes it before anything else (main), so it exists before
// the application object does; it lives until exit.
CanvasSettings& CanvasSettingsRecord();

} // namespace lumeno
