// A long run of engine rebuilds, as Apply and Restore Default make them, alternating
// single- and multithreaded mode, with emissions and canvas clears between frames. Run
// under ThreadSanitizer and LeakSanitizer by scripts/sanitize; here it checks that every
// rebuild leaves no thread behind and that memory does not grow from rebuild to rebuild.

#include "engine_fixture.h"

#include <cstdio>
#include <string>

#include "particles/particle_system.h"
#include "support/process_watch.h"

namespace lumeno::test {
namespace {

constexpr int kRebuilds = 200;
constexpr int kWarmUpRebuilds = 10; // the driver's caches fill during the first builds
// Allocator noise allowed between the warm-up and the end; one leaked rebuild of this
// size (two canvases, array, vertex buffer, effect) costs about 0.2 MiB, 190 of them
// far more.
constexpr long kAllowedGrowthKiB = 4 * 1024;

using Soak = EngineTest;

TEST_F(Soak, TwoHundredRebuildsLeaveNoThreadRunningAndNoGrowth)
{
    std::string error;
    m_window = HeadlessWindow::Create(64, 48, &error);
    ASSERT_TRUE(m_window) << "no headless context: " << error;
    std::pair<long, long> warm;
    // Counted while the first multithreaded engine runs, less its two workers: the
    // ThreadSanitizer runtime starts a helper thread of its own when the first thread
    // is created, and keeps it.
    int startTasks = 0;
    for (int rebuild = 0; rebuild < kRebuilds; ++rebuild) {
        SCOPED_TRACE("rebuild " + std::to_string(rebuild));
        const bool threaded = rebuild % 2 == 1;
        CanvasSettingsRecord().multiThreaded = threaded;
        ASSERT_EQ(StartEngine(), S_OK);
        ASSERT_TRUE(m_engine->GetParticleSystem()->IsInitialised());
        ASSERT_EQ(m_engine->GetParticleSystem()->WorkersRunning(), threaded);
        if (rebuild == 1)
            startTasks = TaskCount() - 2; // everything but this engine's two workers
        if (rebuild >= 1) {
            ASSERT_EQ(TaskCount(), startTasks + (threaded ? 2 : 0));
        }
        for (int frame = 0; frame < 3; ++frame) {
            Send(WM_MOUSEMOVE, 0, 8 + (rebuild + frame * 13) % 48, 4 + (rebuild * 7 + frame) % 40);
            m_engine->Render();
            Send(WM_LBUTTONDOWN);
            m_engine->Render();
            Send(WM_RBUTTONDOWN);
        }
        m_session.reset();
        m_engine = nullptr;
        if (rebuild >= 1) {
            ASSERT_EQ(TaskCount(startTasks), startTasks) << "a thread outlived the rebuild";
        }
        if (rebuild + 1 == kWarmUpRebuilds)
            warm = Memory();
    }
    const auto end = Memory();
    std::printf("soak: %d threads outside rebuilds; VmHWM/VmRSS KiB after %d rebuilds %ld/%ld, after %d %ld/%ld\n",
                startTasks, kWarmUpRebuilds, warm.first, warm.second, kRebuilds, end.first, end.second);
    EXPECT_TRUE(m_boxes->Boxes().empty());
#ifdef LUMENO_SANITIZED_MEMORY
    // The sanitizers keep freed memory in quarantine and shadow it: sizes say nothing
    // here. LeakSanitizer judges leaks in this build instead.
    std::printf("soak: memory growth not judged under a sanitizer\n");
#else
    EXPECT_LE(end.first, warm.first + kAllowedGrowthKiB);
    EXPECT_LE(end.second, warm.second + kAllowedGrowthKiB);
#endif
}

} // namespace
} // namespace lumeno::test
