#pragma once
// Zero-filled memory that costs nothing until it is touched. Large arrays come straight
// from the system's zero pages, so an array that a later step of a build refuses (a
// particle count the vertex buffer cannot hold) was never written, and its memory was
// never really taken.

#include <cstddef>

namespace lumeno {

// Page-aligned and zeroed; null when the system will not give that much.
void* AllocateZeroedPages(std::size_t bytes);
void FreeZeroedPages(void* block, std::size_t bytes);

} // namespace lumeno
