#include "platform/gl/gl_software_lines.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cstring>
#include <span>
#include <string>
#include <thread>

#include "platform/gl/gl_error.h"
#include "platform/gl/shader_program.h"

namespace lumeno {
namespace {

// A rectangle of lit tiles an instance, two triangles from gl_VertexID: the fragments add
// the light of their own pixels, and the tiles no line lit are never visited.
constexpr const char* kLightVertex = R"(#version 330 core
layout(location = 0) in ivec4 lumeno_Run; // left, bottom, right, top in pixels
uniform vec2 lumeno_TargetSize;
void main()
{
    // Corners 0, 1, 2 and 2, 1, 3 of the rectangle: bit 0 right, bit 1 top.
    int corner = gl_VertexID < 3 ? gl_VertexID : (gl_VertexID == 5 ? 3 : 5 - gl_VertexID);
    vec2 pixel = vec2((corner & 1) != 0 ? lumeno_Run.z : lumeno_Run.x, (corner & 2) != 0 ? lumeno_Run.w : lumeno_Run.y);
    gl_Position = vec4(pixel / lumeno_TargetSize * 2.0 - 1.0, 0.0, 1.0);
}
)";
// The light is kept tile by tile (line_raster.h): square tiles of 2^kTileShift pixels a
// side, its red, green, blue and alpha one after the other, each row after row.
constexpr const char* kLightFragment = R"(
uniform samplerBuffer lumeno_Light;
uniform int lumeno_LightTilesAcross;
uniform float lumeno_LightScale;
out vec4 fragColour;
const int kSide = 1 << kShift;
const int kPixels = kSide * kSide;
void main()
{
    ivec2 pixel = ivec2(gl_FragCoord.xy);
    int tile = (pixel.y >> kShift) * lumeno_LightTilesAcross + (pixel.x >> kShift);
    int red = tile * 4 * kPixels + (pixel.y & (kSide - 1)) * kSide + (pixel.x & (kSide - 1));
    fragColour = vec4(texelFetch(lumeno_Light, red).r, texelFetch(lumeno_Light, red + kPixels).r,
                      texelFetch(lumeno_Light, red + 2 * kPixels).r, texelFetch(lumeno_Light, red + 3 * kPixels).r) *
                 lumeno_LightScale;
}
)";

// Vertices captured by one dispatch: 32 MB of captured vertices, small enough for any
// storage buffer a driver offers, large enough that a dispatch's fixed cost is lost.
constexpr std::size_t kRoundVertices = std::size_t{1} << 20;

} // namespace

int GlSoftwareLines::RasterThreads()
{
    // More threads than cores only share them; past eight the captured vertices' bandwidth,
    // not the pixels, is what limits.
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
}

std::unique_ptr<GlSoftwareLines> GlSoftwareLines::Create()
{
    // Compute shaders (4.3) capture the lines; a persistently mapped buffer (4.4) lets the
    // light pass read what the threads wrote without a copy.
    if (epoxy_gl_version() < 44)
        return nullptr;
    std::unique_ptr<GlSoftwareLines> lines(new GlSoftwareLines());
    std::string log;
    GlShaderName vertex = CompileShader(GL_VERTEX_SHADER, kLightVertex, &log);
    const std::string fragmentSource =
        "#version 330 core\nconst int kShift = " + std::to_string(kTileShift) + ";\n" + kLightFragment;
    GlShaderName fragment = CompileShader(GL_FRAGMENT_SHADER, fragmentSource.c_str(), &log);
    if (!vertex || !fragment)
        return nullptr;
    lines->m_lightPass = LinkProgram(vertex, fragment, &log);
    if (!lines->m_lightPass)
        return nullptr;
    glProgramUniform1i(lines->m_lightPass.Get(), glGetUniformLocation(lines->m_lightPass.Get(), "lumeno_Light"),
                       static_cast<GLint>(kLightUnit));
    lines->m_lightTilesLocation = glGetUniformLocation(lines->m_lightPass.Get(), "lumeno_LightTilesAcross");
    lines->m_lightScaleLocation = glGetUniformLocation(lines->m_lightPass.Get(), "lumeno_LightScale");
    lines->m_targetSizeLocation = glGetUniformLocation(lines->m_lightPass.Get(), "lumeno_TargetSize");
    GLint64 storageBytes = 0;
    glGetInteger64v(GL_MAX_SHADER_STORAGE_BLOCK_SIZE, &storageBytes);
    glGetIntegerv(GL_MAX_TEXTURE_BUFFER_SIZE, &lines->m_maxTexels);
    lines->m_roundVertices =
        std::min(kRoundVertices, static_cast<std::size_t>(storageBytes) / sizeof(CapturedVertex)) & ~std::size_t{1};
    // The lit runs, one an instance.
    lines->m_runVertices = GenVertexArray();
    lines->m_runs = GenBuffer();
    GLint arrayBuffer = 0;
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &arrayBuffer);
    glBindVertexArray(lines->m_runVertices.Get());
    glBindBuffer(GL_ARRAY_BUFFER, lines->m_runs.Get());
    glEnableVertexAttribArray(0);
    glVertexAttribIPointer(0, 4, GL_INT, sizeof(TileRun), nullptr);
    glVertexAttribDivisor(0, 1);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, static_cast<GLuint>(arrayBuffer));
    lines->m_streamTexture = GenTexture();
    lines->m_capture = GenBuffer();
    lines->m_lightTexture = GenTexture();
    if (FAILED(TakeGlError()) || lines->m_roundVertices == 0)
        return nullptr;
    return lines;
}

