// The recording queue between the frame loop and the encoder: order, drops, the film
// ffmpeg makes of it, the films that are lost, and a film's frames timed by the clock.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <latch>
#include <thread>

#include "engine/film_recorder.h"
#include "engine/recording_name.h"
#include "platform/threads.h"
#include "support/fake_ffmpeg.h"
#include "support/temp_folder.h"

namespace lumeno {
namespace {

using test::FakeFfmpegOnPath;
using test::TempFolder;

// Holds the encoder thread inside its first write until `open` is counted down, so the
// queue fills deterministically; then writes on at once. Fails the write of frame `failAt`
// if set. `ids` and `finished` are the encoder's, read once Stop() has joined it.
struct GatedSink final : FilmSink {
    explicit GatedSink(int failAt = -1) : failAt(failAt) {}
    bool WriteFrame(std::span<const std::uint8_t> rgba, std::string* error) override
    {
        ids.push_back(rgba[0]);
        if (ids.size() == 1)
            writing.count_down();
        open.wait();
        if (static_cast<int>(ids.size()) - 1 != failAt)
            return true;
        *error = "the film fake.mp4 was not written: the disk went away";
        return false;
    }
    bool Finish(std::string*) override { return finished = true; }

    const int failAt;
    std::latch writing{1}, open{1};
    std::vector<int> ids;
    bool finished = false;
};

// Writes at once; `ids` is the encoder's, read once Stop() has joined it.
struct ListingSink final : FilmSink {
    bool WriteFrame(std::span<const std::uint8_t> rgba, std::string*) override
    {
        ids.push_back(rgba[0]);
        return true;
    }
    bool Finish(std::string*) override { return true; }
    std::vector<int> ids;
};

// The time the test says it is; read on the test's own thread (Push and Stop) only.
struct ScriptedClock {
    FilmClock Clock()
    {
        return [this] { return now; };
    }
    void Advance(std::chrono::nanoseconds by) { now += by; }
    std::chrono::steady_clock::time_point now{std::chrono::hours(1)};
};

// 50 film frames a second: a film frame every 20 ms.
constexpr int kRate = 50;
constexpr std::chrono::milliseconds kFilmFrame{20};

std::vector<std::uint8_t> Picture(int id, std::size_t bytes = 16)
{
    return std::vector<std::uint8_t>(bytes, static_cast<std::uint8_t>(id));
}

std::unique_ptr<FilmRecorder> StartGated(GatedSink** sink, std::size_t capacity, ScriptedClock& clock,
                                         int failAt = -1)
{
    auto owned = std::make_unique<GatedSink>(failAt);
    *sink = owned.get();
    std::string error;
    auto recorder = FilmRecorder::Start("fake.mp4", std::move(owned), kRate, capacity, clock.Clock(), &error);
    EXPECT_TRUE(recorder) << error;
    return recorder;
}

TEST(FilmRecorder, WritesFramesInOrderAndDropsThoseAFullQueueCannotHold)
{
    GatedSink* sink = nullptr;
    ScriptedClock clock;
    auto recorder = StartGated(&sink, 3, clock);
    ASSERT_TRUE(recorder);

    EXPECT_TRUE(recorder->Push(Picture(0)));
    sink->writing.wait(); // frame 0 is out of the queue, its write held
    // The encoder is stuck; the frame loop must still get every call back at once.
    std::vector<bool> queued;
    for (int id = 1; id <= 6; ++id) {
        clock.Advance(kFilmFrame);
        queued.push_back(recorder->Push(Picture(id)));
    }
    EXPECT_EQ(queued, (std::vector<bool>{true, true, true, false, false, false}));
    sink->open.count_down();
    const RecordingReport report = recorder->Stop();

    // The dropped pictures' film frames hold the last one written, up to the stop.
    EXPECT_EQ(sink->ids, (std::vector<int>{0, 1, 2, 3, 3, 3}));
    EXPECT_TRUE(sink->finished);
    EXPECT_EQ(report.framesShown, 7);
    EXPECT_EQ(report.error, "");
    EXPECT_EQ(RecordingSummary(report), "Recorded fake.mp4: 6 frames written, 3 dropped.");
    EXPECT_FALSE(recorder->Push(Picture(7))) << "a stopped recorder takes nothing";
    EXPECT_EQ(recorder->Stop().framesShown, 7) << "the second Stop reports the first's numbers";
}

TEST(FilmRecorder, AFailedWriteLosesTheFilmDropsTheRestAndNeverFinishesIt)
{
    GatedSink* sink = nullptr;
    ScriptedClock clock;
    auto recorder = StartGated(&sink, 8, clock, /*failAt=*/1);
    ASSERT_TRUE(recorder);
    sink->open.count_down();
    EXPECT_TRUE(recorder->Push(Picture(0)));
    clock.Advance(kFilmFrame);
    EXPECT_TRUE(recorder->Push(Picture(1)));
    while (!recorder->Failed())
        std::this_thread::yield();
    EXPECT_FALSE(recorder->Push(Picture(2)));
    clock.Advance(10 * kFilmFrame);

    const RecordingReport report = recorder->Stop();
    EXPECT_FALSE(sink->finished);
    EXPECT_EQ(sink->ids, (std::vector<int>{0, 1})) << "a lost film is not held to the stop";
    EXPECT_EQ(report.framesWritten, 1);
    EXPECT_EQ(report.framesDropped, 2);
    EXPECT_EQ(RecordingSummary(report), "The film fake.mp4 was not written: the disk went away.");
}

TEST(FilmRecorder, NoThreadNoRecorderAndASentence)
{
    FailNextThreadStartsForTesting(1);
    std::string error;
    EXPECT_EQ(FilmRecorder::Start("fake.mp4", std::make_unique<GatedSink>(), kRate, 2, {}, &error), nullptr);
    EXPECT_EQ(error, "the film fake.mp4 was not written: no thread could be started for its encoder: "
                     "Resource temporarily unavailable");
}

TEST(FilmRecorder, EachPictureFillsTheFilmFramesFromItsTimeToTheNextPictures)
{
    auto owned = std::make_unique<ListingSink>();
    ListingSink* sink = owned.get();
    ScriptedClock clock;
    std::string error;
    auto recorder = FilmRecorder::Start("fake.mp4", std::move(owned), kRate, 16, clock.Clock(), &error);
    ASSERT_TRUE(recorder) << error;
    // Milliseconds after the first picture, and the film frame nearest each: 20 -> 1,
    // 75 -> 4, 135 -> 7, 145 -> 7 (taken by the picture before), 160 -> 8, 300 -> 15.
    const std::chrono::milliseconds shownAt[] = {std::chrono::milliseconds(0), std::chrono::milliseconds(20),
                                                 std::chrono::milliseconds(75), std::chrono::milliseconds(135),
                                                 std::chrono::milliseconds(145), std::chrono::milliseconds(160),
                                                 std::chrono::milliseconds(300)};
    const auto start = clock.now;
    for (int id = 0; id < 7; ++id) {
        clock.now = start + shownAt[id];
        EXPECT_TRUE(recorder->Push(Picture(id)));
    }
    clock.now = start + std::chrono::milliseconds(347); // stopped at frame 17.35
    const RecordingReport report = recorder->Stop();

    EXPECT_EQ(sink->ids, (std::vector<int>{0, 1, 1, 1, 2, 2, 2, 3, 5, 5, 5, 5, 5, 5, 5, 6, 6}));
    EXPECT_EQ(report.framesShown, 7);
    EXPECT_EQ(RecordingSummary(report), "Recorded fake.mp4: 17 frames written, 1 dropped.");
}

// R starts the film; the first picture comes a little later (the encoder starting, the
// next frame due) and fills the film from its start, so the film lasts from R to R.
TEST(FilmRecorder, TheFirstPictureFillsTheFilmFromTheMomentTheRecordingBegan)
{
    auto owned = std::make_unique<ListingSink>();
    ListingSink* sink = owned.get();
    ScriptedClock clock;
    std::string error;
    auto recorder = FilmRecorder::Start("fake.mp4", std::move(owned), 50, 16, clock.Clock(), &error);
    ASSERT_TRUE(recorder) << error;
    clock.Advance(std::chrono::milliseconds(100)); // film frame 5
    EXPECT_TRUE(recorder->Push(Picture(0)));
    clock.Advance(std::chrono::milliseconds(50)); // 7.5, rounded up
    EXPECT_TRUE(recorder->Push(Picture(1)));
    clock.Advance(std::chrono::milliseconds(50)); // stopped at frame 10
    const RecordingReport report = recorder->Stop();
    EXPECT_EQ(sink->ids, (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 1, 1}));
    EXPECT_EQ(RecordingSummary(report), "Recorded fake.mp4: 10 frames written, 0 dropped.");
}

// A window slower than the film, then one faster, each with an uneven pace: the film
// plays for as long as the recording took, to the nearest film frame.
TEST(FilmRecorder, TheFilmLastsAsLongAsTheRecordingWhateverTheFrameRate)
{
    struct Pace {
        std::vector<int> gapsMs; // cycled
        int pictures;
        int written; // 60 a second for 10.72 s and for 10.2 s
        int dropped;
    };
    // 17..45 ms: under 60 a second. 5..12 ms: near 120 a second, about every other picture
    // inside a film frame that an earlier one holds.
    const Pace paces[] = {{{17, 31, 22, 45, 19}, 400, 643, 0}, {{5, 12, 7, 10}, 1200, 612, 588}};
    for (const Pace& pace : paces) {
        auto owned = std::make_unique<ListingSink>();
        ListingSink* sink = owned.get();
        ScriptedClock clock;
        std::string error;
        auto recorder = FilmRecorder::Start("fake.mp4", std::move(owned), 60, 2048, clock.Clock(), &error);
        ASSERT_TRUE(recorder) << error;
        const auto start = clock.now;
        for (int id = 0; id < pace.pictures; ++id) {
            recorder->Push(Picture(id));
            clock.Advance(std::chrono::milliseconds(pace.gapsMs[id % pace.gapsMs.size()]));
        }
        const RecordingReport report = recorder->Stop();

        const double recordedSeconds = std::chrono::duration<double>(clock.now - start).count();
        EXPECT_NEAR(report.framesWritten / 60.0, recordedSeconds, 0.5 / 60) << pace.gapsMs[0];
        EXPECT_EQ(report.framesWritten, pace.written);
        EXPECT_EQ(report.framesDropped, pace.dropped);
        EXPECT_EQ(static_cast<int>(sink->ids.size()), report.framesWritten);
    }
}

TEST(FilmRecorder, QueueHoldsWhatFitsInItsMemoryWithinTwoAndThirtyTwoFrames)
{
    EXPECT_EQ(RecordingQueueCapacity(16 * 16 * 4), 32u);
    EXPECT_EQ(RecordingQueueCapacity(1920 * 1080 * 4), 16u); // 128 MiB / 7.9 MiB
    EXPECT_EQ(RecordingQueueCapacity(8192 * 8192 * 4), 2u);
}

TEST(RecordingName, LocalTimeToTheSecondAndATakeNumberAfterTheFirst)
{
    std::tm local{}; // 2 January 2025, 03:04:05
    local.tm_year = 125;
    local.tm_mday = 2;
    local.tm_hour = 3;
    local.tm_min = 4;
    local.tm_sec = 5;
    EXPECT_EQ(RecordingName(local, 1), "recordings/250102-030405.mp4");
    EXPECT_EQ(RecordingName(local, 2), "recordings/250102-030405-2.mp4");
}

// --- Through the real ffmpeg (and a stand-in for one that fails).

std::vector<std::string> FilesIn(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

constexpr int kSide = 16;

// A window at 15 frames a second filmed at 30: each picture fills two film frames.
RecordingReport RecordTinyFilm(const std::string& path, int pictures)
{
    FilmRequest film{path, FilmFormat::Mp4, kSide, kSide, 30};
    film.live = true;
    ScriptedClock clock;
    std::string error;
    auto recorder = FilmRecorder::StartFilm(film, &error, clock.Clock());
    if (!recorder) {
        ADD_FAILURE() << error;
        return {};
    }
    for (int picture = 0; picture < pictures; ++picture) {
        recorder->Push(Picture(picture * 12, kSide * kSide * 4));
        clock.Advance(std::chrono::nanoseconds(2 * 33'333'333));
    }
    return recorder->Stop();
}

TEST(FilmRecorder, TheFilmHoldsEachPictureForAsLongAsItWasShown)
{
    const TempFolder folder;
    const std::string path = folder.File("tiny.mp4");
    const RecordingReport report = RecordTinyFilm(path, 10);
    ASSERT_EQ(report.error, "");
    EXPECT_EQ(report.framesShown, 10);
    EXPECT_EQ(report.framesWritten, 20);
    EXPECT_EQ(report.framesDropped, 0);

    std::string probed(64, '\0');
    FILE* pipe = ::popen(("ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                          "stream=width,height,duration,nb_read_frames -of csv=p=0 '" + path + "'").c_str(), "r");
    ASSERT_TRUE(pipe);
    probed.resize(std::fread(probed.data(), 1, probed.size(), pipe));
    ::pclose(pipe);
    EXPECT_EQ(probed, "16,16,0.666667,20\n") << "20 frames at 30 a second, as long as the 10 pictures took";
    EXPECT_EQ(FilesIn(folder.Path()), (std::vector<std::string>{"tiny.mp4"})) << "no temporary is left";
}

TEST(FilmRecorder, AnFfmpegThatFailsAtTheEndLosesTheFilmAndItsTemporary)
{
    // An ffmpeg on PATH that ends at once, as the real one does when it fails.
    const TempFolder folder;
    const std::string path = folder.File("lost.mp4");
    std::string summary;
    {
        const FakeFfmpegOnPath ffmpeg("echo 'no encoder here' >&2; exit 3");
        summary = RecordingSummary(RecordTinyFilm(path, 5));
    }

    EXPECT_EQ(summary.rfind("The film " + path + " was not written: ffmpeg ", 0), 0u) << summary;
    EXPECT_NE(summary.find("exit status 3"), std::string::npos) << summary;
    EXPECT_TRUE(FilesIn(folder.Path()).empty()) << "no film and no temporary";
}

} // namespace
} // namespace lumeno
