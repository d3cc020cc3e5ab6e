#include "support/temp_folder.h"

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace lumeno::test {

TempFolder::TempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "lumeno-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        std::abort();
    m_path = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

bool PermissionsAreEnforced() { return ::geteuid() != 0; }

} // namespace lumeno::test
