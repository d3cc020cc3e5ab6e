#include "platform/gl/line_raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace lumeno {
namespace {

// The most lines the tiles' lists may hold at once (sixteen megabytes of indices): a batch of
// lines that would need more, long lines on a very large target, is drawn in halves.
constexpr std::size_t kMaxListed = std::size_t{1} << 22;

int TilesAcross(int width) { return (width + kTileSide - 1) >> kTileShift; }
int TilesDown(int height) { return (height + kTileSide - 1) >> kTileShift; }

} // namespace

LineRaster::LineRaster(int threads) : m_runner(std::max(threads, 1)) {}

std::size_t LineRaster::LightFloats(int width, int height)
{
    return static_cast<std::size_t>(TilesAcross(width)) * static_cast<std::size_t>(TilesDown(height)) * kTilePixels * 4;
}

std::size_t LineRaster::LightIndex(int x, int y, int channel, int width)
{
    const auto tile = static_cast<std::size_t>((y >> kTileShift) * TilesAcross(width) + (x >> kTileShift));
    return (tile * 4 + static_cast<std::size_t>(channel)) * kTilePixels +
           static_cast<std::size_t>(((y & (kTileSide - 1)) << kTileShift) + (x & (kTileSide - 1)));
}

void LineRaster::Attach(float* light, int width, int height)
{
    m_light = light;
    m_width = light != nullptr ? width : 0;
    m_height = light != nullptr ? height : 0;
    m_blend = TileBlend::Light;
    const std::size_t tiles =
        static_cast<std::size_t>(TilesAcross(m_width)) * static_cast<std::size_t>(TilesDown(m_height));
    m_tileDirty.assign(tiles, 0);
    m_tileDrawn.assign(tiles, 0);
    m_tileLoaded.assign(tiles, 0);
    m_source = nullptr;
}

float* LineRaster::TilePixels(int tile) const { return m_light + static_cast<std::size_t>(tile) * kTilePixels * 4; }

void LineRaster::Begin()
{
    m_blend = TileBlend::Light;
    m_source = nullptr;
    std::fill(m_tileDrawn.begin(), m_tileDrawn.end(), 0);
    if (std::find(m_tileDirty.begin(), m_tileDirty.end(), 1) == m_tileDirty.end())
        return;
    const int tiles = static_cast<int>(m_tileDirty.size());
    m_runner.Run([&](int share, int shares) {
        for (int tile = share; tile < tiles; tile += shares) {
            if (m_tileDirty[static_cast<std::size_t>(tile)] == 0)
                continue;
            std::memset(TilePixels(tile), 0, kTilePixels * 4 * sizeof(float));
            m_tileDirty[static_cast<std::size_t>(tile)] = 0;
        }
    });
}

std::size_t LineRaster::BytesPerPixel(TileBlend blend)
{
    return blend == TileBlend::AddHalf || blend == TileBlend::SubtractHalf ? 8 : 4;
}

void LineRaster::Load(const void* rgba, TileBlend blend)
{
    if (m_light == nullptr)
        return;
    m_blend = blend;
    m_source = static_cast<const unsigned char*>(rgba);
    std::fill(m_tileDrawn.begin(), m_tileDrawn.end(), 0);
    m_tileLoaded.assign(m_tileDrawn.size(), 0);
}

void LineRaster::LoadPixels(int tile)
{
    const auto index = static_cast<std::size_t>(tile);
    if (m_source == nullptr || m_tileLoaded[index] != 0)
        return;
    const int across = TilesAcross(m_width);
    const int left = (tile % across) << kTileShift;
    const int bottom = (tile / across) << kTileShift;
    const std::size_t pixelBytes = BytesPerPixel(m_blend);
    const std::size_t first =
        static_cast<std::size_t>(bottom) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(left);
    LoadTile(m_source + first * pixelBytes, static_cast<std::size_t>(m_width), std::min(kTileSide, m_width - left),
             std::min(kTileSide, m_height - bottom), pixelBytes == 8, TilePixels(tile));
    m_tileLoaded[index] = 1;
    m_tileDirty[index] = 1;
}

std::vector<TileRun> LineRaster::LitRuns() const
{
    std::vector<TileRun> runs;
    const int across = TilesAcross(m_width);
    const int down = TilesDown(m_height);
    for (int row = 0; row < down; ++row) {
        const unsigned char* drawn = m_tileDrawn.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(across);
        for (int first = 0; first < across;) {
            if (drawn[first] == 0) {
                ++first;
                continue;
            }
            int end = first + 1;
            while (end < across && drawn[end] != 0)
                ++end;
            runs.push_back({first << kTileShift, row << kTileShift, std::min(end << kTileShift, m_width),
                            std::min((row + 1) << kTileShift, m_height)});
            first = end;
        }
    }
    return runs;
}

void LineRaster::Add(std::span<const CapturedVertex> vertices)
{
    if (m_light == nullptr || vertices.size() < 2)
        return;
    const std::size_t lines = vertices.size() / 2;
    const int chunks = m_runner.Threads();
    m_bins.Reset(m_width, m_height, chunks, lines);
    m_runner.Run([&](int chunk, int) { m_bins.Count(vertices, chunk); });
    if (!m_bins.Place(kMaxListed)) {
        if (lines == 1)
            return; // more tiles than any target has: not a line to draw
        // Each half is drawn whole before the next: every pixel still sums in list order.
        const std::size_t half = lines / 2;
        Add(vertices.first(half * 2));
        Add(vertices.subspan(half * 2));
        return;
    }
    m_runner.Run([&](int chunk, int) { m_bins.Scatter(chunk); });
    DrawTiles();
}

void LineRaster::DrawTiles()
{
    const int tiles = m_bins.Tiles();
    const int across = m_bins.TilesAcross();
    m_nextTile.store(0, std::memory_order_relaxed);
    // Tiles are taken one at a time, so a pile-up in a few tiles does not hold up the rest.
    m_runner.Run([&](int, int) {
        for (int tile = m_nextTile.fetch_add(1, std::memory_order_relaxed); tile < tiles;
             tile = m_nextTile.fetch_add(1, std::memory_order_relaxed)) {
            const std::span<const std::uint32_t> listed = m_bins.Listed(tile);
            if (listed.empty())
                continue;
            LineTile target;
            target.pixels = TilePixels(tile);
            target.left = (tile % across) << kTileShift;
            target.bottom = (tile / across) << kTileShift;
            target.columns = std::min(kTileSide, m_width - target.left);
            target.rows = std::min(kTileSide, m_height - target.bottom);
            target.width = m_width;
            target.height = m_height;
            target.blend = m_blend;
            LoadPixels(tile);
            if (DrawTileLines(listed, m_bins.Ready(), target)) {
                m_tileDirty[static_cast<std::size_t>(tile)] = 1;
                m_tileDrawn[static_cast<std::size_t>(tile)] = 1;
            }
        }
    });
}

} // namespace lumeno
