#pragma once
// What the picture writers share around stb_image_write: encoding into memory, so that a
// file is written whole or not at all, and the RGB that BMP and PNG keep of RGBA.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace lumeno {

// stb's write callback: appends the bytes to the std::vector<std::byte> at `context`.
void AppendEncodedBytes(void* context, void* data, int size);

// Tightly packed RGB of tightly packed RGBA: the alpha is not part of the picture.
std::vector<std::uint8_t> RgbOfRgba(std::span<const std::uint8_t> rgba);

} // namespace lumeno
