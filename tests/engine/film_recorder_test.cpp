// The recording queue between the frame loop and the encoder: order, drops, the film
// ffmpeg makes of it, and the films that are lost.

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
#include "support/temp_folder.h"

namespace lumeno {
namespace {

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

std::vector<std::uint8_t> Picture(int id, std::size_t bytes = 16)
{
    return std::vector<std::uint8_t>(bytes, static_cast<std::uint8_t>(id));
}

std::unique_ptr<FilmRecorder> StartGated(GatedSink** sink, std::size_t capacity, int failAt = -1)
{
    auto owned = std::make_unique<GatedSink>(failAt);
    *sink = owned.get();
    std::string error;
    auto recorder = FilmRecorder::Start("fake.mp4", std::move(owned), capacity, &error);
    EXPECT_TRUE(recorder) << error;
    return recorder;
}

TEST(FilmRecorder, WritesFramesInOrderAndDropsThoseAFullQueueCannotHold)
{
    GatedSink* sink = nullptr;
    auto recorder = StartGated(&sink, 3);
    ASSERT_TRUE(recorder);

    EXPECT_TRUE(recorder->Push(Picture(0)));
    sink->writing.wait(); // frame 0 is out of the queue, its write held
    // The encoder is stuck; the frame loop must still get every call back at once.
    std::vector<bool> queued;
    for (int id = 1; id <= 6; ++id)
        queued.push_back(recorder->Push(Picture(id)));
    EXPECT_EQ(queued, (std::vector<bool>{true, true, true, false, false, false}));
    sink->open.count_down();
    const RecordingReport report = recorder->Stop();

    EXPECT_EQ(sink->ids, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_TRUE(sink->finished);
    EXPECT_EQ(report.framesShown, 7);
    EXPECT_EQ(report.error, "");
    EXPECT_EQ(RecordingSummary(report), "Recorded fake.mp4: 4 frames written, 3 dropped.");
    EXPECT_FALSE(recorder->Push(Picture(7))) << "a stopped recorder takes nothing";
    EXPECT_EQ(recorder->Stop().framesShown, 7) << "the second Stop reports the first's numbers";
}

TEST(FilmRecorder, AFailedWriteLosesTheFilmDropsTheRestAndNeverFinishesIt)
{
    GatedSink* sink = nullptr;
    auto recorder = StartGated(&sink, 8, /*failAt=*/1);
    ASSERT_TRUE(recorder);
    sink->open.count_down();
    EXPECT_TRUE(recorder->Push(Picture(0)));
    EXPECT_TRUE(recorder->Push(Picture(1)));
    while (!recorder->Failed())
        std::this_thread::yield();
    EXPECT_FALSE(recorder->Push(Picture(2)));

    const RecordingReport report = recorder->Stop();
    EXPECT_FALSE(sink->finished);
    EXPECT_EQ(report.framesWritten, 1);
    EXPECT_EQ(report.framesDropped, 2);
    EXPECT_EQ(RecordingSummary(report), "The film fake.mp4 was not written: the disk went away.");
}

TEST(FilmRecorder, NoThreadNoRecorderAndASentence)
{
    FailNextThreadStartsForTesting(1);
    std::string error;
    EXPECT_EQ(FilmRecorder::Start("fake.mp4", std::make_unique<GatedSink>(), 2, &error), nullptr);
    EXPECT_EQ(error, "the film fake.mp4 was not written: no thread could be started for its encoder");
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

RecordingReport RecordTinyFilm(const std::string& path, int frames)
{
    FilmRequest film{path, FilmFormat::Mp4, kSide, kSide, 30};
    film.live = true;
    std::string error;
    auto recorder = FilmRecorder::StartFilm(film, &error);
    if (!recorder) {
        ADD_FAILURE() << error;
        return {};
    }
    for (int frame = 0; frame < frames; ++frame)
        recorder->Push(Picture(frame * 12, kSide * kSide * 4));
    return recorder->Stop();
}

TEST(FilmRecorder, TheFilmHoldsEveryFrameShownThatWasNotDropped)
{
    const TempFolder folder;
    const std::string path = folder.File("tiny.mp4");
    const RecordingReport report = RecordTinyFilm(path, 20);
    ASSERT_EQ(report.error, "");
    EXPECT_EQ(report.framesShown, 20);
    EXPECT_EQ(report.framesWritten + report.framesDropped, 20);

    std::string probed(64, '\0');
    FILE* pipe = ::popen(("ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                          "stream=width,height,nb_read_frames -of csv=p=0 '" + path + "'").c_str(), "r");
    ASSERT_TRUE(pipe);
    probed.resize(std::fread(probed.data(), 1, probed.size(), pipe));
    ::pclose(pipe);
    EXPECT_EQ(probed, "16,16," + std::to_string(report.framesWritten) + "\n");
    EXPECT_EQ(FilesIn(folder.Path()), (std::vector<std::string>{"tiny.mp4"})) << "no temporary is left";
}

TEST(FilmRecorder, AnFfmpegThatFailsAtTheEndLosesTheFilmAndItsTemporary)
{
    // An ffmpeg on PATH that ends at once, as the real one does when it fails.
    const TempFolder bin, folder;
    std::ofstream(bin.File("ffmpeg")) << "#!/bin/sh\necho 'no encoder here' >&2; exit 3\n";
    std::filesystem::permissions(bin.File("ffmpeg"), std::filesystem::perms::owner_all);
    const std::string previousPath = std::getenv("PATH");
    ::setenv("PATH", (bin.Path().string() + ":" + previousPath).c_str(), 1);
    const std::string path = folder.File("lost.mp4");
    const std::string summary = RecordingSummary(RecordTinyFilm(path, 5));
    ::setenv("PATH", previousPath.c_str(), 1);

    EXPECT_EQ(summary.rfind("The film " + path + " was not written: ffmpeg ", 0), 0u) << summary;
    EXPECT_NE(summary.find("exit status 3"), std::string::npos) << summary;
    EXPECT_TRUE(FilesIn(folder.Path()).empty()) << "no film and no temporary";
}

} // namespace
} // namespace lumeno
