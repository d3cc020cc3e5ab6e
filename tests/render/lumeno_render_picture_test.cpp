// The pictures lumeno-render keeps: PNG stills and sequences hold the picture the window
// shows, less its frame-rate text; BMP holds the canvas. Both are checked against an
// engine rendering the same scene in this process.

#include "lumeno_render_fixture.h"

#include <algorithm>

#include "engine/engine_session.h"
#include "engine/render_device.h"
#include "engine/render_engine.h"
#include "particles/particle_system.h"
#include "platform/clock.h"
#include "platform/gl/gl_device.h"
#include "platform/headless_window.h"
#include "platform/image_file.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"
#include "settings/settings_file.h"
#include "support/message_box_recorder.h"
#include "support/process_state.h"

namespace lumeno::test {
namespace {

Picture FromImage(const GlImage& image)
{
    Picture picture{image.width, image.height, {}};
    const std::vector<std::uint8_t> rgba = ToRgba8(image);
    for (std::size_t i = 0; i < rgba.size(); i += 4)
        picture.rgb.insert(picture.rgb.end(), {rgba[i], rgba[i + 1], rgba[i + 2]});
    return picture;
}

std::size_t DifferingBytes(const Picture& a, const Picture& b)
{
    if (a.rgb.size() != b.rgb.size())
        return std::max(a.rgb.size(), b.rgb.size());
    std::size_t count = 0;
    for (std::size_t i = 0; i < a.rgb.size(); ++i)
        count += a.rgb[i] != b.rgb[i];
    return count;
}

struct EngineFrames {
    Picture picture;    // the tap's picture of the last frame
    Picture backBuffer; // the last frame as the window gets it, text included
    Picture canvas;     // the draw canvas after the last frame
};

class LumenoRenderPicture : public LumenoRender {
protected:
    // What lumeno-render does with --settings, --frames, --frame-ms and --mouse, in this process.
    EngineFrames RenderInProcess(const std::string& scene, int frames, std::uint32_t frameMs, int mouseX, int mouseY)
    {
        EngineFrames result;
        MessageBoxRecorder boxes;
        ResetProcessState(); // as at process start
        EXPECT_TRUE(LoadSettingsFrom(scene, CanvasSettingsRecord(), g_particleSettings));
        std::uint32_t now = 0;
        std::string error;
        auto window = HeadlessWindow::Create(CanvasSettingsRecord().width, CanvasSettingsRecord().height, &error);
        if (!window) {
            ADD_FAILURE() << error;
            return result;
        }
        EngineSession session(*window, EngineHooks{.clock = [&now] { return now; }});
        EXPECT_EQ(session.InitResult(), S_OK);
        CRenderEngine& engine = session.Engine();
        WindowMessage move;
        move.message = WM_MOUSEMOVE;
        move.pointerX = static_cast<std::uint16_t>(mouseX);
        move.pointerY = static_cast<std::uint16_t>(mouseY);
        engine.HandleMessage(move);
        GlImage picture;
        engine.SetPictureTap([&picture](GlImage&& frame) { picture = std::move(frame); });
        for (int frame = 0; frame < frames; ++frame) {
            now += frameMs;
            engine.Render();
        }
        engine.GetParticleSystem()->WaitForStep();
        GlImage backBuffer, canvas;
        EXPECT_EQ(engine.GetGlDevice()->ReadSurface(*engine.GetDevice()->GetBackBuffer(), &backBuffer), S_OK);
        EXPECT_EQ(engine.GetGlDevice()->ReadSurface(*engine.GetParticleSystem()->GetCanvasSurface(), &canvas), S_OK);
        result = {FromImage(picture), FromImage(backBuffer), FromImage(canvas)};
        EXPECT_TRUE(boxes.Boxes().empty());
        return result;
    }
};

TEST_F(LumenoRenderPicture, PngIsTheWindowsPictureWithoutItsTextAndBmpTheCanvas)
{
    // Room for the rate text; an exposure whose curve is not the identity.
    WriteScene("scene.ar", 160, 48, 500, 2.0f);
    const std::string scene = "--settings scene.ar --frames 4 --frame-ms 16 --mouse 40,20 ";
    Result run = Run(scene + "--out picture.png --frames-out seq");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("lumeno-render: the picture is in picture.png\n"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("lumeno-render: 4 frames are in seq\n"), std::string::npos) << run.output;
    run = Run(scene + "--out canvas.bmp");
    ASSERT_EQ(run.status, 0) << run.output;
    const Picture png = LoadPicture("picture.png");
    const Picture bmp = LoadPicture("canvas.bmp");
    const EngineFrames engine = RenderInProcess("scene.ar", 4, 16, 40, 20);
    ASSERT_EQ(png.width, 160);
    ASSERT_EQ(png.height, 48);

    EXPECT_EQ(DifferingBytes(png, engine.picture), 0u);
    EXPECT_EQ(DifferingBytes(bmp, engine.canvas), 0u);
    // The window's frame carries the rate text and the picture does not; the exposure
    // makes the picture other than the canvas.
    EXPECT_GT(DifferingBytes(engine.picture, engine.backBuffer), 0u);
    EXPECT_GT(DifferingBytes(png, bmp), 0u);

    // The sequence holds each frame's own picture, the last one the still's.
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_folder.Path() / "seq"))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"frame_000001.png", "frame_000002.png", "frame_000003.png",
                                            "frame_000004.png"}));
    EXPECT_EQ(DifferingBytes(LoadPicture("seq/frame_000004.png"), png), 0u);
    EXPECT_GT(DifferingBytes(LoadPicture("seq/frame_000001.png"), png), 0u);
}

} // namespace
} // namespace lumeno::test
