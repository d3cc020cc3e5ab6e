#pragma once
// The per-line work of the line rasteriser (line_raster.h): the lines listed for one tile,
// vectorised for the processor it runs on.

#include <cstdint>
#include <span>

namespace lumeno {

struct CapturedVertex {
    float x, y, z, w; // window coordinates in pixels, row 0 at the bottom; w of clip space
    float r, g, b, a;
};
static_assert(sizeof(CapturedVertex) == 32, "what the capture writes: two vec4 a vertex");

// The light is kept in squares of kTileSide x kTileSide pixels, each square's pixels
// together, its red, green, blue and alpha apart, each row after row: a tile's 64 KB stay
// in the second-level cache while its lines are drawn, two threads never share a cache
// line, and a vector holds one channel of neighbouring pixels. 64 pixels a side, not 32:
// a streak of 12 pixels then reaches 1.34 tiles instead of 1.72, and every tile it reaches
// costs its set-up and the rows cut at the tile's edge again (a million streaks on two
// threads: 63 ms against 81 with 32). 128 gains little more (60 ms) and makes the few lit
// tiles of a small cloud coarse.
inline constexpr int kTileShift = 6;
inline constexpr int kTileSide = 1 << kTileShift;
inline constexpr int kTilePixels = kTileSide * kTileSide;

// A line made ready to draw once, whichever tiles it reaches (MakeReady): cut to the
// target, its middle and direction, the colours at its ends, and the quotients the rows'
// bounds need, so that no tile repeats the square root and the divisions. One cache line.
struct alignas(64) ReadyLine {
    float midX, midY;           // its middle, in window coordinates
    float ux, uy;               // its direction, of length 1
    float half;                 // half its length, plus half a pixel past each end
    float inverseSpan;          // 1 / (2 half)
    float inverseUx, inverseUy; // 1 / ux and 1 / uy; 0 where too small to divide by
    float start[4];             // colour and alpha where it starts, after the cut
    float end[4];               // ... and where it ends
};
static_assert(sizeof(ReadyLine) == 64, "a line a cache line");

// Makes the line of two captured vertices ready to draw on a width x height target;
// false when nothing of it reaches a pixel centre there.
bool MakeReady(const CapturedVertex& v0, const CapturedVertex& v1, float width, float height, ReadyLine* line);

// What a tile's pixels hold and how lines reach them.
enum class TileBlend {
    Light,        // the light of the lines, summed in float, for the target to add later
    AddHalf,      // a half-float target's pixels, each line added as the target adds it
    SubtractHalf, // ... or taken away (the reverse subtraction)
    AddSteps,     // an 8-bit target's pixels as their steps 0..255, each line added as it adds it
    SubtractSteps,
};

// One tile of a width x height target: its kTilePixels floats of red, then of green, blue
// and alpha (rows of kTileSide), and where it lies. Lines are cut to the whole target first, as the driver cuts them,
// then drawn over the tile's part of it.
struct LineTile {
    float* pixels = nullptr;
    int left = 0;   // the tile's first column on the target
    int bottom = 0; // its first row
    int columns = 0; // of it on the target, at most kTileSide
    int rows = 0;
    int width = 0;
    int height = 0;
    TileBlend blend = TileBlend::Light;
};

// Adds the light of the lines `listed` (indices into `lines`), in the order listed, to the
// tile's pixels, or blends them in as tile.blend says; true when a pixel was lit.
bool DrawTileLines(std::span<const std::uint32_t> listed, const ReadyLine* lines, const LineTile& tile);

// Fills a tile's pixels from `rows` rows of `columns` pixels at `rgba`, rows `rowPixels`
// pixels apart, as a target of its own format gives them back: four half floats a pixel
// when `halves`, else four bytes (taken as their steps 0..255). What lies past `columns`
// or `rows` is dark.
void LoadTile(const void* rgba, std::size_t rowPixels, int columns, int rows, bool halves, float* pixels);

} // namespace lumeno
