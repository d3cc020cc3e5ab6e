// Drawing on the device: the screen quad, samplers, culling, line lists, and vertex
// buffer locks against draws still queued.

#include <cstring>

#include "gl_test_support.h"

namespace lumeno::test {
namespace {

using GlDraw = GlEffectTest;

// A line across row 2 from the top (y = 1 - 2.5 / 4) in one colour.
std::vector<LineVertex> RowLine(float r, float g, float b, float x0 = -2, float x1 = 2)
{
    return {{x0, 0.375f, 0, 0, r, g, b, 1}, {x1, 0.375f, 0, 0, r, g, b, 1}};
}

TEST_F(GlDraw, ScreenQuadInterpolatesTexelCentresFromTheTopLeft)
{
    DrawQuad("TexCoord");
    const std::vector<float> channels = ReadChannels(*m_canvas.surface);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            EXPECT_NEAR(Pixel(channels, x, y)[0], (x + 0.501f) / kWidth, 1e-5f) << x << "," << y;
            EXPECT_NEAR(Pixel(channels, x, y)[1], (y + 0.501f) / kHeight, 1e-5f) << x << "," << y;
        }
}

TEST_F(GlDraw, CopyThroughTheScreenQuadGivesIdenticalTexels)
{
    for (D3DFORMAT format : kCanvasFormats) {
        Canvas source = MakeCanvas(format), copy = MakeCanvas(format);
        ASSERT_EQ(m_device->SetRenderTarget(0, source.surface), S_OK);
        DrawQuad("Gradient");
        ASSERT_EQ(m_device->SetRenderTarget(0, copy.surface), S_OK);
        m_effect->SetTexture("g_tSource", source.texture);
        DrawQuad("Copy");
        const std::vector<float> original = ReadChannels(*source.surface);
        EXPECT_EQ(ReadChannels(*copy.surface), original) << format;
        // Rows come back top first, as the pixel rows were drawn.
        EXPECT_NEAR(Pixel(original, 3, 2)[2], (3 + 16 * 2) / 128.0f, 1.0f / 255.0f) << format;
    }
}

TEST_F(GlDraw, TwoSamplersReadTheirOwnTextures)
{
    Canvas a = MakeCanvas(D3DFMT_A32B32G32R32F), b = MakeCanvas(D3DFMT_A32B32G32R32F);
    Fill(a, 0xFFFFFFFF);
    Fill(b, 0x40404040);
    ASSERT_EQ(m_device->SetRenderTarget(0, m_canvas.surface), S_OK);
    m_effect->SetTexture("g_tA", a.texture);
    m_effect->SetTexture("g_tB", b.texture);
    DrawQuad("Difference");
    EXPECT_FLOAT_EQ(At(0, 0)[0], 1.0f - 64.0f / 255.0f);
}

TEST_F(GlDraw, CullingDropsScreenClockwiseTrianglesForCwOnly)
{
    m_effect->SetFloat("g_fValue", 1.0f);
    // The quad's triangles run counter-clockwise on screen: D3DCULL_CW keeps them.
    for (const auto& [cull, expected] : {std::pair{D3DCULL_CCW, 0.0f}, std::pair{D3DCULL_CW, 1.0f}}) {
        ASSERT_EQ(m_device->SetRenderState(D3DRS_CULLMODE, cull), S_OK);
        DrawQuad("Constant");
        for (float channel : ReadChannels(*m_canvas.surface))
            ASSERT_EQ(channel, expected) << cull;
    }
}

TEST_F(GlDraw, LineListDrawsAlongTheRowOfItsSimulationY)
{
    // Pixel centres 2.5 .. 10.5: x in clip space -0.6875 .. 0.3125, divided by the aspect.
    const std::vector<LineVertex> line = RowLine(1, 0.5f, 0.25f, -1.375f, 0.625f);
    DrawLines("Line", MakeBuffer(line.data(), 64), 1);
    const std::vector<float> channels = ReadChannels(*m_canvas.surface);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            EXPECT_EQ(Pixel(channels, x, y), (y == 2 && x >= 2 && x <= 9 ? std::vector<float>{1, 0.5f, 0.25f, 1}
                                                                          : std::vector<float>{0, 0, 0, 0}))
                << x << "," << y;
}

TEST_F(GlDraw, DiscardingLockLeavesTheQueuedDrawItsOldVertices)
{
    const std::vector<LineVertex> red = RowLine(1, 0, 0), blue = RowLine(0, 0, 1);
    std::shared_ptr<GlVertexBuffer> buffer = MakeBuffer(red.data(), 64, D3DLOCK_DISCARD);
    DrawLines("Line", buffer, 1); // queued, not yet run: nothing has waited for it
    Canvas second = MakeCanvas(D3DFMT_A32B32G32R32F);
    void* data = nullptr;
    ASSERT_EQ(buffer->Lock(0, 0, &data, D3DLOCK_DISCARD), S_OK);
    std::memcpy(data, blue.data(), 64);
    ASSERT_EQ(buffer->Unlock(), S_OK);
    Fill(second, 0x00000000);
    DrawLines("Line", buffer, 1);
    EXPECT_EQ(At(5, 2), (std::vector<float>{1, 0, 0, 1}));
    EXPECT_EQ(Pixel(ReadChannels(*second.surface), 5, 2), (std::vector<float>{0, 0, 1, 1}));
}

TEST_F(GlDraw, PlainLockWaitsAndKeepsTheBytesItDoesNotWrite)
{
    const std::vector<LineVertex> red = RowLine(1, 0, 0);
    std::shared_ptr<GlVertexBuffer> buffer = MakeBuffer(red.data(), 64);
    DrawLines("Line", buffer, 1);
    // Rewrite the second vertex's colour only: green from the middle of the line on.
    void* data = nullptr;
    ASSERT_EQ(buffer->Lock(48, 16, &data, 0), S_OK);
    const float green[4] = {0, 1, 0, 1};
    std::memcpy(data, green, sizeof(green));
    ASSERT_EQ(buffer->Unlock(), S_OK);
    EXPECT_EQ(At(5, 2), (std::vector<float>{1, 0, 0, 1}));

    ASSERT_EQ(m_device->Clear(0x00000000), S_OK);
    DrawLines("Line", buffer, 1);
    EXPECT_GT(At(0, 2)[0], 0.9f); // the first vertex kept its red
    EXPECT_GT(At(15, 2)[1], 0.9f);
}

TEST_F(GlDraw, LocksOutsideTheBufferOrTwiceAndDrawsWithoutAPassOrPastTheStreamAreRefused)
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
    EXPECT_EQ(buffer->Lock(0, 0, &data, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(buffer->Unlock(), S_OK);

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
