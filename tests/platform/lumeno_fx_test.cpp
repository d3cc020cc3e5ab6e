#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include <epoxy/gl.h>

#include "gl_test_support.h"

namespace lumeno::test {
namespace {

const std::string kLumenoFx = std::string(LUMENO_SOURCE_DIR) + "/Engine/Shaders/Lumeno.fx";

class LumenoFx : public GlDeviceTest, public ::testing::WithParamInterface<D3DFORMAT> {
protected:
    void SetUp() override
    {
        GlDeviceTest::SetUp();
        if (HasFatalFailure())
            return;
        std::string log;
        ASSERT_EQ(CreateEffectFromFile(*m_device, kLumenoFx, &m_effect, &log), S_OK) << log;
        EXPECT_EQ(log, "");
        m_source = MakeCanvas(GetParam());
        m_target = MakeCanvas(GetParam());
        ASSERT_EQ(m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW), S_OK);
    }
    void TearDown() override
    {
        m_effect.reset();
        m_source = m_target = Canvas{};
        GlDeviceTest::TearDown();
    }

    // Clears the source canvas, runs a quad technique from it into the target canvas.
    std::vector<float> Run(const char* technique, D3DCOLOR source, float ratio, float exposure = 1.0f)
    {
        EXPECT_EQ(m_device->SetRenderTarget(0, m_source.surface), S_OK);
        EXPECT_EQ(m_device->Clear(source), S_OK);
        EXPECT_EQ(m_device->SetRenderTarget(0, m_target.surface), S_OK);
        m_effect->SetFloat("g_fFadeOutRatio", ratio);
        m_effect->SetFloat("g_fExp", exposure);
        m_effect->SetTexture("g_tScene", m_source.texture);
        DrawQuad(*m_effect, technique);
        return Pixel(ReadChannels(*m_target.surface), 7, 3);
    }

    float Tolerance() const { return GetParam() == D3DFMT_A8R8G8B8 ? 1.0f / 255.0f : 1e-3f; }
    void ExpectNear(const std::vector<float>& actual, const std::vector<float>& expected)
    {
        ASSERT_EQ(actual.size(), expected.size());
        for (std::size_t i = 0; i < actual.size(); ++i)
            EXPECT_NEAR(actual[i], expected[i], Tolerance()) << "channel " << i;
    }

    std::unique_ptr<GlEffect> m_effect;
    Canvas m_source;
    Canvas m_target;
};

constexpr D3DCOLOR kSample = 0x80C08040; // a 0.502, r 0.753, g 0.502, b 0.251
const std::vector<float> kSampleRgba = {192 / 255.0f, 128 / 255.0f, 64 / 255.0f, 128 / 255.0f};

TEST_P(LumenoFx, FadesChangeNothingAtRatioOne)
{
    for (const char* technique : {"Fade", "FadeInv"}) {
        const std::vector<float> faded = Run(technique, kSample, 1.0f);
        EXPECT_EQ(faded, Pixel(ReadChannels(*m_source.surface), 7, 3)) << technique;
    }
}

TEST_P(LumenoFx, FadeMovesTowardsBlackAndFadeInvTowardsWhite)
{
    // Half the way, plus a step of a quarter of (1 - ratio), never past the target.
    ExpectNear(Run("Fade", kSample, 0.5f), {0.753f / 2 - 0.125f, 0.502f / 2 - 0.125f, 0.0f, 0.502f / 2 - 0.125f});
    ExpectNear(Run("FadeInv", kSample, 0.5f), {1.0f, 0.502f + 0.249f + 0.125f, 0.251f + 0.3745f + 0.125f,
                                                0.502f / 2 - 0.125f});
    // A white canvas stays white under FadeInv, a black one black under Fade.
    ExpectNear(Run("FadeInv", 0x00FFFFFF, 0.9f), {1, 1, 1, 0});
    ExpectNear(Run("Fade", 0x00000000, 0.9f), {0, 0, 0, 0});
}

TEST_P(LumenoFx, SceneKeepsBlackAndWhiteAtEveryExposure)
{
    for (float exposure : {0.27197f, 1.0f, 6.04662f}) {
        ExpectNear(Run("Scene", 0x00000000, 1.0f, exposure), {0, 0, 0, 1});
        ExpectNear(Run("Scene", 0x00FFFFFF, 1.0f, exposure), {1, 1, 1, 1});
    }
}

TEST_P(LumenoFx, SceneIsTheIdentityAtExposureOneAndSymmetricAroundIt)
{
    ExpectNear(Run("Scene", kSample, 1.0f, 1.0f), {kSampleRgba[0], kSampleRgba[1], kSampleRgba[2], 1});
    // Below 1 faint values rise from black and near-white values sink from white.
    const std::vector<float> lifted = Run("Scene", 0x00404040, 1.0f, 0.5f);
    const std::vector<float> sunk = Run("Scene", 0x00BFBFBF, 1.0f, 0.5f);
    EXPECT_GT(lifted[0], 0.3f);
    EXPECT_NEAR(lifted[0] + sunk[0], 1.0f, 2 * Tolerance());
}

// The curve c^e / (c^e + (1 - c)^e) after the spill of light beyond white or ink beyond
// black, in double: the picture may not move from it by more than one 8-bit step.
TEST_P(LumenoFx, SceneFollowsTheExposureCurveWithinOneStep)
{
    const auto reference = [](const std::array<double, 3>& c, double e) {
        double over = 0, under = 0;
        for (double v : c) {
            over += std::max(v - 1.0, 0.0);
            under += std::max(-v, 0.0);
        }
        std::array<double, 3> out{};
        for (std::size_t i = 0; i < 3; ++i) {
            const double s = std::clamp(c[i] + over / 6.0 - under / 6.0, 0.0, 1.0);
            const double light = std::pow(s, e), dark = std::pow(1.0 - s, e);
            out[i] = light / std::max(light + dark, 1e-300);
        }
        return out;
    };
    const bool floats = GetParam() != D3DFMT_A8R8G8B8;
    // A ramp over every pixel, below 0 and above 1 where the canvas can hold it.
    std::vector<float> texels(kWidth * kHeight * 4);
    for (int i = 0; i < kWidth * kHeight; ++i) {
        const float t = static_cast<float>(i) / (kWidth * kHeight - 1);
        const std::array<float, 3> c = {t, 1.0f - t, std::fmod(t * 7.0f, 1.0f)};
        for (int k = 0; k < 3; ++k)
            texels[i * 4 + k] = floats ? c[k] * 2.0f - 0.5f : c[k];
        texels[i * 4 + 3] = 1.0f;
    }
    glBindTexture(GL_TEXTURE_2D, m_source.texture->Name());
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, kWidth, kHeight, GL_RGBA, GL_FLOAT, texels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    const std::vector<float> stored = ReadChannels(*m_source.surface); // as the canvas rounded them
    for (float exposure : {0.27197f, 0.5f, 0.99627f, 2.0f, 6.04662f}) {
        ASSERT_EQ(m_device->SetRenderTarget(0, m_target.surface), S_OK);
        m_effect->SetFloat("g_fExp", exposure);
        m_effect->SetTexture("g_tScene", m_source.texture);
        // The picture is what an 8-bit back buffer shows: compare in its steps.
        DrawQuad(*m_effect, "Scene");
        const std::vector<float> shown = ReadChannels(*m_target.surface);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const std::vector<float> in = Pixel(stored, x, y);
                const auto expected = reference({in[0], in[1], in[2]}, exposure);
                const std::vector<float> out = Pixel(shown, x, y);
                for (std::size_t i = 0; i < 3; ++i)
                    ASSERT_NEAR(out[i], expected[i], floats ? 0.5 / 255.0 : 1.0 / 255.0)
                        << "exposure " << exposure << " at " << x << "," << y << " channel " << i;
            }
    }
}

