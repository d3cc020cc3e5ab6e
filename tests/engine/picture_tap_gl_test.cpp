// The engine's picture tap: once a frame, the back buffer after the scene and debug
// passes and before the rate text, so it holds what the window shows less the text.

#include "engine_fixture.h"

#include "platform/clock.h"

namespace lumeno::test {
namespace {

class PictureTap : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        CanvasSettingsRecord().width = 160; // room for the rate text
        CanvasSettingsRecord().height = 48;
        m_hooks.clock = [this] { return m_now += 10; };
    }

    std::uint32_t m_now = 1000;
};

TEST_F(PictureTap, PictureIsTheFrameBeforeItsTextOnceAFrameAlsoWhilePaused)
{
    for (const bool debug : {false, true}) {
        g_particleSettings.debug = debug;
        ASSERT_EQ(BuildEngine(), S_OK);
        std::vector<GlImage> pictures;
        m_engine->SetPictureTap([&pictures](GlImage&& picture) { pictures.push_back(std::move(picture)); });
        m_engine->Render();
        m_engine->Render();
        Send(WM_KEYDOWN, VK_SPACE); // paused frames are shown too
        m_engine->Render();
        ASSERT_EQ(pictures.size(), 3u) << "debug " << debug;
        const GlImage& picture = pictures.back();
        EXPECT_EQ(picture.width, 160);
        EXPECT_EQ(picture.height, 48);
        ASSERT_EQ(picture.bytes.size(), 160u * 48u * 4u);

        // The frame differs from the picture only where the text went ("FPS: 0.000" from 10,
        // 10, within 90 x 20 pixels), and there it does: the text is on the frame and not in
        // the picture. With debug on, a picture taken before the debug lines would differ
        // wherever they are.
        const std::vector<std::uint8_t> frame = BackBuffer();
        ASSERT_EQ(frame.size(), picture.bytes.size());
        int insideText = 0, outsideText = 0;
        for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < 160; ++x) {
                const std::size_t at = (static_cast<std::size_t>(y) * 160 + x) * 4;
                const bool differs = !std::equal(&frame[at], &frame[at] + 3, &picture.bytes[at]);
                (x >= 10 && x < 100 && y >= 10 && y < 30 ? insideText : outsideText) += differs;
            }
        }
        EXPECT_GT(insideText, 0) << "debug " << debug;
        EXPECT_EQ(outsideText, 0) << "debug " << debug;

        m_engine->SetPictureTap({});
        m_engine->Render();
        EXPECT_EQ(pictures.size(), 3u);
        DestroyEngine();
    }
}

} // namespace
} // namespace lumeno::test
