// The program's effect file on every canvas format: the fades, the exposure curve of the
// scene pass, and the particle streaks.

#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>

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
    }

    // Runs a quad technique from the source canvas (cleared to `source` unless it is
    // kKeepSource) into the target canvas; a pixel of the result.
    static constexpr D3DCOLOR kKeepSource = 0x01020304;
    std::vector<float> Run(const char* technique, D3DCOLOR source, float ratio, float exposure = 1.0f)
    {
        if (source != kKeepSource)
            Fill(m_source, source);
        EXPECT_EQ(m_device->SetRenderTarget(0, m_target.surface), S_OK);
        m_effect->SetFloat("g_fFadeOutRatio", ratio);
        m_effect->SetFloat("g_fExp", exposure);
        m_effect->SetTexture("g_tScene", m_source.texture);
        DrawQuad(technique);
        return Pixel(ReadChannels(*m_target.surface), 7, 3);
    }

    float Tolerance() const { return GetParam() == D3DFMT_A8R8G8B8 ? 1.0f / 255.0f : 1e-3f; }
    // The scene pass: a step on 8-bit canvases, where the source is rounded too; half one on float ones.
    float SceneTolerance() const { return GetParam() == D3DFMT_A8R8G8B8 ? 1.0f / 255.0f : 0.5f / 255.0f; }

    Canvas m_source;
    Canvas m_target;
};

void ExpectNear(const std::vector<float>& actual, const std::vector<float>& expected, float tolerance)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "channel " << i;
}

constexpr D3DCOLOR kSample = 0x80C08040; // a 0.502, r 0.753, g 0.502, b 0.251

TEST_P(LumenoFx, FadesChangeNothingAtRatioOneAndMoveTowardsBlackOrWhite)
{
    for (const char* technique : {"Fade", "FadeInv"}) {
        const std::vector<float> faded = Run(technique, kSample, 1.0f);
        EXPECT_EQ(faded, Pixel(ReadChannels(*m_source.surface), 7, 3)) << technique;
    }
    // Half the way, plus a step of a quarter of (1 - ratio), never past the target.
    const struct {
        const char* technique;
        D3DCOLOR source;
        float ratio;
        std::vector<float> expected;
    } cases[] = {
        {"Fade", kSample, 0.5f, {0.753f / 2 - 0.125f, 0.502f / 2 - 0.125f, 0.0f, 0.502f / 2 - 0.125f}},
        {"FadeInv", kSample, 0.5f, {1.0f, 0.502f + 0.249f + 0.125f, 0.251f + 0.3745f + 0.125f, 0.502f / 2 - 0.125f}},
        {"FadeInv", 0x00FFFFFF, 0.9f, {1, 1, 1, 0}},
        {"Fade", 0x00000000, 0.9f, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.technique);
        ExpectNear(Run(c.technique, c.source, c.ratio), c.expected, Tolerance());
    }
}

// c^e / (c^e + (1 - c)^e) per channel at known points, symmetric around one half (0x40 and
// 0xBF at 0.5); black, white and the identity at 1 are the ramp's below.
TEST_P(LumenoFx, SceneFollowsTheExposureCurveWithinOneStep)
{
    const struct {
        D3DCOLOR source;
        float exposure;
        std::vector<float> rgb;
    } cases[] = {
        {0x00404040, 0.5f, {0.36663f, 0.36663f, 0.36663f}},
        {0x00BFBFBF, 0.5f, {0.63337f, 0.63337f, 0.63337f}},
        {kSample, 0.27197f, {0.5752f, 0.5005f, 0.4262f}},
        {kSample, 2.0f, {0.9028f, 0.5039f, 0.1009f}},
        {kSample, 6.04662f, {0.9988f, 0.5119f, 0.0013f}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.source << " at " << c.exposure);
        ExpectNear(Run("Scene", c.source, 1.0f, c.exposure), {c.rgb[0], c.rgb[1], c.rgb[2], 1.0f}, SceneTolerance());
    }
}

