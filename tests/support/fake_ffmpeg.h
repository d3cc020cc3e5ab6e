#pragma once
// A stand-in for ffmpeg: a shell script found on PATH in place of the real program, for
// the films and decodes that must fail in a given way.

#include <filesystem>
#include <string>

#include "support/temp_folder.h"

namespace lumeno::test {

// Writes `script` (sh, without the #! line) as an executable "ffmpeg" into `folder`.
void WriteFakeFfmpeg(const std::filesystem::path& folder, const std::string& script);

// The stand-in first on this process's PATH for as long as the object lives.
class FakeFfmpegOnPath {
public:
    explicit FakeFfmpegOnPath(const std::string& script);
    ~FakeFfmpegOnPath();
    FakeFfmpegOnPath(const FakeFfmpegOnPath&) = delete;
    FakeFfmpegOnPath& operator=(const FakeFfmpegOnPath&) = delete;

private:
    TempFolder m_folder;
    std::string m_previousPath;
};

} // namespace lumeno::test
