#pragma once
// The device: an OpenGL 3.3 core stand-in for the Direct3D 9 device the engine and the
// particle passes were designed against, offering what they use and no more.
//
// Usage, on a current context:
//   std::unique_ptr<GlDevice> device;
//   if (FAILED(GlDevice::Create(context, width, height, &device))) ...
//   device->CreateTexture(w, h, D3DFMT_A32B32G32R32F, &texture);  texture->GetSurfaceLevel(0, &surface);
//   device->GetRenderTarget(0, &saved); device->SetRenderTarget(0, surface); device->Clear(0x00000000);
//   device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE) ... GetRenderState to save and restore;
//   device->SetFVF(0x104); device->SetStreamSource(0, quad, 0, 24);
//   effect->SetTechnique("Scene"); effect->Begin(nullptr, D3DXFX_DONOTSAVESTATE); effect->BeginPass(0);
//   device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2); effect->EndPass(); effect->End();
//   device->SetRenderTarget(0, saved); saved.reset();                       // drop the reference
//   device->Present(&source, &destination, windowColour);                   // into the window
//
// Conventions:
// - Every target keeps its top row at GL row 0, as the image in memory does; pixel
//   coordinates (top-left origin) pass to GL unchanged and Present flips into the window.
//   The price is in clip space: +y is the top row, so vertex shaders negate y (the effect
//   layer's prelude offers D3DClipToGl).
// - Pre-transformed vertices (D3DFVF_XYZRHW) are pixel positions with pixel centres on
//   integers; the effect layer fills the uniform `lumeno_TargetSize` (vec2, pixels of render
//   target 0) and its prelude offers PretransformedToGl() to map them to clip space, so the
//   quad from -0.501 to W - 0.501 covers each pixel once and samples texel centres.
// - Textures sample with nearest filtering and clamped edges.
// - The back buffer is a canvas-sized RGBA8 target; Present blits it into the context's
//   window. Headless contexts have no window: Present does nothing and succeeds.
// - GL objects are freed, in reverse order of creation, while the context is current.
//   Textures, surfaces and buffers handed out are shared references; dropping them after
//   the device is gone only forgets their names.

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/gl/d3d_constants.h"
#include "platform/gl/gl_context.h"
#include "platform/gl/gl_image.h"
#include "platform/gl/gl_name.h"
#include "platform/gl/gl_surface.h"
#include "platform/gl/gl_vertex_buffer.h"
#include "platform/gl/render_states.h"
#include "platform/gl/vertex_format.h"
#include "platform/hresult.h"

namespace lumeno {

// A rectangle in pixels, top-left origin; right and bottom are exclusive.
struct GlRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

class GlSoftwareLines;

// Who draws blended smooth lines whose technique has a capture (effect_source.h): the
// driver, or the device's own rasteriser (gl_software_lines.h), which is the faster one on
// software rasterisers such as llvmpipe and the slower one on a GPU.
enum class LineDrawing { Driver, Software };

// What a device chooses from GL_RENDERER: its own rasteriser under Mesa's software drivers.
LineDrawing LineDrawingForRenderer(std::string_view renderer);

// A technique's compute program that does its vertex section's work for every vertex
// and captures the clip position and colour of each (effect_source.h), for the device's
// own smooth lines; filled by the effect layer.
struct LineCapture {
    GlHandle program = 0;
    GlLocation targetSize = -1; // uniform locations
    GlLocation vertexCount = -1;
    GlLocation firstTexel = -1;
    GlLocation texelsPerVertex = -1;
    GlLocation rowInvocations = -1;
    unsigned groupSize = 1; // invocations a workgroup
    static constexpr unsigned kStreamUnit = 14; // the stream as a buffer texture, beyond any effect's units
};

class GlDevice {
public:
    // The back buffer is a width x height RGBA8 target, render target 0 at the start.
    // GLERR_NOCONTEXT when the context cannot be made current, GLERR_VERSION below GL 3.3,
    // D3DERR_INVALIDCALL for a size GL cannot hold.
    [[nodiscard]] static HRESULT Create(GlContext& context, int width, int height, std::unique_ptr<GlDevice>* device);
    ~GlDevice();
    GlDevice(const GlDevice&) = delete;
    GlDevice& operator=(const GlDevice&) = delete;

    // Render-target texture of one level in D3DFMT_A8R8G8B8, D3DFMT_A16B16G16R16F or
    // D3DFMT_A32B32G32R32F. D3DERR_INVALIDCALL for another format or a size outside
    // 1 .. GL_MAX_TEXTURE_SIZE, D3DERR_OUTOFVIDEOMEMORY when GL runs out of memory.
    [[nodiscard]] HRESULT CreateTexture(int width, int height, D3DFORMAT format, std::shared_ptr<GlTexture>* texture);
    // D3DERR_INVALIDCALL for 0 bytes, D3DERR_OUTOFVIDEOMEMORY above kMaxVertexBufferBytes
    // or when GL runs out of memory.
    [[nodiscard]] HRESULT CreateVertexBuffer(std::uint32_t length, std::shared_ptr<GlVertexBuffer>* buffer);
    static constexpr std::uint32_t kMaxVertexBufferBytes = 1u << 30;