GlSoftwareLines::~GlSoftwareLines()
{
    m_raster.Attach(nullptr, 0, 0);
    if (m_lightInUse != nullptr)
        glDeleteSync(m_lightInUse);
}

void GlSoftwareLines::Abandon()
{
    m_lightInUse = nullptr;
    m_lightPass.Abandon();
    m_runVertices.Abandon();
    m_runs.Abandon();
    m_streamTexture.Abandon();
    m_capture.Abandon();
    m_light.Abandon();
    m_lightTexture.Abandon();
}

bool GlSoftwareLines::Draw(const LineCapture& capture, const Stream& stream, std::uint32_t firstVertex,
                           std::uint32_t vertexCount, int width, int height, TileBlend blend)
{
    if (stream.length / 16 > static_cast<std::uint32_t>(m_maxTexels))
        return false;
    if (!FitLight(width, height) || !FitCapture(std::min<std::size_t>(vertexCount, m_roundVertices)))
        return false;
    glActiveTexture(GL_TEXTURE0 + LineCapture::kStreamUnit);
    glBindTexture(GL_TEXTURE_BUFFER, m_streamTexture.Get());
    glTexBuffer(GL_TEXTURE_BUFFER, GL_RGBA32F, stream.buffer);
    glActiveTexture(GL_TEXTURE0);
    // The light pass of the last draw may still be reading the light.
    if (m_lightInUse != nullptr) {
        (void)glClientWaitSync(m_lightInUse, GL_SYNC_FLUSH_COMMANDS_BIT, GLuint64{60} * 1000 * 1000 * 1000);
        glDeleteSync(m_lightInUse);
        m_lightInUse = nullptr;
    }
    if (blend == TileBlend::Light) {
        m_raster.Begin();
    } else {
        if (!ReadTarget(width, height, blend))
            return false;
        m_raster.Load(m_targetPixels.data(), blend);
    }
    glUseProgram(capture.program);
    glUniform2f(capture.targetSize, static_cast<float>(width), static_cast<float>(height));
    glUniform1i(capture.texelsPerVertex, static_cast<GLint>(stream.stride / 16));
    for (std::uint32_t done = 0; done < vertexCount;) {
        const auto round = static_cast<std::uint32_t>(std::min<std::size_t>(vertexCount - done, m_roundVertices));
        const auto firstTexel = static_cast<GLint>((stream.offset + std::uint64_t{firstVertex + done} * stream.stride) / 16);
        if (!CaptureRound(capture, firstTexel, round))
            return false;
        done += round;
    }
    AddLight(m_raster.LitRuns(), blend != TileBlend::Light);
    return true;
}

bool GlSoftwareLines::ReadTarget(int width, int height, TileBlend blend)
{
    const std::size_t pixelBytes = LineRaster::BytesPerPixel(blend);
    try {
        m_targetPixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * pixelBytes);
    } catch (const std::bad_alloc&) {
        return false;
    }
    GLint drawFramebuffer = 0;
    GLint readFramebuffer = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawFramebuffer);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readFramebuffer);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(drawFramebuffer));
    GLint packAlignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 4); // rows of whole pixels, nothing between them
    // In the target's own format: nothing for the driver to convert.
    glReadPixels(0, 0, width, height, GL_RGBA, pixelBytes == 8 ? GL_HALF_FLOAT : GL_UNSIGNED_BYTE,
                 m_targetPixels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(readFramebuffer));
    return SUCCEEDED(TakeGlError());
}

bool GlSoftwareLines::CaptureRound(const LineCapture& capture, GLint firstTexel, std::uint32_t vertices)
{
    glUniform1i(capture.firstTexel, firstTexel);
    glUniform1i(capture.vertexCount, static_cast<GLint>(vertices));
    const GLuint groups = (vertices + capture.groupSize - 1) / capture.groupSize;
    const GLuint columns = std::min<GLuint>(groups, 65535); // the least count every driver takes
    glUniform1i(capture.rowInvocations, static_cast<GLint>(columns * capture.groupSize));
    glBindBufferBase(GL_SHADER_STORAGE_BUFFER, 0, m_capture.Get());
    glDispatchCompute(columns, (groups + columns - 1) / columns, 1);
    glMemoryBarrier(GL_BUFFER_UPDATE_BARRIER_BIT);
    glBindBuffer(GL_SHADER_STORAGE_BUFFER, m_capture.Get());
    const auto* captured = static_cast<const CapturedVertex*>(glMapBufferRange(
        GL_SHADER_STORAGE_BUFFER, 0, static_cast<GLsizeiptr>(vertices * sizeof(CapturedVertex)), GL_MAP_READ_BIT));
    if (captured == nullptr) {
        (void)TakeGlError();
        return false;
    }
    m_raster.Add(std::span(captured, vertices));
    glUnmapBuffer(GL_SHADER_STORAGE_BUFFER);
    return true;
}

