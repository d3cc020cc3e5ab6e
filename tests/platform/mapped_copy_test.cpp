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

std::string TargetLabel(const ::testing::TestParamInfo<std::int64_t>& info) { return hwy::TargetName(info.param); }

// Every byte lands once, in order, with nothing written before or after the range,
// whatever the alignment of either end: the streamed path has a head before its first
// aligned vector and a tail after its last whole group.
TEST_P(EachTarget, CopiesExactlyTheRangeAtAnyAlignment)
{
    constexpr std::size_t kGuard = 128;
    const std::size_t sizes[] = {0, 1, 63, 4096 + 7, kStreamedCopyBytes - 1, kStreamedCopyBytes,
                                 kStreamedCopyBytes + 129};
    std::vector<unsigned char> source(kStreamedCopyBytes + 256 + 2 * kGuard);
    for (std::size_t i = 0; i < source.size(); ++i)
        source[i] = static_cast<unsigned char>(i * 131 + (i >> 8) * 7);
    std::vector<unsigned char> destination(source.size());

    for (const std::size_t bytes : sizes) {
        for (const std::size_t to : {std::size_t{0}, std::size_t{1}, std::size_t{17}, std::size_t{64}}) {
            for (const std::size_t from : {std::size_t{0}, std::size_t{5}, std::size_t{32}}) {
                std::fill(destination.begin(), destination.end(), 0xA5);
                CopyIntoMappedBuffer(destination.data() + kGuard + to, source.data() + from, bytes);
                const auto* copied = destination.data() + kGuard + to;
                ASSERT_TRUE(std::equal(copied, copied + bytes, source.data() + from))
                    << bytes << " bytes to +" << to << " from +" << from;
                ASSERT_TRUE(std::all_of(destination.begin(), destination.begin() + kGuard + to,
                                        [](unsigned char b) { return b == 0xA5; }));
                ASSERT_TRUE(std::all_of(destination.begin() + kGuard + to + bytes, destination.end(),
                                        [](unsigned char b) { return b == 0xA5; }));
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(MappedCopy, EachTarget, ::testing::ValuesIn(hwy::SupportedAndGeneratedTargets()),
                         TargetLabel);

} // namespace
} // namespace lumeno
