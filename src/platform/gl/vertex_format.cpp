#include "platform/gl/vertex_format.h"

#include "platform/gl/d3d_constants.h"

namespace lumeno {

bool DecodeVertexFormat(std::uint32_t fvf, VertexLayout* layout)
{
    constexpr std::uint32_t kTexCoordSizeBits = 0xFFFF0000u;
    const std::uint32_t setCount = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    const std::uint32_t known = D3DFVF_XYZRHW | D3DFVF_TEXCOUNT_MASK | kTexCoordSizeBits;
    if ((fvf & ~known) != 0 || setCount > 8 || fvf == 0)
        return false;
    // Size bits of sets the format does not have must be clear.
    if (setCount < 8 && (fvf >> (16 + 2 * setCount)) != 0)
        return false;

    VertexLayout result;
    std::uint32_t offset = 0;
    if ((fvf & D3DFVF_XYZRHW) != 0) {
        result.attributes[static_cast<std::size_t>(result.attributeCount++)] = {kPositionTLocation, 4, offset};
        offset += 16;
    }
    for (std::uint32_t set = 0; set < setCount; ++set) {
        int floats = 2;
        switch ((fvf >> (16 + 2 * set)) & 3u) {
        case D3DFVF_TEXTUREFORMAT1: floats = 1; break;
        case D3DFVF_TEXTUREFORMAT3: floats = 3; break;
        case D3DFVF_TEXTUREFORMAT4: floats = 4; break;
        default: break;
        }
        result.attributes[static_cast<std::size_t>(result.attributeCount++)] = {kTexCoordLocation0 + set, floats, offset};
        offset += static_cast<std::uint32_t>(floats) * 4;
    }
    result.stride = offset;
    *layout = result;
    return true;
}

} // namespace lumeno
