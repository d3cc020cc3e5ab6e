#pragma once
// A headless context with a 16x8 device for GL tests, and the helpers they share: canvases,
// the screen quad, a small effect of test techniques, read-back.

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
// TexCoord (the quad's texture coordinate as colour), Copy (g_tSource), Difference
// (g_tA - g_tB) on the screen quad; Line (particle format, vertex colour).
extern const char* const kTestEffect;

struct Canvas {
    std::shared_ptr<GlTexture> texture;
    std::shared_ptr<GlSurface> surface;
};

// The device culls screen-clockwise triangles (D3DCULL_CW), as the engine sets it up.
class GlDeviceTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    Canvas MakeCanvas(D3DFORMAT format, int width = kWidth, int height = kHeight);
    // The screen quad of the canvas size, corners at -0.501 and size - 0.501.
    std::shared_ptr<GlVertexBuffer> MakeQuad(int width = kWidth, int height = kHeight);
    // Writes the text to a file in a fresh folder and loads it; fails the test on error.
    std::unique_ptr<GlEffect> LoadEffect(const std::string& text);
    // Draws the quad with a technique into render target 0 (blending as currently set).
    void DrawQuad(GlEffect& effect, const char* technique);
    // Every channel of every pixel, as floats (bytes divided by 255).
    std::vector<float> ReadChannels(const GlSurface& surface);

    std::unique_ptr<GlContext> m_context;
    std::unique_ptr<GlDevice> m_device;
    TempFolder m_folder;
    std::shared_ptr<GlVertexBuffer> m_quad;
};

// A pixel's four channels from ReadChannels' result.
std::vector<float> Pixel(const std::vector<float>& channels, int x, int y, int width = kWidth);

} // namespace lumeno::test
