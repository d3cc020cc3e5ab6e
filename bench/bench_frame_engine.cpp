// A whole frame of the engine on a headless context: the real Render (particle lines,
// fade, scene, frame-rate text, the timing step with its single-threaded Update, the
// present that a headless window skips), then glFinish so the frame is really drawn.
// Compare with BM_Frame/BareGL (bench_frame_bare_gl.cpp), which draws the same.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "engine/render_engine.h"
#include "frame_bench_settings.h"
#include "particles/attractor.h"
#include "platform/gl/gl_surface.h"
#include "platform/headless_window.h"

namespace lumeno {
namespace {

// The effect file is found relative to the working directory: run in a fresh folder that
// sees the source tree's Engine/, and go back afterwards.
class EngineFolder {
public:
    EngineFolder()
    {
        m_previous = std::filesystem::current_path();
        std::string pattern = (std::filesystem::temp_directory_path() / "lumeno-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            return;
        m_folder = pattern;
        std::filesystem::create_directory_symlink(std::filesystem::path(LUMENO_SOURCE_DIR) / "Engine",
                                                  m_folder / "Engine");
        std::filesystem::current_path(m_folder);
    }
    ~EngineFolder()
    {
        std::filesystem::current_path(m_previous);
        std::error_code ignored;
        if (!m_folder.empty())
            std::filesystem::remove_all(m_folder, ignored);
    }
    EngineFolder(const EngineFolder&) = delete;
    EngineFolder& operator=(const EngineFolder&) = delete;
    bool Ready() const { return !m_folder.empty(); }

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_folder;
};

void FrameEngine(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    EngineFolder folder;
    bench::SetFrameSettings(n);
    SimulationAttractor() = Attractor{};
    std::string error;
    std::unique_ptr<HeadlessWindow> window =
        folder.Ready() ? HeadlessWindow::Create(bench::kFrameCanvasWidth, bench::kFrameCanvasHeight, &error) : nullptr;
    if (!window) {
        state.SkipWithError(("no headless context: " + error).c_str());
        return;
    }
    auto engine = std::make_unique<CRenderEngine>();
    g_engine = engine.get();
    if (FAILED(engine->Init(window.get()))) {
        state.SkipWithError("the engine did not start");
        g_engine = nullptr;
        return;
    }
    // One frame first: shaders finish compiling and the canvases are touched.
    engine->Render();
    glFinish();

    for (auto _ : state) {
        engine->Render();
        glFinish();
    }
    state.SetItemsProcessed(state.iterations() * n);

    engine->Shutdown();
    engine.reset();
    g_engine = nullptr;
    window.reset();
    g_canvasSettings.SetDefaults();
    g_particleSettings.SetDefaults();
}

BENCHMARK(FrameEngine)
    ->Name("BM_Frame/Engine")
    ->Arg(20000)
    ->Arg(1000000)
    ->Iterations(bench::kFrameIterations)
    ->Repetitions(3)
    ->ComputeStatistics("min", bench::MinimumOf)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
} // namespace lumeno
