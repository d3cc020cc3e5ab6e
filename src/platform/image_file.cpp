#include "platform/image_file.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <new>
#include <vector>

#include <stb_image_write.h>

#include "platform/atomic_file.h"
#include "platform/errno_result.h"
#include "platform/gl/gl_image.h"
#include "platform/stb_encoding.h"

namespace lumeno {
namespace {

std::uint8_t FloatToByte(float value)
{
    // Not-a-number and everything below 0 write as 0, everything above 1 as 255.
    const float clipped = value > 0.0f ? std::min(value, 1.0f) : 0.0f;
    return static_cast<std::uint8_t>(std::lround(clipped * 255.0f));
}

} // namespace

std::vector<std::uint8_t> ToRgba8(const GlImage& image)
{
    const auto width = static_cast<std::size_t>(image.width);
    std::vector<std::uint8_t> packed(width * 4 * static_cast<std::size_t>(image.height));
    for (int y = 0; y < image.height; ++y) {
        std::uint8_t* out = packed.data() + static_cast<std::size_t>(y) * width * 4;
        if (!image.bytes.empty()) {
            const std::uint8_t* row = image.bytes.data() + static_cast<std::size_t>(y) * image.rowPitch;
            std::copy(row, row + width * 4, out);
        } else {
            const float* row = image.floats.data() + static_cast<std::size_t>(y) * image.rowPitch / sizeof(float);
            std::transform(row, row + width * 4, out, FloatToByte);
        }
    }
    return packed;
}

namespace {

// The largest value a Radiance pixel holds: its shared exponent byte tops out at 2^127.
constexpr float kLargestRgbe = 0x1.fffffep126f;

// Radiance RGBE has no sign: a negative channel (where an inverted canvas had more streaks
// subtracted than its white held) would become a mantissa byte of no defined value and
// show as rings of the other colours. Below 0 and not-a-number write as 0, as the BMP does; values
// above 1 stay, and infinity becomes the largest value the format holds.
float ToRgbeRange(float value) { return value > 0.0f ? std::min(value, kLargestRgbe) : 0.0f; }

std::vector<float> HdrFloats(const GlImage& image)
{
    const auto width = static_cast<std::size_t>(image.width);
    std::vector<float> packed(width * 4 * static_cast<std::size_t>(image.height));
    for (int y = 0; y < image.height; ++y) {
        float* out = packed.data() + static_cast<std::size_t>(y) * width * 4;
        if (!image.floats.empty()) {
            const float* row = image.floats.data() + static_cast<std::size_t>(y) * image.rowPitch / sizeof(float);
            std::transform(row, row + width * 4, out, ToRgbeRange);
        } else {
            const std::uint8_t* row = image.bytes.data() + static_cast<std::size_t>(y) * image.rowPitch;
            std::transform(row, row + width * 4, out, [](std::uint8_t b) { return b / 255.0f; });
        }
    }
    return packed;
}

bool Encode(const GlImage& image, ImageFileFormat format, std::vector<std::byte>* encoded)
{
    if (format == ImageFileFormat::Bmp) {
        // BMP keeps no alpha here: the canvas alpha is not part of the picture.
        const std::vector<std::uint8_t> rgb = RgbOfRgba(ToRgba8(image));
        return stbi_write_bmp_to_func(AppendEncodedBytes, encoded, image.width, image.height, 3, rgb.data()) != 0;
    }
    const std::vector<float> rgba = HdrFloats(image);
    return stbi_write_hdr_to_func(AppendEncodedBytes, encoded, image.width, image.height, 4, rgba.data()) != 0;
}

bool HasPixels(const GlImage& image)
{
    return image.width > 0 && image.height > 0 && !(image.bytes.empty() && image.floats.empty());
}

} // namespace

FileWriteResult WriteImageFile(const std::string& path, const GlImage& image, ImageFileFormat format)
{
    if (!HasPixels(image))
        return FileWriteResult{false, EINVAL};
    try {
        // stb's own file writers check neither fwrite nor fclose: a full disk would pass
        // for a saved picture and leave a truncated file. Encode in memory, then write it
        // whole or not at all.
        std::vector<std::byte> encoded;
        if (!Encode(image, format, &encoded))
            return FileWriteResult{false, ENOMEM}; // stb fails only where it cannot allocate
        return WriteFileAtomically(path, encoded);
    } catch (const std::bad_alloc&) {
        return FileWriteResult{false, ENOMEM}; // the encoded copies of a huge canvas
    }
}

HRESULT SaveImageFile(const std::string& path, const GlImage& image, ImageFileFormat format)
{
    if (!HasPixels(image))
        return E_INVALIDARG;
    const FileWriteResult written = WriteImageFile(path, image, format);
    return written.ok ? S_OK : HResultFromErrno(written.error);
}

} // namespace lumeno