// The shader's logarithm and power of two are approximations: over a ramp from -0.5 to 1.5,
// as the canvas holds it (clipped to black and white on 8-bit canvases), the picture stays
// within half an 8-bit step of the curve in double (a step on 8-bit canvases), black and
// white stay, and 1 is the identity. Float canvases hold light beyond white and ink beyond black: a
// sixth of each excess spills into the other channels, (1.5, 0.5, -0.25) becoming
// (1.54, 0.54, -0.21).
TEST_P(LumenoFx, SceneStaysWithinHalfAStepOfTheCurveOverARampWithTheExcessSpilled)
{
    std::vector<float> ramp;
    for (int i = 0; i < kWidth * kHeight; ++i) {
        const float t = static_cast<float>(i) / (kWidth * kHeight - 1);
        ramp.insert(ramp.end(), {t * 2 - 0.5f, 1.5f - t * 2, std::fmod(t * 7, 1.0f), 1.0f});
    }
    const float spilled[] = {1.5f, 0.5f, -0.25f, 1.0f}; // at (7, 3), the pixel Run reads
    std::copy(std::begin(spilled), std::end(spilled), ramp.begin() + (3 * kWidth + 7) * 4);
    glBindTexture(GL_TEXTURE_2D, m_source.texture->Name());
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, kWidth, kHeight, GL_RGBA, GL_FLOAT, ramp.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    const std::vector<float> texels = ReadChannels(*m_source.surface);
    for (float exposure : {0.27197f, 0.5f, 0.99627f, 1.0f, 2.0f, 6.04662f}) {
        Run("Scene", kKeepSource, 1.0f, exposure);
        const std::vector<float> shown = ReadChannels(*m_target.surface);
        for (int i = 0; i < kWidth * kHeight; ++i) {
            const float* in = &texels[i * 4];
            const double spill = (std::max(in[0] - 1.0, 0.0) + std::max(in[1] - 1.0, 0.0) + std::max(in[2] - 1.0, 0.0)
                                  - std::max(-in[0], 0.0f) - std::max(-in[1], 0.0f) - std::max(-in[2], 0.0f)) / 6;
            for (int k = 0; k < 3; ++k) {
                const double c = std::clamp(in[k] + spill, 0.0, 1.0);
                const double expected = std::pow(c, exposure) / std::max(std::pow(c, exposure) + std::pow(1 - c, exposure), 1e-300);
                ASSERT_NEAR(shown[i * 4 + k], expected, SceneTolerance())
                    << "exposure " << exposure << " texel " << i << " channel " << k;
            }
        }
    }
    if (GetParam() == D3DFMT_A8R8G8B8)
        return;
    ExpectNear(Run("Scene", kKeepSource, 1.0f, 1.0f), {1.0f, 0.54167f, 0.0f, 1.0f}, 0.5f / 255.0f);
    ExpectNear(Run("Scene", kKeepSource, 1.0f, 2.0f), {1.0f, 0.58276f, 0.0f, 1.0f}, 0.5f / 255.0f);
}

TEST_P(LumenoFx, ParticleTechniquesDrawStreaksAtTheSimulationPosition)
{
    // Row 2 from the top, columns 2 to 9, as in the line-list test; aspect 8 / 16.
    const LineVertex line[2] = {{-1.375f, 0.375f, 0.05f, 0, 1, 0.5f, 0, 1}, {0.625f, 0.375f, 0.05f, 0, 1, 0.5f, 0, 1}};
    const std::shared_ptr<GlVertexBuffer> buffer = MakeBuffer(line, sizeof(line), D3DLOCK_DISCARD);
    for (const char* technique : {"Lumeno", "LumenoDebug"}) {
        Fill(m_target, 0x00000000);
        SetBlend(D3DBLEND_SRCALPHA, D3DBLEND_ONE);
        m_effect->SetFloat("g_fParticleCount", 20000.0f);
        m_effect->SetFloat("g_fAlphaIntensity", 0.25f);
        m_effect->SetFloat("g_fScreenAspectRatio", 0.5f);
        DrawLines(technique, buffer, 1);

        const std::vector<float> channels = ReadChannels(*m_target.surface);
        EXPECT_GT(Pixel(channels, 5, 2)[0], 0.05f) << technique;
        EXPECT_EQ(Pixel(channels, 5, 3), (std::vector<float>{0, 0, 0, 0})) << technique;
        EXPECT_EQ(Pixel(channels, 12, 2), (std::vector<float>{0, 0, 0, 0})) << technique;
        // A streak no longer than a pixel gives all of its light, 0.4 x the alpha
        // intensity, to each pixel it touches.
        if (std::string(technique) == "Lumeno")
            ExpectNear(Pixel(channels, 5, 2), {0.1f, 0.05f, 0.0f, 0.01f}, Tolerance());
    }
}

INSTANTIATE_TEST_SUITE_P(AllCanvasFormats, LumenoFx, ::testing::ValuesIn(kCanvasFormats));

} // namespace
} // namespace lumeno::test
