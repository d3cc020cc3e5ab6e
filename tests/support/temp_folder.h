#pragma once
// A fresh folder for one test, removed with everything in it afterwards.

#include <filesystem>

namespace lumeno::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::string File(const char* name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// Runs as root? Then permission bits do not stop writes, and tests of them must skip.
bool PermissionsAreEnforced();

} // namespace lumeno::test
