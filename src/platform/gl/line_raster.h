#pragma once
// Smooth lines drawn on the processor, into a buffer of light that the device then adds
// to (or subtracts from) the render target in one pass, or blended one by one into a copy
// of a target that rounds every blend (Load), which the device then writes back. Software
// rasterisers pay a fixed price for every line primitive, however short; this one pays per
// pixel, and the particle streaks are a few pixels long, so it draws them several times
// faster there.
//
// Each pixel gets what a blended smooth line of width 1 gives it on Mesa's rasterisers,
// measured rather than assumed: coverage is the product of
//   across: 1 - d, d the distance of the pixel centre from the line, up to 1 pixel;
//   along:  k * (h - |s|), held within 0..1, s the distance from the line's middle,
//           h = length / 2 + 1/2 (half a pixel past each end), k = min(1, 2 length / (length + 1)),
// so a long line gives exactly its length in light, a line shorter than a pixel its
// length at its middle, and a line of length 0 nothing. The colour is interpolated over
// the h-extended length, as the rasteriser's quad interpolates the end vertices'.
// The colour's alpha times the coverage is the source alpha of the blend SRCALPHA, ONE:
// the buffer holds, per pixel, the sum of rgb * alpha and of alpha * alpha.
//
// The lines come as captured vertex outputs: the clip-space position and the colour,
// two vertices a line. They are sorted by the tiles they reach (line_bins.h) and the
// tiles are dealt out to the threads, so each thread blends into a few kilobytes at a
// time, no two threads ever write the same pixel, and the sum of every pixel is formed
// in the order the lines are listed: the picture does not depend on the thread count.

#include <atomic>
#include <span>
#include <vector>

#include "platform/gl/line_bins.h"
#include "platform/gl/line_kernel.h"
#include "platform/parallel_runner.h"

namespace lumeno {

// Neighbouring tiles of one row of tiles, as pixels [left, right) x [bottom, top) of the
// target in GL's window coordinates.
struct TileRun {
    int left = 0;
    int bottom = 0;
    int right = 0;
    int top = 0;
    bool operator==(const TileRun&) const = default;
};

class LineRaster {
public:
    // `threads` threads draw, the caller's included.
    explicit LineRaster(int threads);

    // Four floats a pixel for width x height pixels, kept tile by tile (line_kernel.h).
    static std::size_t LightFloats(int width, int height);
    // Where channel `channel` (red 0 to alpha 3) of pixel (x, y) lies in the light, in
    // floats: as the light pass finds it.
    static std::size_t LightIndex(int x, int y, int channel, int width);

    // Draws into LightFloats(width, height) floats at `light`, all dark, which the caller
    // owns and keeps while it is attached; null detaches.
    void Attach(float* light, int width, int height);
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // Darkens what was lit since the last Begin: a new picture of lines starts, whose
    // light is summed (TileBlend::Light).
    void Begin();
    // Starts a picture from the target's own pixels instead, into which the lines are
    // blended as `blend` says: `rgba` holds the width x height pixels, rows bottom to top,
    // as read back from the target in its own format (BytesPerPixel(blend)), and is kept
    // until the next Begin or Load. A tile takes its pixels when lines first reach it, so
    // every tile LitRuns names holds the target's pixels with the lines blended in.
    void Load(const void* rgba, TileBlend blend);
    // Four half floats for the half-float blends, four bytes for the 8-bit ones.
    static std::size_t BytesPerPixel(TileBlend blend);
    // What the pass that writes the pixels back multiplies the buffer's values by: an
    // 8-bit target's are held as steps 0..255.
    float Scale() const
    {
        return m_blend == TileBlend::AddSteps || m_blend == TileBlend::SubtractSteps ? 1.0f / 255.0f : 1.0f;
    }
    // Adds the light of `vertices.size() / 2` lines. Pixel rows run bottom to top in GL's
    // window coordinates (row 0 at NDC y = -1).
    void Add(std::span<const CapturedVertex> vertices);

    // The tiles lines lit since Begin or Load, as runs of neighbouring tiles in a row of
    // tiles, bottom row first, each run cut to the target: the pass that adds the light
    // (or writes the pixels back) draws these and nothing else.
    std::vector<TileRun> LitRuns() const;
    const float* Light() const { return m_light; }

private:
    float* TilePixels(int tile) const;
    void LoadPixels(int tile);
    void DrawTiles();

    ParallelRunner m_runner;
    LineBins m_bins;
    std::vector<unsigned char> m_tileDirty; // holds anything but darkness
    std::vector<unsigned char> m_tileDrawn; // reached by lines since Begin or Load
    std::vector<unsigned char> m_tileLoaded; // holds the target's pixels since Load
    const unsigned char* m_source = nullptr; // what Load was given, until Begin
    TileBlend m_blend = TileBlend::Light;
    std::atomic<int> m_nextTile{0};       // the next tile a thread takes
    float* m_light = nullptr;
    int m_width = 0;
    int m_height = 0;
};

} // namespace lumeno
