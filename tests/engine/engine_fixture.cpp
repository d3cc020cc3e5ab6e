#include "engine_fixture.h"

#include "engine/render_device.h"
#include "particles/particle_system.h"

namespace lumeno::test {

void EngineTest::SetUp()
{
    CanvasSettingsRecord().width = 64;
    CanvasSettingsRecord().height = 48;
    CanvasSettingsRecord().format = kFormatRGBA32F;
    CanvasSettingsRecord().particleCount = 500;
    m_boxes = std::make_unique<MessageBoxRecorder>();
}

void EngineTest::TearDown()
{
    DestroyEngine();
    m_boxes.reset();
}

HRESULT EngineTest::BuildEngine()
{
    DestroyEngine();
    std::string error;
    const ClientSize client = CanvasClientSize();
    m_window = HeadlessWindow::Create(client.width, client.height, &error);
    if (!m_window) {
        ADD_FAILURE() << "no headless context: " << error;
        return E_FAIL;
    }
    return StartEngine();
}

HRESULT EngineTest::StartEngine()
{
    m_session = std::make_unique<EngineSession>(*m_window, m_hooks);
    m_engine = &m_session->Engine();
    return m_session->InitResult();
}

void EngineTest::DestroyEngine()
{
    m_session.reset();
    m_engine = nullptr;
    m_window.reset();
}

void EngineTest::Send(std::uint32_t message, std::uint32_t key, int x, int y)
{
    WindowMessage m;
    m.message = message;
    m.virtualKey = key;
    m.pointerX = static_cast<std::uint16_t>(x);
    m.pointerY = static_cast<std::uint16_t>(y);
    m_engine->HandleMessage(m);
}

std::vector<float> EngineTest::ReadCanvas() const
{
    GlImage image;
    const GlSurface* canvas = m_engine->GetParticleSystem()->GetCanvasSurface();
    EXPECT_TRUE(canvas);
    if (!canvas || FAILED(m_engine->GetGlDevice()->ReadSurface(*canvas, &image)))
        return {};
    if (!image.floats.empty())
        return image.floats;
    std::vector<float> values(image.bytes.size());
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = image.bytes[i] / 255.0f;
    return values;
}

std::vector<std::uint8_t> EngineTest::BackBuffer() const
{
    GlImage image;
    EXPECT_EQ(m_engine->GetGlDevice()->ReadSurface(*m_engine->GetDevice()->GetBackBuffer(), &image), S_OK);
    return image.bytes;
}

} // namespace lumeno::test
