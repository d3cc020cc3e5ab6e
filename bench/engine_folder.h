#pragma once
// A fresh working folder for an engine benchmark: the effect file is found relative to
// the working directory, so the folder links the source tree's Engine/, and the previous
// working directory comes back afterwards.

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace lumeno::bench {

class EngineFolder {
public:
    EngineFolder()
    {
        m_previous = std::filesystem::current_path();
        std::string pattern = (std::filesystem::temp_directory_path() / "lumeno-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            return;
        m_folder = pattern;
        std::filesystem::create_directory_symlink(std::filesystem::path(LUMENO_SOURCE_DIR) / "Engine",
                                                  m_folder / "Engine");
        std::filesystem::current_path(m_folder);
    }
    ~EngineFolder()
    {
        std::filesystem::current_path(m_previous);
        std::error_code ignored;
        if (!m_folder.empty())
            std::filesystem::remove_all(m_folder, ignored);
    }
    EngineFolder(const EngineFolder&) = delete;
    EngineFolder& operator=(const EngineFolder&) = delete;
    bool Ready() const { return !m_folder.empty(); }

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_folder;
};

} // namespace lumeno::bench