bool GlSoftwareLines::FitCapture(std::size_t vertices)
{
    if (vertices <= m_captureVertices)
        return true;
    glBindBuffer(GL_SHADER_STORAGE_BUFFER, m_capture.Get());
    glBufferData(GL_SHADER_STORAGE_BUFFER, static_cast<GLsizeiptr>(vertices * sizeof(CapturedVertex)), nullptr,
                 GL_STREAM_READ);
    if (FAILED(TakeGlError())) {
        glBufferData(GL_SHADER_STORAGE_BUFFER, 0, nullptr, GL_STREAM_READ);
        m_captureVertices = 0;
        return false;
    }
    m_captureVertices = vertices;
    return true;
}

bool GlSoftwareLines::FitLight(int width, int height)
{
    if (width == m_lightWidth && height == m_lightHeight)
        return true;
    m_raster.Attach(nullptr, 0, 0);
    m_lightWidth = m_lightHeight = 0;
    if (m_lightInUse != nullptr) {
        glDeleteSync(m_lightInUse); // deleting the buffer waits for its readers
        m_lightInUse = nullptr;
    }
    m_light = GenBuffer(); // storage that is persistently mapped cannot be resized
    const std::size_t floats = LineRaster::LightFloats(width, height); // a texel each
    if (floats > static_cast<std::size_t>(m_maxTexels))
        return false;
    const GLbitfield flags = GL_MAP_WRITE_BIT | GL_MAP_PERSISTENT_BIT | GL_MAP_COHERENT_BIT;
    glBindBuffer(GL_TEXTURE_BUFFER, m_light.Get());
    glBufferStorage(GL_TEXTURE_BUFFER, static_cast<GLsizeiptr>(floats * sizeof(float)), nullptr, flags);
    void* mapped = glMapBufferRange(GL_TEXTURE_BUFFER, 0, static_cast<GLsizeiptr>(floats * sizeof(float)), flags);
    glBindBuffer(GL_TEXTURE_BUFFER, 0);
    if (FAILED(TakeGlError()) || mapped == nullptr) {
        m_light.Reset();
        return false;
    }
    std::memset(mapped, 0, floats * sizeof(float));
    glActiveTexture(GL_TEXTURE0 + kLightUnit);
    glBindTexture(GL_TEXTURE_BUFFER, m_lightTexture.Get());
    glTexBuffer(GL_TEXTURE_BUFFER, GL_R32F, m_light.Get());
    glActiveTexture(GL_TEXTURE0);
    m_raster.Attach(static_cast<float*>(mapped), width, height);
    m_lightWidth = width;
    m_lightHeight = height;
    return true;
}

// Only the lit tiles are blended, or written back: the streaks rarely reach most of the
// canvas, and blending into a float target costs the driver more than the light's fetch.
void GlSoftwareLines::AddLight(const std::vector<TileRun>& runs, bool writeBack)
{
    if (runs.empty())
        return;
    static_assert(sizeof(TileRun) == 4 * sizeof(GLint), "an instance's ivec4");
    // Through a binding the device never draws from, so that none of its own changes.
    glBindBuffer(GL_COPY_WRITE_BUFFER, m_runs.Get());
    glBufferData(GL_COPY_WRITE_BUFFER, static_cast<GLsizeiptr>(runs.size() * sizeof(TileRun)), runs.data(),
                 GL_STREAM_DRAW);
    glActiveTexture(GL_TEXTURE0 + kLightUnit);
    glBindTexture(GL_TEXTURE_BUFFER, m_lightTexture.Get());
    glActiveTexture(GL_TEXTURE0);
    glUseProgram(m_lightPass.Get());
    glUniform1i(m_lightTilesLocation, (m_lightWidth + kTileSide - 1) / kTileSide);
    glUniform1f(m_lightScaleLocation, m_raster.Scale());
    glUniform2f(m_targetSizeLocation, static_cast<float>(m_lightWidth), static_cast<float>(m_lightHeight));
    glBindVertexArray(m_runVertices.Get());
    glDisable(GL_CULL_FACE);
    if (writeBack)
        glDisable(GL_BLEND); // the pixels as the lines left them
    else
        glBlendFunc(GL_ONE, GL_ONE);
    glDrawArraysInstanced(GL_TRIANGLES, 0, 6, static_cast<GLsizei>(runs.size()));
    m_lightInUse = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
}

} // namespace lumeno
