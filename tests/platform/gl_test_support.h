#pragma once
// A headless context with a 16x8 device for GL tests, and the helpers they share: canvases,
// vertex buffers, the screen quad and line lists, a small effect of test techniques, read-back.

#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/gl/gl_context.h"
#include "platform/gl/gl_device.h"
#include "platform/gl/gl_effect.h"
#include "support/temp_folder.h"

namespace lumeno::test {

inline constexpr int kWidth = 16;
inline constexpr int kHeight = 8;
inline constexpr D3DFORMAT kCanvasFormats[] = {D3DFMT_A8R8G8B8, D3DFMT_A16B16G16R16F, D3DFMT_A32B32G32R32F};

// Techniques: Constant (g_fValue everywhere), Gradient (a distinct value per pixel),
// TexCoord (the quad's texture coordinate as colour), Difference (g_tA - g_tB) on the
// screen quad; Line (particle format, vertex colour, x times g_fScreenAspectRatio); Lit
// and Unlit (particle format, positions in pixels of GL's window, y up; Lit with a
// capture for the device's own lines).
extern const char* const kTestEffect;

struct Canvas {
    std::shared_ptr<GlTexture> texture;
    std::shared_ptr<GlSurface> surface;
};

// One particle-format vertex: position, velocity, colour.
struct LineVertex {
    float x, y, vx, vy, r, g, b, a;
};

// The value of GL's integer state `name` at `index` (of up to four).
GLint GlInt(GLenum name, int index = 0);

// A pixel's four channels from ReadChannels' result.
std::vector<float> Pixel(const std::vector<float>& channels, int x, int y, int width = kWidth);

// The device culls screen-clockwise triangles (D3DCULL_CW), as the engine sets it up. The
// members go in reverse order: the effect and the quad before the device and its context.
class GlDeviceTest : public ::testing::Test {
protected:
    void SetUp() override;

    Canvas MakeCanvas(D3DFORMAT format, int width = kWidth, int height = kHeight);
    // Makes the canvas render target 0 and clears it to the ARGB colour.
    void Fill(const Canvas& canvas, D3DCOLOR colour);
    // A vertex buffer of exactly these bytes, written through a lock with the flags.
    std::shared_ptr<GlVertexBuffer> MakeBuffer(const void* data, std::size_t bytes, std::uint32_t flags = 0);
    // Blending on with these factors and operation.
    void SetBlend(std::uint32_t source, std::uint32_t destination, std::uint32_t op = D3DBLENDOP_ADD);
    // Draws the screen quad (corners at -0.501 and size - 0.501) with a technique of m_effect into
    // render target 0, blending as currently set.
    void DrawQuad(const char* technique);
    // Draws `lines` particle-format lines of the buffer with a technique of m_effect.
    void DrawLines(const char* technique, const std::shared_ptr<GlVertexBuffer>& buffer, std::uint32_t lines);
    // Every channel of every pixel, as floats (bytes divided by 255).
    std::vector<float> ReadChannels(const GlSurface& surface);

    std::unique_ptr<GlContext> m_context;
    std::unique_ptr<GlDevice> m_device;
    TempFolder m_folder;
    std::shared_ptr<GlVertexBuffer> m_quad;
    std::unique_ptr<GlEffect> m_effect;
};

// With kTestEffect loaded into m_effect (aspect ratio 8 / 16) and m_canvas, a 32-bit float
// canvas cleared to black, as render target 0.
class GlEffectTest : public GlDeviceTest {
protected:
    void SetUp() override;
    std::vector<float> At(int x, int y) { return Pixel(ReadChannels(*m_canvas.surface), x, y); }

    Canvas m_canvas;
};

} // namespace lumeno::test