    [[nodiscard]] HRESULT GetBackBuffer(std::shared_ptr<GlSurface>* surface) const;
    // Index 0 only. Get hands out a reference the caller drops; Set takes a non-null surface
    // and sets the viewport to all of it.
    [[nodiscard]] HRESULT GetRenderTarget(unsigned index, std::shared_ptr<GlSurface>* surface) const;
    [[nodiscard]] HRESULT SetRenderTarget(unsigned index, const std::shared_ptr<GlSurface>& surface);
    // All of render target 0 to an 0xAARRGGBB colour.
    [[nodiscard]] HRESULT Clear(D3DCOLOR colour);

    [[nodiscard]] HRESULT SetRenderState(D3DRENDERSTATETYPE state, std::uint32_t value);
    [[nodiscard]] HRESULT GetRenderState(D3DRENDERSTATETYPE state, std::uint32_t* value) const;

    [[nodiscard]] HRESULT SetFVF(std::uint32_t fvf);
    [[nodiscard]] HRESULT SetStreamSource(unsigned stream, const std::shared_ptr<GlVertexBuffer>& buffer,
                                          std::uint32_t offset, std::uint32_t stride);
    // Needs a pass begun on an effect. D3DERR_INVALIDCALL without a format, stream or
    // program, with the stream locked, or with vertices past the end of the stream.
    [[nodiscard]] HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, std::uint32_t startVertex, std::uint32_t primitiveCount);
    [[nodiscard]] HRESULT BeginScene();
    [[nodiscard]] HRESULT EndScene();
    // Returns once GL has carried out every command issued so far, for timings that charge
    // the GPU's work to the code that issued it. Serialises CPU and GPU: never in a frame
    // that is not being measured.
    void Finish() const;

    // Reads a surface into memory (gl_read_back.cpp).
    [[nodiscard]] HRESULT ReadSurface(const GlSurface& surface, GlImage* image) const;
    // The source rectangle of the back buffer (null: all of it) scaled into the destination
    // rectangle of the window (null: all of it), the rest of the window cleared to the
    // window colour, then shown (gl_present.cpp).
    [[nodiscard]] HRESULT Present(const GlRect* source, const GlRect* destination, D3DCOLOR windowColour);

    bool SupportsPostPixelShaderBlending(D3DFORMAT format) const;

    // Chosen once, from the driver, when the device is made; tests, benchmarks and the
    // batch renderer may force either. Software falls back to the driver's lines for
    // states the rasteriser does not model (aliased lines, other blends) and when its
    // memory cannot be had.
    void SetLineDrawing(LineDrawing drawing) { m_lineDrawing = drawing; }
    // Draws of lines the device's own rasteriser has done, for tests of the path choice.
    std::uint64_t SoftwareLineDraws() const { return m_softwareLineDraws; }

    // For the effect layer: the program a pass draws with, and where it wants the size of
    // render target 0 (-1: nowhere), and the technique's capture, if it has one (it must
    // outlive the pass). Program 0 ends the pass.
    void UseProgram(GlHandle program, GlLocation targetSizeLocation, const LineCapture* capture = nullptr);

    GlContext& Context() const { return m_context; }
    // Expires when the device is destroyed: owners of GL objects check it before freeing.
    GlDeviceLife Life() const { return m_life; }

private:
    explicit GlDevice(GlContext& context);
    [[nodiscard]] HRESULT Init(int width, int height);
    [[nodiscard]] HRESULT MakeSurface(int width, int height, D3DFORMAT format, std::shared_ptr<GlSurface>* surface);
    void BindStream();
    // The device's own smooth lines (gl_software_lines.cpp): false when they cannot draw
    // these lines with the current states, and the driver should.
    [[nodiscard]] bool DrawSoftwareLines(std::uint32_t startVertex, std::uint64_t vertexCount);

    GlContext& m_context;
    std::shared_ptr<const int> m_life = std::make_shared<const int>(0);
    int m_maxTextureSize = 0;
    RenderStates m_states;
    // In order of creation; the destructor frees them backwards.
    GlVertexArrayName m_vertexArray;
    std::shared_ptr<GlSurface> m_backBuffer;
    std::shared_ptr<GlSurface> m_renderTarget;
    std::shared_ptr<GlVertexBuffer> m_stream;
    std::uint32_t m_streamOffset = 0;
    std::uint32_t m_streamStride = 0;
    std::uint32_t m_fvf = 0;
    VertexLayout m_layout;
    bool m_streamBound = false; // the vertex array matches stream and format
    GlHandle m_program = 0;
    GlLocation m_targetSizeLocation = -1;
    const LineCapture* m_capture = nullptr;
    LineDrawing m_lineDrawing = LineDrawing::Driver;
    std::unique_ptr<GlSoftwareLines> m_softwareLines; // made on first use
    bool m_softwareLinesFailed = false;
    std::uint64_t m_softwareLineDraws = 0;
    bool m_inScene = false;
};

} // namespace lumeno
