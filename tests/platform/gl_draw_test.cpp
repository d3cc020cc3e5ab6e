#include <cstring>

#include "gl_test_support.h"

namespace lumeno::test {
namespace {

// One particle-format vertex: position, velocity, colour.
struct LineVertex {
    float x, y, vx, vy, r, g, b, a;
};

class GlDraw : public GlDeviceTest {
protected:
    void SetUp() override
    {
        GlDeviceTest::SetUp();
        if (HasFatalFailure())
            return;
        m_effect = LoadEffect(kTestEffect);
        ASSERT_NE(m_effect, nullptr);
        m_canvas = MakeCanvas(D3DFMT_A32B32G32R32F);
        ASSERT_EQ(m_device->SetRenderTarget(0, m_canvas.surface), S_OK);
        ASSERT_EQ(m_device->Clear(0x00000000), S_OK);
    }
    void TearDown() override
    {
        m_effect.reset();
        m_canvas = Canvas{};
        GlDeviceTest::TearDown();
    }

    void AddBlending()
    {
        ASSERT_EQ(m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1), S_OK);
        ASSERT_EQ(m_device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE), S_OK);
        ASSERT_EQ(m_device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE), S_OK);
    }

    void WriteLines(GlVertexBuffer& buffer, const std::vector<LineVertex>& vertices, std::uint32_t flags)
    {
        void* data = nullptr;
        ASSERT_EQ(buffer.Lock(0, 0, &data, flags), S_OK);
        std::memcpy(data, vertices.data(), vertices.size() * sizeof(LineVertex));
        ASSERT_EQ(buffer.Unlock(), S_OK);
    }

    void DrawLines(const std::shared_ptr<GlVertexBuffer>& buffer, std::uint32_t lines)
    {
        ASSERT_EQ(m_device->SetFVF(D3DFVF_TEX3 | D3DFVF_TEXCOORDSIZE4(2)), S_OK);
        ASSERT_EQ(m_device->SetStreamSource(0, buffer, 0, 32), S_OK);
        ASSERT_EQ(m_effect->SetTechnique("Line"), S_OK);
        m_effect->SetFloat("g_fScreenAspectRatio", 0.5f); // 8 / 16
        ASSERT_EQ(m_effect->BeginPass(0), S_OK);
        ASSERT_EQ(m_device->DrawPrimitive(D3DPT_LINELIST, 0, lines), S_OK);
        ASSERT_EQ(m_effect->EndPass(), S_OK);
    }

    std::unique_ptr<GlEffect> m_effect;
    Canvas m_canvas;
};

TEST_F(GlDraw, ScreenQuadCoversEveryPixelExactlyOnce)
{
    AddBlending();
    ASSERT_EQ(m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW), S_OK); // as the canvas pass draws it
    m_effect->SetFloat("g_fValue", 0.25f);
    DrawQuad(*m_effect, "Constant");
    for (float channel : ReadChannels(*m_canvas.surface))
        ASSERT_EQ(channel, 0.25f);
}

TEST_F(GlDraw, ScreenQuadInterpolatesTexelCentresFromTheTopLeft)
{
    DrawQuad(*m_effect, "TexCoord");
    const std::vector<float> channels = ReadChannels(*m_canvas.surface);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const std::vector<float> pixel = Pixel(channels, x, y);
            EXPECT_NEAR(pixel[0], (x + 0.501f) / kWidth, 1e-5f) << x << "," << y;
            EXPECT_NEAR(pixel[1], (y + 0.501f) / kHeight, 1e-5f) << x << "," << y;
        }
    }
}

TEST_F(GlDraw, CopyThroughTheScreenQuadGivesIdenticalTexels)
{
    for (D3DFORMAT format : kCanvasFormats) {
        Canvas source = MakeCanvas(format);
        Canvas copy = MakeCanvas(format);
        ASSERT_EQ(m_device->SetRenderTarget(0, source.surface), S_OK);
        DrawQuad(*m_effect, "Gradient");
        ASSERT_EQ(m_device->SetRenderTarget(0, copy.surface), S_OK);
        m_effect->SetTexture("g_tSource", source.texture);
        DrawQuad(*m_effect, "Copy");

        const std::vector<float> original = ReadChannels(*source.surface);
        EXPECT_EQ(ReadChannels(*copy.surface), original) << format;
        // Rows come back top first, as the pixel rows were drawn.
        EXPECT_NEAR(Pixel(original, 3, 2)[2], (3 + 16 * 2) / 128.0f, 1.0f / 255.0f) << format;
    }
}

