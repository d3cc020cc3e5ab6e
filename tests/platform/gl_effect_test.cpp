#include <fstream>

#include "gl_test_support.h"

namespace lumeno::test {
namespace {

class GlEffectLoad : public GlDeviceTest {
protected:
    HRESULT Load(const std::string& text, std::string* log)
    {
        const std::string path = m_folder.File("effect.fx");
        std::ofstream(path) << text;
        m_path = path;
        std::unique_ptr<GlEffect> effect;
        const HRESULT result = CreateEffectFromFile(*m_device, path, &effect, log);
        EXPECT_EQ(effect != nullptr, SUCCEEDED(result));
        return result;
    }
    std::string m_path;
};

constexpr const char* kQuadVertex = R"(@vertex Quad
layout(location = 0) in vec4 inPositionT;
void main() { gl_Position = PretransformedToGl(inPositionT); }
)";

TEST_F(GlEffectLoad, MissingFileFailsWithAnEmptyLog)
{
    std::unique_ptr<GlEffect> effect;
    std::string log = "stale";
    EXPECT_EQ(CreateEffectFromFile(*m_device, m_folder.File("none.fx"), &effect, &log), E_FAIL);
    EXPECT_EQ(effect, nullptr);
    EXPECT_EQ(log, "");
}

TEST_F(GlEffectLoad, SyntaxErrorFailsWithTheLogAtTheFileLine)
{
    std::string log;
    EXPECT_EQ(Load(std::string(kQuadVertex) + "@fragment Broken\nout vec4 c;\nvoid main() { c = vec4(1.0) }\n"
                                              "@technique Broken Quad Broken\n",
                   &log),
              E_FAIL);
    // Line 6 of the file holds the error.
    EXPECT_EQ(log.rfind(m_path + " (Broken): 0:6(", 0), 0u) << log;
    EXPECT_NE(log.find("error"), std::string::npos) << log;
}

TEST_F(GlEffectLoad, CompilerWarningRefusesTheFile)
{
    std::string log;
    EXPECT_EQ(Load(std::string(kQuadVertex) +
                       "@fragment Warns\nout vec4 c;\n"
                       "void main() { float unset; c = vec4(unset); }\n@technique Warns Quad Warns\n",
                   &log),
              E_FAIL);
    EXPECT_EQ(log.rfind(m_path + " (Warns): ", 0), 0u) << log;
    EXPECT_NE(log.find("warning"), std::string::npos) << log;
}

TEST_F(GlEffectLoad, MalformedContainersNameTheLine)
{
    std::string log;
    EXPECT_EQ(Load("notes\n@shader Quad\n", &log), E_FAIL);
    EXPECT_EQ(log.rfind(m_path + "(2): expected @common", 0), 0u) << log;
    EXPECT_EQ(Load(std::string(kQuadVertex) + "@technique T Quad Missing\n", &log), E_FAIL);
    EXPECT_EQ(log, m_path + "(4): no @fragment section named Missing\n");
    EXPECT_EQ(Load(std::string(kQuadVertex) + "@technique T Quad Quad\nvoid f() {}\n", &log), E_FAIL);
    EXPECT_EQ(log, m_path + "(5): code outside a section\n");
    EXPECT_EQ(Load("only notes\n", &log), E_FAIL);
    EXPECT_EQ(log, m_path + "(1): no @technique\n");
}

TEST_F(GlDeviceTest, EffectFloatsOutliveTechniqueSwitches)
{
    std::unique_ptr<GlEffect> effect = LoadEffect(kTestEffect);
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->CurrentTechnique(), "Constant"); // the file's first
    Canvas canvas = MakeCanvas(D3DFMT_A32B32G32R32F);
    ASSERT_EQ(m_device->SetRenderTarget(0, canvas.surface), S_OK);

    effect->SetFloat("g_fValue", 0.5f);
    ASSERT_EQ(effect->SetTechnique("Gradient"), S_OK);
    EXPECT_EQ(effect->SetTechnique("constant"), D3DERR_INVALIDCALL); // names are case-sensitive
    EXPECT_EQ(effect->CurrentTechnique(), "Gradient");
    EXPECT_EQ(effect->SetFloat("g_fNotInTheFile", 1.0f), S_OK);
    DrawQuad(*effect, "Constant");
    EXPECT_EQ(ReadChannels(*canvas.surface)[0], 0.5f);

    unsigned passes = 0;
    EXPECT_EQ(effect->Begin(&passes, D3DXFX_DONOTSAVESTATE), S_OK);
    EXPECT_EQ(passes, 1u);
    EXPECT_EQ(effect->BeginPass(1), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect->End(), S_OK);
}

} // namespace
} // namespace lumeno::test
