#pragma once
// Pictures as PNG, for the stills and frame sequences of lumeno-render: 8-bit RGB from
// RGBA bytes (alpha is not part of the picture), written whole or not at all.

#include <cstdint>
#include <span>
#include <string>

#include "platform/atomic_file.h"

namespace lumeno {

// width x height RGBA pixels, top row first. On failure the errno of the cause: that of
// the file write, ENOMEM when the picture cannot be encoded, EINVAL for a wrong size.
FileWriteResult SavePngFile(const std::string& path, int width, int height, std::span<const std::uint8_t> rgba);

} // namespace lumeno
