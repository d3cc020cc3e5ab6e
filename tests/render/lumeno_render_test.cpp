// lumeno-render as users run it: a real process on a headless context.

#include "lumeno_render_fixture.h"

#include <fstream>
#include <iterator>

#include "settings/settings_file.h"
#include "support/file_bytes.h"

namespace lumeno::test {
namespace {

TEST_F(LumenoRender, RendersAndWritesEveryOutput)
{
    std::ofstream(m_folder.File("input.txt")) << "2 move 100 100\n3 left\n4 key 2\n5 key 4\n";
    const Result run = Run("--frames 6 --frame-ms 16 --script input.txt --out shot.bmp "
                           "--dump-particles particles.bin --save-settings saved.ar --stats=json");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("the picture is in shot.bmp"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("\"frames_per_second\""), std::string::npos) << run.output;

    const Picture shot = LoadPicture("shot.bmp");
    EXPECT_EQ(shot.width, 1024);
    EXPECT_EQ(shot.height, 768);
    EXPECT_EQ(std::filesystem::file_size(m_folder.File("particles.bin")), 20000u * 64u);
    EXPECT_EQ(std::filesystem::file_size(m_folder.File("saved.ar")), kSettingsFileSize);
    // Key 2 left the default (cycling) slot and key 4, the last colour key, chose it again;
    // the saved settings say so.
    std::ifstream saved(m_folder.File("saved.ar"), std::ios::binary);
    saved.seekg(111);
    EXPECT_EQ(saved.get(), 3);
}

// The same seed draws the same look, and the saved settings keep it: the canvas record's
// 17 bytes as they were read, the look changed.
TEST_F(LumenoRender, RandomiseWithASeedDrawsTheSameLookEachTime)
{
    WriteScene("scene.ar", 64, 48, 300);
    for (const char* name : {"a.ar", "b.ar"}) {
        const Result run = Run(std::string("--settings scene.ar --frames 1 --randomise=7 --save-settings ") + name);
        ASSERT_EQ(run.status, 0) << run.output;
        EXPECT_EQ(run.output.find("seed"), std::string::npos) << "a seed given is not printed: " << run.output;
    }
    const std::string a = FileBytes(m_folder.File("a.ar")), scene = FileBytes(m_folder.File("scene.ar"));
    ASSERT_EQ(a.size(), kSettingsFileSize);
    EXPECT_EQ(a, FileBytes(m_folder.File("b.ar")));
    EXPECT_EQ(a.substr(0, 17), scene.substr(0, 17));
    EXPECT_NE(a, scene);
    ASSERT_EQ(Run("--settings scene.ar --frames 1 --randomise=8 --save-settings c.ar").status, 0);
    EXPECT_NE(FileBytes(m_folder.File("c.ar")), a);
}

// Without a seed one is drawn and printed, and it draws the same look again.
TEST_F(LumenoRender, RandomiseWithoutASeedPrintsTheSeedItDrew)
{
    WriteScene("scene.ar", 64, 48, 300);
    const Result run = Run("--settings scene.ar --frames 1 --randomise --save-settings drawn.ar");
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string prefix = "lumeno-render: randomised with seed ";
    const auto at = run.output.find(prefix);
    ASSERT_NE(at, std::string::npos) << run.output;
    const std::string seed = run.output.substr(at + prefix.size(), run.output.find(' ', at + prefix.size()) -
                                                                         (at + prefix.size()));
    ASSERT_FALSE(seed.empty());
    EXPECT_EQ(seed.find_first_not_of("0123456789"), std::string::npos) << seed;
    EXPECT_NE(run.output.find("(--randomise=" + seed + " draws it again)"), std::string::npos) << run.output;
    ASSERT_EQ(Run("--settings scene.ar --frames 1 --randomise=" + seed + " --save-settings again.ar").status, 0);
    EXPECT_EQ(FileBytes(m_folder.File("again.ar")), FileBytes(m_folder.File("drawn.ar")));
}

TEST_F(LumenoRender, BadInputEndsWithAClearMessageAndFailure)
{
    // Something that is not a settings file, folders, and a plain file to be no folder.
    std::ofstream(m_folder.File("notes.ar")) << std::string(8988, 'x');
    std::filesystem::create_directory(m_folder.Path() / "folder");
    std::filesystem::create_directory(m_folder.Path() / "taken.hdr");
    std::ofstream(m_folder.File("plain.txt")) << "plain\n";
    struct Case {
        const char* arguments;
        int status;
        std::vector<std::string> messages;
        bool withoutEffect = false; // and so no film is begun
    };
    const std::string effect = (std::filesystem::canonical(m_folder.Path()) / "Engine/Shaders/Lumeno.fx").string();
    const Case cases[] = {
        {"--frames many", 2, {"invalid value 'many' for --frames"}},
        {"--randomise=x", 2, {"invalid value 'x' for --randomise (a seed: a whole number from 0 to 18446744073709551615)"}},
        {"--settings absent.ar", 1,
         {"lumeno-render: absent.ar could not be opened: there is no such file. Nothing was changed.\n"}},
        {"--settings notes.ar --frames 1 --out shot.bmp", 1,
         {"lumeno-render: notes.ar is not a settings file: it holds 8988 bytes, and a settings file holds "
          "exactly 115. Nothing was changed.\n"}},
        {"--settings folder --frames 1 --out shot.bmp", 1,
         {"lumeno-render: folder is a folder, not a settings file. Nothing was changed.\n"}},
        {"--script folder --frames 1 --out shot.bmp", 1,
         {"lumeno-render: cannot read the script folder: it is a folder, not a file\n"}},
        {"--script absent.txt --frames 1 --out shot.bmp", 1,
         {"lumeno-render: cannot read the script absent.txt: No such file or directory\n"}},
        {"--frames 1 --out missing/shot.bmp", 1, {"lumeno-render: cannot write missing/shot.bmp: No such file or directory\n"}},
        {"--frames 1 --out plain.txt/shot.hdr", 1, {"lumeno-render: cannot write plain.txt/shot.hdr: Not a directory\n"}},
        {"--frames 1 --out taken.hdr", 1, {"lumeno-render: cannot write taken.hdr: Is a directory\n"}},
        {"--frames 1 --out missing/shot.png", 1, {"lumeno-render: cannot write missing/shot.png: No such file or directory\n"}},
        // One file that cannot be written does not keep the others from being tried.
        {"--frames 1 --dump-particles folder --save-settings plain.txt/saved.ar", 1,
         {"lumeno-render: cannot write folder: Is a directory\n",
          "lumeno-render: cannot write plain.txt/saved.ar: Not a directory\n"}},
        // A working folder that holds Engine/ is the person's: its missing effect file is
        // named, never passed over for the installed one or the source tree's.
        {"--frames 1 --video film.mp4", 1, {"lumeno-render: cannot read the effect file " + effect + ": there is no such file\n"},
         true},
    };
    for (const Case& c : cases) {
        if (c.withoutEffect) {
            std::filesystem::remove(m_folder.Path() / "Engine");
            std::filesystem::create_directories(m_folder.Path() / "Engine/Shaders");
        }
        const Result run = Run(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        for (const std::string& message : c.messages)
            EXPECT_NE(run.output.find(message), std::string::npos) << c.arguments << "\n" << run.output;
    }
    EXPECT_EQ(Entries(), (std::set<std::string>{"folder", "notes.ar", "plain.txt", "taken.hdr"}));
    EXPECT_TRUE(std::filesystem::is_empty(m_folder.Path() / "folder"));
}

// A render that succeeds still says what it could not do: input after the last frame, and
// that it wrote nothing when no option asked it to write.
TEST_F(LumenoRender, WhatARenderLeavesOutIsSaid)
{
    std::ofstream(m_folder.File("late.txt")) << "2 left\n6 right\n4 key 2\n";
    const std::string late =
        "lumeno-render: warning: late.txt: 2 events after the last frame (3) are not delivered, the first for frame 4\n";
    const std::string nothing = "lumeno-render: nothing was written; the options that write are --out, --video, "
                                "--frames-out, --dump-particles and --save-settings\n";
    struct Case {
        const char* arguments;
        std::vector<std::string> said;
        std::vector<std::string> unsaid;
    };
    const Case cases[] = {
        {"--script late.txt", {late, nothing}, {}},
        {"--script late.txt --frames 6", {nothing}, {"warning"}},
        {"--save-settings saved.ar", {}, {nothing}},
        {"--stats", {}, {nothing}},
    };
    for (const Case& c : cases) {
        const Result run = Run(std::string("--canvas 64x48 --frames 3 --frame-ms 16 ") + c.arguments);
        EXPECT_EQ(run.status, 0) << c.arguments << "\n" << run.output;
        for (const std::string& message : c.said)
            EXPECT_NE(run.output.find(message), std::string::npos) << c.arguments << "\n" << run.output;
        for (const std::string& message : c.unsaid)
            EXPECT_EQ(run.output.find(message), std::string::npos) << c.arguments << "\n" << run.output;
    }
}

// The canvas and the count of the settings file give way for one render; what the
// machine cannot hold is refused as the program refuses it, and no film is begun.
TEST_F(LumenoRender, CanvasAndParticlesOverrideTheSettingsWithTheProgramsRefusals)
{
    WriteScene("scene.ar", 64, 48, 500);
    Result run = Run("--settings scene.ar --canvas 80x60 --particles 1234 --frames 2 --out c.bmp "
                     "--dump-particles p.bin");
    ASSERT_EQ(run.status, 0) << run.output;
    const Picture canvas = LoadPicture("c.bmp");
    EXPECT_EQ(canvas.width, 80);
    EXPECT_EQ(canvas.height, 60);
    EXPECT_EQ(std::filesystem::file_size(m_folder.File("p.bin")), 1234u * 64u);

    const std::pair<const char*, std::vector<const char*>> refusals[] = {
        {"--canvas 32768x48", {"lumeno-render: Init DirectX error!: Error: Invalid call\n",
                                "lumeno-render: Init Engine Failed!\n"}},
        {"--particles 1073741823",
         {"lumeno-render: DXErrorInfo: Not enough memory for 1073741823 particles.\nTry less Particle.",
          "lumeno-render: nothing was rendered: the particle system could not be built\n"}},
    };
    for (const auto& [option, messages] : refusals) {
        run = Run(std::string("--settings scene.ar --frames 2 --video refused.mp4 ") + option);
        EXPECT_EQ(run.status, 1) << option;
        for (const char* message : messages)
            EXPECT_NE(run.output.find(message), std::string::npos) << option << "\n" << run.output;
        EXPECT_EQ(Entries(), (std::set<std::string>{"c.bmp", "p.bin", "scene.ar"})) << option;
    }
}

TEST_F(LumenoRender, ProgressIsOneLineRewrittenOnATerminalAndPlainElsewhere)
{
    const Result terminal = Run("--canvas 64x48 --frames 3 --frame-ms 16", "", true);
    ASSERT_EQ(terminal.status, 0) << terminal.output;
    // The terminal's line discipline turns each \n into \r\n; the line rewritten in place
    // starts with a \r of its own.
    EXPECT_NE(terminal.output.find("\rlumeno-render: frame 3 of 3, "), std::string::npos) << terminal.output;
    EXPECT_NE(terminal.output.find(" s left\r\n"), std::string::npos) << terminal.output;

    const Result piped = Run("--canvas 64x48 --frames 3 --frame-ms 16");
    ASSERT_EQ(piped.status, 0) << piped.output;
    EXPECT_EQ(piped.output.find('\r'), std::string::npos) << piped.output;
}

} // namespace
} // namespace lumeno::test

namespace lumeno::test {
namespace {

TEST_F(LumenoRender, TheAutopilotSteersARenderThatReplaysFromItsSeedAndLeavesTheScriptsPointerOut)
{
    WriteScene("scene.ar", 64, 48, 500);
    {
        std::ofstream script(m_folder.File("moves.txt"));
        script << "5 move 3 3\n30 move 60 40\n31 right\n";
    }
    const std::string common = "--settings scene.ar --frames 90 --frame-ms 16 --script moves.txt ";
    const std::pair<const char*, const char*> runs[] = {
        {"--autopilot=4 --dump-particles a.bin", "a.bin"},
        {"--autopilot=4 --dump-particles again.bin", "again.bin"},
        {"--dump-particles mouse.bin", "mouse.bin"},
        {"--autopilot=5 --dump-particles other.bin", "other.bin"},
    };
    for (const auto& [options, file] : runs) {
        const Result run = Run(common + options);
        ASSERT_EQ(run.status, 0) << options << "\n" << run.output;
    }
    const std::string steered = FileBytes(m_folder.File("a.bin"));
    ASSERT_EQ(steered.size(), 500u * 64u);
    EXPECT_TRUE(steered == FileBytes(m_folder.File("again.bin"))) << "the same seed, the same particles";
    EXPECT_FALSE(steered == FileBytes(m_folder.File("mouse.bin"))) << "the script's pointer does not steer";
    EXPECT_FALSE(steered == FileBytes(m_folder.File("other.bin"))) << "another seed, another path";

    // Without the script's moves (its click still clears) the steered render is the same.
    {
        std::ofstream script(m_folder.File("moves.txt"));
        script << "31 right\n";
    }
    ASSERT_EQ(Run(common + "--autopilot=4 --dump-particles clicks.bin").status, 0);
    EXPECT_TRUE(steered == FileBytes(m_folder.File("clicks.bin")));
}

} // namespace
} // namespace lumeno::test
