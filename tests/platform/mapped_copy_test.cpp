#include "platform/mapped_copy.h"

#include <gtest/gtest.h>
#include <hwy/targets.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace lumeno {
namespace {

class EachTarget : public ::testing::TestWithParam<std::int64_t> {
protected:
    void SetUp() override { hwy::SetSupportedTargetsForTest(GetParam()); }
    void TearDown() override { hwy::SetSupportedTargetsForTest(0); }
};

// Every byte lands once, in order, with nothing written before or after the range,
// whatever the alignment of either end: the streamed path has a head before its first
// aligned vector and a tail after its last whole group.
TEST_P(EachTarget, CopiesExactlyTheRangeAtAnyAlignment)
{
    constexpr std::size_t kGuard = 128;
    std::vector<unsigned char> source(kStreamedCopyBytes + 256 + 2 * kGuard), destination(source.size());
    for (std::size_t i = 0; i < source.size(); ++i)
        source[i] = static_cast<unsigned char>(i * 131 + (i >> 8) * 7);
    const auto untouched = [](auto from, auto to) {
        return std::all_of(from, to, [](unsigned char b) { return b == 0xA5; });
    };
    for (const std::size_t bytes : {std::size_t{0}, std::size_t{1}, std::size_t{63}, std::size_t{4096 + 7},
                                    kStreamedCopyBytes - 1, kStreamedCopyBytes, kStreamedCopyBytes + 129})
        for (const std::size_t to : {0, 1, 17, 64})
            for (const std::size_t from : {0, 5, 32}) {
                std::fill(destination.begin(), destination.end(), 0xA5);
                const auto copied = destination.begin() + static_cast<std::ptrdiff_t>(kGuard + to);
                CopyIntoMappedBuffer(&*copied, source.data() + from, bytes);
                ASSERT_TRUE(std::equal(copied, copied + static_cast<std::ptrdiff_t>(bytes), source.data() + from))
                    << bytes << " bytes to +" << to << " from +" << from;
                ASSERT_TRUE(untouched(destination.begin(), copied));
                ASSERT_TRUE(untouched(copied + static_cast<std::ptrdiff_t>(bytes), destination.end()));
            }
}

INSTANTIATE_TEST_SUITE_P(MappedCopy, EachTarget, ::testing::ValuesIn(hwy::SupportedAndGeneratedTargets()),
                         [](const auto& info) { return std::string(hwy::TargetName(info.param)); });

} // namespace
} // namespace lumeno
