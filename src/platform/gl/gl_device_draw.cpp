// GlDevice: vertex formats, streams and draws.
#include "platform/gl/gl_device.h"

#include <epoxy/gl.h>

namespace lumeno {

HRESULT GlDevice::SetFVF(std::uint32_t fvf)
{
    VertexLayout layout;
    if (!DecodeVertexFormat(fvf, &layout))
        return D3DERR_INVALIDCALL;
    if (fvf != m_fvf)
        m_streamBound = false;
    m_fvf = fvf;
    m_layout = layout;
    return S_OK;
}

HRESULT GlDevice::SetStreamSource(unsigned stream, const std::shared_ptr<GlVertexBuffer>& buffer,
                                  std::uint32_t offset, std::uint32_t stride)
{
    if (stream != 0 || (buffer != nullptr && buffer->m_life.lock() != m_life))
        return D3DERR_INVALIDCALL;
    if (buffer != m_stream || offset != m_streamOffset || stride != m_streamStride)
        m_streamBound = false;
    m_stream = buffer;
    m_streamOffset = offset;
    m_streamStride = stride;
    return S_OK;
}

// Points the vertex array's attributes at the stream: only when stream or format changed,
// since a discarding lock keeps the buffer's name.
void GlDevice::BindStream()
{
    if (m_streamBound)
        return;
    glBindBuffer(GL_ARRAY_BUFFER, m_stream->Name());
    std::uint32_t enabled = 0;
    for (int i = 0; i < m_layout.attributeCount; ++i) {
        const VertexAttribute& attribute = m_layout.attributes[static_cast<std::size_t>(i)];
        const std::uintptr_t offset = m_streamOffset + attribute.offset;
        glVertexAttribPointer(attribute.location, attribute.floats, GL_FLOAT, GL_FALSE,
                              static_cast<GLsizei>(m_streamStride), reinterpret_cast<const void*>(offset));
        glEnableVertexAttribArray(attribute.location);
        enabled |= 1u << attribute.location;
    }
    for (unsigned location = 0; location < 9; ++location)
        if ((enabled & (1u << location)) == 0)
            glDisableVertexAttribArray(location);
    m_streamBound = true;
}

HRESULT GlDevice::DrawPrimitive(D3DPRIMITIVETYPE type, std::uint32_t startVertex, std::uint32_t primitiveCount)
{
    std::uint64_t vertexCount = 0;
    GLenum mode = GL_NONE;
    switch (type) {
    case D3DPT_LINELIST: mode = GL_LINES; vertexCount = 2ull * primitiveCount; break;
    case D3DPT_TRIANGLESTRIP: mode = GL_TRIANGLE_STRIP; vertexCount = primitiveCount + 2ull; break;
    default: return D3DERR_INVALIDCALL;
    }
    if (m_fvf == 0 || m_stream == nullptr || m_program == 0 || m_stream->IsLocked() || m_streamStride == 0)
        return D3DERR_INVALIDCALL;
    if (primitiveCount == 0)
        return S_OK;
    // GL does not promise to survive reads past the end of a buffer, so they never reach it.
    const std::uint64_t lastByte = m_streamOffset + (startVertex + vertexCount - 1) * std::uint64_t{m_streamStride} +
                                   m_layout.stride;
    if (lastByte > m_stream->Length())
        return D3DERR_INVALIDCALL;

    glBindVertexArray(m_vertexArray.Get());
    BindStream();
    if (m_targetSizeLocation >= 0)
        glUniform2f(m_targetSizeLocation, static_cast<float>(m_renderTarget->Width()),
                    static_cast<float>(m_renderTarget->Height()));
    if (mode == GL_LINES && DrawSoftwareLines(startVertex, vertexCount))
        return S_OK;
    glDrawArrays(mode, static_cast<GLint>(startVertex), static_cast<GLsizei>(vertexCount));
    return S_OK;
}

void GlDevice::UseProgram(GLuint program, GLint targetSizeLocation, const LineCapture* capture)
{
    m_program = program;
    m_targetSizeLocation = program != 0 ? targetSizeLocation : -1;
    m_capture = program != 0 ? capture : nullptr;
    glUseProgram(program);
}

} // namespace lumeno
