// The device on a real headless context: render targets, canvases of every format,
// resource limits and lifetimes, scenes, and the render states it mirrors into GL.

#include "gl_test_support.h"

#include <epoxy/gl.h>

namespace lumeno::test {
namespace {

// The context is current core GL 3.3 with no window; the device starts on its back buffer
// and takes only a surface, and only as render target 0.
TEST_F(GlDeviceTest, ContextIsCoreGl33WithoutAWindowAndRenderTargetsAreSetRestoredAndRefused)
{
    EXPECT_GE(epoxy_gl_version(), 33);
    EXPECT_NE(GlInt(GL_CONTEXT_PROFILE_MASK) & GL_CONTEXT_CORE_PROFILE_BIT, 0);
    EXPECT_EQ(std::tuple(m_context->DefaultFramebuffer(), m_context->SurfaceWidth(), m_context->SurfaceHeight()),
              std::tuple(0u, 0, 0));

    std::shared_ptr<GlSurface> backBuffer, current;
    ASSERT_EQ(m_device->GetBackBuffer(&backBuffer), S_OK);
    ASSERT_EQ(m_device->GetRenderTarget(0, &current), S_OK);
    EXPECT_EQ(current, backBuffer);
    EXPECT_EQ(std::tuple(backBuffer->Width(), backBuffer->Height(), backBuffer->Format()),
              std::tuple(kWidth, kHeight, D3DFMT_A8R8G8B8));
    Canvas canvas = MakeCanvas(D3DFMT_A32B32G32R32F);
    ASSERT_EQ(m_device->SetRenderTarget(0, canvas.surface), S_OK);
    ASSERT_EQ(m_device->GetRenderTarget(0, &current), S_OK);
    EXPECT_EQ(current, canvas.surface);
    ASSERT_EQ(m_device->SetRenderTarget(0, backBuffer), S_OK);
    EXPECT_EQ(m_device->SetRenderTarget(0, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->SetRenderTarget(1, canvas.surface), D3DERR_INVALIDCALL);
    ASSERT_EQ(m_device->GetRenderTarget(0, &current), S_OK);
    EXPECT_EQ(current, backBuffer);
}

// Cleared to ARGB 0x80FF4000, read back at the format's size, then two additive draws of
// 0.75 on black: float canvases keep light beyond white, 8-bit ones saturate. Every pixel
// alike also means the two triangles of the screen quad cover each pixel exactly once.
TEST_F(GlEffectTest, EveryCanvasFormatClearsReadsBackAndAddsUpAdditiveDraws)
{
    for (D3DFORMAT format : kCanvasFormats) {
        SCOPED_TRACE(format);
        Canvas canvas = MakeCanvas(format);
        Fill(canvas, 0x80FF4000);
        glPixelStorei(GL_PACK_ALIGNMENT, 8);
        GlImage image;
        ASSERT_EQ(m_device->ReadSurface(*canvas.surface, &image), S_OK);
        EXPECT_EQ(GlInt(GL_PACK_ALIGNMENT), 8) << "the caller's pack alignment is put back";
        const bool bytes = format == D3DFMT_A8R8G8B8;
        EXPECT_EQ(std::tuple(image.width, image.height, image.format, image.rowPitch),
                  std::tuple(kWidth, kHeight, format, std::size_t{kWidth} * (bytes ? 4 : 16)));
        EXPECT_EQ(bytes ? image.bytes.size() : image.floats.size(), std::size_t{kWidth * kHeight * 4});
        const float rgba[] = {1.0f, 64.0f / 255.0f, 0.0f, 128.0f / 255.0f};
        const std::vector<float> cleared = ReadChannels(*canvas.surface);
        for (std::size_t i = 0; i < cleared.size(); ++i)
            ASSERT_NEAR(cleared[i], rgba[i % 4], format == D3DFMT_A16B16G16R16F ? 1e-3f : 1e-7f) << "channel " << i;

        Fill(canvas, 0x00000000);
        SetBlend(D3DBLEND_ONE, D3DBLEND_ONE);
        m_effect->SetFloat("g_fValue", 0.75f);
        DrawQuad("Constant");
        DrawQuad("Constant");
        for (float channel : ReadChannels(*canvas.surface))
            ASSERT_EQ(channel, bytes ? 1.0f : 1.5f);
        EXPECT_TRUE(m_device->SupportsPostPixelShaderBlending(format));
    }
    EXPECT_FALSE(m_device->SupportsPostPixelShaderBlending(42));
}

TEST_F(GlDeviceTest, RequestsOutsideWhatGlHoldsFailWithACodeAndTheLargestSizeIsMade)
{
    std::shared_ptr<GlTexture> texture;
    EXPECT_EQ(m_device->CreateTexture(100000, 100000, D3DFMT_A32B32G32R32F, &texture), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->CreateTexture(16, 8, 42, &texture), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->CreateTexture(0, 8, D3DFMT_A8R8G8B8, &texture), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->CreateTexture(16, -1, D3DFMT_A8R8G8B8, &texture), D3DERR_INVALIDCALL);
    EXPECT_EQ(texture, nullptr);
    const GLint largest = GlInt(GL_MAX_TEXTURE_SIZE);
    EXPECT_EQ(m_device->CreateTexture(largest, 1, D3DFMT_A8R8G8B8, &texture), S_OK);
    EXPECT_EQ(m_device->CreateTexture(1, largest, D3DFMT_A8R8G8B8, &texture), S_OK);
    EXPECT_EQ(m_device->CreateTexture(largest + 1, 1, D3DFMT_A8R8G8B8, &texture), D3DERR_INVALIDCALL);

    const Canvas canvas = MakeCanvas(D3DFMT_A8R8G8B8);
    std::shared_ptr<GlSurface> level1 = canvas.surface;
    EXPECT_EQ(canvas.texture->GetSurfaceLevel(1, &level1), D3DERR_INVALIDCALL);
    EXPECT_EQ(level1, nullptr);

    std::shared_ptr<GlVertexBuffer> buffer;
    EXPECT_EQ(m_device->CreateVertexBuffer(0, &buffer), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->CreateVertexBuffer(GlDevice::kMaxVertexBufferBytes + 1, &buffer), D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(buffer, nullptr);
}

TEST_F(GlDeviceTest, SurfacesOutliveTheirTextureAndResourcesOutliveTheDevice)
{
    Canvas canvas = MakeCanvas(D3DFMT_A32B32G32R32F);
    canvas.texture.reset();
    Fill(canvas, 0xFFFFFFFF);
    EXPECT_EQ(ReadChannels(*canvas.surface)[0], 1.0f);

    std::shared_ptr<GlVertexBuffer> buffer;
    ASSERT_EQ(m_device->CreateVertexBuffer(96, &buffer), S_OK);
    m_device.reset();
    void* data = nullptr;
    EXPECT_EQ(buffer->Lock(0, 0, &data, 0), D3DERR_INVALIDCALL);
    canvas = Canvas{};
    buffer.reset(); // only forgotten: the device took their GL names with it
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GlDeviceTest, ScenesDoNotNestAndPresentWithoutAWindowDoesNothing)
{
    EXPECT_EQ(m_device->EndScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->BeginScene(), S_OK);
    EXPECT_EQ(m_device->BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->EndScene(), S_OK);
    EXPECT_EQ(m_device->Present(nullptr, nullptr, 0x00FFFFFF), S_OK);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

constexpr D3DRENDERSTATETYPE kStates[] = {
    D3DRS_ZENABLE, D3DRS_FILLMODE, D3DRS_ZWRITEENABLE, D3DRS_ALPHATESTENABLE, D3DRS_SRCBLEND, D3DRS_DESTBLEND,
    D3DRS_CULLMODE, D3DRS_ALPHABLENDENABLE, D3DRS_STENCILENABLE, D3DRS_BLENDOP, D3DRS_ANTIALIASEDLINEENABLE,
};

// What GL holds for the states the device mirrors, read from GL itself.
std::vector<GLint> GlStates()
{
    std::vector<GLint> values;
    for (GLenum name : {GL_DEPTH_TEST, GL_POLYGON_MODE, GL_DEPTH_WRITEMASK, GL_BLEND, GL_CULL_FACE, GL_STENCIL_TEST,
                        GL_LINE_SMOOTH, GL_BLEND_SRC_RGB, GL_BLEND_DST_RGB, GL_BLEND_SRC_ALPHA, GL_BLEND_DST_ALPHA,
                        GL_BLEND_EQUATION_RGB, GL_BLEND_EQUATION_ALPHA, GL_CULL_FACE_MODE, GL_FRONT_FACE})
        values.push_back(GlInt(name));
    return values;
}

std::vector<std::uint32_t> DeviceStates(GlDevice& device)
{
    std::vector<std::uint32_t> values;
    for (D3DRENDERSTATETYPE state : kStates) {
        std::uint32_t value = 99;
        EXPECT_EQ(device.GetRenderState(state, &value), S_OK) << state;
        values.push_back(value);
    }
    return values;
}

// A device made anew on the context of an earlier one (which culled clockwise) starts at
// the defaults, in the device and in GL.
TEST_F(GlDeviceTest, StatesStartAtTheDefaultsOfAFreshDeviceInTheDeviceAndInGl)
{
    m_device.reset();
    ASSERT_EQ(GlDevice::Create(*m_context, 4, 4, &m_device), S_OK);
    EXPECT_EQ(DeviceStates(*m_device), (std::vector<std::uint32_t>{D3DZB_FALSE, D3DFILL_SOLID, 1, 0, D3DBLEND_ONE,
                                                                 D3DBLEND_ZERO, D3DCULL_CCW, 0, 0, D3DBLENDOP_ADD, 0}));
    EXPECT_EQ(GlStates(), (std::vector<GLint>{GL_FALSE, GL_FILL, GL_TRUE, GL_FALSE, GL_TRUE, GL_FALSE, GL_FALSE, GL_ONE,
                                              GL_ZERO, GL_ONE, GL_ZERO, GL_FUNC_ADD, GL_FUNC_ADD, GL_BACK, GL_CCW}));
}

// Each state reaches GL as it is set, particle blending (reverse subtraction) among them,
// and setting the saved values back leaves the device and GL as they were.
TEST_F(GlDeviceTest, StatesMapOntoGlAndSavingSettingAndRestoringLeavesEveryStateAndGlAsTheyWere)
{
    // Not the defaults, so that restoring has something to undo. Alpha testing stays
    // off: it is the one value the device takes.
    ASSERT_EQ(m_device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE), S_OK);
    const std::vector<GLint> before = GlStates();
    const std::vector<std::uint32_t> saved = DeviceStates(*m_device);
    const std::uint32_t changed[] = {D3DZB_FALSE, D3DFILL_WIREFRAME, 0, 0, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA,
                                     D3DCULL_NONE, 1, 1, D3DBLENDOP_REVSUBTRACT, 1};
    for (std::size_t i = 0; i < std::size(kStates); ++i)
        ASSERT_EQ(m_device->SetRenderState(kStates[i], changed[i]), S_OK);
    EXPECT_EQ(GlStates(), (std::vector<GLint>{GL_FALSE, GL_LINE, GL_FALSE, GL_TRUE, GL_FALSE, GL_TRUE, GL_TRUE, GL_SRC_ALPHA,
                                              GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA,
                                              GL_FUNC_REVERSE_SUBTRACT, GL_FUNC_REVERSE_SUBTRACT, GL_BACK, GL_CCW}));
    for (std::size_t i = 0; i < std::size(kStates); ++i)
        ASSERT_EQ(m_device->SetRenderState(kStates[i], saved[i]), S_OK) << kStates[i] << " " << saved[i];
    EXPECT_EQ(DeviceStates(*m_device), saved);
    EXPECT_EQ(GlStates(), before);
}

TEST_F(GlDeviceTest, UnknownStatesAndValuesAreRefusedAndChangeNothing)
{
    // States that core GL cannot honour are refused, not kept without effect: lighting
    // (state 137) in any value, alpha testing switched on.
    constexpr D3DRENDERSTATETYPE kLighting = 137;
    const std::vector<std::uint32_t> before = DeviceStates(*m_device);
    const std::pair<D3DRENDERSTATETYPE, std::uint32_t> refused[] = {
        {kLighting, 0}, {D3DRS_ALPHATESTENABLE, 1}, {D3DRS_SRCBLEND, 0}, {D3DRS_BLENDOP, 6},
        {D3DRS_CULLMODE, 4}, {D3DRS_FILLMODE, 0}, {999, 1}};
    for (const auto& [state, value] : refused)
        EXPECT_EQ(m_device->SetRenderState(state, value), D3DERR_INVALIDCALL) << state << " " << value;
    std::uint32_t value = 0;
    EXPECT_EQ(m_device->GetRenderState(999, &value), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->GetRenderState(kLighting, &value), D3DERR_INVALIDCALL);
    EXPECT_EQ(DeviceStates(*m_device), before);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace
} // namespace lumeno::test
