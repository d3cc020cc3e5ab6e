#pragma once
// Copies into a mapped graphics buffer: the bytes are for the driver to read, not for
// this core. Large copies go out with streaming stores, past the caches.

#include <cstddef>

namespace lumeno {

// From this size on the copy streams. Below it the bytes fit in the caches, where the
// driver reads them back soonest: a plain memcpy is quicker there (1.3 MB, 20,000
// particles: 0.04 ms against 0.11 ms streamed).
inline constexpr std::size_t kStreamedCopyBytes = std::size_t{8} << 20;

// memcpy's contract (no overlap), at memory speed whatever the two addresses. glibc's
// memcpy of hundreds of megabytes falls back to ordinary stores when the destination
// sits a little past the source within their pages, as a driver's buffer does behind a
// page-aligned array (216 MB: 65 ms instead of 19), and ordinary stores read every
// destination line before writing it.
void CopyIntoMappedBuffer(void* destination, const void* source, std::size_t bytes);

} // namespace lumeno
