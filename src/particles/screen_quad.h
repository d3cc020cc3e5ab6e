#pragma once
// The full-screen quad of the canvas passes: four pre-transformed vertices whose edges
// sit 0.501 pixels before the first and last pixel centres, so it covers the target
// exactly and samples texel centres.

#include <cstdint>
#include <memory>

#include "platform/gl/d3d_constants.h"
#include "platform/hresult.h"

namespace lumeno {

class GlDevice;
class GlVertexBuffer;

// One corner: pixel position with its reciprocal w, then the texture coordinate.
struct ScreenQuadVertex {
    float x, y, z, rhw;
    float u, v;
};
static_assert(sizeof(ScreenQuadVertex) == 6 * sizeof(float), "the record is copied as the vertex layout");

class CScreenQuad {
public:
    static constexpr std::uint32_t kFVF = D3DFVF_XYZRHW | D3DFVF_TEX1;
    static constexpr std::uint32_t kStride = sizeof(ScreenQuadVertex);

    // Builds the quad for a width x height target; a failure code when its buffer could
    // not be created or filled.
    [[nodiscard]] HRESULT Create(GlDevice& device, int width, int height);

    const std::shared_ptr<GlVertexBuffer>& VertexBuffer() const { return m_vertexBuffer; }
    std::uint32_t VertexFormat() const { return kFVF; }
    std::uint32_t Stride() const { return kStride; }

private:
    std::shared_ptr<GlVertexBuffer> m_vertexBuffer;
};

} // namespace lumeno