TEST_F(GlDraw, TwoSamplersReadTheirOwnTextures)
{
    Canvas a = MakeCanvas(D3DFMT_A32B32G32R32F);
    Canvas b = MakeCanvas(D3DFMT_A32B32G32R32F);
    ASSERT_EQ(m_device->SetRenderTarget(0, a.surface), S_OK);
    ASSERT_EQ(m_device->Clear(0xFFFFFFFF), S_OK);
    ASSERT_EQ(m_device->SetRenderTarget(0, b.surface), S_OK);
    ASSERT_EQ(m_device->Clear(0x40404040), S_OK);
    ASSERT_EQ(m_device->SetRenderTarget(0, m_canvas.surface), S_OK);
    m_effect->SetTexture("g_tA", a.texture);
    m_effect->SetTexture("g_tB", b.texture);
    DrawQuad(*m_effect, "Difference");
    EXPECT_FLOAT_EQ(ReadChannels(*m_canvas.surface)[0], 1.0f - 64.0f / 255.0f);
}

TEST_F(GlDraw, CullingDropsScreenClockwiseTrianglesForCwOnly)
{
    m_effect->SetFloat("g_fValue", 1.0f);
    // The quad's triangles run counter-clockwise on screen: D3DCULL_CW keeps them.
    ASSERT_EQ(m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW), S_OK);
    DrawQuad(*m_effect, "Constant");
    for (float channel : ReadChannels(*m_canvas.surface))
        ASSERT_EQ(channel, 0.0f);
    ASSERT_EQ(m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW), S_OK);
    DrawQuad(*m_effect, "Constant");
    for (float channel : ReadChannels(*m_canvas.surface))
        ASSERT_EQ(channel, 1.0f);
}

TEST_F(GlDraw, LineListDrawsAlongTheRowOfItsSimulationY)
{
    // Pixel centres 2.5 .. 10.5 of row 2 from the top: x in clip space is
    // -0.6875 .. 0.3125, divided by the aspect 0.5; y = 1 - 2.5 / 4.
    std::shared_ptr<GlVertexBuffer> buffer;
    ASSERT_EQ(m_device->CreateVertexBuffer(64, &buffer), S_OK);
    WriteLines(*buffer, {{-1.375f, 0.375f, 0, 0, 1, 0.5f, 0.25f, 1}, {0.625f, 0.375f, 0, 0, 1, 0.5f, 0.25f, 1}}, 0);
    DrawLines(buffer, 1);

    const std::vector<float> channels = ReadChannels(*m_canvas.surface);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const bool lit = y == 2 && x >= 2 && x <= 9;
            EXPECT_EQ(Pixel(channels, x, y), (lit ? std::vector<float>{1, 0.5f, 0.25f, 1} : std::vector<float>{0, 0, 0, 0}))
                << x << "," << y;
        }
    }
}

TEST_F(GlDraw, DiscardingLockLeavesTheQueuedDrawItsOldVertices)
{
    std::shared_ptr<GlVertexBuffer> buffer;
    ASSERT_EQ(m_device->CreateVertexBuffer(64, &buffer), S_OK);
    const std::vector<LineVertex> red = {{-2, 0.375f, 0, 0, 1, 0, 0, 1}, {2, 0.375f, 0, 0, 1, 0, 0, 1}};
    const std::vector<LineVertex> blue = {{-2, 0.375f, 0, 0, 0, 0, 1, 1}, {2, 0.375f, 0, 0, 0, 0, 1, 1}};
    WriteLines(*buffer, red, D3DLOCK_DISCARD);
    DrawLines(buffer, 1); // queued, not yet run: nothing has waited for it
    Canvas second = MakeCanvas(D3DFMT_A32B32G32R32F);
    WriteLines(*buffer, blue, D3DLOCK_DISCARD);
    ASSERT_EQ(m_device->SetRenderTarget(0, second.surface), S_OK);
    ASSERT_EQ(m_device->Clear(0x00000000), S_OK);
    DrawLines(buffer, 1);

    EXPECT_EQ(Pixel(ReadChannels(*m_canvas.surface), 5, 2), (std::vector<float>{1, 0, 0, 1}));
    EXPECT_EQ(Pixel(ReadChannels(*second.surface), 5, 2), (std::vector<float>{0, 0, 1, 1}));
}

