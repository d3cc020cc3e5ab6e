// A long run of engine rebuilds, as Apply and Restore Default make them, alternating
// single- and multithreaded mode, with emissions and canvas clears between frames. Run
// under ThreadSanitizer and LeakSanitizer by scripts/sanitize; here it checks that every
// rebuild leaves no thread behind and that memory does not grow from rebuild to rebuild.

#include "engine_fixture.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

#include "particles/particle_system.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define LUMENO_SANITIZED_MEMORY 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define LUMENO_SANITIZED_MEMORY 1
#endif
#endif

namespace lumeno::test {
namespace {

constexpr int kRebuilds = 200;
constexpr int kWarmUpRebuilds = 10; // the driver's caches fill during the first builds
constexpr int kFramesPerRebuild = 3;
// Allocator noise allowed between the warm-up and the end; one leaked rebuild of this
// size (two canvases, array, vertex buffer, effect) costs about 0.2 MiB, 190 of them
// far more.
constexpr long kAllowedGrowthKiB = 4 * 1024;

int TaskCount()
{
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/task"))
        ++count;
    return count;
}

// A thread that was joined may linger in /proc for a moment while the kernel reaps it.
int TaskCountSettlingTo(int expected)
{
    int count = TaskCount();
    for (int i = 0; i < 1000 && count != expected; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        count = TaskCount();
    }
    return count;
}

long StatusKiB(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(prefix, 0) == 0)
            return std::stol(line.substr(prefix.size()));
    }
    return -1;
}

class Soak : public EngineTest {};

TEST_F(Soak, TwoHundredRebuildsLeaveNoThreadRunningAndNoGrowth)
{
    std::string error;
    m_window = HeadlessWindow::Create(64, 48, &error);
    ASSERT_TRUE(m_window) << "no headless context: " << error;
    const long startHwm = StatusKiB("VmHWM"), startRss = StatusKiB("VmRSS");
    long warmHwm = 0, warmRss = 0;
    // Counted while the first multithreaded engine runs, less its two workers: the
    // ThreadSanitizer runtime starts a helper thread of its own when the first thread
    // is created, and keeps it.
    int startTasks = 0;

    for (int rebuild = 0; rebuild < kRebuilds; ++rebuild) {
        const bool threaded = rebuild % 2 == 1;
        CanvasSettingsRecord().multiThreaded = threaded;
        m_engine = std::make_unique<CRenderEngine>();
        g_engine = m_engine.get();
        ASSERT_EQ(m_engine->Init(m_window.get()), S_OK) << "rebuild " << rebuild;
        ASSERT_TRUE(m_engine->GetParticleSystem()->IsInitialised()) << "rebuild " << rebuild;
        ASSERT_EQ(m_engine->GetParticleSystem()->WorkersRunning(), threaded) << "rebuild " << rebuild;
        if (rebuild == 1)
            startTasks = TaskCount() - 2; // everything but this engine's two workers
        if (rebuild >= 1) {
            ASSERT_EQ(TaskCount(), startTasks + (threaded ? 2 : 0)) << "rebuild " << rebuild;
        }

        for (int frame = 0; frame < kFramesPerRebuild; ++frame) {
            Send(WM_MOUSEMOVE, 0, 8 + (rebuild + frame * 13) % 48, 4 + (rebuild * 7 + frame) % 40);
            m_engine->Render();
            Send(WM_LBUTTONDOWN);
            m_engine->Render();
            Send(WM_RBUTTONDOWN);
        }

        m_engine->Shutdown();
        m_engine.reset();
        g_engine = nullptr;
        if (rebuild >= 1) {
            ASSERT_EQ(TaskCountSettlingTo(startTasks), startTasks) << "a thread outlived rebuild " << rebuild;
        }
        if (rebuild + 1 == kWarmUpRebuilds) {
            warmHwm = StatusKiB("VmHWM");
            warmRss = StatusKiB("VmRSS");
        }
    }

    const long endHwm = StatusKiB("VmHWM"), endRss = StatusKiB("VmRSS");
    std::printf("soak: %d threads outside rebuilds\n", startTasks);
    std::printf("soak: %d rebuilds; VmHWM/VmRSS KiB: start %ld/%ld, after %d rebuilds %ld/%ld, end %ld/%ld\n",
                kRebuilds, startHwm, startRss, kWarmUpRebuilds, warmHwm, warmRss, endHwm, endRss);
    RecordProperty("rebuilds", kRebuilds);
    RecordProperty("warm_vmhwm_kib", std::to_string(warmHwm));
    RecordProperty("end_vmhwm_kib", std::to_string(endHwm));
    EXPECT_TRUE(m_boxes->Boxes().empty());
#ifdef LUMENO_SANITIZED_MEMORY
    // The sanitizers keep freed memory in quarantine and shadow it: sizes say nothing
    // here. LeakSanitizer judges leaks in this build instead.
    std::printf("soak: memory growth not judged under a sanitizer\n");
#else
    EXPECT_LE(endHwm, warmHwm + kAllowedGrowthKiB);
    EXPECT_LE(endRss, warmRss + kAllowedGrowthKiB);
#endif
}

} // namespace
} // namespace lumeno::test
