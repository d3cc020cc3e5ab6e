// lumeno-render as users run it: a real process on a headless context.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <stb_image.h>

#include "settings/settings_file.h"
#include "support/temp_folder.h"

namespace lumeno {
namespace {

struct Result {
    int status = -1;
    std::string output; // standard output and error together
};

class LumenoRender : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directory_symlink(std::filesystem::path(LUMENO_SOURCE_DIR) / "Engine",
                                                  m_folder.Path() / "Engine");
    }

    Result Run(const std::string& arguments) const
    {
        const std::string command = "cd '" + m_folder.Path().string() + "' && '" LUMENO_RENDER "' " + arguments + " 2>&1";
        Result result;
        FILE* pipe = ::popen(command.c_str(), "r");
        char buffer[512];
        while (pipe && std::fgets(buffer, sizeof buffer, pipe))
            result.output += buffer;
        const int status = pipe ? ::pclose(pipe) : -1;
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return result;
    }

    test::TempFolder m_folder;
};

TEST_F(LumenoRender, RendersAndWritesEveryOutput)
{
    std::ofstream(m_folder.File("input.txt")) << "2 move 100 100\n3 left\n4 key 2\n";
    const Result run = Run("--frames 6 --frame-ms 16 --script input.txt --out shot.bmp "
                           "--dump-particles particles.bin --save-settings saved.ar --stats=json");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("the picture is in shot.bmp"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("\"frames_per_second\""), std::string::npos) << run.output;

    int width = 0, height = 0, channels = 0;
    stbi_uc* picture = stbi_load(m_folder.File("shot.bmp").c_str(), &width, &height, &channels, 3);
    ASSERT_TRUE(picture);
    stbi_image_free(picture);
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(height, 768);
    EXPECT_EQ(std::filesystem::file_size(m_folder.File("particles.bin")), 20000u * 64u);
    EXPECT_EQ(std::filesystem::file_size(m_folder.File("saved.ar")), kSettingsFileSize);
    // Key 2 chose the second colour slot, and the saved settings say so.
    std::ifstream saved(m_folder.File("saved.ar"), std::ios::binary);
    saved.seekg(111);
    EXPECT_EQ(saved.get(), 1);
}

TEST_F(LumenoRender, FixedFrameIntervalMakesRendersRepeatable)
{
    ASSERT_EQ(Run("--frames 4 --frame-ms 10 --mouse 300,200 --dump-particles a.bin").status, 0);
    ASSERT_EQ(Run("--frames 4 --frame-ms 10 --mouse 300,200 --dump-particles b.bin").status, 0);
    std::ifstream a(m_folder.File("a.bin"), std::ios::binary), b(m_folder.File("b.bin"), std::ios::binary);
    const std::string first((std::istreambuf_iterator<char>(a)), {}), second((std::istreambuf_iterator<char>(b)), {});
    EXPECT_FALSE(first.empty());
    EXPECT_TRUE(first == second);
}

TEST_F(LumenoRender, BadInputEndsWithAClearMessageAndFailure)
{
    Result run = Run("--frames many");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.output.find("invalid value 'many' for --frames"), std::string::npos) << run.output;

    run = Run("--settings absent.ar");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("cannot read the settings file absent.ar"), std::string::npos) << run.output;

    run = Run("--frames 1 --out missing/shot.bmp");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("Error save picture!"), std::string::npos) << run.output;

    std::filesystem::remove(m_folder.Path() / "Engine");
    run = Run("--frames 1");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("Failed to create Effect"), std::string::npos) << run.output;
}

} // namespace
} // namespace lumeno
