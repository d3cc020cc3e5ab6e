#pragma once
// The device's own path for blended smooth lines: the technique's compute section does
// the vertex section's work for every vertex of the stream (read as a buffer texture, so
// nothing is copied) and captures clip position and colour, the processor spreads each
// line's light over its pixels (line_raster.h), and one pass over the lit tiles adds the
// light to render target 0 with the blend equation set (additive, or reverse-subtractive
// on white). A target that rounds every blend (8-bit and half-float ones) is read back
// instead, the lines are blended into its pixels one by one as it would blend them, and
// the pass writes the lit tiles back. On a software rasteriser, which pays per line
// primitive, this is several times faster than its smooth lines; on a GPU the driver's
// lines are kept.
//
// Usage, inside DrawPrimitive with the stream bound:
//   if (lines->Draw(capture, stream, first, count, width, height)) done; else draw as usual

#include <epoxy/gl.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gl/gl_device.h"
#include "platform/gl/gl_name.h"
#include "platform/gl/line_raster.h"

namespace lumeno {

class GlSoftwareLines {
public:
    struct Stream {
        GLuint buffer = 0;
        std::uint32_t offset = 0; // bytes, a multiple of 16
        std::uint32_t stride = 0; // bytes, a multiple of 16
        std::uint32_t length = 0; // bytes of the buffer
    };

    // Null when the context lacks what the path needs (compute shaders and buffer storage, GL 4.4) or the
    // light pass cannot be built.
    static std::unique_ptr<GlSoftwareLines> Create();
    ~GlSoftwareLines();
    GlSoftwareLines(const GlSoftwareLines&) = delete;
    GlSoftwareLines& operator=(const GlSoftwareLines&) = delete;

    // Draws the lines of `vertexCount` vertices from `firstVertex` into the bound draw
    // framebuffer of width x height, summing their light (TileBlend::Light) or blending
    // them in as `blend` says. False, with nothing drawn, when a buffer cannot get memory
    // or the stream is larger than a buffer texture may be: the caller then draws them as
    // usual. Changes the program, vertex array, blending, culling, the textures of units
    // kLightUnit and kStreamUnit and the copy-write buffer: the caller restores what it
    // needs.
    [[nodiscard]] bool Draw(const LineCapture& capture, const Stream& stream, std::uint32_t firstVertex,
                            std::uint32_t vertexCount, int width, int height, TileBlend blend);

    // Forgets the GL names without freeing them, for a context that is already gone.
    void Abandon();

    static constexpr GLenum kLightUnit = 15; // beyond any unit an effect hands out

private:
    GlSoftwareLines() = default;
    [[nodiscard]] bool FitLight(int width, int height);
    [[nodiscard]] bool FitCapture(std::size_t vertices);
    [[nodiscard]] bool CaptureRound(const LineCapture& capture, GLint firstTexel, std::uint32_t vertices);
    // The target's pixels into m_targetPixels, in its own format; false when they cannot be read.
    [[nodiscard]] bool ReadTarget(int width, int height, TileBlend blend);
    void AddLight(const std::vector<TileRun>& runs, bool writeBack);
    static int RasterThreads();

    LineRaster m_raster{RasterThreads()};
    GlProgramName m_lightPass;
    GlVertexArrayName m_runVertices; // the light pass's rectangles, an instance each
    GlBufferName m_runs;
    GlTextureName m_streamTexture;
    GlBufferName m_capture;
    std::size_t m_captureVertices = 0; // room in m_capture
    std::size_t m_roundVertices = 0;   // the most one dispatch may capture
    GLint m_maxTexels = 0;             // of a buffer texture
    GlBufferName m_light; // the raster's pixels, persistently mapped
    GlTextureName m_lightTexture;
    GLint m_lightTilesLocation = -1;
    GLint m_lightScaleLocation = -1;
    GLint m_targetSizeLocation = -1;
    std::vector<unsigned char> m_targetPixels; // as read back, for the targets that round every blend
    GLsync m_lightInUse = nullptr; // the last light pass, until it has read the light
    int m_lightWidth = 0;
    int m_lightHeight = 0;
};

} // namespace lumeno
