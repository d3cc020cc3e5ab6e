// The scene pass alone: the canvas through the exposure curve onto an 8-bit target of the
// default 1024 x 768, against a floor that only reads the canvas and writes the target
// with the same quad, sampler and targets. Each draw is closed with glFinish.

#include <benchmark/benchmark.h>

#include <epoxy/gl.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/gl/gl_context.h"
#include "platform/gl/gl_device.h"
#include "platform/gl/gl_effect.h"
#include "platform/gl/gl_surface.h"
#include "platform/gl/gl_vertex_buffer.h"

namespace lumeno {
namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

// Appended to the shipped file, so the floor shares its quad and its sampler.
constexpr const char* kFloorSections = R"(
@fragment FloorCopy
uniform sampler2D g_tScene;
in vec2 texCoord;
out vec4 fragColour;
void main() { fragColour = vec4(texture(g_tScene, texCoord).rgb, 1.0); }
@technique Floor ScreenQuad FloorCopy
)";

class ScenePass {
public:
    static ScenePass& Get()
    {
        static ScenePass pass;
        return pass;
    }
    bool Ready() const { return m_effect != nullptr; }

    void Draw(const char* technique)
    {
        (void)m_device->SetRenderTarget(0, m_targetSurface);
        (void)m_device->SetFVF(D3DFVF_XYZRHW | D3DFVF_TEX1);
        (void)m_device->SetStreamSource(0, m_quad, 0, 24);
        (void)m_effect->SetTechnique(technique);
        (void)m_effect->SetFloat("g_fExp", 1.7f);
        (void)m_effect->SetTexture("g_tScene", m_canvas);
        (void)m_effect->Begin(nullptr, D3DXFX_DONOTSAVESTATE);
        (void)m_effect->BeginPass(0);
        (void)m_device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
        (void)m_effect->EndPass();
        (void)m_effect->End();
        glFinish();
    }

private:
    ScenePass()
    {
        std::string error;
        m_context = CreateHeadlessContext(&error);
        if (!m_context || FAILED(GlDevice::Create(*m_context, kWidth, kHeight, &m_device)))
            return;
        (void)m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
        if (FAILED(m_device->CreateTexture(kWidth, kHeight, D3DFMT_A32B32G32R32F, &m_canvas)) ||
            FAILED(m_device->CreateTexture(kWidth, kHeight, D3DFMT_A8R8G8B8, &m_target)) ||
            FAILED(m_target->GetSurfaceLevel(0, &m_targetSurface)))
            return;
        FillCanvas();
        MakeQuad();
        LoadEffect();
        // llvmpipe compiles shader variants on the first draws of each state.
        for (int i = 0; Ready() && i < 3; ++i) {
            Draw("Scene");
            Draw("Floor");
        }
    }

    // Light and ink beyond the canvas's 0..1 as a busy picture has them.
    void FillCanvas()
    {
        std::vector<float> texels(static_cast<std::size_t>(kWidth) * kHeight * 4);
        for (std::size_t i = 0; i < texels.size(); ++i)
            texels[i] = 0.5f + 0.9f * std::sin(static_cast<float>(i) * 0.0137f);
        glBindTexture(GL_TEXTURE_2D, m_canvas->Name());
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, kWidth, kHeight, GL_RGBA, GL_FLOAT, texels.data());
        glBindTexture(GL_TEXTURE_2D, 0);
    }

    void MakeQuad()
    {
        const float w = kWidth - 0.501f;
        const float h = kHeight - 0.501f;
        const float vertices[4][6] = {
            {-0.501f, -0.501f, 0, 1, 0, 0}, {-0.501f, h, 0, 1, 0, 1}, {w, -0.501f, 0, 1, 1, 0}, {w, h, 0, 1, 1, 1}};
        void* data = nullptr;
        if (FAILED(m_device->CreateVertexBuffer(sizeof(vertices), &m_quad)) || FAILED(m_quad->Lock(0, 0, &data, 0)))
            return;
        std::memcpy(data, vertices, sizeof(vertices));
        (void)m_quad->Unlock();
    }

    void LoadEffect()
    {
        std::ifstream shipped(std::string(LUMENO_SOURCE_DIR) + "/Engine/Shaders/Lumeno.fx");
        std::stringstream text;
        text << shipped.rdbuf() << kFloorSections;
        const std::filesystem::path path = std::filesystem::temp_directory_path() / "lumeno-bench-scene.fx";
        std::ofstream(path) << text.str();
        std::string log;
        if (FAILED(CreateEffectFromFile(*m_device, path.string(), &m_effect, &log)))
            std::fprintf(stderr, "scene benchmark: the effect did not load:\n%s\n", log.c_str());
        std::filesystem::remove(path);
    }

    std::unique_ptr<GlContext> m_context;
    std::unique_ptr<GlDevice> m_device;
    std::shared_ptr<GlTexture> m_canvas, m_target;
    std::shared_ptr<GlSurface> m_targetSurface;
    std::shared_ptr<GlVertexBuffer> m_quad;
    std::unique_ptr<GlEffect> m_effect;
};

void RunPass(benchmark::State& state, const char* technique)
{
    ScenePass& pass = ScenePass::Get();
    if (!pass.Ready()) {
        state.SkipWithError("no headless GL context or effect");
        return;
    }
    for (auto _ : state)
        pass.Draw(technique);
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void SceneExposure(benchmark::State& state) { RunPass(state, "Scene"); }
void SceneFloor(benchmark::State& state) { RunPass(state, "Floor"); }

BENCHMARK(SceneExposure)->Name("BM_Scene/Exposure")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SceneFloor)->Name("BM_Scene/Floor")->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace lumeno
