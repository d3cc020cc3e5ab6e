#include "platform/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumeno {
namespace {

FileWriteResult Failure(int error) { return FileWriteResult{false, error}; }

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

// The umask can be read without being changed only from /proc: umask(0) and back would,
// for that moment, let every other thread (the GL driver's among them) create files
// without a mask. Where /proc has no answer, the usual 022.
mode_t CurrentUmask()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0)
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8)) & 0777;
    }
    return 022;
}

// mkstemp creates the file 0600; keep the mode of the file being replaced, or give a
// new file the mode that creating it plainly would.
mode_t ModeForReplacement(const std::string& path)
{
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0)
        return old.st_mode & 07777;
    return 0666 & ~CurrentUmask();
}

// A file kept elsewhere and linked here stays linked: the new contents replace the file
// the link names, in that file's folder, and the link itself is left as it is. A link
// that names nothing is replaced by the file.
std::string FileBehindLinks(const std::string& path)
{
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode))
        return path;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved)
        return path;
    std::string target(resolved);
    std::free(resolved);
    return target;
}

// Renaming over a file needs only its folder's permission, so a file the person made
// read-only would be replaced all the same. It is refused as opening it for writing
// would refuse it. For root, who may write anything, its own permission bits decide: a
// file that no one may write is kept as it is.
int RefusalToReplace(const std::string& path)
{
    struct stat file {};
    if (::stat(path.c_str(), &file) != 0 || !S_ISREG(file.st_mode))
        return 0;
    if (::geteuid() == 0)
        return (file.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ? EACCES : 0;
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0 && (errno == EACCES || errno == EPERM))
        return EACCES;
    return 0;
}

bool WriteAll(int fd, std::span<const std::byte> bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (written == 0) {
            // Nothing written and no error: asking again would loop for ever.
            errno = EIO;
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

} // namespace

FileWriteResult WriteFileAtomically(const std::string& name, std::span<const std::byte> bytes)
{
    const std::string path = FileBehindLinks(name);
    if (const int refusal = RefusalToReplace(path))
        return Failure(refusal);
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return Failure(errno);

    // File systems without modes (FAT) refuse this; the contents matter more than the mode.
    (void)::fchmod(fd, ModeForReplacement(path));
    if (!WriteAll(fd, bytes) || ::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        ::unlink(temporary.c_str());
        return Failure(error);
    }
    if (::close(fd) != 0 || ::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return Failure(error);
    }

    // The rename itself reaches the disk only with the folder; a failure here loses nothing.
    const int folder = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return {};
}

} // namespace lumeno
