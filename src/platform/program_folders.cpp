#include "platform/program_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>
#include <vector>

namespace lumeno {
namespace {

bool IsAbsolute(const char* path) { return path && path[0] == '/'; }

// The home folder of the password database, for a process started without HOME.
std::string HomeOfUser()
{
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found || !found->pw_dir)
        return {};
    return found->pw_dir;
}

} // namespace

std::filesystem::path ExecutableFolder()
{
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : executable.parent_path();
}

std::filesystem::path UserFolderFor(const char* xdgDataHome, const char* home)
{
    if (IsAbsolute(xdgDataHome))
        return std::filesystem::path(xdgDataHome) / "lumeno";
    if (IsAbsolute(home))
        return std::filesystem::path(home) / ".local/share/lumeno";
    return {};
}

std::filesystem::path UserFolder()
{
    const char* home = std::getenv("HOME");
    const std::string fallback = home ? std::string() : HomeOfUser();
    return UserFolderFor(std::getenv("XDG_DATA_HOME"), home ? home : fallback.c_str());
}

} // namespace lumeno
