#pragma once
// A fresh folder that is the working directory while it lives, as the program's own is:
// `Engine/` there is the source tree's, so the shipped effect file loads by its relative
// name. The process state is a fresh process's on entry and again on leaving, and the
// previous working directory comes back.

#include <filesystem>

#include "support/temp_folder.h"

namespace lumeno::test {

class WorkingFolder : public TempFolder {
public:
    WorkingFolder();
    ~WorkingFolder();

private:
    std::filesystem::path m_previous;
};

} // namespace lumeno::test
