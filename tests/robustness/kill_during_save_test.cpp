// Save Settings and a BMP screenshot, killed with SIGKILL at seeded random moments while a
// child process saves both in a tight loop, alternating two complete contents of each.
// After every kill each file is, byte for byte, the one the save in flight replaced (old)
// or the one it wrote (new), never short or mixed. A kill between the temporary's creation
// and its rename leaves that temporary behind: its name is random (mkstemp), so no later
// save creates or opens it, and the loader reads only the file's own name. The test
// checks that each kill leaves at most one, that the child's next saves go through
// beside them, and that a last save with all of them present succeeds.
//
// The child is a fork of the test, not a new program: a new one would probe the graphics
// device for the canvas record's defaults on every start (a tenth of a second each). The
// probe leaves the driver's idle threads behind; the child runs only the two savers, whose
// heap allocations glibc's fork keeps safe and whose file calls take no lock.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <new>
#include <random>
#include <string>
#include <thread>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include "mount_namespace.h"
#include "platform/gl/gl_device.h"
#include "platform/image_file.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"
#include "settings/settings_file.h"
#include "support/file_bytes.h"
#include "support/message_box_recorder.h"
#include "support/temp_folder.h"

namespace lumeno::test {
namespace {

constexpr int kKills = 200;
// A screenshot of 512 x 384 is about 0.6 MB: its write and fsync take long enough for
// kills to land inside them, not only around them.
constexpr int kImageWidth = 512, kImageHeight = 384;

// In a shared mapping, which fork keeps shared: the child writes how many saves of each
// file it has begun, and which failed if one did; the parent reads it after the kill.
struct Progress {
    std::atomic<std::uint32_t> begun[2] = {0, 0};
    std::atomic<int> failed{-1};
};
static_assert(std::atomic<std::uint32_t>::is_always_lock_free);

// One saved file under test: its two versions' bytes, which one is on disk, and how the
// kills found it.
struct Tracked {
    Tracked(const char* name, std::string file) : what(name), path(std::move(file)) {}
    const char* what;
    std::string path, versions[2];
    int onDisk = 1;
    int old = 0, fresh = 0;
};

class KillDuringSave : public ::testing::Test {
protected:
    // File 0 is the settings, file 1 the screenshot; version 0 or 1 of it.
    bool Save(int file, int version) const
    {
        if (file == 0)
            return SaveSettingsTo(m_files[0].path, m_canvas[version], m_particles[version]);
        return SaveImageFile(m_files[1].path, m_image[version], ImageFileFormat::Bmp) == S_OK;
    }

    // Files in the folder that are neither saved file must be temporaries of saves cut
    // short, named as mkstemp names them (the file's name, a dot, six characters).
    int StaleTemporaries() const
    {
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(m_folder.Path())) {
            const std::string name = entry.path().filename().string();
            if (name == kSettingsFileName || name == "shot.bmp")
                continue;
            const auto isTemporaryOf = [&name](const std::string& file) {
                return name.size() == file.size() + 7 && name.rfind(file + ".", 0) == 0;
            };
            EXPECT_TRUE(isTemporaryOf(kSettingsFileName) || isTemporaryOf("shot.bmp")) << "unexpected file " << name;
            ++count;
        }
        return count;
    }

    // Forks a child that saves both files in a loop, save n of a file writing version
    // (first + n) % 2 so that its first save always changes the file; kills it `delay`
    // after its first save began and checks both files and the folder.
    void KillOnce(std::chrono::nanoseconds delay, int kill)
    {
        SCOPED_TRACE("kill " + std::to_string(kill));
        Progress* progress = new (m_progress) Progress;
        const int first[2] = {1 - m_files[0].onDisk, 1 - m_files[1].onDisk};
        std::fflush(nullptr);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0) << "fork";
        if (child == 0) {
            for (std::uint32_t n = 0;; ++n)
                for (int file = 0; file < 2; ++file) {
                    progress->begun[file].store(n + 1);
                    if (!Save(file, static_cast<int>((first[file] + n) % 2))) {
                        progress->failed.store(file);
                        ::_exit(1);
                    }
                }
        }
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (progress->begun[0].load() == 0 && progress->failed.load() < 0 && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::microseconds(20));
        std::this_thread::sleep_for(delay);
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_EQ(progress->failed.load(), -1) << "a save in the child failed";
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "child ended by itself: " << status;
        ASSERT_GT(progress->begun[0].load(), 0u) << "the child never began a save";

        // At most the one save in flight leaves its temporary, and no save removes one.
        const int before = m_temporaries;
        m_temporaries = StaleTemporaries();
        ASSERT_GE(m_temporaries, before);
        ASSERT_LE(m_temporaries, before + 1) << "a kill left more than one temporary";

