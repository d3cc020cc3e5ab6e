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
bool TileSpan(float low, float high, int size, int* first, int* last)
{
    low -= kReach;
    high += kReach;
    if (!(low <= high) || high < 0.0f || low >= static_cast<float>(size))
        return false;
    *first = static_cast<int>(std::max(low, 0.0f)) >> kTileShift;
    *last = static_cast<int>(std::min(high, static_cast<float>(size - 1))) >> kTileShift;
    return true;
}

// A packed tile rectangle's top keeps the walk in its highest bit: a target has far fewer
// than 2^15 rows of tiles (its side is at most a texture's, some tens of thousands of pixels).
constexpr std::uint16_t kWalkBit = 0x8000;

} // namespace

void LineBins::Reset(int width, int height, int chunks, std::size_t lineCount)
{
    m_width = width;
    m_height = height;
    m_tilesAcross = (width + kTileSide - 1) >> kTileShift;
    m_tilesDown = (height + kTileSide - 1) >> kTileShift;
    m_chunks = std::max(chunks, 1);
    m_lineCount = lineCount;
    // Only ever grown: Count writes every line's entries, and a round shorter than the last
    // would otherwise have the next frame's full rounds fill tens of megabytes with zeros.
    if (m_rects.size() < lineCount) {
        m_rects.resize(lineCount);
        m_ready.resize(lineCount);
    }
    m_slots.assign(static_cast<std::size_t>(m_chunks) * static_cast<std::size_t>(Tiles()), 0);
    m_walks.resize(static_cast<std::size_t>(m_chunks));
    m_tileStart.assign(static_cast<std::size_t>(Tiles()) + 1, 0);
}

std::pair<std::size_t, std::size_t> LineBins::ChunkLines(int chunk) const
{
    const auto chunks = static_cast<std::size_t>(m_chunks);
    const auto index = static_cast<std::size_t>(chunk);
    return {m_lineCount * index / chunks, m_lineCount * (index + 1) / chunks};
}

LineBins::TileRect LineBins::Pack(const TileBox& box)
{
    if (box.left > box.right)
        return {1, 0, 0, 0};
    return {static_cast<std::uint16_t>(box.left), static_cast<std::uint16_t>(box.bottom),
            static_cast<std::uint16_t>(box.right),
            static_cast<std::uint16_t>(box.top | (box.walk ? kWalkBit : 0))};
}

LineBins::TileBox LineBins::Unpack(TileRect rect)
{
    return {rect.left, rect.bottom, rect.right, rect.top & ~kWalkBit, (rect.top & kWalkBit) != 0};
}

LineBins::TileBox LineBins::FindTiles(const CapturedVertex& v0, const CapturedVertex& v1) const
{
    TileBox box;
    if (!(v0.w > 0.0f && v1.w > 0.0f))
        return TileBox{}; // the kernel draws nothing of it
    if (!TileSpan(std::min(v0.x, v1.x), std::max(v0.x, v1.x), m_width, &box.left, &box.right) ||
        !TileSpan(std::min(v0.y, v1.y), std::max(v0.y, v1.y), m_height, &box.bottom, &box.top))
        return TileBox{};
    box.walk = box.left != box.right && box.bottom != box.top;
    return box;
}

template <typename Visit>
void LineBins::VisitBox(const TileBox& box, Visit visit) const
{
    for (int y = box.bottom; y <= box.top; ++y)
        for (int x = box.left; x <= box.right; ++x)
            visit(y * m_tilesAcross + x);
}

template <typename Visit>
void LineBins::VisitWalk(const TileBox& box, const WalkEnds& ends, Visit visit) const
{
    const float dx = ends.x1 - ends.x0;
    const float dy = ends.y1 - ends.y0;
    for (int y = box.bottom; y <= box.top; ++y) {
        // The part of the line within reach of this row of tiles, and its columns.
        const float low = static_cast<float>(y << kTileShift) - kReach;
        const float high = static_cast<float>((y + 1) << kTileShift) + kReach;
        float enter = std::clamp((low - ends.y0) / dy, 0.0f, 1.0f);
        float leave = std::clamp((high - ends.y0) / dy, 0.0f, 1.0f);
        if (enter > leave)
            std::swap(enter, leave);
        const float xEnter = ends.x0 + dx * enter;
        const float xLeave = ends.x0 + dx * leave;
        int left = box.left;
        int right = box.right;
        int first = 0;
        int last = 0;
        if (TileSpan(std::min(xEnter, xLeave), std::max(xEnter, xLeave), m_width, &first, &last)) {
            left = std::max(left, first);
            right = std::min(right, last);
        }
        for (int x = left; x <= right; ++x)
            visit(y * m_tilesAcross + x);
    }
}

void LineBins::Count(std::span<const CapturedVertex> vertices, int chunk)
{
    std::uint32_t* counts = m_slots.data() + static_cast<std::size_t>(chunk) * static_cast<std::size_t>(Tiles());
    const auto count = [counts](int tile) { ++counts[tile]; };
    std::vector<WalkEnds>& walks = m_walks[static_cast<std::size_t>(chunk)];
    walks.clear();
    const auto [begin, end] = ChunkLines(chunk);
    for (std::size_t line = begin; line < end; ++line) {
        const CapturedVertex& v0 = vertices[line * 2];
        const CapturedVertex& v1 = vertices[line * 2 + 1];
        TileBox box = FindTiles(v0, v1);
        if (box.left <= box.right &&
            !MakeReady(v0, v1, static_cast<float>(m_width), static_cast<float>(m_height), &m_ready[line]))
            box = TileBox{}; // it reaches no pixel centre
        m_rects[line] = Pack(box);
        if (box.walk) {
            walks.push_back({v0.x, v0.y, v1.x, v1.y});
            VisitWalk(box, walks.back(), count);
        } else {
            VisitBox(box, count);
        }
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
    if (m_listed.size() < next)
        m_listed.resize(next); // grown only, as the lines' arrays are
    return true;
}

void LineBins::Scatter(int chunk)
{
    const WalkEnds* walk = m_walks[static_cast<std::size_t>(chunk)].data();
    std::uint32_t* cursor = m_slots.data() + static_cast<std::size_t>(chunk) * static_cast<std::size_t>(Tiles());
    std::uint32_t* listed = m_listed.data();
    const auto [begin, end] = ChunkLines(chunk);
    for (std::size_t line = begin; line < end; ++line) {
        const TileRect rect = m_rects[line];
        const auto index = static_cast<std::uint32_t>(line);
        if (rect.left == rect.right && rect.bottom == rect.top) {
            listed[cursor[rect.bottom * m_tilesAcross + rect.left]++] = index; // most streaks
            continue;
        }
        const auto list = [cursor, listed, index](int tile) { listed[cursor[tile]++] = index; };
        const TileBox box = Unpack(rect);
        if (box.walk)
            VisitWalk(box, *walk++, list);
        else
            VisitBox(box, list);
    }
}

std::span<const std::uint32_t> LineBins::Listed(int tile) const
{
    const auto index = static_cast<std::size_t>(tile);
    return std::span(m_listed).subspan(m_tileStart[index], m_tileStart[index + 1] - m_tileStart[index]);
}

} // namespace lumeno
