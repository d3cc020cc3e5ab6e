#include "platform/gl/gl_device.h"

#include <epoxy/gl.h>

#include <new>

#include "platform/gl/canvas_format.h"
#include "platform/gl/gl_error.h"
#include "platform/gl/gl_software_lines.h"

namespace lumeno {

GlDevice::GlDevice(GlContext& context) : m_context(context) {}

HRESULT GlDevice::Create(GlContext& context, int width, int height, std::unique_ptr<GlDevice>* device)
{
    if (device == nullptr)
        return D3DERR_INVALIDCALL;
    device->reset();
    if (!context.MakeCurrent())
        return GLERR_NOCONTEXT;
    if (!CurrentContextHasGl33())
        return GLERR_VERSION;
    try {
        std::unique_ptr<GlDevice> created(new GlDevice(context));
        const HRESULT result = created->Init(width, height);
        if (FAILED(result))
            return result;
        *device = std::move(created);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT GlDevice::Init(int width, int height)
{
    (void)TakeGlError(); // whatever the context's owner left behind is not ours
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &m_maxTextureSize);
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    m_lineDrawing = LineDrawingForRenderer(renderer != nullptr ? renderer : "");
    m_vertexArray = GenVertexArray();
    glBindVertexArray(m_vertexArray.Get());
    const HRESULT result = MakeSurface(width, height, D3DFMT_A8R8G8B8, &m_backBuffer);
    if (FAILED(result))
        return result;
    m_states.ApplyAll();
    return SetRenderTarget(0, m_backBuffer);
}

GlDevice::~GlDevice()
{
    // Our names are only valid in our context; if it cannot be made current they are lost
    // with it, so they are forgotten rather than deleted in some other context.
    const bool current = m_context.MakeCurrent();
    if (m_program != 0 && current)
        glUseProgram(0);
    if (!current)
        m_life.reset();
    if (m_softwareLines && !current)
        m_softwareLines->Abandon();
    m_softwareLines.reset();
    m_stream.reset();
    m_renderTarget.reset();
    m_backBuffer.reset();
    if (!current)
        m_vertexArray.Abandon();
    m_vertexArray.Reset();
    m_life.reset();
}

HRESULT GlDevice::MakeSurface(int width, int height, D3DFORMAT format, std::shared_ptr<GlSurface>* surface)
{
    const CanvasFormatInfo* info = FindCanvasFormat(format);
    if (info == nullptr || width <= 0 || height <= 0 || width > m_maxTextureSize || height > m_maxTextureSize)
        return D3DERR_INVALIDCALL;
    std::shared_ptr<GlSurface> made(new GlSurface(m_life, width, height, format));
    made->m_texture = GenTexture();
    glBindTexture(GL_TEXTURE_2D, made->m_texture.Get());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(info->internalFormat), width, height, 0, GL_RGBA,
                 info->readType, nullptr);
    glBindTexture(GL_TEXTURE_2D, 0);
    HRESULT result = TakeGlError();
    if (FAILED(result))
        return result;

    made->m_framebuffer = GenFramebuffer();
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, made->m_framebuffer.Get());
    glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, made->m_texture.Get(), 0);
    const GLenum status = glCheckFramebufferStatus(GL_DRAW_FRAMEBUFFER);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, m_renderTarget ? m_renderTarget->Framebuffer() : 0);
    result = TakeGlError();
    if (FAILED(result))
        return result;
    if (status != GL_FRAMEBUFFER_COMPLETE)
        return D3DERR_NOTAVAILABLE;
    *surface = std::move(made);
    return S_OK;
}

HRESULT GlDevice::CreateTexture(int width, int height, D3DFORMAT format, std::shared_ptr<GlTexture>* texture)
{
    if (texture == nullptr)
        return D3DERR_INVALIDCALL;
    texture->reset();
    try {
        std::shared_ptr<GlSurface> level0;
        const HRESULT result = MakeSurface(width, height, format, &level0);
        if (FAILED(result))
            return result;
        texture->reset(new GlTexture(std::move(level0)));
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT GlDevice::CreateVertexBuffer(std::uint32_t length, std::shared_ptr<GlVertexBuffer>* buffer)
{
    if (buffer == nullptr || length == 0)
        return D3DERR_INVALIDCALL;
    buffer->reset();
    if (length > kMaxVertexBufferBytes)
        return D3DERR_OUTOFVIDEOMEMORY;
    try {
        std::shared_ptr<GlVertexBuffer> made(new GlVertexBuffer(m_life, length));
        made->m_buffer = GenBuffer();
        glBindBuffer(GL_ARRAY_BUFFER, made->m_buffer.Get());
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(length), nullptr, GL_STREAM_DRAW);
        const HRESULT result = TakeGlError();
        if (FAILED(result))
            return result;
        *buffer = std::move(made);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT GlDevice::GetBackBuffer(std::shared_ptr<GlSurface>* surface) const
{
    if (surface == nullptr)
        return D3DERR_INVALIDCALL;
    *surface = m_backBuffer;
    return S_OK;
}

HRESULT GlDevice::GetRenderTarget(unsigned index, std::shared_ptr<GlSurface>* surface) const
{
    if (surface == nullptr || index != 0)
        return D3DERR_INVALIDCALL;
    *surface = m_renderTarget;
    return S_OK;
}

HRESULT GlDevice::SetRenderTarget(unsigned index, const std::shared_ptr<GlSurface>& surface)
{
    if (index != 0 || surface == nullptr || surface->m_life.lock() != m_life)
        return D3DERR_INVALIDCALL;
    m_renderTarget = surface;
    glBindFramebuffer(GL_FRAMEBUFFER, surface->Framebuffer());
    glViewport(0, 0, surface->Width(), surface->Height());
    return S_OK;
}

HRESULT GlDevice::Clear(D3DCOLOR colour)
{
    const auto channel = [colour](int shift) { return static_cast<float>((colour >> shift) & 0xFFu) / 255.0f; };
    glClearColor(channel(16), channel(8), channel(0), channel(24));
    glClear(GL_COLOR_BUFFER_BIT);
    return S_OK;
}

HRESULT GlDevice::SetRenderState(D3DRENDERSTATETYPE state, std::uint32_t value) { return m_states.Set(state, value); }

HRESULT GlDevice::GetRenderState(D3DRENDERSTATETYPE state, std::uint32_t* value) const
{
    return m_states.Get(state, value);
}

bool GlDevice::SupportsPostPixelShaderBlending(D3DFORMAT format) const
{
    return lumeno::SupportsPostPixelShaderBlending(format);
}

HRESULT GlDevice::BeginScene()
{
    if (m_inScene)
        return D3DERR_INVALIDCALL;
    m_inScene = true;
    return S_OK;
}

HRESULT GlDevice::EndScene()
{
    if (!m_inScene)
        return D3DERR_INVALIDCALL;
    m_inScene = false;
    glFlush(); // let the GPU start on the frame while the simulation runs
    return S_OK;
}

void GlDevice::Finish() const { glFinish(); }

} // namespace lumeno
