// The frame of BM_Frame/Engine written straight against GL, with nothing of the engine
// in the loop: the same step and upload, the same shaders (taken from the shipped effect
// file at setup), the same line, fade and scene passes into the same targets, glFinish.
// No text and no saved and restored states: the difference to the engine's frame is
// what the engine adds.

#include <epoxy/gl.h>

#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "frame_bench_settings.h"
#include "particles/attractor.h"
#include "particles/emission.h"
#include "particles/particle_array.h"
#include "particles/simulation_step_fast.h"
#include "platform/gl/effect_source.h"
#include "platform/gl/gl_context.h"
#include "platform/gl/gl_surface.h"

namespace lumeno {
namespace {


GLuint Compile(GLenum stage, const std::string& source)
{
    const GLuint shader = glCreateShader(stage);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    return shader;
}

// One technique of the effect file as a program, or 0.
GLuint Program(const EffectSource& effect, const char* techniqueName)
{
    for (const EffectTechniqueSource& technique : effect.techniques) {
        if (technique.name != techniqueName)
            continue;
        const EffectSection* vertex = FindSection(effect.vertexSections, technique.vertex);
        const EffectSection* fragment = FindSection(effect.fragmentSections, technique.fragment);
        if (!vertex || !fragment)
            return 0;
        const GLuint program = glCreateProgram();
        glAttachShader(program, Compile(GL_VERTEX_SHADER, kVertexPrelude + effect.common.code + vertex->code));
        glAttachShader(program, Compile(GL_FRAGMENT_SHADER, "#version 330 core\n" + effect.common.code + fragment->code));
        glLinkProgram(program);
        GLint linked = 0;
        glGetProgramiv(program, GL_LINK_STATUS, &linked);
        return linked ? program : 0;
    }
    return 0;
}

struct Target {
    GLuint texture = 0, framebuffer = 0;
    void Create(GLenum format, int width, int height)
    {
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, GL_RGBA, GL_FLOAT, nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
    }
};

// Everything the loop draws with, made once.
struct BareScene {
    GLuint lines = 0, fade = 0, scene = 0;
    GLuint particleArray = 0, particleBuffer = 0, quadArray = 0, quadBuffer = 0;
    Target canvas[2], backBuffer;

    bool Create(int n, std::string* error)
    {
        std::ifstream file(std::string(LUMENO_SOURCE_DIR) + "/Engine/Shaders/Lumeno.fx", std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        EffectSource effect;
        if (!ParseEffectSource(text.str(), "Lumeno.fx", &effect, error))
            return false;
        lines = Program(effect, "Lumeno");
        fade = Program(effect, "Fade");
        scene = Program(effect, "Scene");
        if (!lines || !fade || !scene) {
            *error = "a technique did not build";
            return false;
        }
        const int w = bench::kFrameCanvasWidth, h = bench::kFrameCanvasHeight;
        canvas[0].Create(GL_RGBA32F, w, h);
        canvas[1].Create(GL_RGBA32F, w, h);
        backBuffer.Create(GL_RGBA8, w, h);

        // Position, velocity and colour of each vertex: sets 0, 1, 2 at locations 1, 2, 3.
        glGenVertexArrays(1, &particleArray);
        glBindVertexArray(particleArray);
        glGenBuffers(1, &particleBuffer);
        glBindBuffer(GL_ARRAY_BUFFER, particleBuffer);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(n) * 64, nullptr, GL_STREAM_DRAW);
        const GLint sizes[3] = {2, 2, 4};
        const std::uintptr_t offsets[3] = {0, 8, 16};
        for (GLuint i = 0; i < 3; ++i) {
            glVertexAttribPointer(1 + i, sizes[i], GL_FLOAT, GL_FALSE, 32, reinterpret_cast<const void*>(offsets[i]));
            glEnableVertexAttribArray(1 + i);
        }

        const float fw = static_cast<float>(w), fh = static_cast<float>(h);
        const float quad[4][6] = {{-0.501f, -0.501f, 0, 1, 0, 0},
                                  {-0.501f, fh - 0.501f, 0, 1, 0, 1},
                                  {fw - 0.501f, -0.501f, 0, 1, 1, 0},
                                  {fw - 0.501f, fh - 0.501f, 0, 1, 1, 1}};
        glGenVertexArrays(1, &quadArray);
        glBindVertexArray(quadArray);
        glGenBuffers(1, &quadBuffer);
        glBindBuffer(GL_ARRAY_BUFFER, quadBuffer);
        glBufferData(GL_ARRAY_BUFFER, sizeof quad, quad, GL_STATIC_DRAW);
        glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, 24, nullptr);
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 24, reinterpret_cast<const void*>(16));
        glEnableVertexAttribArray(1);
        glViewport(0, 0, w, h);
        return glGetError() == GL_NO_ERROR;
    }

