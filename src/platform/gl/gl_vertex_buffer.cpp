#include "platform/gl/gl_vertex_buffer.h"

#include <epoxy/gl.h>

#include "platform/gl/gl_error.h"

namespace lumeno {

GlVertexBuffer::~GlVertexBuffer()
{
    if (m_life.expired())
        m_buffer.Abandon();
    m_buffer.Reset(); // deleting a mapped buffer unmaps it
}

HRESULT GlVertexBuffer::Lock(std::uint32_t offset, std::uint32_t size, void** data, std::uint32_t flags)
{
    if (data == nullptr)
        return D3DERR_INVALIDCALL;
    *data = nullptr;
    if (m_locked || m_life.expired() || offset > m_length)
        return D3DERR_INVALIDCALL;
    if (size == 0)
        size = m_length - offset;
    if (size == 0 || size > m_length - offset)
        return D3DERR_INVALIDCALL;

    glBindBuffer(GL_ARRAY_BUFFER, m_buffer.Get());
    GLbitfield access = GL_MAP_WRITE_BIT;
    if ((flags & D3DLOCK_DISCARD) != 0) {
        // Invalidation alone: draws already queued keep the old contents (the driver renames
        // the storage or waits for them), and the mapping points at the storage itself.
        // Orphaning with glBufferData(nullptr) first cost 10x a memcpy on llvmpipe (fresh
        // pages every frame: 278 ms against 22 ms for 216 MB); mapping with invalidation
        // came within 1.2x of it (BM_Upload, BM_UploadWay). A GPU driver may rank them
        // otherwise.
        access |= GL_MAP_INVALIDATE_BUFFER_BIT;
    }
    void* mapped = glMapBufferRange(GL_ARRAY_BUFFER, static_cast<GLintptr>(offset), static_cast<GLsizeiptr>(size), access);
    const HRESULT error = TakeGlError();
    if (mapped == nullptr || FAILED(error)) {
        if (mapped != nullptr)
            glUnmapBuffer(GL_ARRAY_BUFFER);
        return FAILED(error) ? error : D3DERR_INVALIDCALL;
    }
    m_locked = true;
    *data = mapped;
    return S_OK;
}

HRESULT GlVertexBuffer::Unlock()
{
    if (!m_locked || m_life.expired())
        return D3DERR_INVALIDCALL;
    m_locked = false;
    glBindBuffer(GL_ARRAY_BUFFER, m_buffer.Get());
    // False means the storage was lost while mapped (a display mode change): the data is gone.
    return glUnmapBuffer(GL_ARRAY_BUFFER) == GL_TRUE ? S_OK : D3DERR_DEVICELOST;
}

} // namespace lumeno
