#pragma once
// Canvas pictures on disk: BMP (8 bits a channel, float values clipped to 0..1) and
// Radiance HDR (floats kept, values above 1 too).

#include <cstdint>
#include <string>
#include <vector>

#include "platform/hresult.h"

namespace lumeno {

struct GlImage;

enum class ImageFileFormat { Bmp = 0, Hdr = 7 };

// Tightly packed RGBA bytes of any read-back image: floats clipped to 0..1 (not-a-number
// as 0), row pitch dropped.
std::vector<std::uint8_t> ToRgba8(const GlImage& image);

// E_FAIL when the file cannot be written (a missing or read-only folder among others);
// E_INVALIDARG for an image with no pixels.
[[nodiscard]] HRESULT SaveImageFile(const std::string& path, const GlImage& image, ImageFileFormat format);

} // namespace lumeno
