#pragma once
// Lines sorted by the tiles they may light (line_kernel.h): a counting sort, stable, so
// every tile lists its lines in the order they were drawn. Counting makes each line ready
// to draw (MakeReady), once; the tiles list the ready lines by their index. The lines
// are split into chunks that are counted and placed independently (one thread each);
// the lists come out the same for any number of chunks.
//
//   bins.Reset(width, height, chunks, lineCount);
//   (each chunk) bins.Count(vertices, chunk);
//   bins.Place(limit);
//   (each chunk) bins.Scatter(chunk);
//   bins.Listed(tile), bins.Ready() ...

#include <cstdint>
#include <span>
#include <vector>

#include "platform/gl/line_kernel.h"
#include "platform/zeroed_pages.h"

namespace lumeno {

class LineBins {
public:
    // For `lineCount` lines drawn on width x height pixels, in `chunks` chunks.
    void Reset(int width, int height, int chunks, std::size_t lineCount);
    int TilesAcross() const { return m_tilesAcross; }
    int TilesDown() const { return m_tilesDown; }
    int Tiles() const { return m_tilesAcross * m_tilesDown; }

    // Makes the chunk's lines ready and finds their tiles; chunks may be counted at the
    // same time.
    void Count(std::span<const CapturedVertex> vertices, int chunk);
    // Makes room for every tile's list, once every chunk is counted; false, with nothing
    // placed, when the lists would hold more than `limit` entries.
    [[nodiscard]] bool Place(std::size_t limit);
    // Lists the chunk's lines in their tiles; chunks may be scattered at the same time.
    void Scatter(int chunk);

    // The indices of the lines a tile lists, in the order they were drawn, into Ready().
    std::span<const std::uint32_t> Listed(int tile) const;
    const ReadyLine* Ready() const { return m_ready.data(); }

private:
    // The tiles a line may light, inclusive; none when left > right. A line that crosses
    // both tile rows and tile columns is walked row by row instead (`walk`), so that a long
    // diagonal is listed in the tiles along it, not in every tile of its box. Worked on as
    // whole numbers and kept as one packed word (TileRect), so that nothing is put together
    // from parts in memory and read back whole, which stalls the processor.
    struct TileBox {
        int left = 1, bottom = 0, right = 0, top = 0;
        bool walk = false;
    };
    struct TileRect {
        std::uint16_t left, bottom, right, top; // top's highest bit: walk
    };
    static TileRect Pack(const TileBox& box);
    static TileBox Unpack(TileRect rect);
    std::pair<std::size_t, std::size_t> ChunkLines(int chunk) const;
    TileBox FindTiles(const CapturedVertex& v0, const CapturedVertex& v1) const;
    // Calls visit(tile) for every tile of a box that is not walked.
    template <typename Visit>
    void VisitBox(const TileBox& box, Visit visit) const;
    // The ends of a walked line, kept by Count for Scatter, which would otherwise read the
    // captured vertices again long after they left the cache.
    struct WalkEnds {
        float x0, y0, x1, y1;
    };
    // Calls visit(tile) for every tile the walked line may light in its box.
    template <typename Visit>
    void VisitWalk(const TileBox& box, const WalkEnds& ends, Visit visit) const;

    int m_width = 0;
    int m_height = 0;
    int m_tilesAcross = 0;
    int m_tilesDown = 0;
    int m_chunks = 1;
    std::size_t m_lineCount = 0;
    std::vector<TileRect, PageAllocator<TileRect>> m_rects;        // a line's tiles
    std::vector<ReadyLine, PageAllocator<ReadyLine>> m_ready;       // every line, ready to draw
    std::vector<std::vector<WalkEnds>> m_walks; // per chunk, its walked lines in order
    std::vector<std::uint32_t> m_slots;    // per chunk per tile: a count, then where it writes next
    std::vector<std::size_t> m_tileStart;  // where each tile's list starts; one more for the end
    std::vector<std::uint32_t, PageAllocator<std::uint32_t>> m_listed;  // every tile's list, one after the other
};

} // namespace lumeno