TEST_P(LumenoFx, ParticleTechniquesDrawStreaksAtTheSimulationPosition)
{
    struct Vertex {
        float x, y, vx, vy, r, g, b, a;
    };
    // Row 2 from the top, columns 2 to 9, as in the line-list test; aspect 8 / 16.
    const Vertex line[2] = {{-1.375f, 0.375f, 0.05f, 0, 1, 0.5f, 0, 1}, {0.625f, 0.375f, 0.05f, 0, 1, 0.5f, 0, 1}};
    std::shared_ptr<GlVertexBuffer> buffer;
    ASSERT_EQ(m_device->CreateVertexBuffer(sizeof(line), &buffer), S_OK);
    void* data = nullptr;
    ASSERT_EQ(buffer->Lock(0, 0, &data, D3DLOCK_DISCARD), S_OK);
    std::memcpy(data, line, sizeof(line));
    ASSERT_EQ(buffer->Unlock(), S_OK);

    for (const char* technique : {"Lumeno", "LumenoDebug"}) {
        ASSERT_EQ(m_device->SetRenderTarget(0, m_target.surface), S_OK);
        ASSERT_EQ(m_device->Clear(0x00000000), S_OK);
        ASSERT_EQ(m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1), S_OK);
        ASSERT_EQ(m_device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA), S_OK);
        ASSERT_EQ(m_device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE), S_OK);
        ASSERT_EQ(m_device->SetFVF(D3DFVF_TEX3 | D3DFVF_TEXCOORDSIZE4(2)), S_OK);
        ASSERT_EQ(m_device->SetStreamSource(0, buffer, 0, 32), S_OK);
        ASSERT_EQ(m_effect->SetTechnique(technique), S_OK);
        m_effect->SetFloat("g_fParticleCount", 20000.0f);
        m_effect->SetFloat("g_fAlphaIntensity", 0.25f);
        m_effect->SetFloat("g_fScreenAspectRatio", 0.5f);
        ASSERT_EQ(m_effect->Begin(nullptr, D3DXFX_DONOTSAVESTATE), S_OK);
        ASSERT_EQ(m_effect->BeginPass(0), S_OK);
        ASSERT_EQ(m_device->DrawPrimitive(D3DPT_LINELIST, 0, 1), S_OK);
        ASSERT_EQ(m_effect->EndPass(), S_OK);
        ASSERT_EQ(m_effect->End(), S_OK);

        const std::vector<float> channels = ReadChannels(*m_target.surface);
        EXPECT_GT(Pixel(channels, 5, 2)[0], 0.05f) << technique;
        EXPECT_EQ(Pixel(channels, 5, 3), (std::vector<float>{0, 0, 0, 0})) << technique;
        EXPECT_EQ(Pixel(channels, 12, 2), (std::vector<float>{0, 0, 0, 0})) << technique;
        // A streak no longer than a pixel gives all of its light, 0.4 x the alpha
        // intensity, to each pixel it touches.
        if (std::string(technique) == "Lumeno")
            ExpectNear(Pixel(channels, 5, 2), {0.1f, 0.05f, 0.0f, 0.01f});
    }
}

INSTANTIATE_TEST_SUITE_P(AllCanvasFormats, LumenoFx, ::testing::ValuesIn(kCanvasFormats));

} // namespace
} // namespace lumeno::test
