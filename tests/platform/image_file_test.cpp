// Picture files without a GL context: what HDR makes of values RGBE cannot hold, and the
// result codes that say why a file could not be written.

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <stb_image.h>

#include "platform/gl/gl_device.h"
#include "platform/errno_result.h"
#include "platform/image_file.h"
#include "support/temp_folder.h"

namespace lumeno {
namespace {

GlImage FloatImage(std::vector<float> rgba)
{
    GlImage image;
    image.width = static_cast<int>(rgba.size() / 4);
    image.height = 1;
    image.format = D3DFMT_A32B32G32R32F;
    image.rowPitch = rgba.size() * sizeof(float);
    image.floats = std::move(rgba);
    return image;
}

TEST(ImageFile, HdrWritesBelowZeroAndNotANumberAsZeroAndKeepsAboveOne)
{
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    const GlImage image = FloatImage({
        -0.5f, 0.25f, 0.75f, 1.0f, // a streak subtracted past white in red only
        kNaN, 2.0f, -kInfinity, 1.0f,
        kInfinity, 0.0f, 0.0f, 1.0f,
        -3.0f, -1.0f, -0.001f, 1.0f,
    });
    test::TempFolder folder;
    const std::string path = folder.File("a.hdr");
    ASSERT_EQ(SaveImageFile(path, image, ImageFileFormat::Hdr), S_OK);

    int width = 0, height = 0, channels = 0;
    float* values = stbi_loadf(path.c_str(), &width, &height, &channels, 3);
    ASSERT_TRUE(values);
    ASSERT_EQ(width, 4);
    // 0.25, 0.75 and 2 are exact in RGBE (8-bit mantissa, shared exponent).
    const float expected[] = {0.0f, 0.25f, 0.75f, 0.0f, 2.0f, 0.0f};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(values[i], expected[i]) << "value " << i;
    EXPECT_GT(values[6], 1e38f) << "infinity as the largest value RGBE holds";
    EXPECT_TRUE(std::isfinite(values[6]));
    for (int i = 9; i < 12; ++i)
        EXPECT_EQ(values[i], 0.0f) << "value " << i;
    stbi_image_free(values);
}

TEST(ImageFile, BmpRoundsFloatsToTheNearestByte)
{
    test::TempFolder folder;
    const std::string path = folder.File("a.bmp");
    ASSERT_EQ(SaveImageFile(path, FloatImage({0.5f, 0.25f, 1.5f, 1.0f}), ImageFileFormat::Bmp), S_OK);
    int width = 0, height = 0, channels = 0;
    unsigned char* bytes = stbi_load(path.c_str(), &width, &height, &channels, 3);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(std::vector<int>(bytes, bytes + 3), (std::vector<int>{128, 64, 255})); // 127.5, 63.75, clipped
    stbi_image_free(bytes);
}

TEST(ImageFile, FailuresNameTheirCauseAndWriteNothing)
{
    test::TempFolder folder;
    std::ofstream(folder.File("a file")) << "not a folder";
    const GlImage image = FloatImage({0.5f, 0.5f, 0.5f, 1.0f});
    const struct {
        std::string path;
        HRESULT expected;
    } cases[] = {
        {folder.File("screenshots/1.bmp"), static_cast<HRESULT>(0x80070003u)}, // ENOENT
        {folder.File("a file/1.hdr"), static_cast<HRESULT>(0x80070003u)},      // ENOTDIR
        {folder.File("") + std::string(300, 'x') + ".bmp", static_cast<HRESULT>(0x800700CEu)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SaveImageFile(c.path, image, ImageFileFormat::Bmp), c.expected) << c.path;
        EXPECT_EQ(SaveImageFile(c.path, image, ImageFileFormat::Hdr), c.expected) << c.path;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1) << "no folder made";
    // A full disk cannot be made here: its code, which the user's box names, directly.
    EXPECT_EQ(HResultFromErrno(ENOSPC), static_cast<HRESULT>(0x80070070u));
}

TEST(ImageFileDeathTest, FolderThatMayNotBeWrittenIsAccessDenied)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    test::TempFolder folder;
    ::chmod(folder.Path().c_str(), 0555);
    const std::string path = folder.File("1.bmp");
    EXPECT_EXIT(
        {
            // Root writes whatever the mode says: drop to nobody first.
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                std::_Exit(3);
            const GlImage image = FloatImage({0.5f, 0.5f, 0.5f, 1.0f});
            std::_Exit(SaveImageFile(path, image, ImageFileFormat::Bmp) == static_cast<HRESULT>(0x80070005u) ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

} // namespace
} // namespace lumeno
