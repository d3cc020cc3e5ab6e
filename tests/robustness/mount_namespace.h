#pragma once
// Small file systems that a test can fill or make read-only, mounted over a folder in a
// mount namespace of this thread's own, so nothing outside the test process sees them.
// Needs root (CAP_SYS_ADMIN), as the tests and CI run; permission bits alone would not
// stop root from writing.

#include <filesystem>
#include <string>

namespace lumeno::test {

// Mounts a tmpfs of `kilobytes` over `folder` (which must exist), read-only if asked.
// Empty on success, else why it could not.
std::string MountTmpfs(const std::filesystem::path& folder, int kilobytes, bool readOnly);

// Fills the file system holding `folder` up to the last byte with one file, "filler".
std::string FillUp(const std::filesystem::path& folder);

void Unmount(const std::filesystem::path& folder);

} // namespace lumeno::test
