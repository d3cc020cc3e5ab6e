#include "mount_namespace.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>
#include <vector>

namespace lumeno::test {
namespace {

std::string Failed(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

} // namespace

std::string MountTmpfs(const std::filesystem::path& folder, int kilobytes, bool readOnly)
{
    // Once per thread: a private copy of the mount table, with propagation cut, so that
    // the mounts neither leak to the host nor outlive the process.
    thread_local bool entered = false;
    if (!entered && ::unshare(CLONE_NEWNS) != 0)
        return Failed("unshare(CLONE_NEWNS)");
    if (!entered && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return Failed("making / private");
    entered = true;
    const std::string options = "size=" + std::to_string(kilobytes) + "k";
    if (::mount("tmpfs", folder.c_str(), "tmpfs", readOnly ? MS_RDONLY : 0, options.c_str()) != 0)
        return Failed("mounting a tmpfs");
    return {};
}

std::string FillUp(const std::filesystem::path& folder)
{
    const int fd = ::open((folder / "filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return Failed("creating the filler");
    const std::vector<char> block(4096, 'x');
    while (::write(fd, block.data(), block.size()) > 0) {
    }
    const int error = errno;
    ::close(fd);
    errno = error;
    return error == ENOSPC ? std::string() : Failed("filling up");
}

void Unmount(const std::filesystem::path& folder) { ::umount2(folder.c_str(), MNT_DETACH); }

} // namespace lumeno::test
