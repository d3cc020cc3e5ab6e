#include <epoxy/gl.h>

#include "gl_test_support.h"

namespace lumeno::test {
namespace {

TEST(HeadlessContext, IsCurrentCoreGl33WithNoWindow)
{
    std::string error;
    std::unique_ptr<GlContext> context = CreateHeadlessContext(&error);
    ASSERT_NE(context, nullptr) << error;
    EXPECT_GE(epoxy_gl_version(), 33);
    GLint profile = 0;
    glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile);
    EXPECT_NE(profile & GL_CONTEXT_CORE_PROFILE_BIT, 0);
    EXPECT_EQ(context->DefaultFramebuffer(), 0u);
    EXPECT_EQ(context->SurfaceWidth(), 0);
    EXPECT_EQ(context->SurfaceHeight(), 0);
}


TEST_F(GlDeviceTest, StartsWithTheBackBufferAsRenderTarget)
{
    std::shared_ptr<GlSurface> backBuffer;
    std::shared_ptr<GlSurface> target;
    ASSERT_EQ(m_device->GetBackBuffer(&backBuffer), S_OK);
    ASSERT_EQ(m_device->GetRenderTarget(0, &target), S_OK);
    EXPECT_EQ(target, backBuffer);
    EXPECT_EQ(backBuffer->Width(), kWidth);
    EXPECT_EQ(backBuffer->Height(), kHeight);
    EXPECT_EQ(backBuffer->Format(), D3DFMT_A8R8G8B8);
}

TEST_F(GlDeviceTest, RenderTargetIsSetReadBackAndRestored)
{
    Canvas canvas = MakeCanvas(D3DFMT_A32B32G32R32F);
    std::shared_ptr<GlSurface> saved;
    ASSERT_EQ(m_device->GetRenderTarget(0, &saved), S_OK);
    ASSERT_EQ(m_device->SetRenderTarget(0, canvas.surface), S_OK);
    std::shared_ptr<GlSurface> current;
    ASSERT_EQ(m_device->GetRenderTarget(0, &current), S_OK);
    EXPECT_EQ(current, canvas.surface);
    ASSERT_EQ(m_device->SetRenderTarget(0, saved), S_OK);
    ASSERT_EQ(m_device->GetRenderTarget(0, &current), S_OK);
    EXPECT_EQ(current, saved);

    EXPECT_EQ(m_device->SetRenderTarget(0, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->SetRenderTarget(1, canvas.surface), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->GetRenderTarget(0, &current), S_OK);
    EXPECT_EQ(current, saved);
}

class CanvasFormat : public GlDeviceTest, public ::testing::WithParamInterface<D3DFORMAT> {};

TEST_P(CanvasFormat, ClearsToTheArgbColourAndReadsBack)
{
    Canvas canvas = MakeCanvas(GetParam());
    ASSERT_NE(canvas.surface, nullptr);
    ASSERT_EQ(m_device->SetRenderTarget(0, canvas.surface), S_OK);
    ASSERT_EQ(m_device->Clear(0x80FF4000), S_OK);

    GlImage image;
    ASSERT_EQ(m_device->ReadSurface(*canvas.surface, &image), S_OK);
    EXPECT_EQ(image.width, kWidth);
    EXPECT_EQ(image.height, kHeight);
    EXPECT_EQ(image.format, GetParam());
    if (GetParam() == D3DFMT_A8R8G8B8) {
        EXPECT_EQ(image.rowPitch, std::size_t{kWidth * 4});
        ASSERT_EQ(image.bytes.size(), std::size_t{kWidth * kHeight * 4});
        for (std::size_t i = 0; i < image.bytes.size(); i += 4) {
            EXPECT_EQ(image.bytes[i], 255);
            EXPECT_EQ(image.bytes[i + 1], 64);
            EXPECT_EQ(image.bytes[i + 2], 0);
            EXPECT_EQ(image.bytes[i + 3], 128);
        }
    } else {
        EXPECT_EQ(image.rowPitch, std::size_t{kWidth * 16});
        ASSERT_EQ(image.floats.size(), std::size_t{kWidth * kHeight * 4});
        const float tolerance = GetParam() == D3DFMT_A16B16G16R16F ? 1e-3f : 1e-7f;
        for (std::size_t i = 0; i < image.floats.size(); i += 4) {
            EXPECT_EQ(image.floats[i], 1.0f);
            EXPECT_NEAR(image.floats[i + 1], 64.0f / 255.0f, tolerance);
            EXPECT_EQ(image.floats[i + 2], 0.0f);
            EXPECT_NEAR(image.floats[i + 3], 128.0f / 255.0f, tolerance);
        }
    }
}

TEST_P(CanvasFormat, TwoOverlappingAdditiveDrawsAddUp)
{
    Canvas canvas = MakeCanvas(GetParam());
    std::unique_ptr<GlEffect> effect = LoadEffect(kTestEffect);
    ASSERT_NE(effect, nullptr);
    ASSERT_EQ(m_device->SetRenderTarget(0, canvas.surface), S_OK);
    ASSERT_EQ(m_device->Clear(0x00000000), S_OK);
    ASSERT_EQ(m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1), S_OK);
    ASSERT_EQ(m_device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE), S_OK);
    ASSERT_EQ(m_device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE), S_OK);
    effect->SetFloat("g_fValue", 0.75f);
    DrawQuad(*effect, "Constant");
    DrawQuad(*effect, "Constant");

    // Float canvases keep light beyond white; 8-bit ones saturate.
    const float expected = GetParam() == D3DFMT_A8R8G8B8 ? 1.0f : 1.5f;
    for (float channel : ReadChannels(*canvas.surface))
        ASSERT_EQ(channel, expected);
}

