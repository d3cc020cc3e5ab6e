// libFuzzer target: any bytes as a settings file, then everything that takes the loaded
// values as they are: the properties dialog's label texts and positions, the canvas
// mappings, and a particle system that emits, steps and colours without a device.
//
// Caps, so one input costs microseconds and never gigabytes:
// - the particle system gets at most kMaxParticles particles (a larger or huge count is
//   tried on a real device by the robustness tests, where the array would be allocated);
//   zero and negative counts go through as they are, and the global setting keeps the
//   raw value, which emission reads for its period;
// - width and height go through as they are: without a device they size nothing;
// - multiThreaded is forced off: thread start-up would dominate every run, and the
//   workers have their own tests under ThreadSanitizer.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

#include "engine/canvas_mapping.h"
#include "particles/attractor.h"
#include "particles/particle_system.h"
#include "platform/message_box.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"
#include "settings/settings_file.h"
#include "settings/ui/trackbar_mappings.h"

namespace lumeno {
namespace {

constexpr std::int32_t kMaxParticles = 1000;
constexpr int kFrames = 3;
constexpr std::size_t kBoolOffsets[] = {16, 53, 70};

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "settings fuzzer: %s\n", what);
        std::abort();
    }
}

class SimulationOnlyEngine final : public ParticleEngineView {
public:
    float mouse[2] = {0.0f, 0.0f};
    float aspect = 0.75f;
    int frameCount = 0;

    const float* GetMousePosition() const override { return mouse; }
    float GetAspect() const override { return aspect; }
    float GetFrameTime() const override { return 0.01f; }
    int GetFrameCount() const override { return frameCount; }
};

// A load takes the first 115 bytes whole or changes nothing, and saving what it loaded
// gives those bytes back, bool bytes written as 0 or 1.
void CheckLoad(std::span<const std::byte> bytes, CanvasSettings& canvas, ParticleSettings& particles)
{
    const std::vector<std::byte> before = EncodeSettings(canvas, particles);
    const bool loaded = LoadSettingsFromBytes(bytes, canvas, particles);
    Require(loaded == (bytes.size() >= kSettingsFileSize), "load result does not follow the length");
    const std::vector<std::byte> after = EncodeSettings(canvas, particles);
    if (!loaded) {
        Require(after == before, "a short file changed a field");
        return;
    }
    std::vector<std::byte> expected(bytes.begin(), bytes.begin() + kSettingsFileSize);
    for (std::size_t offset : kBoolOffsets)
        expected[offset] = expected[offset] != std::byte{0} ? std::byte{1} : std::byte{0};
    Require(after == expected, "saving the loaded records does not give the file back");
}

// What UpdateControls computes from the records, minus the widgets.
void ExerciseDialogMappings(const CanvasSettings& canvas, const ParticleSettings& particles)
{
    (void)FindTableIndex(CanvasWidths, canvas.width);
    (void)FindTableIndex(CanvasHeights, canvas.height);
    (void)FindTableIndex(CanvasFormats, canvas.format);
    (void)PositionFromParticleCount(canvas.particleCount);
    (void)FormatLabel(kParticleCountFormat, canvas.particleCount);
    (void)ScaleLabel(particles.scale);
    for (const FloatTrackbar& row : kFloatTrackbars) {
        const float value = particles.*row.field;
        const int position = row.positionFromValue(value);
        (void)FormatLabel(row.refreshFormat, double{value});
        const int thumb = std::clamp(position, row.range.min, row.range.max);
        (void)FormatLabel(row.moveFormat, double{row.valueFromPosition(thumb)});
    }
}

// The engine's window mappings for a 1024 x 768 client area; returns the pointer in
// canvas units for the centre of the window.
void CanvasPointerForCentre(const CanvasSettings& canvas, const ParticleSettings& particles, float aspect,
                            float* mouse)
{
    const CanvasView view{canvas.width, canvas.height, aspect, particles.scale, 1024, 768};
    int corners[4];
    CanvasToClient(view, 0.0f, 0.0f, &corners[0], &corners[1]);
    CanvasToClient(view, static_cast<float>(canvas.width), static_cast<float>(canvas.height), &corners[2],
                   &corners[3]);
    ClientToCanvas(view, 512.0f, 384.0f, &mouse[0], &mouse[1]);
}

void ExerciseParticleSystem(const CanvasSettings& canvas, const ParticleSettings& particles)
{
    CanvasSettingsRecord() = canvas;
    CanvasSettingsRecord().multiThreaded = false;
    g_particleSettings = particles;
    SimulationAttractor() = Attractor{};

    SimulationOnlyEngine engine;
    engine.aspect = static_cast<float>(canvas.height) / static_cast<float>(canvas.width);
    CanvasPointerForCentre(canvas, particles, engine.aspect, engine.mouse);

    CParticleSystem system(engine);
    system.Init({canvas.width, canvas.height, std::min(canvas.particleCount, kMaxParticles)});
    for (int frame = 0; frame < kFrames; ++frame) {
        ++engine.frameCount;
        system.Update();
    }
    system.SetColorIndex(particles.colorIndex);
    system.Emit(engine.mouse[0], engine.mouse[1]);
    ++engine.frameCount;
    system.Update();
    float cycle[4];
    system.GetCycleColor(cycle);
    system.Release();
}

} // namespace
} // namespace lumeno

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Boxes are part of the expected outcome (a count below zero says so); keep them quiet.
    lumeno::SetMessageBoxHandler([](const lumeno::MessageBoxRequest&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace lumeno;
    // Constructing the canvas record probes the graphics device: once is enough.
    static const CanvasSettings kDefaults = [] {
        CanvasSettings defaults;
        defaults.format = kFormatRGBA32F;
        return defaults;
    }();
    CanvasSettings canvas = kDefaults;
    ParticleSettings particles;
    CheckLoad({reinterpret_cast<const std::byte*>(data), size}, canvas, particles);
    ExerciseDialogMappings(canvas, particles);
    ExerciseParticleSystem(canvas, particles);
    return 0;
}
