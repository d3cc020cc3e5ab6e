#pragma once
// Replaces a file's contents without ever leaving a truncated or half-written file:
// the bytes go to a temporary file in the same folder, reach the disk, and the
// temporary is renamed over the old file. On failure the old file is untouched. A name
// that is a symbolic link keeps its link; the file it names gets the new contents. A
// file that may not be written (read-only, by its own permission bits) is refused with
// EACCES and kept.

#include <cstddef>
#include <span>
#include <string>

namespace lumeno {

struct FileWriteResult {
    bool ok = true;
    int error = 0; // errno of the failing step
};

FileWriteResult WriteFileAtomically(const std::string& path, std::span<const std::byte> bytes);

} // namespace lumeno
