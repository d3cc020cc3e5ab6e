// A new file written whole gets the mode plain creation would give it, read from the
// umask without ever changing the umask, which other threads share.

#include <gtest/gtest.h>

#include <cstddef>
#include <sys/stat.h>
#include <vector>

#include "platform/atomic_file.h"
#include "support/temp_folder.h"

namespace lumeno {
namespace {

TEST(AtomicFileMode, NewFileTakesTheUmaskWhichStaysAsItWas)
{
    test::TempFolder folder;
    const mode_t previous = ::umask(027);
    const std::vector<std::byte> bytes(3, std::byte{7});
    const FileWriteResult result = WriteFileAtomically(folder.File("new.bin"), bytes);
    const mode_t after = ::umask(previous);

    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(after, 027u);
    struct stat info {};
    ASSERT_EQ(::stat(folder.File("new.bin").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

} // namespace
} // namespace lumeno