        // After save n has begun the file holds save n's version (new) or save n - 1's,
        // the one on disk before (old); before the first, the one on disk at the start.
        for (int file = 0; file < 2; ++file) {
            Tracked& t = m_files[file];
            const std::string bytes = FileBytes(t.path);
            const int index = bytes == t.versions[0] ? 0 : bytes == t.versions[1] ? 1 : -1;
            ASSERT_GE(index, 0) << t.what << ": " << bytes.size() << " bytes, neither version";
            const std::uint32_t begun = progress->begun[file].load();
            ASSERT_TRUE(begun > 0 || index == t.onDisk) << t.what << " changed before a save of it began";
            ++(begun > 0 && index == static_cast<int>((first[file] + begun - 1) % 2) ? t.fresh : t.old);
            t.onDisk = index;
        }
    }

    MessageBoxRecorder m_boxes;
    TempFolder m_folder;
    Tracked m_files[2] = {{"settings", m_folder.File(kSettingsFileName)}, {"screenshot", m_folder.File("shot.bmp")}};
    // The canvas record's defaults probe the graphics device; that happens here, once,
    // not in every child.
    CanvasSettings m_canvas[2];
    ParticleSettings m_particles[2];
    GlImage m_image[2];
    Progress* m_progress = nullptr;
    int m_temporaries = 0;
};

TEST_F(KillDuringSave, SettingsAndScreenshotAreOldOrNewWholeAfterEverySigkill)
{
    m_canvas[1].width = 1920;
    m_canvas[1].height = 1080;
    m_canvas[1].particleCount = 123456;
    m_canvas[1].multiThreaded = true;
    m_particles[1].scale = 2.5f;
    m_particles[1].colorIndex = 3;
    for (int v = 0; v < 2; ++v) {
        m_image[v].width = kImageWidth;
        m_image[v].height = kImageHeight;
        m_image[v].rowPitch = std::size_t{kImageWidth} * 4;
        for (std::size_t i = 0; i < m_image[v].rowPitch * kImageHeight; ++i)
            m_image[v].bytes.push_back(static_cast<std::uint8_t>(i * 7 + 101 * v));
    }
    // The reference bytes come from the real writers; timing them gives the length of one
    // round of the child's loop, over which the kill moments spread.
    constexpr int kTimedRounds = 6;
    const auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < kTimedRounds; ++round)
        for (int v = 0; v < 2; ++v)
            for (int file = 0; file < 2; ++file) {
                ASSERT_TRUE(Save(file, v));
                m_files[file].versions[v] = FileBytes(m_files[file].path);
            }
    const auto loop = (std::chrono::steady_clock::now() - start) / (2 * kTimedRounds);
    ASSERT_NE(m_files[0].versions[0], m_files[0].versions[1]);
    ASSERT_NE(m_files[1].versions[0], m_files[1].versions[1]);
    for (int v = 0; v < 2; ++v) {
        ASSERT_EQ(m_files[0].versions[v].size(), kSettingsFileSize);
        ASSERT_EQ(m_files[1].versions[v].size(), 54 + std::size_t{kImageWidth} * kImageHeight * 3);
    }
    void* shared = ::mmap(nullptr, sizeof(Progress), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(shared, MAP_FAILED);
    m_progress = static_cast<Progress*>(shared);

    // Kill moments from 0 to three rounds after the child's first save began, at most 20 ms.
    const auto longest = std::min<std::chrono::nanoseconds>(3 * loop, std::chrono::milliseconds(20));
    std::mt19937 random(20250611);
    std::uniform_int_distribution<std::int64_t> delayNs(0, longest.count());
    int kills = 0;
    for (; kills < kKills && !HasFailure(); ++kills)
        KillOnce(std::chrono::nanoseconds(delayNs(random)), kills);
    ::munmap(m_progress, sizeof(Progress));
    ASSERT_FALSE(HasFailure());

    // A save with every temporary of the killed ones still beside it goes through, and the
    // loader reads what it wrote.
    for (int file = 0; file < 2; ++file) {
        const int version = 1 - m_files[file].onDisk;
        ASSERT_TRUE(Save(file, version));
        EXPECT_EQ(FileBytes(m_files[file].path), m_files[file].versions[version]) << m_files[file].what;
        EXPECT_EQ(m_files[file].old + m_files[file].fresh, kKills);
    }
    CanvasSettings canvas;
    ParticleSettings particles;
    ASSERT_TRUE(LoadSettingsFrom(m_files[0].path, canvas, particles));
    EXPECT_EQ(canvas.particleCount, m_canvas[1 - m_files[0].onDisk].particleCount);
    EXPECT_EQ(StaleTemporaries(), m_temporaries);
    EXPECT_TRUE(m_boxes.Boxes().empty());
    std::printf("%d SIGKILLs: settings old %d, new %d; screenshot old %d, new %d; %d temporaries left "
                "behind (at most one a kill), every later save succeeded beside them\n",
                kills, m_files[0].old, m_files[0].fresh, m_files[1].old, m_files[1].fresh, m_temporaries);
}

} // namespace
} // namespace lumeno::test
