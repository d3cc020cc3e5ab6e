#pragma once
// Zero-filled memory that costs nothing until it is touched. Large arrays come straight
// from the system's zero pages, so an array that a later step of a build refuses (a
// particle count the vertex buffer cannot hold) was never written, and its memory was
// never really taken.

#include <cstddef>
#include <new>

namespace lumeno {

// Page-aligned and zeroed; null when the system will not give that much.
void* AllocateZeroedPages(std::size_t bytes);
void FreeZeroedPages(void* block, std::size_t bytes);

// For the containers of large arrays that are walked in no order (the line rasteriser's
// lines, read by the tiles that list them): with huge pages, each access no longer misses
// the TLB as well as the cache.
template <typename T>
struct PageAllocator {
    using value_type = T;
    PageAllocator() = default;
    template <typename U>
    PageAllocator(const PageAllocator<U>&) noexcept {}
    T* allocate(std::size_t count)
    {
        void* block = AllocateZeroedPages(count * sizeof(T));
        if (block == nullptr)
            throw std::bad_alloc();
        return static_cast<T*>(block);
    }
    void deallocate(T* block, std::size_t count) noexcept { FreeZeroedPages(block, count * sizeof(T)); }
    template <typename U>
    bool operator==(const PageAllocator<U>&) const noexcept { return true; }
};

} // namespace lumeno
