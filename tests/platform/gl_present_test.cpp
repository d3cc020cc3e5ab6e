#include <epoxy/egl.h>
#include <epoxy/gl.h>

#include "gl_test_support.h"
#include "platform/format_probe.h"
#include "platform/gl/canvas_format.h"

namespace lumeno::test {
namespace {

constexpr int kWindowWidth = 40;
constexpr int kWindowHeight = 30;

// A headless context that pretends to own a 40x30 window: its "window" is a framebuffer
// object whose rows are read back bottom first, as a real window's are.
class FakeWindowContext final : public GlContext {
public:
    explicit FakeWindowContext(std::unique_ptr<GlContext> inner) : m_inner(std::move(inner))
    {
        m_texture = GenTexture();
        glBindTexture(GL_TEXTURE_2D, m_texture.Get());
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kWindowWidth, kWindowHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        m_framebuffer = GenFramebuffer();
        glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer.Get());
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, m_texture.Get(), 0);
    }
    ~FakeWindowContext() override
    {
        m_framebuffer.Reset();
        m_texture.Reset();
    }
    bool MakeCurrent() override { return m_inner->MakeCurrent(); }
    void DoneCurrent() override { m_inner->DoneCurrent(); }
    void SwapBuffers() override { ++swaps; }
    unsigned DefaultFramebuffer() const override { return m_framebuffer.Get(); }
    int SurfaceWidth() const override { return kWindowWidth; }
    int SurfaceHeight() const override { return kWindowHeight; }

    // The window's pixel at (x, y) from its top-left corner.
    std::vector<std::uint8_t> WindowPixel(int x, int y) const
    {
        std::vector<std::uint8_t> pixel(4);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, m_framebuffer.Get());
        glReadPixels(x, kWindowHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data());
        return pixel;
    }

    int swaps = 0;

private:
    std::unique_ptr<GlContext> m_inner;
    GlTextureName m_texture;
    GlFramebufferName m_framebuffer;
};

TEST(GlPresent, BlitsTheSourceRectangleUprightIntoTheDestinationAndClearsTheRest)
{
    std::string error;
    std::unique_ptr<GlContext> headless = CreateHeadlessContext(&error);
    ASSERT_NE(headless, nullptr) << error;
    FakeWindowContext window(std::move(headless));
    std::unique_ptr<GlDevice> device;
    ASSERT_EQ(GlDevice::Create(window, 4, 4, &device), S_OK);

    // Back buffer: top two rows red, bottom two blue.
    ASSERT_EQ(device->Clear(0xFF0000FF), S_OK);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 4, 2); // GL rows 0 and 1 are the top rows
    ASSERT_EQ(device->Clear(0xFFFF0000), S_OK);
    glDisable(GL_SCISSOR_TEST);
    const std::vector<std::uint8_t> red = {255, 0, 0, 255};
    const std::vector<std::uint8_t> blue = {0, 0, 255, 255};
    const std::vector<std::uint8_t> windowColour = {0x10, 0x20, 0x30, 255};

    const GlRect source{0, 0, 4, 4};
    const GlRect unscaled{10, 5, 14, 9};
    ASSERT_EQ(device->Present(&source, &unscaled, 0x00102030), S_OK);
    EXPECT_EQ(window.swaps, 1);
    EXPECT_EQ(window.WindowPixel(10, 5), red);
    EXPECT_EQ(window.WindowPixel(13, 6), red);
    EXPECT_EQ(window.WindowPixel(10, 7), blue);
    EXPECT_EQ(window.WindowPixel(13, 8), blue);
    EXPECT_EQ(window.WindowPixel(9, 5), windowColour);
    EXPECT_EQ(window.WindowPixel(10, 9), windowColour);
    EXPECT_EQ(window.WindowPixel(39, 29), windowColour);

    // Scaled 5 times; pixel 5k + 2 samples the centre of texel k.
    const GlRect scaled{0, 0, 20, 20};
    ASSERT_EQ(device->Present(&source, &scaled, 0x00102030), S_OK);
    EXPECT_EQ(window.WindowPixel(2, 2), red);
    EXPECT_EQ(window.WindowPixel(17, 7), red);
    EXPECT_EQ(window.WindowPixel(2, 12), blue);
    EXPECT_EQ(window.WindowPixel(17, 17), blue);
    EXPECT_EQ(window.WindowPixel(20, 2), windowColour);
    EXPECT_EQ(window.WindowPixel(2, 20), windowColour);

    // Hanging off the window's top-left corner, the canvas keeps its scale.
    const GlRect offside{-10, -10, 10, 10};
    ASSERT_EQ(device->Present(&source, &offside, 0x00102030), S_OK);
    EXPECT_EQ(window.WindowPixel(2, 2), blue);
    EXPECT_EQ(window.WindowPixel(7, 7), blue);
    EXPECT_EQ(window.WindowPixel(12, 2), windowColour);

    // The device draws into its render target again afterwards.
    std::shared_ptr<GlSurface> target;
    ASSERT_EQ(device->GetRenderTarget(0, &target), S_OK);
    GLint drawFramebuffer = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawFramebuffer);
    EXPECT_EQ(static_cast<GLuint>(drawFramebuffer), target->Framebuffer());
    device.reset();
}

TEST(FormatProbe, Answers32BitFloatsOnThisDriverAndLeavesNoContextCurrent)
{
    EXPECT_EQ(ProbeBlendableCanvasFormatNow(), D3DFMT_A32B32G32R32F);
    EXPECT_EQ(eglGetCurrentContext(), EGL_NO_CONTEXT);
}

// Restore Default probes while the window's context is current: the answer must not
// change, and the window's context must still be the current one afterwards.
TEST_F(GlDeviceTest, FormatProbeGivesTheSameAnswerWithTheCallersContextCurrentAndKeepsIt)
{
    const EGLContext callers = eglGetCurrentContext();
    ASSERT_NE(callers, EGL_NO_CONTEXT);
    EXPECT_EQ(ProbeBlendableCanvasFormatNow(), D3DFMT_A32B32G32R32F);
    EXPECT_EQ(ProbeBlendableCanvasFormat(), D3DFMT_A32B32G32R32F);
    EXPECT_EQ(eglGetCurrentContext(), callers);

    const Canvas canvas = MakeCanvas(D3DFMT_A32B32G32R32F);
    ASSERT_EQ(m_device->SetRenderTarget(0, canvas.surface), S_OK);
    ASSERT_EQ(m_device->Clear(0xFF00FF00), S_OK);
    EXPECT_EQ(Pixel(ReadChannels(*canvas.surface), 3, 3), (std::vector<float>{0, 1, 0, 1}));
}

TEST_F(GlDeviceTest, ProbeRenderBlendsEveryCanvasFormatAndPutsGlStateBack)
{
    GLint before = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &before);
    for (D3DFORMAT format : kCanvasFormats)
        EXPECT_TRUE(BlendableByProbeRender(format)) << format;
    EXPECT_FALSE(BlendableByProbeRender(42));
    GLint after = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &after);
    EXPECT_EQ(after, before);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], kWidth);
    EXPECT_EQ(viewport[3], kHeight);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

} // namespace
} // namespace lumeno::test
