// GlDevice: choosing who draws smooth lines, and handing them to the device's own rasteriser.
#include <epoxy/gl.h>

#include <limits>

#include "platform/gl/gl_device.h"
#include "platform/gl/gl_software_lines.h"

namespace lumeno {

LineDrawing LineDrawingForRenderer(std::string_view renderer)
{
    // Mesa's software rasterisers name themselves so; every one of them pays per line primitive.
    for (std::string_view software : {"llvmpipe", "softpipe"})
        if (renderer.find(software) != std::string_view::npos)
            return LineDrawing::Software;
    return LineDrawing::Driver;
}

bool GlDevice::DrawSoftwareLines(std::uint32_t startVertex, std::uint64_t vertexCount)
{
    if (m_lineDrawing != LineDrawing::Software || m_capture == nullptr || m_softwareLinesFailed)
        return false;
    // The rasteriser models smooth lines whose light is added with SRCALPHA, ONE, or taken
    // away with the reverse subtraction; anything else is the driver's. (Alpha testing is
    // always off: the device refuses it.)
    std::uint32_t smooth = 0, blend = 0, source = 0, destination = 0, operation = 0;
    (void)m_states.Get(D3DRS_ANTIALIASEDLINEENABLE, &smooth);
    (void)m_states.Get(D3DRS_ALPHABLENDENABLE, &blend);
    (void)m_states.Get(D3DRS_SRCBLEND, &source);
    (void)m_states.Get(D3DRS_DESTBLEND, &destination);
    (void)m_states.Get(D3DRS_BLENDOP, &operation);
    if (!smooth || !blend || source != D3DBLEND_SRCALPHA || destination != D3DBLEND_ONE ||
        (operation != D3DBLENDOP_ADD && operation != D3DBLENDOP_REVSUBTRACT))
        return false;
    // A float target keeps the sum of a frame's light, added at once. An 8-bit target rounds
    // every line's light to whole steps as it is blended, so that a faint streak shows as one
    // step or not at all, and a half-float one rounds every sum: that is their look, which
    // only blending the lines one by one, as they do, gives.
    const bool subtract = operation == D3DBLENDOP_REVSUBTRACT;
    TileBlend tileBlend = TileBlend::Light;
    switch (m_renderTarget->Format()) {
    case D3DFMT_A32B32G32R32F:
        break;
    case D3DFMT_A16B16G16R16F:
        tileBlend = subtract ? TileBlend::SubtractHalf : TileBlend::AddHalf;
        break;
    case D3DFMT_A8R8G8B8:
        tileBlend = subtract ? TileBlend::SubtractSteps : TileBlend::AddSteps;
        break;
    default:
        return false;
    }
    // The stream is read as a buffer texture of 16-byte texels.
    if (m_streamStride % 16 != 0 || m_streamOffset % 16 != 0 ||
        vertexCount > static_cast<std::uint64_t>(std::numeric_limits<GLint>::max()) / m_streamStride)
        return false;
    if (!m_softwareLines) {
        m_softwareLines = GlSoftwareLines::Create();
        if (!m_softwareLines) {
            m_softwareLinesFailed = true;
            return false;
        }
    }
    const GlSoftwareLines::Stream stream{m_stream->Name(), m_streamOffset, m_streamStride, m_stream->Length()};
    const bool drawn = m_softwareLines->Draw(*m_capture, stream, startVertex, static_cast<std::uint32_t>(vertexCount),
                                             m_renderTarget->Width(), m_renderTarget->Height(), tileBlend);
    // What the light pass changed, back to what the device says it is.
    glUseProgram(m_program);
    glBindVertexArray(m_vertexArray.Get());
    m_states.ApplyAll();
    m_softwareLineDraws += drawn ? 1 : 0;
    return drawn;
}

} // namespace lumeno
