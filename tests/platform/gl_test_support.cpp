#include "gl_test_support.h"

#include <epoxy/gl.h>

#include <cstring>
#include <fstream>

namespace lumeno::test {

const char* const kTestEffect = R"(Test techniques.
@common
uniform float g_fValue;
@vertex Quad
layout(location = 0) in vec4 inPositionT; layout(location = 1) in vec2 inTexCoord; out vec2 texCoord;
void main() { gl_Position = PretransformedToGl(inPositionT); texCoord = inTexCoord; }
@vertex Line
uniform float g_fScreenAspectRatio; layout(location = 1) in vec2 inPosition; layout(location = 3) in vec4 inColour;
out vec4 colour;
void main()
{ gl_Position = D3DClipToGl(vec4(inPosition.x * g_fScreenAspectRatio, inPosition.y, 0.0, 1.0)); colour = inColour; }
@fragment Constant
out vec4 fragColour; void main() { fragColour = vec4(g_fValue); }
@fragment Gradient
out vec4 fragColour;
void main()
{ vec2 p = floor(gl_FragCoord.xy); fragColour = vec4(p.x / 16.0, p.y / 8.0, (p.x + 16.0 * p.y) / 128.0, 1.0); }
@fragment TexCoord
in vec2 texCoord; out vec4 fragColour; void main() { fragColour = vec4(texCoord, 0.0, 1.0); }
@fragment Difference
uniform sampler2D g_tA; uniform sampler2D g_tB; in vec2 texCoord; out vec4 fragColour;
void main() { fragColour = texture(g_tA, texCoord) - texture(g_tB, texCoord); }
@vertex PixelLine
layout(location = 1) in vec2 inPosition; layout(location = 3) in vec4 inColour; out vec4 colour;
void main() { gl_Position = vec4(inPosition / lumeno_TargetSize * 2.0 - 1.0, 0.0, 1.0); colour = inColour; }
@fragment LineColour
in vec4 colour; out vec4 fragColour; void main() { fragColour = colour; }
@compute CapturePixelLine
layout(local_size_x = 64) in;
void main() { int v = LumenoVertex(); if (v >= lumeno_VertexCount) return;
    vec2 place = LumenoStreamTexel(v, 0).xy / lumeno_TargetSize * 2.0 - 1.0;
    LumenoCapture(v, vec4(place, 0.0, 1.0), LumenoStreamTexel(v, 1)); }
@technique Constant Quad Constant
@technique Gradient Quad Gradient
@technique TexCoord Quad TexCoord
@technique Difference Quad Difference
@technique Line Line LineColour
@technique Lit PixelLine LineColour CapturePixelLine
@technique Unlit PixelLine LineColour
)";

void GlDeviceTest::SetUp()
{
    std::string error;
    m_context = CreateHeadlessContext(&error);
    ASSERT_NE(m_context, nullptr) << error;
    ASSERT_EQ(GlDevice::Create(*m_context, kWidth, kHeight, &m_device), S_OK);
    // As the engine sets it up: the screen quad runs counter-clockwise on screen, and a
    // fresh device culls exactly those triangles.
    ASSERT_EQ(m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW), S_OK);
}

void GlEffectTest::SetUp()
{
    GlDeviceTest::SetUp();
    if (HasFatalFailure())
        return;
    const std::string path = m_folder.File("test.fx");
    std::ofstream(path) << kTestEffect;
    std::string log;
    ASSERT_EQ(CreateEffectFromFile(*m_device, path, &m_effect, &log), S_OK) << log;
    EXPECT_EQ(log, "");
    m_effect->SetFloat("g_fScreenAspectRatio", 0.5f);
    m_canvas = MakeCanvas(D3DFMT_A32B32G32R32F);
    Fill(m_canvas, 0x00000000);
}

Canvas GlDeviceTest::MakeCanvas(D3DFORMAT format, int width, int height)
{
    Canvas canvas;
    EXPECT_EQ(m_device->CreateTexture(width, height, format, &canvas.texture), S_OK);
    if (canvas.texture) {
        EXPECT_EQ(canvas.texture->GetSurfaceLevel(0, &canvas.surface), S_OK);
    }
    return canvas;
}

