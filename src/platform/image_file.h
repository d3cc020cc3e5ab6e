#pragma once
// Canvas pictures on disk: BMP (8 bits a channel, float values clipped to 0..1) and
// Radiance HDR (floats kept, values above 1 too; RGBE has no sign, so below 0 is 0).

#include <cstdint>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/hresult.h"

namespace lumeno {

struct GlImage;

enum class ImageFileFormat { Bmp = 0, Hdr = 7 };

// Tightly packed RGBA bytes of any read-back image: floats clipped to 0..1 (not-a-number
// as 0), row pitch dropped.
std::vector<std::uint8_t> ToRgba8(const GlImage& image);

// Writes the whole file or leaves the old one as it was. On failure the errno of the cause:
// that of the file write, ENOMEM when the picture cannot be encoded, EINVAL for an image
// with no pixels.
[[nodiscard]] FileWriteResult WriteImageFile(const std::string& path, const GlImage& image, ImageFileFormat format);

// The same, for the program's boxes. On failure the code names the
// cause (HResultFromErrno): HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND) for a missing folder,
// E_ACCESSDENIED for one that may not be written, HRESULT_FROM_WIN32(ERROR_DISK_FULL) for
// a full disk, E_FAIL where nothing closer fits; E_INVALIDARG for an image with no pixels.
// HDR keeps values above 1 and writes those below 0 as 0, as BMP does.
[[nodiscard]] HRESULT SaveImageFile(const std::string& path, const GlImage& image, ImageFileFormat format);

} // namespace lumeno
