// Presenting into a window, and the probe that picks the canvas format GL can blend into.

#include <epoxy/gl.h>

#include <epoxy/egl.h>

#include "gl_test_support.h"
#include "platform/format_probe.h"
#include "platform/gl/canvas_format.h"
#include "platform/threads.h"

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
    bool MakeCurrent() override { return m_inner->MakeCurrent(); }
    void DoneCurrent() override { m_inner->DoneCurrent(); }
    void SwapBuffers() override { ++swaps; }
    unsigned DefaultFramebuffer() const override { return m_framebuffer.Get(); }
    int SurfaceWidth() const override { return kWindowWidth; }
    int SurfaceHeight() const override { return kWindowHeight; }

    // The window's pixel at (x, y) from its top-left corner, as 0xRRGGBBAA.
    std::uint32_t WindowPixel(int x, int y) const
    {
        std::uint8_t p[4] = {};
        glBindFramebuffer(GL_READ_FRAMEBUFFER, m_framebuffer.Get());
        glReadPixels(x, kWindowHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
    }

    int swaps = 0;

private:
    std::unique_ptr<GlContext> m_inner; // destroyed last: the names go first
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

    const GlRect source{0, 0, 4, 4};
    constexpr std::uint32_t r = 0xFF0000FF, b = 0x0000FFFF, w = 0x102030FF; // w: the window's colour
    const struct {
        const char* what;
        GlRect to;
        std::vector<std::tuple<int, int, std::uint32_t>> pixels;
    } cases[] = {
        {"unscaled", {10, 5, 14, 9},
         {{10, 5, r}, {13, 6, r}, {10, 7, b}, {13, 8, b}, {9, 5, w}, {10, 9, w}, {39, 29, w}}},
        // Pixel 5k + 2 samples the centre of texel k.
        {"scaled 5 times", {0, 0, 20, 20},
         {{2, 2, r}, {17, 7, r}, {2, 12, b}, {17, 17, b}, {20, 2, w}, {2, 20, w}}},
        {"off the top-left corner, at its scale", {-10, -10, 10, 10}, {{2, 2, b}, {7, 7, b}, {12, 2, w}}},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(device->Present(&source, &c.to, 0x00102030), S_OK);
        for (const auto& [x, y, colour] : c.pixels)
            EXPECT_EQ(window.WindowPixel(x, y), colour) << c.what << " at " << x << "," << y;
    }
    EXPECT_EQ(window.swaps, 3);

    // The device draws into its render target again afterwards.
    std::shared_ptr<GlSurface> target;
    ASSERT_EQ(device->GetRenderTarget(0, &target), S_OK);
    EXPECT_EQ(static_cast<GLuint>(GlInt(GL_DRAW_FRAMEBUFFER_BINDING)), target->Framebuffer());
}

// The probe answers 32-bit floats on this driver, leaving no context current where none
// was. Restore Default probes while the window's context is current: the answer must not
// change, the window's context must still be current, and GL's state is put back.
TEST_F(GlDeviceTest, FormatProbeAnswers32BitFloatsAndKeepsTheCallersContextAndGlState)
{
    m_context->DoneCurrent();
    ASSERT_EQ(eglGetCurrentContext(), EGL_NO_CONTEXT);
    const CanvasFormatProbe probed = ProbeBlendableCanvasFormatNow();
    EXPECT_EQ(probed.format, D3DFMT_A32B32G32R32F);
    EXPECT_EQ(probed.fallbackReason, "");
    EXPECT_EQ(eglGetCurrentContext(), EGL_NO_CONTEXT);
    ASSERT_TRUE(m_context->MakeCurrent());
    const EGLContext callers = eglGetCurrentContext();
    ASSERT_NE(callers, EGL_NO_CONTEXT);
    EXPECT_EQ(ProbeBlendableCanvasFormatNow().format, D3DFMT_A32B32G32R32F);
    EXPECT_EQ(ProbeBlendableCanvasFormat(), D3DFMT_A32B32G32R32F);
    EXPECT_EQ(ProbeBlendableCanvasFormatReason(), "");
    EXPECT_EQ(eglGetCurrentContext(), callers);

    const GLint framebuffer = GlInt(GL_DRAW_FRAMEBUFFER_BINDING);
    for (D3DFORMAT format : kCanvasFormats)
        EXPECT_TRUE(BlendableByProbeRender(format)) << format;
    EXPECT_FALSE(BlendableByProbeRender(42));
    EXPECT_EQ(GlInt(GL_DRAW_FRAMEBUFFER_BINDING), framebuffer);
    EXPECT_EQ(std::pair(GlInt(GL_VIEWPORT, 2), GlInt(GL_VIEWPORT, 3)), std::pair(kWidth, kHeight));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));

    const Canvas canvas = MakeCanvas(D3DFMT_A32B32G32R32F);
    Fill(canvas, 0xFF00FF00);
    EXPECT_EQ(Pixel(ReadChannels(*canvas.surface), 3, 3), (std::vector<float>{0, 1, 0, 1}));
}

// With no thread to probe on, the 8-bit fallback comes with the system's reason.
TEST(FormatProbe, FailedThreadStartFallsBackTo8BitsAndSaysWhy)
{
    FailNextThreadStartsForTesting(1);
    const CanvasFormatProbe probed = ProbeBlendableCanvasFormatNow();
    FailNextThreadStartsForTesting(0);
    EXPECT_EQ(probed.format, D3DFMT_A8R8G8B8);
    const std::string why = std::make_error_code(std::errc::resource_unavailable_try_again).message();
    EXPECT_NE(probed.fallbackReason.find(why), std::string::npos) << probed.fallbackReason;
}

} // namespace
} // namespace lumeno::test
