// Picture files without a GL context: what HDR makes of values RGBE cannot hold, BMP's
// rounding, and the result codes that say why a file could not be written.

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

#include <stb_image.h>

#include "platform/errno_result.h"
#include "platform/gl/gl_device.h"
#include "platform/image_file.h"
#include "support/temp_folder.h"

namespace lumeno {
namespace {

GlImage FloatImage(std::vector<float> rgba)
{
    return {static_cast<int>(rgba.size() / 4), 1, D3DFMT_A32B32G32R32F, rgba.size() * sizeof(float), {}, rgba};
}

// RGBE has no sign and no infinity; 0.25, 0.75 and 2 are exact in it (8-bit mantissa,
// shared exponent).
TEST(ImageFile, HdrWritesBelowZeroAndNotANumberAsZeroAndKeepsAboveOne)
{
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN(), kInf = std::numeric_limits<float>::infinity();
    test::TempFolder folder;
    const std::string path = folder.File("a.hdr");
    const GlImage image = FloatImage({-0.5f, 0.25f, 0.75f, 1, kNaN, 2, -kInf, 1, kInf, 0, 0, 1, -3, -1, -0.001f, 1});
    ASSERT_EQ(SaveImageFile(path, image, ImageFileFormat::Hdr), S_OK);
    int width = 0, height = 0, channels = 0;
    float* values = stbi_loadf(path.c_str(), &width, &height, &channels, 3);
    ASSERT_TRUE(values);
    EXPECT_EQ(width, 4);
    std::vector<float> loaded(values, values + 12);
    stbi_image_free(values);
    EXPECT_TRUE(loaded[6] > 1e38f && std::isfinite(loaded[6])) << "infinity as the largest value RGBE holds";
    loaded[6] = 0;
    EXPECT_EQ(loaded, (std::vector<float>{0, 0.25f, 0.75f, 0, 2, 0, 0, 0, 0, 0, 0, 0}));
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
    const std::pair<std::string, HRESULT> cases[] = {
        {folder.File("screenshots/1.bmp"), static_cast<HRESULT>(0x80070003u)}, // ENOENT
        {folder.File("a file/1.hdr"), static_cast<HRESULT>(0x80070003u)},      // ENOTDIR
        {folder.File("") + std::string(300, 'x') + ".bmp", static_cast<HRESULT>(0x800700CEu)},
    };
    for (const auto& [path, expected] : cases)
        for (ImageFileFormat format : {ImageFileFormat::Bmp, ImageFileFormat::Hdr})
            EXPECT_EQ(SaveImageFile(path, FloatImage({0.5f, 0.5f, 0.5f, 1}), format), expected) << path;
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
            const HRESULT result = SaveImageFile(path, FloatImage({0.5f, 0.5f, 0.5f, 1}), ImageFileFormat::Bmp);
            std::_Exit(result == static_cast<HRESULT>(0x80070005u) ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

} // namespace
} // namespace lumeno
