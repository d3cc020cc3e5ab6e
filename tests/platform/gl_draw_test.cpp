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

// The quad's triangles run counter-clockwise on screen: D3DCULL_CW keeps them, and the
// texture coordinates reach each pixel's centre, counted from the top left.
TEST_F(GlDraw, ScreenQuadIsCulledForCcwOnlyAndInterpolatesTexelCentresFromTheTopLeft)
{
    ASSERT_EQ(m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW), S_OK);
    DrawQuad("TexCoord");
    for (float channel : ReadChannels(*m_canvas.surface))
        ASSERT_EQ(channel, 0.0f);
    ASSERT_EQ(m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW), S_OK);
    DrawQuad("TexCoord");
    const std::vector<float> channels = ReadChannels(*m_canvas.surface);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            EXPECT_NEAR(Pixel(channels, x, y)[0], (x + 0.501f) / kWidth, 1e-5f) << x << "," << y;
            EXPECT_NEAR(Pixel(channels, x, y)[1], (y + 0.501f) / kHeight, 1e-5f) << x << "," << y;
        }
}

// A minus black through the screen quad gives A's texels exactly: each sampler reads its
// own texture (either one reading the other's, or none, would not), texel for texel.
TEST_F(GlDraw, TwoSamplersReadTheirOwnTexturesTexelForTexelInEveryFormat)
{
    for (D3DFORMAT format : kCanvasFormats) {
        Canvas a = MakeCanvas(format), black = MakeCanvas(format), difference = MakeCanvas(format);
        Fill(black, 0x00000000);
        Fill(a, 0x00000000);
        DrawQuad("Gradient");
        Fill(difference, 0x00000000);
        m_effect->SetTexture("g_tA", a.texture);
        m_effect->SetTexture("g_tB", black.texture);
        DrawQuad("Difference");
        const std::vector<float> gradient = ReadChannels(*a.surface);
        EXPECT_EQ(ReadChannels(*difference.surface), gradient) << format;
        // Rows come back top first, as the pixel rows were drawn.
        EXPECT_NEAR(Pixel(gradient, 3, 2)[2], (3 + 16 * 2) / 128.0f, 1.0f / 255.0f) << format;
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

// A discarding lock leaves the draw still queued its old vertices; a plain one waits for
// the queued draw and keeps the bytes it does not write.
TEST_F(GlDraw, LocksLeaveQueuedDrawsTheirVerticesAndKeepTheBytesTheyDoNotWrite)
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
    // Rewrite the second vertex's colour only: green from the middle of the line on.
    ASSERT_EQ(buffer->Lock(48, 16, &data, 0), S_OK);
    const float green[4] = {0, 1, 0, 1};
    std::memcpy(data, green, sizeof(green));
    ASSERT_EQ(buffer->Unlock(), S_OK);
    EXPECT_EQ(At(5, 2), (std::vector<float>{1, 0, 0, 1}));
    EXPECT_EQ(Pixel(ReadChannels(*second.surface), 5, 2), (std::vector<float>{0, 0, 1, 1}));

    ASSERT_EQ(m_device->Clear(0x00000000), S_OK);
    DrawLines("Line", buffer, 1);
    const std::vector<float> redrawn = ReadChannels(*second.surface);
    EXPECT_GT(Pixel(redrawn, 0, 2)[2], 0.9f); // the first vertex kept its blue
    EXPECT_GT(Pixel(redrawn, 15, 2)[1], 0.9f);
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