INSTANTIATE_TEST_SUITE_P(GlDevice, CanvasFormat, ::testing::ValuesIn(kCanvasFormats));

TEST_F(GlDeviceTest, TextureRequestsOutsideWhatGlHoldsFailWithACode)
{
    std::shared_ptr<GlTexture> texture;
    EXPECT_EQ(m_device->CreateTexture(100000, 100000, D3DFMT_A32B32G32R32F, &texture), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->CreateTexture(16, 8, 42, &texture), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->CreateTexture(0, 8, D3DFMT_A8R8G8B8, &texture), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->CreateTexture(16, -1, D3DFMT_A8R8G8B8, &texture), D3DERR_INVALIDCALL);
    EXPECT_EQ(texture, nullptr);

    Canvas canvas = MakeCanvas(D3DFMT_A8R8G8B8);
    std::shared_ptr<GlSurface> level1 = canvas.surface;
    EXPECT_EQ(canvas.texture->GetSurfaceLevel(1, &level1), D3DERR_INVALIDCALL);
    EXPECT_EQ(level1, nullptr);
}

TEST_F(GlDeviceTest, VertexBufferSizesOutsideTheLimitsFailWithACode)
{
    std::shared_ptr<GlVertexBuffer> buffer;
    EXPECT_EQ(m_device->CreateVertexBuffer(0, &buffer), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->CreateVertexBuffer(GlDevice::kMaxVertexBufferBytes + 1, &buffer), D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(buffer, nullptr);
}

TEST_F(GlDeviceTest, SurfaceOutlivesItsTextureReference)
{
    Canvas canvas = MakeCanvas(D3DFMT_A32B32G32R32F);
    canvas.texture.reset();
    ASSERT_EQ(m_device->SetRenderTarget(0, canvas.surface), S_OK);
    ASSERT_EQ(m_device->Clear(0xFFFFFFFF), S_OK);
    EXPECT_EQ(ReadChannels(*canvas.surface)[0], 1.0f);
}

TEST_F(GlDeviceTest, ResourcesDroppedAfterTheDeviceAreOnlyForgotten)
{
    Canvas canvas = MakeCanvas(D3DFMT_A8R8G8B8);
    std::shared_ptr<GlVertexBuffer> buffer;
    ASSERT_EQ(m_device->CreateVertexBuffer(96, &buffer), S_OK);
    m_device.reset();
    void* data = nullptr;
    EXPECT_EQ(buffer->Lock(0, 0, &data, 0), D3DERR_INVALIDCALL);
    canvas = Canvas{};
    buffer.reset();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GlDeviceTest, ScenesDoNotNest)
{
    EXPECT_EQ(m_device->EndScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->BeginScene(), S_OK);
    EXPECT_EQ(m_device->BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->EndScene(), S_OK);
}

TEST_F(GlDeviceTest, PresentWithoutAWindowDoesNothing)
{
    EXPECT_EQ(m_device->Present(nullptr, nullptr, 0x00FFFFFF), S_OK);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GlDeviceTest, SupportsBlendingIntoEveryCanvasFormatOnThisDriver)
{
    for (D3DFORMAT format : kCanvasFormats)
        EXPECT_TRUE(m_device->SupportsPostPixelShaderBlending(format)) << format;
    EXPECT_FALSE(m_device->SupportsPostPixelShaderBlending(42));
}

} // namespace
} // namespace lumeno::test
