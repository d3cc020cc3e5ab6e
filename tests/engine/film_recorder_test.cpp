// The recording queue between the frame loop and the encoder: order, drops, the film
// ffmpeg makes of it, and the films that are lost.

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "engine/film_recorder.h"
#include "engine/recording_name.h"
#include "platform/threads.h"
#include "support/temp_folder.h"

namespace lumeno {
namespace {

using test::TempFolder;

// Holds the encoder thread inside its first write until the test lets it go, so the
// queue fills deterministically; then writes on at once. Fails at `failAt` if set.
class GatedSink final : public FilmSink {
public:
    explicit GatedSink(int failAt = -1) : m_failAt(failAt) {}
    bool WriteFrame(std::span<const std::uint8_t> rgba, std::string* error) override
    {
        std::unique_lock lock(m_mutex);
        m_ids.push_back(rgba[0]);
        m_entered = true;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_open; });
        if (static_cast<int>(m_ids.size()) - 1 == m_failAt) {
            *error = "the film fake.mp4 was not written: the disk went away";
            return false;
        }
        return true;
    }
    bool Finish(std::string*) override
    {
        const std::lock_guard lock(m_mutex);
        m_finished = true;
        return true;
    }
    void WaitUntilWriting()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_entered; });
    }
    void Open()
    {
        const std::lock_guard lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }
    std::vector<int> Ids()
    {
        const std::lock_guard lock(m_mutex);
        return m_ids;
    }
    bool Finished()
    {
        const std::lock_guard lock(m_mutex);
        return m_finished;
    }

private:
    const int m_failAt;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<int> m_ids;
    bool m_entered = false;
    bool m_open = false;
    bool m_finished = false;
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
    sink->WaitUntilWriting(); // frame 0 is out of the queue, its write held
    // The encoder is stuck; the frame loop must still get every call back at once.
    const bool queued[] = {recorder->Push(Picture(1)), recorder->Push(Picture(2)), recorder->Push(Picture(3)),
                           recorder->Push(Picture(4)), recorder->Push(Picture(5)), recorder->Push(Picture(6))};
    EXPECT_EQ(std::vector<bool>(std::begin(queued), std::end(queued)),
              (std::vector<bool>{true, true, true, false, false, false}));
    sink->Open();
    const RecordingReport report = recorder->Stop();

    EXPECT_EQ(sink->Ids(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_TRUE(sink->Finished());
    EXPECT_EQ(report.framesShown, 7);
    EXPECT_EQ(report.framesWritten, 4);
    EXPECT_EQ(report.framesDropped, 3);
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
    sink->Open();
    EXPECT_TRUE(recorder->Push(Picture(0)));
    EXPECT_TRUE(recorder->Push(Picture(1)));
    while (!recorder->Failed())
        std::this_thread::yield();
    EXPECT_FALSE(recorder->Push(Picture(2)));

    const RecordingReport report = recorder->Stop();
    EXPECT_FALSE(sink->Finished());
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
    std::tm local{};
    local.tm_year = 125;
    local.tm_mon = 0;
    local.tm_mday = 2;
    local.tm_hour = 3;
    local.tm_min = 4;
    local.tm_sec = 5;
    EXPECT_EQ(RecordingName(local, 1), "recordings/250102-030405.mp4");
    EXPECT_EQ(RecordingName(local, 2), "recordings/250102-030405-2.mp4");
}

// --- Through the real ffmpeg.

std::string OutputOf(const std::string& command)
{
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        output += buffer;
    ::pclose(pipe);
    return output;
}

std::vector<std::string> FilesIn(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

constexpr int kSide = 16;

std::unique_ptr<FilmRecorder> StartTinyFilm(const std::string& path, std::string* error)
{
    FilmRequest film{path, FilmFormat::Mp4, kSide, kSide, 30};
    film.live = true;
    return FilmRecorder::StartFilm(film, error);
}

TEST(FilmRecorder, TheFilmHoldsEveryFrameShownThatWasNotDropped)
{
    const TempFolder folder;
    const std::string path = folder.File("tiny.mp4");
    std::string error;
    auto recorder = StartTinyFilm(path, &error);
    ASSERT_TRUE(recorder) << error;
    for (int frame = 0; frame < 20; ++frame)
        recorder->Push(Picture(frame * 12, kSide * kSide * 4));
    const RecordingReport report = recorder->Stop();
    ASSERT_EQ(report.error, "");
    EXPECT_EQ(report.framesShown, 20);
    EXPECT_EQ(report.framesWritten + report.framesDropped, 20);

    const std::string probed = OutputOf("ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                                   "stream=width,height,nb_read_frames -of csv=p=0 '" + path + "'");
    EXPECT_EQ(probed, "16,16," + std::to_string(report.framesWritten) + "\n");
    EXPECT_EQ(FilesIn(folder.Path()), (std::vector<std::string>{"tiny.mp4"})) << "no temporary is left";
}

// An ffmpeg on PATH that ends at once, as the real one does when it fails or is killed.
class FailingFfmpeg {
public:
    explicit FailingFfmpeg(const std::string& body)
    {
        const std::string script = m_bin.File("ffmpeg");
        std::ofstream(script) << "#!/bin/sh\n" << body << "\n";
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        const char* path = std::getenv("PATH");
        m_previousPath = path != nullptr ? path : "";
        ::setenv("PATH", (m_bin.Path().string() + ":" + m_previousPath).c_str(), 1);
    }
    ~FailingFfmpeg() { ::setenv("PATH", m_previousPath.c_str(), 1); }

private:
    TempFolder m_bin;
    std::string m_previousPath;
};

TEST(FilmRecorder, AFailingOrKilledFfmpegLosesTheFilmWithASentenceThatNamesIt)
{
    struct Case {
        const char* script;
        const char* ending; // how the sentence says ffmpeg ended
    };
    const Case cases[] = {
        {"echo 'no encoder here' >&2; exit 3", "exit status 3"},
        {"kill -9 $$", "signal 9 (Killed)"},
    };
    for (const Case& c : cases) {
        const TempFolder folder;
        const std::string path = folder.File("lost.mp4");
        const FailingFfmpeg ffmpeg(c.script);
        std::string error;
        auto recorder = StartTinyFilm(path, &error);
        ASSERT_TRUE(recorder) << error;
        for (int frame = 0; frame < 5; ++frame)
            recorder->Push(Picture(frame, kSide * kSide * 4));
        const RecordingReport report = recorder->Stop();

        const std::string summary = RecordingSummary(report);
        EXPECT_EQ(summary.rfind("The film " + path + " was not written: ffmpeg ", 0), 0u) << summary;
        EXPECT_NE(summary.find(c.ending), std::string::npos) << summary;
        EXPECT_TRUE(FilesIn(folder.Path()).empty()) << "no film and no temporary: " << c.script;
    }
}

TEST(FilmRecorder, AFilmThatCannotBeCreatedSaysWhereAndWhy)
{
    const TempFolder folder;
    std::ofstream(folder.File("recordings")) << "a file where the folder should be";
    const std::string path = folder.File("recordings") + "/x.mp4";
    std::string error;
    EXPECT_EQ(StartTinyFilm(path, &error), nullptr);
    EXPECT_EQ(error, "the film " + path + " was not written: cannot create a file in " + folder.File("recordings") +
                         ": Not a directory");
}

} // namespace
} // namespace lumeno
