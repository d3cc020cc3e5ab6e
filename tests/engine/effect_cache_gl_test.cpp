#include "engine_fixture.h"

#include <epoxy/gl.h>

#include <fstream>

#include "engine/effect_cache.h"
#include "platform/gl/gl_effect.h"

namespace lumeno::test {
namespace {

constexpr const char* kTinyEffect = "@common\n"
                                    "@vertex V\nlayout(location = 0) in vec4 p;\nvoid main() { gl_Position = PretransformedToGl(p); }\n"
                                    "@fragment F\nout vec4 c;\nvoid main() { c = vec4(1.0); }\n"
                                    "@technique T V F\n";

class EffectCacheTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        ASSERT_EQ(BuildEngine(), S_OK);
    }
    void Write(const char* name, const std::string& text) { std::ofstream(name) << text; }
    CEffectCache& Cache() { return *m_engine->GetEffectCache(); }
};

TEST_F(EffectCacheTest, SameNameSharesOneEffectUntilTheLastReleaseAndCaseMakesAnotherName)
{
    Write("a.fx", kTinyEffect);
    Write("A.fx", kTinyEffect);
    GlEffect *first = nullptr, *second = nullptr, *upper = nullptr;
    ASSERT_EQ(Cache().Acquire("a.fx", &first), S_OK);
    ASSERT_EQ(Cache().Acquire("a.fx", &second), S_OK);
    ASSERT_EQ(Cache().Acquire("A.fx", &upper), S_OK);
    EXPECT_EQ(first, second);
    EXPECT_NE(first, upper);
    EXPECT_EQ(Cache().ReferenceCount("a.fx"), 2);
    EXPECT_EQ(Cache().ReferenceCount("A.fx"), 1);
    const std::size_t entries = Cache().EntryCount();

    Cache().Release(&first);
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(Cache().ReferenceCount("a.fx"), 1);
    Cache().Release(&second);
    EXPECT_EQ(Cache().ReferenceCount("a.fx"), 0);
    EXPECT_EQ(Cache().EntryCount(), entries - 1);
    EXPECT_EQ(Cache().ReferenceCount("A.fx"), 1);
    Cache().Release(&upper);

    GlEffect* none = nullptr;
    Cache().Release(&none); // nothing happens
    int unrelated = 0;
    GlEffect* stranger = reinterpret_cast<GlEffect*>(&unrelated);
    Cache().Release(&stranger);
    EXPECT_EQ(stranger, nullptr) << "a pointer the cache never gave is only nulled";
    EXPECT_EQ(Cache().Acquire("a.fx", nullptr), E_FAIL);
}

TEST_F(EffectCacheTest, RefusedFilesShowTheirLogAndAddNothing)
{
    Write("broken.fx", std::string(kTinyEffect).replace(std::string(kTinyEffect).find("c = vec4(1.0);"), 14, "c = ;"));
    Write("warns.fx", std::string(kTinyEffect).insert(std::string(kTinyEffect).find("out vec4 c;"),
                                                       "#extension GL_LUMENO_no_such_extension : enable\n"));
    const std::size_t entries = Cache().EntryCount();
    GlEffect* effect = reinterpret_cast<GlEffect*>(&effect);
    EXPECT_EQ(Cache().Acquire("missing.fx", &effect), E_FAIL);
    EXPECT_EQ(effect, nullptr);
    EXPECT_TRUE(m_boxes->Boxes().empty()) << "a missing file shows no box of the cache's";

    EXPECT_EQ(Cache().Acquire("broken.fx", &effect), E_FAIL);
    EXPECT_EQ(Cache().Acquire("warns.fx", &effect), E_FAIL);
    EXPECT_EQ(effect, nullptr);
    ASSERT_EQ(m_boxes->Boxes().size(), 2u);
    EXPECT_EQ(m_boxes->Boxes()[0].text.rfind("broken.fx (T): ", 0), 0u) << m_boxes->Boxes()[0].text;
    EXPECT_EQ(m_boxes->Boxes()[0].title, "");
    EXPECT_EQ(m_boxes->Boxes()[0].icon, MessageIcon::None);
    EXPECT_NE(m_boxes->Boxes()[1].text.find("warning"), std::string::npos) << m_boxes->Boxes()[1].text;
    EXPECT_EQ(Cache().EntryCount(), entries);
}

} // namespace
} // namespace lumeno::test
