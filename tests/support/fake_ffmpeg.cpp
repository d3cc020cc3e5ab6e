#include "support/fake_ffmpeg.h"

#include <cstdlib>
#include <fstream>

namespace lumeno::test {

void WriteFakeFfmpeg(const std::filesystem::path& folder, const std::string& script)
{
    std::ofstream(folder / "ffmpeg") << "#!/bin/sh\n" << script << "\n";
    std::filesystem::permissions(folder / "ffmpeg", std::filesystem::perms::owner_all);
}

FakeFfmpegOnPath::FakeFfmpegOnPath(const std::string& script)
{
    WriteFakeFfmpeg(m_folder.Path(), script);
    const char* path = std::getenv("PATH");
    m_previousPath = path ? path : "";
    ::setenv("PATH", (m_folder.Path().string() + ":" + m_previousPath).c_str(), 1);
}

FakeFfmpegOnPath::~FakeFfmpegOnPath() { ::setenv("PATH", m_previousPath.c_str(), 1); }

} // namespace lumeno::test
