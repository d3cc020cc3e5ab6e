#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "platform/atomic_file.h"
#include "support/temp_folder.h"

static std::vector<off_t> g_syncedFileSizes;

// Stands in for the C library's for this whole program, noting each regular file synced.
extern "C" int fsync(int fd)
{
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
        g_syncedFileSizes.push_back(info.st_size);
    return static_cast<int>(::syscall(SYS_fsync, fd));
}

namespace lumeno {
namespace {

std::span<const std::byte> AsBytes(const std::string& text) { return std::as_bytes(std::span(text)); }

// The new contents reach the disk before they take the old file's name and mode.
TEST(AtomicFile, ReplacesContentsAndKeepsTheFileModeOrFailsWithTheFoldersError)
{
    test::TempFolder folder;
    const std::string path = folder.File("a.bin");
    std::ofstream(path) << "old contents, longer than the new";
    ::chmod(path.c_str(), 0640);

    g_syncedFileSizes.clear();
    ASSERT_TRUE(WriteFileAtomically(path, AsBytes("new")).ok);
    EXPECT_EQ(g_syncedFileSizes, std::vector<off_t>{3});
    std::ifstream in(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "new");
    struct stat info {};
    ::stat(path.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1) << "no temporary left";

    // Through a link the file it names is replaced and the link stays.
    std::filesystem::create_directory(folder.Path() / "kept");
    std::filesystem::rename(path, folder.Path() / "kept/a.bin");
    std::filesystem::create_symlink("kept/a.bin", path);
    ASSERT_TRUE(WriteFileAtomically(path, AsBytes("linked")).ok);
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(std::ifstream(path).rdbuf()), {}), "linked");

    const FileWriteResult result = WriteFileAtomically(folder.File("none/a.bin"), AsBytes("x"));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, ENOENT);
}

} // namespace
} // namespace lumeno