void GlDeviceTest::Fill(const Canvas& canvas, D3DCOLOR colour)
{
    EXPECT_EQ(m_device->SetRenderTarget(0, canvas.surface), S_OK);
    EXPECT_EQ(m_device->Clear(colour), S_OK);
}

std::shared_ptr<GlVertexBuffer> GlDeviceTest::MakeBuffer(const void* data, std::size_t bytes, std::uint32_t flags)
{
    std::shared_ptr<GlVertexBuffer> buffer;
    EXPECT_EQ(m_device->CreateVertexBuffer(static_cast<std::uint32_t>(bytes), &buffer), S_OK);
    void* mapped = nullptr;
    EXPECT_EQ(buffer->Lock(0, 0, &mapped, flags), S_OK);
    std::memcpy(mapped, data, bytes);
    EXPECT_EQ(buffer->Unlock(), S_OK);
    return buffer;
}

void GlDeviceTest::SetBlend(std::uint32_t source, std::uint32_t destination, std::uint32_t op)
{
    EXPECT_EQ(m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1), S_OK);
    EXPECT_EQ(m_device->SetRenderState(D3DRS_SRCBLEND, source), S_OK);
    EXPECT_EQ(m_device->SetRenderState(D3DRS_DESTBLEND, destination), S_OK);
    EXPECT_EQ(m_device->SetRenderState(D3DRS_BLENDOP, op), S_OK);
}

namespace {

void RunPass(GlDevice& device, GlEffect& effect, const char* technique, D3DPRIMITIVETYPE type, std::uint32_t count)
{
    EXPECT_TRUE(effect.SetTechnique(technique) == S_OK && effect.Begin(nullptr, D3DXFX_DONOTSAVESTATE) == S_OK &&
                effect.BeginPass(0) == S_OK && device.DrawPrimitive(type, 0, count) == S_OK &&
                effect.EndPass() == S_OK && effect.End() == S_OK)
        << technique;
}

} // namespace

void GlDeviceTest::DrawQuad(const char* technique)
{
    if (m_quad == nullptr) {
        const float w = kWidth - 0.501f, h = kHeight - 0.501f;
        const float vertices[4][6] = {
            {-0.501f, -0.501f, 0, 1, 0, 0}, {-0.501f, h, 0, 1, 0, 1}, {w, -0.501f, 0, 1, 1, 0}, {w, h, 0, 1, 1, 1}};
        m_quad = MakeBuffer(vertices, sizeof(vertices));
    }
    EXPECT_EQ(m_device->SetFVF(D3DFVF_XYZRHW | D3DFVF_TEX1), S_OK);
    EXPECT_EQ(m_device->SetStreamSource(0, m_quad, 0, 24), S_OK);
    RunPass(*m_device, *m_effect, technique, D3DPT_TRIANGLESTRIP, 2);
}

void GlDeviceTest::DrawLines(const char* technique, const std::shared_ptr<GlVertexBuffer>& buffer, std::uint32_t lines)
{
    EXPECT_EQ(m_device->SetFVF(D3DFVF_TEX3 | D3DFVF_TEXCOORDSIZE4(2)), S_OK);
    EXPECT_EQ(m_device->SetStreamSource(0, buffer, 0, sizeof(LineVertex)), S_OK);
    RunPass(*m_device, *m_effect, technique, D3DPT_LINELIST, lines);
}

std::vector<float> GlDeviceTest::ReadChannels(const GlSurface& surface)
{
    GlImage image;
    EXPECT_EQ(m_device->ReadSurface(surface, &image), S_OK);
    if (!image.floats.empty())
        return image.floats;
    std::vector<float> channels;
    for (std::uint8_t byte : image.bytes)
        channels.push_back(static_cast<float>(byte) / 255.0f);
    return channels;
}

GLint GlInt(GLenum name, int index)
{
    GLint values[4] = {};
    glGetIntegerv(name, values);
    return values[index];
}

std::vector<float> Pixel(const std::vector<float>& channels, int x, int y, int width)
{
    const auto start = channels.begin() + (static_cast<std::ptrdiff_t>(y) * width + x) * 4;
    return std::vector<float>(start, start + 4);
}

} // namespace lumeno::test
