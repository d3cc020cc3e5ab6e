#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "frame_clock.h"
#include "progress_report.h"
#include "render_options.h"

namespace lumeno {
namespace {

bool Parse(std::vector<const char*> args, RenderOptions* options, std::string* error)
{
    args.insert(args.begin(), "lumeno-render");
    return ParseRenderOptions(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(RenderOptions, DefaultsAndEveryOption)
{
    RenderOptions defaults;
    std::string error;
    ASSERT_TRUE(Parse({}, &defaults, &error));
    EXPECT_EQ(defaults.frames, 300);
    EXPECT_FALSE(defaults.framesGiven);
    EXPECT_FALSE(defaults.audioPath.has_value());
    EXPECT_FALSE(defaults.mouseX.has_value());
    EXPECT_EQ(defaults.stats, StatsFormat::None);

    RenderOptions o;
    ASSERT_TRUE(Parse({"--settings", "a.ar", "--frames", "12", "--mouse", "10.5,20", "--script", "s.txt",
                       "--frame-ms", "16", "--out", "x.hdr", "--dump-particles", "p.bin", "--save-settings",
                       "b.ar", "--stats=json", "--video", "f.webm", "--frames-out", "seq", "--fps", "24",
                       "--canvas", "3840x2160", "--particles", "1000000", "--audio", "song.flac"},
                      &o, &error))
        << error;
    EXPECT_EQ(*o.settingsPath, "a.ar");
    EXPECT_EQ(o.frames, 12);
    EXPECT_TRUE(o.framesGiven);
    EXPECT_EQ(*o.audioPath, "song.flac");
    EXPECT_EQ(*o.mouseX, 10.5f);
    EXPECT_EQ(*o.mouseY, 20.0f);
    EXPECT_EQ(*o.scriptPath, "s.txt");
    EXPECT_EQ(*o.frameMs, 16u);
    EXPECT_EQ(*o.outPath, "x.hdr");
    EXPECT_EQ(*o.dumpParticlesPath, "p.bin");
    EXPECT_EQ(*o.saveSettingsPath, "b.ar");
    EXPECT_EQ(o.stats, StatsFormat::Json);
    EXPECT_EQ(*o.videoPath, "f.webm");
    EXPECT_EQ(*o.framesOutPath, "seq");
    EXPECT_EQ(FilmFramesPerSecond(o), 24);
    EXPECT_EQ(o.canvas->width, 3840);
    EXPECT_EQ(o.canvas->height, 2160);
    EXPECT_EQ(*o.particleCount, 1000000);
    EXPECT_FALSE(UsesFilmClock(o)); // --frame-ms wins
    EXPECT_FALSE(OutIsPng(o));
    EXPECT_FALSE(o.autopilotSeed.has_value());

    // The autopilot's seed, 1 unless given, the last one counting.
    for (const auto& [args, seed] : std::vector<std::pair<std::vector<const char*>, std::uint64_t>>{
             {{"--autopilot"}, 1u},
             {{"--autopilot=0"}, 0u},
             {{"--autopilot=18446744073709551615"}, 18446744073709551615u},
             {{"--autopilot=5", "--autopilot"}, 1u}}) {
        RenderOptions autopilot;
        ASSERT_TRUE(Parse(args, &autopilot, &error)) << error;
        EXPECT_EQ(*autopilot.autopilotSeed, seed) << args.front();
    }
}

TEST(RenderOptions, FilmsAndPngRunTheClockAtTheFilmRate)
{
    struct Case {
        std::vector<const char*> args;
        int framesPerSecond;
        bool filmClock;
        bool pictures;
    };
    const Case cases[] = {
        {{}, 60, false, false},
        {{"--video", "f.mp4"}, 60, true, true},
        {{"--video", "f.gif"}, 50, true, true}, // a GIF's fastest exact rate
        {{"--video", "f.gif", "--fps", "25"}, 25, true, true},
        {{"--frames-out", "seq"}, 60, true, true},
        {{"--fps", "30"}, 30, true, false},
        {{"--audio", "a.wav"}, 60, true, false}, // music is timed in the film's frames
        {{"--fps", "1000"}, 1000, true, false},
        {{"--out", "x.png"}, 60, false, true},
        {{"--out", "x.bmp"}, 60, false, false},
    };
    for (const Case& c : cases) {
        RenderOptions o;
        std::string error;
        const char* what = c.args.empty() ? "no option" : c.args[1];
        ASSERT_TRUE(Parse(c.args, &o, &error)) << what << ": " << error;
        EXPECT_EQ(FilmFramesPerSecond(o), c.framesPerSecond) << what;
        EXPECT_EQ(UsesFilmClock(o), c.filmClock) << what;
        EXPECT_EQ(WantsPictures(o), c.pictures) << what;
    }
}

TEST(RenderOptions, BadArgumentsNameThemselves)
{
    const std::pair<std::vector<const char*>, const char*> cases[] = {
        {{"--frames", "ten"}, "invalid value 'ten' for --frames"},
        {{"--mouse", "12"}, "invalid value '12' for --mouse"},
        {{"--out", "x.jpg"}, "invalid value 'x.jpg' for --out (the picture is saved as .png, .bmp or .hdr)"},
        {{"--out"}, "--out needs a value"},
        {{"--fast"}, "unknown option '--fast'"},
        {{"--video", "f.avi"}, "invalid value 'f.avi' for --video (films are .mp4, .webm or .gif)"},
        {{"--video", "mp4"}, "invalid value 'mp4' for --video (films are .mp4, .webm or .gif)"},
        {{"--fps", "0"}, "invalid value '0' for --fps (1 to 1000 frames a second)"},
        {{"--fps", "1001"}, "invalid value '1001' for --fps (1 to 1000 frames a second)"},
        {{"--fps", "29.97"}, "invalid value '29.97' for --fps (1 to 1000 frames a second)"},
        {{"--canvas", "1920"}, "invalid value '1920' for --canvas (width x height in pixels, as 1920x1080, 1 to 32768 a side)"},
        {{"--canvas", "0x1080"}, "invalid value '0x1080' for --canvas (width x height in pixels, as 1920x1080, 1 to 32768 a side)"},
        {{"--canvas", "64x-48"}, "invalid value '64x-48' for --canvas (width x height in pixels, as 1920x1080, 1 to 32768 a side)"},
        {{"--canvas", "64x48x2"}, "invalid value '64x48x2' for --canvas (width x height in pixels, as 1920x1080, 1 to 32768 a side)"},
        {{"--canvas", "32769x64"}, "invalid value '32769x64' for --canvas (width x height in pixels, as 1920x1080, 1 to 32768 a side)"},
        {{"--particles", "0"}, "invalid value '0' for --particles (a count from 1 to 1073741823)"},
        {{"--particles", "1073741824"}, "invalid value '1073741824' for --particles (a count from 1 to 1073741823)"},
        {{"--particles", "3000000000"}, "invalid value '3000000000' for --particles (a count from 1 to 1073741823)"},
        {{"--video", "f.gif", "--fps", "60"},
         "--fps 60 is too fast for a GIF, whose frame delays are hundredths of a second: at most 50"},
        {{"--randomise=seven"}, "invalid value 'seven' for --randomise (a seed: a whole number from 0 to 18446744073709551615)"},
        {{"--randomise="}, "invalid value '' for --randomise (a seed: a whole number from 0 to 18446744073709551615)"},
        {{"--randomise=-1"}, "invalid value '-1' for --randomise (a seed: a whole number from 0 to 18446744073709551615)"},
        {{"--randomise=18446744073709551616"},
         "invalid value '18446744073709551616' for --randomise (a seed: a whole number from 0 to 18446744073709551615)"},
        {{"--randomise=7x"}, "invalid value '7x' for --randomise (a seed: a whole number from 0 to 18446744073709551615)"},
        {{"--randomise", "7"}, "unknown option '7'"},
        {{"--frames", "0", "--frames-out", "seq"},
         "--frames 0 renders no picture for --video, --frames-out or a .png --out"},
        {{"--out", "x.png", "--frames", "0"},
         "--frames 0 renders no picture for --video, --frames-out or a .png --out"},
        {{"--autopilot=seven"},
         "invalid value 'seven' for --autopilot (a seed: a whole number from 0 to 18446744073709551615)"},
        {{"--autopilot="}, "invalid value '' for --autopilot (a seed: a whole number from 0 to 18446744073709551615)"},
        {{"--autopilot=-1"}, "invalid value '-1' for --autopilot (a seed: a whole number from 0 to 18446744073709551615)"},
        {{"--autopilot=18446744073709551616"},
         "invalid value '18446744073709551616' for --autopilot (a seed: a whole number from 0 to 18446744073709551615)"},
        {{"--autopilot", "3"}, "unknown option '3'"},
    };
    for (const auto& [args, message] : cases) {
        RenderOptions o;
        std::string error;
        EXPECT_FALSE(Parse(args, &o, &error)) << message;
        EXPECT_EQ(error, message);
    }
}

// --randomise draws a fresh seed; --randomise=SEED names one, the whole 64 bits of it.
TEST(RenderOptions, RandomiseTakesAnOptionalSeed)
{
    RenderOptions none;
    std::string error;
    ASSERT_TRUE(Parse({}, &none, &error));
    EXPECT_FALSE(none.randomise);
    EXPECT_FALSE(none.randomiseSeed.has_value());

    RenderOptions fresh;
    ASSERT_TRUE(Parse({"--randomise"}, &fresh, &error)) << error;
    EXPECT_TRUE(fresh.randomise);
    EXPECT_FALSE(fresh.randomiseSeed.has_value());
    EXPECT_FALSE(WritesFiles(fresh));

    for (const auto& [text, seed] : {std::pair{"--randomise=7", 7ull}, std::pair{"--randomise=0", 0ull},
                                     std::pair{"--randomise=18446744073709551615", 18446744073709551615ull}}) {
        RenderOptions o;
        ASSERT_TRUE(Parse({text}, &o, &error)) << error;
        EXPECT_TRUE(o.randomise);
        EXPECT_EQ(o.randomiseSeed, seed) << text;
    }
    RenderOptions last; // the last one given counts, as for every option
    ASSERT_TRUE(Parse({"--randomise=7", "--randomise"}, &last, &error));
    EXPECT_FALSE(last.randomiseSeed.has_value());
    EXPECT_NE(std::string_view(kRenderUsage).find("  --randomise[=SEED] "), std::string_view::npos);
}

TEST(FilmClock, FramesEndOnTheRoundedMillisecondOfTheFilmRate)
{
    EXPECT_EQ(FilmClockMs(1, 60), 17u);
    EXPECT_EQ(FilmClockMs(2, 60), 33u);
    EXPECT_EQ(FilmClockMs(3, 60), 50u);
    EXPECT_EQ(FilmClockMs(60, 60), 1000u);  // no drift over a second
    EXPECT_EQ(FilmClockMs(18000, 60), 300000u); // nor over five minutes
    EXPECT_EQ(FilmClockMs(1, 50), 20u);
    EXPECT_EQ(FilmClockMs(1, 24), 42u);
    EXPECT_EQ(FilmClockMs(24, 24), 1000u);
}

TEST(ProgressReport, TextGivesFramesRateAndTimeLeft)
{
    EXPECT_EQ(ProgressText(120, 300, 2.5), "frame 120 of 300, 48.0 frames/s, 4 s left");
    EXPECT_EQ(ProgressText(300, 300, 10.0), "frame 300 of 300, 30.0 frames/s, 0 s left");
    EXPECT_EQ(ProgressText(10, 3000, 20.0), "frame 10 of 3000, 0.5 frames/s, 1 h 39 min left");
    EXPECT_EQ(ProgressText(100, 3000, 4.0), "frame 100 of 3000, 25.0 frames/s, 1 min 56 s left");
    EXPECT_EQ(ProgressText(10, 75, 10.0), "frame 10 of 75, 1.0 frames/s, 1 min 05 s left");
    EXPECT_EQ(ProgressText(10, 3910, 10.0), "frame 10 of 3910, 1.0 frames/s, 1 h 05 min left");
    EXPECT_EQ(ProgressText(0, 300, 0.0), "frame 0 of 300");
}

// The note for a render that writes nothing names the options that write, as --help does.
TEST(RenderOptions, EveryWritingOptionIsInTheHelpAndWrites)
{
    EXPECT_FALSE(WritesFiles(RenderOptions{}));
    const std::pair<const char*, const char*> writers[] = {
        {"--out", "a.png"}, {"--video", "a.mp4"}, {"--frames-out", "seq"},
        {"--dump-particles", "p.bin"}, {"--save-settings", "s.ar"},
    };
    ASSERT_EQ(std::size(writers), kWritingOptions.size());
    for (const auto& [option, value] : writers) {
        RenderOptions o;
        std::string error;
        ASSERT_TRUE(Parse({option, value}, &o, &error)) << error;
        EXPECT_TRUE(WritesFiles(o)) << option;
        EXPECT_NE(std::find(kWritingOptions.begin(), kWritingOptions.end(), option), kWritingOptions.end()) << option;
        EXPECT_NE(std::string_view(kRenderUsage).find(std::string("  ") + option + " "), std::string_view::npos)
            << option;
    }
}

} // namespace
} // namespace lumeno
