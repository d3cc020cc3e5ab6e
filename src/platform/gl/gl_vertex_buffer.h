#pragma once
// Dynamic, write-only vertex buffers with Lock and Unlock. A discarding lock hands out
// fresh storage, so it neither waits for nor overwrites what the GPU may still be drawing
// from the previous contents; a plain lock waits for those draws instead.

#include <cstdint>

#include "platform/gl/gl_surface.h"

namespace lumeno {

class GlVertexBuffer {
public:
    ~GlVertexBuffer();
    GlVertexBuffer(const GlVertexBuffer&) = delete;
    GlVertexBuffer& operator=(const GlVertexBuffer&) = delete;

    // Bytes offset .. offset + size (size 0: to the end) mapped for writing; flags 0 or
    // D3DLOCK_DISCARD. D3DERR_INVALIDCALL for a range outside the buffer or a second lock.
    [[nodiscard]] HRESULT Lock(std::uint32_t offset, std::uint32_t size, void** data, std::uint32_t flags);
    [[nodiscard]] HRESULT Unlock();

    std::uint32_t Length() const { return m_length; }
    bool IsLocked() const { return m_locked; }
    GlHandle Name() const { return m_buffer.Get(); }

private:
    friend class GlDevice;
    GlVertexBuffer(GlDeviceLife life, std::uint32_t length) : m_life(std::move(life)), m_length(length) {}

    GlDeviceLife m_life;
    std::uint32_t m_length;
    bool m_locked = false;
    GlBufferName m_buffer;
};

} // namespace lumeno
