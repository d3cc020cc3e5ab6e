#include <epoxy/gl.h>

#include <array>

#include "gl_test_support.h"

namespace lumeno::test {
namespace {

// What GL holds for the states the device mirrors, read from GL itself.
struct GlStateSnapshot {
    std::array<GLint, 16> values{};

    static GlStateSnapshot Take()
    {
        GlStateSnapshot s;
        GLint polygonMode[2] = {};
        glGetIntegerv(GL_POLYGON_MODE, polygonMode);
        GLboolean depthMask = GL_FALSE;
        glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
        s.values = {glIsEnabled(GL_DEPTH_TEST), polygonMode[0], depthMask, glIsEnabled(GL_BLEND),
                    glIsEnabled(GL_CULL_FACE), glIsEnabled(GL_STENCIL_TEST), glIsEnabled(GL_LINE_SMOOTH)};
        glGetIntegerv(GL_BLEND_SRC_RGB, &s.values[7]);
        glGetIntegerv(GL_BLEND_DST_RGB, &s.values[8]);
        glGetIntegerv(GL_BLEND_SRC_ALPHA, &s.values[9]);
        glGetIntegerv(GL_BLEND_DST_ALPHA, &s.values[10]);
        glGetIntegerv(GL_BLEND_EQUATION_RGB, &s.values[11]);
        glGetIntegerv(GL_BLEND_EQUATION_ALPHA, &s.values[12]);
        glGetIntegerv(GL_CULL_FACE_MODE, &s.values[13]);
        glGetIntegerv(GL_FRONT_FACE, &s.values[14]);
        return s;
    }
};

constexpr D3DRENDERSTATETYPE kStates[] = {
    D3DRS_ZENABLE, D3DRS_FILLMODE, D3DRS_ZWRITEENABLE, D3DRS_ALPHATESTENABLE, D3DRS_SRCBLEND, D3DRS_DESTBLEND,
    D3DRS_CULLMODE, D3DRS_ALPHABLENDENABLE, D3DRS_STENCILENABLE, D3DRS_BLENDOP, D3DRS_ANTIALIASEDLINEENABLE,
};

TEST(GlDeviceStates, StartAtTheDefaultsOfAFreshDevice)
{
    std::string error;
    std::unique_ptr<GlContext> context = CreateHeadlessContext(&error);
    ASSERT_NE(context, nullptr) << error;
    std::unique_ptr<GlDevice> device;
    ASSERT_EQ(GlDevice::Create(*context, 4, 4, &device), S_OK);
    const std::uint32_t expected[] = {D3DZB_FALSE, D3DFILL_SOLID, 1, 0, D3DBLEND_ONE, D3DBLEND_ZERO,
                                      D3DCULL_CCW, 0, 0, D3DBLENDOP_ADD, 0};
    for (std::size_t i = 0; i < std::size(kStates); ++i) {
        std::uint32_t value = 99;
        ASSERT_EQ(device->GetRenderState(kStates[i], &value), S_OK);
        EXPECT_EQ(value, expected[i]) << kStates[i];
    }
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    GLint cullFace = 0;
    glGetIntegerv(GL_CULL_FACE_MODE, &cullFace);
    EXPECT_EQ(cullFace, GL_BACK);
}

TEST_F(GlDeviceTest, SavingSettingAndRestoringLeavesEveryStateAndGlAsTheyWere)
{
    // Not the defaults, so that restoring has something to undo. Alpha testing stays
    // off: it is the one value the device takes.
    ASSERT_EQ(m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW), S_OK);
    ASSERT_EQ(m_device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE), S_OK);
    const GlStateSnapshot before = GlStateSnapshot::Take();
    std::uint32_t saved[std::size(kStates)] = {};
    for (std::size_t i = 0; i < std::size(kStates); ++i)
        ASSERT_EQ(m_device->GetRenderState(kStates[i], &saved[i]), S_OK);

    const std::uint32_t changed[] = {D3DZB_FALSE, D3DFILL_WIREFRAME, 0, 0, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA,
                                     D3DCULL_NONE, 1, 1, D3DBLENDOP_REVSUBTRACT, 1};
    for (std::size_t i = 0; i < std::size(kStates); ++i)
        ASSERT_EQ(m_device->SetRenderState(kStates[i], changed[i]), S_OK);
    EXPECT_NE(GlStateSnapshot::Take().values, before.values);
    for (std::size_t i = 0; i < std::size(kStates); ++i)
        ASSERT_EQ(m_device->SetRenderState(kStates[i], saved[i]), S_OK) << kStates[i] << " " << saved[i];

    for (std::size_t i = 0; i < std::size(kStates); ++i) {
        std::uint32_t value = 0;
        ASSERT_EQ(m_device->GetRenderState(kStates[i], &value), S_OK);
        EXPECT_EQ(value, saved[i]) << kStates[i];
    }
    EXPECT_EQ(GlStateSnapshot::Take().values, before.values);
}

TEST_F(GlDeviceTest, ParticleBlendingMapsOntoGl)
{
    ASSERT_EQ(m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1), S_OK);
    ASSERT_EQ(m_device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA), S_OK);
    ASSERT_EQ(m_device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE), S_OK);
    ASSERT_EQ(m_device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_REVSUBTRACT), S_OK);
    const GlStateSnapshot s = GlStateSnapshot::Take();
    EXPECT_EQ(s.values[3], GL_TRUE);
    EXPECT_EQ(s.values[7], GL_SRC_ALPHA);
    EXPECT_EQ(s.values[8], GL_ONE);
    EXPECT_EQ(s.values[11], GL_FUNC_REVERSE_SUBTRACT);
}

TEST_F(GlDeviceTest, UnknownStatesAndValuesAreRefusedAndChangeNothing)
{
    // States that core GL cannot honour are refused, not kept without effect: lighting
    // (state 137) in any value, alpha testing switched on.
    constexpr D3DRENDERSTATETYPE kLighting = 137;
    EXPECT_EQ(m_device->SetRenderState(kLighting, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->SetRenderState(D3DRS_ALPHATESTENABLE, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->SetRenderState(D3DRS_SRCBLEND, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->SetRenderState(D3DRS_BLENDOP, 6), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->SetRenderState(D3DRS_CULLMODE, 4), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->SetRenderState(D3DRS_FILLMODE, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->SetRenderState(999, 1), D3DERR_INVALIDCALL);
    std::uint32_t value = 0;
    EXPECT_EQ(m_device->GetRenderState(999, &value), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->GetRenderState(kLighting, &value), D3DERR_INVALIDCALL);
    ASSERT_EQ(m_device->GetRenderState(D3DRS_ALPHATESTENABLE, &value), S_OK);
    EXPECT_EQ(value, 0u);
    ASSERT_EQ(m_device->GetRenderState(D3DRS_SRCBLEND, &value), S_OK);
    EXPECT_EQ(value, D3DBLEND_ONE);
    ASSERT_EQ(m_device->GetRenderState(D3DRS_CULLMODE, &value), S_OK);
    EXPECT_EQ(value, D3DCULL_CW);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace
} // namespace lumeno::test
