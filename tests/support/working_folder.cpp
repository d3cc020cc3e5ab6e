#include "support/working_folder.h"

#include "support/process_state.h"

namespace lumeno::test {

WorkingFolder::WorkingFolder() : m_previous(std::filesystem::current_path())
{
    std::filesystem::create_directory_symlink(std::filesystem::path(LUMENO_SOURCE_DIR) / "Engine", Path() / "Engine");
    std::filesystem::current_path(Path());
    ResetProcessState();
}

WorkingFolder::~WorkingFolder()
{
    std::filesystem::current_path(m_previous);
    ResetProcessState();
}

} // namespace lumeno::test
