// Effect files: what a load that fails says, and techniques and floats on a loaded effect.

#include <filesystem>
#include <fstream>

#include "gl_test_support.h"

namespace lumeno::test {
namespace {

constexpr const char* kQuadVertex = R"(@vertex Quad
layout(location = 0) in vec4 inPositionT;
void main() { gl_Position = PretransformedToGl(inPositionT); }
)";

TEST_F(GlDeviceTest, EffectFilesThatFailToLoadSayWhereAndWhy)
{
    const std::string path = m_folder.File("effect.fx");
    const std::string quad = kQuadVertex;
    const struct {
        std::string text; // none: the file is missing
        std::string logStart;
        std::string logHolds; // or, when empty, the whole log is logStart
    } cases[] = {
        {"", "", ""},
        // Line 6 of the file holds the error.
        {quad + "@fragment Broken\nout vec4 c;\nvoid main() { c = vec4(1.0) }\n@technique Broken Quad Broken\n",
         path + " (Broken): 0:6(", "error"},
        // A compiler warning refuses the file too.
        {quad + "@fragment Warns\nout vec4 c;\nvoid main() { float unset; c = vec4(unset); }\n"
                "@technique Warns Quad Warns\n",
         path + " (Warns): ", "warning"},
        {"notes\n@shader Quad\n", path + "(2): expected @common", "expected @common"},
        {quad + "@technique T Quad Missing\n", path + "(4): no @fragment section named Missing\n", ""},
        {quad + "@technique T Quad Quad\nvoid f() {}\n", path + "(5): code outside a section\n", ""},
        {"only notes\n", path + "(1): no @technique\n", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::filesystem::remove(path);
        if (!c.text.empty())
            std::ofstream(path) << c.text;
        std::unique_ptr<GlEffect> effect;
        std::string log = "stale";
        EXPECT_EQ(CreateEffectFromFile(*m_device, path, &effect, &log), E_FAIL);
        EXPECT_EQ(effect, nullptr);
        if (c.logHolds.empty()) {
            EXPECT_EQ(log, c.logStart);
        } else {
            EXPECT_EQ(log.rfind(c.logStart, 0), 0u) << log;
            EXPECT_NE(log.find(c.logHolds), std::string::npos) << log;
        }
    }
}

TEST_F(GlEffectTest, EffectFloatsOutliveTechniqueSwitches)
{
    EXPECT_EQ(m_effect->CurrentTechnique(), "Constant"); // the file's first
    m_effect->SetFloat("g_fValue", 0.5f);
    ASSERT_EQ(m_effect->SetTechnique("Gradient"), S_OK);
    EXPECT_EQ(m_effect->SetTechnique("constant"), D3DERR_INVALIDCALL); // names are case-sensitive
    EXPECT_EQ(m_effect->CurrentTechnique(), "Gradient");
    EXPECT_EQ(m_effect->SetFloat("g_fNotInTheFile", 1.0f), S_OK);
    DrawQuad("Constant");
    EXPECT_EQ(At(0, 0)[0], 0.5f);

    unsigned passes = 0;
    EXPECT_EQ(m_effect->Begin(&passes, D3DXFX_DONOTSAVESTATE), S_OK);
    EXPECT_EQ(passes, 1u);
    EXPECT_EQ(m_effect->BeginPass(1), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_effect->End(), S_OK);
}

} // namespace
} // namespace lumeno::test
