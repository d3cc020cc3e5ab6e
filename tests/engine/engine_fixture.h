#pragma once
// An engine on a headless context, in a fresh working directory that sees the shipped
// effect file, with small canvases and every box recorded.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "engine/engine_session.h"
#include "engine/render_engine.h"
#include "platform/gl/gl_device.h"
#include "platform/headless_window.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"
#include "support/message_box_recorder.h"
#include "support/working_folder.h"

namespace lumeno::test {

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds g_engine for the current settings in a client area of the canvas at `scale`,
    // given m_hooks.
    HRESULT BuildEngine();
    // Starts an engine on m_window, which the test made; m_engine is that engine.
    HRESULT StartEngine();
    void DestroyEngine();

    void Send(std::uint32_t message, std::uint32_t key = 0, int x = 0, int y = 0);
    // The draw canvas as floats, four a pixel, top row first.
    std::vector<float> ReadCanvas() const;
    // The back buffer as RGBA bytes, top row first.
    std::vector<std::uint8_t> BackBuffer() const;

    WorkingFolder m_folder;
    EngineHooks m_hooks; // for every engine the test builds
    std::unique_ptr<HeadlessWindow> m_window;
    std::unique_ptr<EngineSession> m_session;
    CRenderEngine* m_engine = nullptr; // the session's engine, null without one
    std::unique_ptr<MessageBoxRecorder> m_boxes;
};

} // namespace lumeno::test
