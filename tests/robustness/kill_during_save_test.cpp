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
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <random>
#include <string>
#include <thread>
#include <vector>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/gl/gl_device.h"
#include "platform/image_file.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"
#include "settings/settings_file.h"
#include "support/message_box_recorder.h"
#include "support/temp_folder.h"

namespace lumeno::test {
namespace {

constexpr int kKills = 200;
constexpr std::uint32_t kSeed = 20250611;
// A screenshot of this size is about 0.6 MB: its write and fsync take long enough for
// kills to land inside them, not only around them.
constexpr int kImageWidth = 512;
constexpr int kImageHeight = 384;
constexpr std::size_t kBmpSize = 54 + std::size_t{kImageWidth} * kImageHeight * 3;

using Bytes = std::vector<char>;

Bytes ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The two versions of each file the child alternates between, as records.
struct Versions {
    CanvasSettings canvas[2];
    ParticleSettings particles[2];
    GlImage image[2];
};

GlImage Picture(std::uint8_t seed)
{
    GlImage image;
    image.width = kImageWidth;
    image.height = kImageHeight;
    image.rowPitch = std::size_t{kImageWidth} * 4;
    image.bytes.resize(image.rowPitch * kImageHeight);
    for (std::size_t i = 0; i < image.bytes.size(); ++i)
        image.bytes[i] = static_cast<std::uint8_t>(i * 7 + seed);
    return image;
}

// In a shared mapping, which fork keeps shared: the child writes how many saves of each
// kind it has begun, and why it stopped if it stopped; the parent reads it after the kill.
struct Progress {
    std::atomic<std::uint32_t> settingsBegun{0};
    std::atomic<std::uint32_t> imageBegun{0};
    std::atomic<int> failure{0}; // 1: settings save failed, 2: screenshot save failed
};
static_assert(std::atomic<std::uint32_t>::is_always_lock_free);

// The child: save n of a kind writes version (first + n) % 2, so its first save always
// changes the file. Never returns; only SIGKILL or a failed save ends it.
[[noreturn]] void SaveInALoop(const Versions& versions, const std::string& settingsPath,
                              const std::string& bmpPath, int settingsFirst, int imageFirst, Progress* progress)
{
    for (std::uint32_t n = 0;; ++n) {
        progress->settingsBegun.store(n + 1);
        const int settings = static_cast<int>((settingsFirst + n) % 2);
        if (!SaveSettingsTo(settingsPath, versions.canvas[settings], versions.particles[settings])) {
            progress->failure.store(1);
            ::_exit(1);
        }
        progress->imageBegun.store(n + 1);
        const int image = static_cast<int>((imageFirst + n) % 2);
        if (SaveImageFile(bmpPath, versions.image[image], ImageFileFormat::Bmp) != S_OK) {
            progress->failure.store(2);
            ::_exit(1);
        }
    }
}

struct Outcomes {
    int old = 0;
    int fresh = 0;
};

// One saved file under test: its two versions' bytes, which one is on disk, and how the
// kills found it.
struct Tracked {
    explicit Tracked(const char* name) : what(name) {}

    const char* what;
    Bytes versions[2];
    int onDisk = 1;
    Outcomes outcomes;

    // The child's first save writes the other version, so it always changes the file.
    int First() const { return 1 - onDisk; }

    // After save n has begun the file holds save n's version (new) or save n - 1's, the
    // one on disk before (old); before the first, the one on disk when the child started.
    void Classify(const Bytes& bytes, std::uint32_t begun, int first, int kill)
    {
        const int index = bytes == versions[0] ? 0 : bytes == versions[1] ? 1 : -1;
        ASSERT_GE(index, 0) << what << " after kill " << kill << ": " << bytes.size() << " bytes, neither version";
        if (begun == 0) {
            ASSERT_EQ(index, onDisk) << what << " changed before a save of it began, kill " << kill;
            ++outcomes.old;
        } else {
            ++(index == static_cast<int>((first + begun - 1) % 2) ? outcomes.fresh : outcomes.old);
        }
        onDisk = index;
    }
};

class KillDuringSave : public ::testing::Test {
protected:
    void SetUp() override;
    // Forks a child saving in a loop, kills it `delay` after its first save began and
    // checks both files and the folder.
    void KillOnce(std::chrono::nanoseconds delay, int kill);
    int StaleTemporaries() const;

    MessageBoxRecorder m_boxes;
    TempFolder m_folder;
    const std::string m_bmpName = "shot.bmp";
    const std::string m_settingsPath = m_folder.File(kSettingsFileName);
    const std::string m_bmpPath = m_folder.File("shot.bmp");
    // The canvas record's defaults probe the graphics device; that happens here, once,
    // not in every child.
    Versions m_versions;
    Tracked m_settings{"settings"};
    Tracked m_screenshot{"screenshot"};
    std::chrono::nanoseconds m_loop{0}; // one round of the child's loop, both saves
    Progress* m_progress = nullptr;
    int m_temporaries = 0;
};

void KillDuringSave::SetUp()
{
    m_versions.canvas[1].width = 1920;
    m_versions.canvas[1].height = 1080;
    m_versions.canvas[1].particleCount = 123456;
    m_versions.canvas[1].multiThreaded = true;
    m_versions.particles[1].scale = 2.5f;
    m_versions.particles[1].colorIndex = 3;
    m_versions.image[0] = Picture(0);
    m_versions.image[1] = Picture(101);

    // The reference bytes come from the real writers; timing them gives the length of one
    // round of the child's loop, over which the kill moments spread.
    constexpr int kTimedRounds = 6;
    const auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < kTimedRounds; ++round) {
        for (int v = 0; v < 2; ++v) {
            ASSERT_TRUE(SaveSettingsTo(m_settingsPath, m_versions.canvas[v], m_versions.particles[v]));
            m_settings.versions[v] = ReadAll(m_settingsPath);
            ASSERT_EQ(SaveImageFile(m_bmpPath, m_versions.image[v], ImageFileFormat::Bmp), S_OK);
            m_screenshot.versions[v] = ReadAll(m_bmpPath);
        }
    }
    m_loop = (std::chrono::steady_clock::now() - start) / (2 * kTimedRounds);
    for (const Tracked* file : {&m_settings, &m_screenshot})
        ASSERT_NE(file->versions[0], file->versions[1]) << file->what;
    ASSERT_EQ(m_settings.versions[0].size(), kSettingsFileSize);
    ASSERT_EQ(m_settings.versions[1].size(), kSettingsFileSize);
    ASSERT_EQ(m_screenshot.versions[0].size(), kBmpSize);
    ASSERT_EQ(m_screenshot.versions[1].size(), kBmpSize);