TEST_F(GlDraw, PlainLockWaitsAndKeepsTheBytesItDoesNotWrite)
{
    std::shared_ptr<GlVertexBuffer> buffer;
    ASSERT_EQ(m_device->CreateVertexBuffer(64, &buffer), S_OK);
    WriteLines(*buffer, {{-2, 0.375f, 0, 0, 1, 0, 0, 1}, {2, 0.375f, 0, 0, 1, 0, 0, 1}}, 0);
    DrawLines(buffer, 1);
    // Rewrite the second vertex's colour only: green from the middle of the line on.
    void* data = nullptr;
    ASSERT_EQ(buffer->Lock(48, 16, &data, 0), S_OK);
    const float green[4] = {0, 1, 0, 1};
    std::memcpy(data, green, sizeof(green));
    ASSERT_EQ(buffer->Unlock(), S_OK);
    EXPECT_EQ(Pixel(ReadChannels(*m_canvas.surface), 5, 2), (std::vector<float>{1, 0, 0, 1}));

    ASSERT_EQ(m_device->Clear(0x00000000), S_OK);
    DrawLines(buffer, 1);
    const std::vector<float> channels = ReadChannels(*m_canvas.surface);
    EXPECT_GT(Pixel(channels, 0, 2)[0], 0.9f); // the first vertex kept its red
    EXPECT_GT(Pixel(channels, 15, 2)[1], 0.9f);
}

TEST_F(GlDraw, LocksOutsideTheBufferOrTwiceAreRefused)
{
    std::shared_ptr<GlVertexBuffer> buffer;
    ASSERT_EQ(m_device->CreateVertexBuffer(64, &buffer), S_OK);
    void* data = nullptr;
    EXPECT_EQ(buffer->Lock(32, 33, &data, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(buffer->Lock(65, 0, &data, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(buffer->Unlock(), D3DERR_INVALIDCALL);
    ASSERT_EQ(buffer->Lock(0, 0, &data, D3DLOCK_DISCARD), S_OK);
    EXPECT_NE(data, nullptr);
    void* again = nullptr;
    EXPECT_EQ(buffer->Lock(0, 0, &again, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(buffer->Unlock(), S_OK);
}

TEST_F(GlDraw, DrawsWithoutAPassOrPastTheStreamAreRefused)
{
    std::shared_ptr<GlVertexBuffer> buffer;
    ASSERT_EQ(m_device->CreateVertexBuffer(64, &buffer), S_OK);
    ASSERT_EQ(m_device->SetFVF(D3DFVF_TEX3 | D3DFVF_TEXCOORDSIZE4(2)), S_OK);
    ASSERT_EQ(m_device->SetStreamSource(0, buffer, 0, 32), S_OK);
    EXPECT_EQ(m_device->DrawPrimitive(D3DPT_LINELIST, 0, 1), D3DERR_INVALIDCALL); // no pass
    ASSERT_EQ(m_effect->SetTechnique("Line"), S_OK);
    ASSERT_EQ(m_effect->BeginPass(0), S_OK);
    EXPECT_EQ(m_device->DrawPrimitive(D3DPT_LINELIST, 0, 2), D3DERR_INVALIDCALL); // 4 vertices in 2
    EXPECT_EQ(m_device->DrawPrimitive(D3DPT_LINELIST, 1, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->DrawPrimitive(static_cast<D3DPRIMITIVETYPE>(4), 0, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->DrawPrimitive(D3DPT_LINELIST, 0, 1), S_OK);
    EXPECT_EQ(m_effect->EndPass(), S_OK);
    EXPECT_EQ(m_device->SetFVF(0x002), D3DERR_INVALIDCALL); // positions in XYZ: not offered
}

} // namespace
} // namespace lumeno::test
