#include "platform/font/text_renderer.h"

#include <epoxy/gl.h>

#include <array>
#include <fstream>
#include <iterator>
#include <vector>

#include <stb_truetype.h>

#include "platform/gl/saved_gl_state.h"
#include "platform/gl/shader_program.h"

namespace lumeno {
namespace {

// Faces tried in turn: any plain sans-serif TrueType face will do for a number.
constexpr const char* kFaces[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
    "/usr/share/fonts/truetype/freefont/FreeSans.ttf",
    "/usr/share/fonts/TTF/DejaVuSans.ttf",
};
constexpr int kFirstChar = 32;
constexpr int kCharCount = 95; // printable ASCII
constexpr int kAtlasSize = 256;

constexpr const char* kVertexShader = R"(#version 330 core
layout(location = 0) in vec4 position; // pixel x, y; atlas u, v
uniform vec2 targetSize;
out vec2 uv;
void main()
{
    uv = position.zw;
    // Targets keep their top row at GL row 0: pixel y maps straight to clip y.
    gl_Position = vec4(position.x / targetSize.x * 2.0 - 1.0, position.y / targetSize.y * 2.0 - 1.0, 0.0, 1.0);
}
)";
constexpr const char* kFragmentShader = R"(#version 330 core
in vec2 uv;
uniform sampler2D atlas;
uniform vec4 colour;
out vec4 result;
void main()
{
    result = vec4(colour.rgb, colour.a * texture(atlas, uv).r);
}
)";

std::vector<unsigned char> ReadFace()
{
    for (const char* path : kFaces) {
        std::ifstream in(path, std::ios::binary);
        if (in)
            return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    return {};
}

} // namespace

struct TextRenderer::Atlas {
    std::array<stbtt_bakedchar, kCharCount> glyphs{};
    float ascent = 0.0f;
    GlTextureName texture;
    GlProgramName program;
    GlVertexArrayName vertexArray;
    GlBufferName buffer;
    GLint targetSizeLocation = -1;
    GLint colourLocation = -1;
};

TextRenderer::TextRenderer(GlDevice& device) : m_device(device) {}
TextRenderer::~TextRenderer() = default;

std::unique_ptr<TextRenderer> TextRenderer::Create(GlDevice& device, int pixelHeight)
{
    const std::vector<unsigned char> face = ReadFace();
    if (face.empty())
        return nullptr;
    auto atlas = std::make_unique<Atlas>();
    std::vector<unsigned char> pixels(kAtlasSize * kAtlasSize);
    if (stbtt_BakeFontBitmap(face.data(), 0, static_cast<float>(pixelHeight), pixels.data(), kAtlasSize, kAtlasSize,
                             kFirstChar, kCharCount, atlas->glyphs.data()) <= 0)
        return nullptr;
    stbtt_fontinfo info;
    if (!stbtt_InitFont(&info, face.data(), 0))
        return nullptr;
    int ascent = 0, descent = 0, lineGap = 0;
    stbtt_GetFontVMetrics(&info, &ascent, &descent, &lineGap);
    atlas->ascent = static_cast<float>(ascent) * stbtt_ScaleForPixelHeight(&info, static_cast<float>(pixelHeight));

    std::string log;
    const GlShaderName vertex = CompileShader(GL_VERTEX_SHADER, kVertexShader, &log);
    const GlShaderName fragment = CompileShader(GL_FRAGMENT_SHADER, kFragmentShader, &log);
    if (!vertex || !fragment)
        return nullptr;
    atlas->program = LinkProgram(vertex, fragment, &log);
    if (!atlas->program)
        return nullptr;
    atlas->targetSizeLocation = glGetUniformLocation(atlas->program.Get(), "targetSize");
    atlas->colourLocation = glGetUniformLocation(atlas->program.Get(), "colour");

    GLuint name = 0;
    {
        const SavedGlState saved;
        glGenTextures(1, &name);
        atlas->texture = GlTextureName(name);
        glBindTexture(GL_TEXTURE_2D, name);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, kAtlasSize, kAtlasSize, 0, GL_RED, GL_UNSIGNED_BYTE, pixels.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    }

    glGenVertexArrays(1, &name);
    atlas->vertexArray = GlVertexArrayName(name);
    glGenBuffers(1, &name);
    atlas->buffer = GlBufferName(name);

    std::unique_ptr<TextRenderer> renderer(new TextRenderer(device));
    renderer->m_atlas = std::move(atlas);
    return renderer;
}

void TextRenderer::Draw(std::string_view text, const GlRect& rect, D3DCOLOR colour)
{
    std::shared_ptr<GlSurface> target;
    if (FAILED(m_device.GetRenderTarget(0, &target)) || !target)
        return;

    // Six vertices of (x, y, u, v) a glyph, laid out from the top-left corner.
    std::vector<float> vertices;
    float x = static_cast<float>(rect.left);
    float y = static_cast<float>(rect.top) + m_atlas->ascent;
    for (char c : text) {
        if (c < kFirstChar || c >= kFirstChar + kCharCount)
            continue;
        stbtt_aligned_quad q;
        stbtt_GetBakedQuad(m_atlas->glyphs.data(), kAtlasSize, kAtlasSize, c - kFirstChar, &x, &y, &q, 1);
        if (q.x1 > static_cast<float>(rect.right) || q.y1 > static_cast<float>(rect.bottom))
            break;
        const float quad[6][4] = {{q.x0, q.y0, q.s0, q.t0}, {q.x1, q.y0, q.s1, q.t0}, {q.x1, q.y1, q.s1, q.t1},
                                  {q.x0, q.y0, q.s0, q.t0}, {q.x1, q.y1, q.s1, q.t1}, {q.x0, q.y1, q.s0, q.t1}};
        vertices.insert(vertices.end(), &quad[0][0], &quad[0][0] + 24);
    }
    if (vertices.empty())
        return;

    // Everything changed here is put back: the device mirrors GL state and trusts it.
    const SavedGlState saved;
    glActiveTexture(GL_TEXTURE0);
    glUseProgram(m_atlas->program.Get());
    glUniform2f(m_atlas->targetSizeLocation, static_cast<float>(target->Width()), static_cast<float>(target->Height()));
    glUniform4f(m_atlas->colourLocation, ((colour >> 16) & 0xFF) / 255.0f, ((colour >> 8) & 0xFF) / 255.0f,
                (colour & 0xFF) / 255.0f, ((colour >> 24) & 0xFF) / 255.0f);
    glBindTexture(GL_TEXTURE_2D, m_atlas->texture.Get());
    glBindVertexArray(m_atlas->vertexArray.Get());
    glBindBuffer(GL_ARRAY_BUFFER, m_atlas->buffer.Get());
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(float)), vertices.data(),
                 GL_STREAM_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, 4 * sizeof(float), nullptr);
    glEnable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glBlendEquation(GL_FUNC_ADD);
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(vertices.size() / 4));
}

} // namespace lumeno
