#include "platform/gl/line_bins.h"

#include <algorithm>
#include <cmath>

namespace lumeno {
namespace {

// A widened line never reaches more than 1.5 pixels past its ends (half a pixel along it,
// one across it).
constexpr float kReach = 1.5f;

// The first and last tile along one axis of `size` pixels that [low, high] reaches; false
// when it reaches none, or is not a number.
bool TileSpan(float low, float high, int size, std::uint16_t* first, std::uint16_t* last)
{
    low -= kReach;
    high += kReach;
    if (!(low <= high) || high < 0.0f || low >= static_cast<float>(size))
        return false;
    *first = static_cast<std::uint16_t>(static_cast<int>(std::max(low, 0.0f)) >> kTileShift);
    *last = static_cast<std::uint16_t>(static_cast<int>(std::min(high, static_cast<float>(size - 1))) >> kTileShift);
    return true;
}

} // namespace

void LineBins::Reset(int width, int height, int chunks, std::size_t lineCount)
{
    m_width = width;
    m_height = height;
    m_tilesAcross = (width + kTileSide - 1) >> kTileShift;
    m_tilesDown = (height + kTileSide - 1) >> kTileShift;
    m_chunks = std::max(chunks, 1);
    m_lineCount = lineCount;
    m_rects.resize(lineCount);
    m_ready.resize(lineCount);
    m_slots.assign(static_cast<std::size_t>(m_chunks) * static_cast<std::size_t>(Tiles()), 0);
    m_tileStart.assign(static_cast<std::size_t>(Tiles()) + 1, 0);
}

std::pair<std::size_t, std::size_t> LineBins::ChunkLines(int chunk) const
{
    const auto chunks = static_cast<std::size_t>(m_chunks);
    const auto index = static_cast<std::size_t>(chunk);
    return {m_lineCount * index / chunks, m_lineCount * (index + 1) / chunks};
}

LineBins::TileRect LineBins::FindTiles(const CapturedVertex& v0, const CapturedVertex& v1) const
{
    TileRect rect{1, 0, 0, 0, false};
    if (!(v0.w > 0.0f && v1.w > 0.0f))
        return rect; // the kernel draws nothing of it
    TileRect found{};
    if (!TileSpan(std::min(v0.x, v1.x), std::max(v0.x, v1.x), m_width, &found.left, &found.right) ||
        !TileSpan(std::min(v0.y, v1.y), std::max(v0.y, v1.y), m_height, &found.bottom, &found.top))
        return rect;
    found.walk = found.left != found.right && found.bottom != found.top;
    return found;
}

template <typename Visit>
void LineBins::VisitTiles(const TileRect& rect, const CapturedVertex& v0, const CapturedVertex& v1, Visit visit) const
{
    if (rect.left > rect.right)
        return;
    const float dx = v1.x - v0.x;
    const float dy = v1.y - v0.y;
    for (int y = rect.bottom; y <= rect.top; ++y) {
        int left = rect.left;
        int right = rect.right;
        if (rect.walk) {
            // The part of the line within reach of this row of tiles, and its columns.
            const float low = static_cast<float>(y << kTileShift) - kReach;
            const float high = static_cast<float>((y + 1) << kTileShift) + kReach;
            float enter = std::clamp((low - v0.y) / dy, 0.0f, 1.0f);
            float leave = std::clamp((high - v0.y) / dy, 0.0f, 1.0f);
            if (enter > leave)
                std::swap(enter, leave);
            const float xEnter = v0.x + dx * enter;
            const float xLeave = v0.x + dx * leave;
            std::uint16_t first = 0;
            std::uint16_t last = 0;
            if (TileSpan(std::min(xEnter, xLeave), std::max(xEnter, xLeave), m_width, &first, &last)) {
                left = std::max<int>(left, first);
                right = std::min<int>(right, last);
            }
        }
        for (int x = left; x <= right; ++x)
            visit(y * m_tilesAcross + x);
    }
}

void LineBins::Count(std::span<const CapturedVertex> vertices, int chunk)
{
    std::uint32_t* counts = m_slots.data() + static_cast<std::size_t>(chunk) * static_cast<std::size_t>(Tiles());
    const auto [begin, end] = ChunkLines(chunk);
    for (std::size_t line = begin; line < end; ++line) {
        const CapturedVertex& v0 = vertices[line * 2];
        const CapturedVertex& v1 = vertices[line * 2 + 1];
        TileRect rect = FindTiles(v0, v1);
        if (rect.left <= rect.right &&
            !MakeReady(v0, v1, static_cast<float>(m_width), static_cast<float>(m_height), &m_ready[line]))
            rect = TileRect{1, 0, 0, 0, false}; // it reaches no pixel centre
        m_rects[line] = rect;
        VisitTiles(rect, v0, v1, [counts](int tile) { ++counts[tile]; });
    }
}

bool LineBins::Place(std::size_t limit)
{
    // Tile by tile, chunk by chunk: each tile's list holds chunk 0's lines, then chunk 1's.
    const auto tiles = static_cast<std::size_t>(Tiles());
    std::size_t total = 0;
    for (const std::uint32_t count : m_slots)
        total += count;
    if (total > limit)
        return false;
    std::size_t next = 0;
    for (std::size_t tile = 0; tile < tiles; ++tile) {
        m_tileStart[tile] = next;
        for (std::size_t chunk = 0; chunk < static_cast<std::size_t>(m_chunks); ++chunk) {
            std::uint32_t& slot = m_slots[chunk * tiles + tile];
            const std::size_t count = slot;
            slot = static_cast<std::uint32_t>(next);
            next += count;
        }
    }
    m_tileStart[tiles] = next;
    m_listed.resize(next);
    return true;
}

void LineBins::Scatter(std::span<const CapturedVertex> vertices, int chunk)
{
    std::uint32_t* cursor = m_slots.data() + static_cast<std::size_t>(chunk) * static_cast<std::size_t>(Tiles());
    std::uint32_t* listed = m_listed.data();
    const auto [begin, end] = ChunkLines(chunk);
    for (std::size_t line = begin; line < end; ++line) {
        const TileRect rect = m_rects[line];
        if (rect.left > rect.right)
            continue;
        const auto index = static_cast<std::uint32_t>(line);
        if (!rect.walk && rect.left == rect.right && rect.bottom == rect.top) {
            listed[cursor[rect.bottom * m_tilesAcross + rect.left]++] = index; // most streaks
            continue;
        }
        // The tiles Count found, from the same ends.
        VisitTiles(rect, vertices[line * 2], vertices[line * 2 + 1],
                   [cursor, listed, index](int tile) { listed[cursor[tile]++] = index; });
    }
}

std::span<const std::uint32_t> LineBins::Listed(int tile) const
{
    const auto index = static_cast<std::size_t>(tile);
    return std::span(m_listed).subspan(m_tileStart[index], m_tileStart[index + 1] - m_tileStart[index]);
}

} // namespace lumeno
