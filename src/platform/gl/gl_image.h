#pragma once
// A surface read back into memory: plain data, so that code writing pictures to disk
// needs no GL device to name it.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/gl/d3d_constants.h"

namespace lumeno {

// Top row first. RGBA8 surfaces fill `bytes` (R, G, B, A per pixel); float surfaces fill
// `floats` (R, G, B, A). rowPitch is in bytes either way.
struct GlImage {
    int width = 0;
    int height = 0;
    D3DFORMAT format = 0;
    std::size_t rowPitch = 0;
    std::vector<std::uint8_t> bytes;
    std::vector<float> floats;
};

} // namespace lumeno