    void Quad(GLuint program, GLuint source) const
    {
        glUseProgram(program);
        glUniform2f(glGetUniformLocation(program, "lumeno_TargetSize"), bench::kFrameCanvasWidth,
                    bench::kFrameCanvasHeight);
        glUniform1f(glGetUniformLocation(program, "g_fFadeOutRatio"), g_particleSettings.fadeOutRatio);
        glUniform1f(glGetUniformLocation(program, "g_fExp"), g_particleSettings.exp);
        glBindTexture(GL_TEXTURE_2D, source);
        glBindVertexArray(quadArray);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    }
};

void FrameBareGl(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    bench::SetFrameSettings(n);
    std::string error;
    std::unique_ptr<GlContext> context = CreateHeadlessContext(&error);
    BareScene gl;
    if (!context || !gl.Create(n, &error)) {
        state.SkipWithError(("no headless context or scene: " + error).c_str());
        return;
    }
    const int w = bench::kFrameCanvasWidth, h = bench::kFrameCanvasHeight;
    ParticleArray particles = ParticleArray::Allocate(static_cast<std::size_t>(n));
    // Emitted and attracted at the pointer's start, canvas pixel (0, 0), as in the engine.
    const ParticleSettings& s = g_particleSettings;
    EmitReference(particles.data(), n, EmissionParams{0, 0, w, h, s.createMethod, n, s.radius, s.power, s.scattering});
    Attractor attractor;
    StepInputs in;
    in.color[0] = in.color[3] = 1.0f;
    in.speed = g_particleSettings.speed;
    in.drag = g_particleSettings.drag;
    in.gravityAmount = g_particleSettings.gravityAmount;
    in.gravityPower = g_particleSettings.gravityPower;
    const std::size_t bytes = static_cast<std::size_t>(n) * sizeof(Particle);
    int index = 0;

    const auto frame = [&] {
        glBindFramebuffer(GL_FRAMEBUFFER, gl.backBuffer.framebuffer);
        glClear(GL_COLOR_BUFFER_BIT);
        // Lines, added into the draw canvas.
        glBindFramebuffer(GL_FRAMEBUFFER, gl.canvas[index].framebuffer);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glBlendEquation(GL_FUNC_ADD);
        if (g_particleSettings.antiAlias)
            glEnable(GL_LINE_SMOOTH);
        glUseProgram(gl.lines);
        glUniform2f(glGetUniformLocation(gl.lines, "lumeno_TargetSize"), w, h);
        glUniform1f(glGetUniformLocation(gl.lines, "g_fParticleCount"), static_cast<float>(n));
        glUniform1f(glGetUniformLocation(gl.lines, "g_fAlphaIntensity"), g_particleSettings.alphaIntensity);
        glUniform1f(glGetUniformLocation(gl.lines, "g_fScreenAspectRatio"), static_cast<float>(h) / w);
        glBindVertexArray(gl.particleArray);
        glDrawArrays(GL_LINES, 0, 2 * n);
        glDisable(GL_BLEND);
        glDisable(GL_LINE_SMOOTH);
        // Fade into the spare canvas, then the draw canvas onto the back buffer.
        glBindFramebuffer(GL_FRAMEBUFFER, gl.canvas[1 - index].framebuffer);
        gl.Quad(gl.fade, gl.canvas[index].texture);
        glBindFramebuffer(GL_FRAMEBUFFER, gl.backBuffer.framebuffer);
        gl.Quad(gl.scene, gl.canvas[index].texture);
        // The step and the upload, then the flip.
        attractor.Advance(0.0f, 0.0f, w, h);
        in.attractorX = attractor.x;
        in.attractorY = attractor.y;
        SimulateFast(particles.data(), 0, n, in);
        glBindBuffer(GL_ARRAY_BUFFER, gl.particleBuffer);
        void* data = glMapBufferRange(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(bytes),
                                      GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_BUFFER_BIT);
        if (data)
            std::memcpy(data, particles.data(), bytes);
        glUnmapBuffer(GL_ARRAY_BUFFER);
        index = 1 - index;
        glFinish();
    };
    for (int i = 0; i < bench::kFrameWarmUpFrames; ++i)
        frame();
    for (auto _ : state)
        frame();
    state.SetItemsProcessed(state.iterations() * n);
    context.reset();
    CanvasSettingsRecord().SetDefaults();
    g_particleSettings.SetDefaults();
}

BENCHMARK(FrameBareGl)->Name("BM_Frame/BareGL")->Apply(bench::FrameRuns);

} // namespace
} // namespace lumeno
