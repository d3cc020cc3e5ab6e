// The streamed copy, compiled once per Highway target and dispatched at run time.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "platform/mapped_copy.cpp"
#include "hwy/foreach_target.h" // IWYU pragma: keep

#include <cstdint>
#include <cstring>

#include "hwy/cache_control.h"
#include "hwy/highway.h"
#include "platform/mapped_copy.h"

HWY_BEFORE_NAMESPACE();
namespace lumeno {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

void StreamCopyImpl(unsigned char* to, const unsigned char* from, std::size_t bytes)
{
    const hn::ScalableTag<std::uint8_t> d;
    const std::size_t vector = hn::Lanes(d);
    // Streaming stores need a destination aligned to the vector; the source may be anywhere.
    std::size_t head = (vector - reinterpret_cast<std::uintptr_t>(to) % vector) % vector;
    if (head > bytes)
        head = bytes;
    std::memcpy(to, from, head);
    std::size_t i = head;
    for (; i + 4 * vector <= bytes; i += 4 * vector) {
        const auto v0 = hn::LoadU(d, from + i);
        const auto v1 = hn::LoadU(d, from + i + vector);
        const auto v2 = hn::LoadU(d, from + i + 2 * vector);
        const auto v3 = hn::LoadU(d, from + i + 3 * vector);
        hn::Stream(v0, d, to + i);
        hn::Stream(v1, d, to + i + vector);
        hn::Stream(v2, d, to + i + 2 * vector);
        hn::Stream(v3, d, to + i + 3 * vector);
    }
    std::memcpy(to + i, from + i, bytes - i);
    // Streaming stores are weakly ordered: they must all be visible before the buffer is
    // unmapped and the driver reads it, perhaps on another thread.
    hwy::FlushStream();
}

} // namespace HWY_NAMESPACE
} // namespace lumeno
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace lumeno {

HWY_EXPORT(StreamCopyImpl);

void CopyIntoMappedBuffer(void* destination, const void* source, std::size_t bytes)
{
    if (bytes < kStreamedCopyBytes) {
        std::memcpy(destination, source, bytes);
        return;
    }
    HWY_DYNAMIC_DISPATCH(StreamCopyImpl)(static_cast<unsigned char*>(destination),
                                          static_cast<const unsigned char*>(source), bytes);
}

} // namespace lumeno
#endif
