#include "platform/mapped_copy.h"

#include <gtest/gtest.h>
#include <hwy/targets.h>

#include <algorithm>
#include <vector>

namespace lumeno {
namespace {

// Every byte lands once, in order, with nothing written before or after the range,
// whatever the alignment of either end and on every vector target: the streamed path has
// a head before its first aligned vector and a tail after its last whole group.
TEST(MappedCopy, CopiesExactlyTheRangeAtAnyAlignmentOnEveryTarget)
{
    constexpr std::size_t kGuard = 128;
    std::vector<unsigned char> source(kStreamedCopyBytes + 256 + 2 * kGuard), destination(source.size());
    for (std::size_t i = 0; i < source.size(); ++i)
        source[i] = static_cast<unsigned char>(i * 131 + (i >> 8) * 7);
    const auto untouched = [](auto from, auto to) { return std::count(from, to, 0xA5) == to - from; };
    for (const std::int64_t target : hwy::SupportedAndGeneratedTargets()) {
        hwy::SetSupportedTargetsForTest(target);
        for (const std::size_t bytes : {std::size_t{0}, std::size_t{1}, std::size_t{63}, std::size_t{4096 + 7},
                                        kStreamedCopyBytes - 1, kStreamedCopyBytes, kStreamedCopyBytes + 129})
            for (const std::size_t to : {0, 1, 17, 64})
                for (const std::size_t from : {0, 5, 32}) {
                    std::fill(destination.begin(), destination.end(), 0xA5);
                    const auto copied = destination.begin() + static_cast<std::ptrdiff_t>(kGuard + to);
                    const auto end = copied + static_cast<std::ptrdiff_t>(bytes);
                    CopyIntoMappedBuffer(&*copied, source.data() + from, bytes);
                    ASSERT_TRUE(std::equal(copied, end, source.data() + from) &&
                                untouched(destination.begin(), copied) && untouched(end, destination.end()))
                        << hwy::TargetName(target) << ": " << bytes << " bytes to +" << to << " from +" << from;
                }
    }
    hwy::SetSupportedTargetsForTest(0);
}

} // namespace
} // namespace lumeno