    void* shared = ::mmap(nullptr, sizeof(Progress), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(shared, MAP_FAILED);
    m_progress = static_cast<Progress*>(shared);
}

// Files in the folder that are neither of the two saved files: the temporaries of saves
// cut short, named as mkstemp names them (the file's name, a dot, six characters).
int KillDuringSave::StaleTemporaries() const
{
    const std::string settingsName = kSettingsFileName;
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(m_folder.Path())) {
        const std::string name = entry.path().filename().string();
        if (name == settingsName || name == m_bmpName)
            continue;
        const auto isTemporaryOf = [&name](const std::string& file) {
            return name.size() == file.size() + 7 && name.rfind(file + ".", 0) == 0;
        };
        EXPECT_TRUE(isTemporaryOf(settingsName) || isTemporaryOf(m_bmpName)) << "unexpected file " << name;
        ++count;
    }
    return count;
}

void KillDuringSave::KillOnce(std::chrono::nanoseconds delay, int kill)
{
    Progress* progress = new (m_progress) Progress;
    const int settingsFirst = m_settings.First();
    const int screenshotFirst = m_screenshot.First();
    std::fflush(nullptr);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0) << "fork";
    if (child == 0)
        SaveInALoop(m_versions, m_settingsPath, m_bmpPath, settingsFirst, screenshotFirst, progress);

    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (progress->settingsBegun.load() == 0 && progress->failure.load() == 0 &&
           std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::microseconds(20));
    std::this_thread::sleep_for(delay);
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_EQ(progress->failure.load(), 0)
        << "a " << (progress->failure.load() == 1 ? "settings" : "screenshot") << " save in the child failed, kill "
        << kill;
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "child ended by itself: " << status;
    ASSERT_GT(progress->settingsBegun.load(), 0u) << "the child never began a save";

    // At most the one save in flight leaves its temporary, and no save removes one.
    const int before = m_temporaries;
    m_temporaries = StaleTemporaries();
    ASSERT_GE(m_temporaries, before) << "kill " << kill;
    ASSERT_LE(m_temporaries, before + 1) << "kill " << kill << " left more than one temporary";

    m_settings.Classify(ReadAll(m_settingsPath), progress->settingsBegun.load(), settingsFirst, kill);
    m_screenshot.Classify(ReadAll(m_bmpPath), progress->imageBegun.load(), screenshotFirst, kill);
}

TEST_F(KillDuringSave, SettingsAndScreenshotAreOldOrNewWholeAfterEverySigkill)
{
    // Kill moments from 0 to three rounds after the child's first save began, at most 20 ms.
    const auto longest = std::min<std::chrono::nanoseconds>(3 * m_loop, std::chrono::milliseconds(20));
    std::mt19937 random(kSeed);
    std::uniform_int_distribution<std::int64_t> delayNs(0, longest.count());
    int kills = 0;
    for (; kills < kKills && !HasFailure(); ++kills)
        KillOnce(std::chrono::nanoseconds(delayNs(random)), kills);
    ::munmap(m_progress, sizeof(Progress));
    ASSERT_FALSE(HasFailure());

    // A save with every temporary of the killed ones still beside it goes through, and the
    // loader reads what it wrote.
    const int settings = m_settings.First();
    ASSERT_TRUE(SaveSettingsTo(m_settingsPath, m_versions.canvas[settings], m_versions.particles[settings]));
    EXPECT_EQ(ReadAll(m_settingsPath), m_settings.versions[settings]);
    const int screenshot = m_screenshot.First();
    ASSERT_EQ(SaveImageFile(m_bmpPath, m_versions.image[screenshot], ImageFileFormat::Bmp), S_OK);
    EXPECT_EQ(ReadAll(m_bmpPath), m_screenshot.versions[screenshot]);
    CanvasSettings canvas;
    ParticleSettings particles;
    ASSERT_TRUE(LoadSettingsFrom(m_settingsPath, canvas, particles));
    EXPECT_EQ(canvas.particleCount, m_versions.canvas[settings].particleCount);
    EXPECT_EQ(StaleTemporaries(), m_temporaries);
    EXPECT_TRUE(m_boxes.Boxes().empty());

    EXPECT_EQ(m_settings.outcomes.old + m_settings.outcomes.fresh, kKills);
    EXPECT_EQ(m_screenshot.outcomes.old + m_screenshot.outcomes.fresh, kKills);
    std::printf("%d SIGKILLs: settings old %d, new %d; screenshot old %d, new %d; %d temporaries left "
                "behind (at most one a kill), every later save succeeded beside them\n",
                kills, m_settings.outcomes.old, m_settings.outcomes.fresh, m_screenshot.outcomes.old,
                m_screenshot.outcomes.fresh, m_temporaries);
}

} // namespace
} // namespace lumeno::test
