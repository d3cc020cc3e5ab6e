#pragma once
// Where this program's executable lies, and where the user's own Lumeno folder goes: the
// two places, besides the working directory, the program looks for its data and keeps
// what a person makes.

#include <filesystem>

namespace lumeno {

// The folder of the running executable (/proc/self/exe, links resolved); empty when the
// kernel cannot say.
std::filesystem::path ExecutableFolder();

// The per-user folder by the XDG base directories: $XDG_DATA_HOME/lumeno when that is an
// absolute path (the XDG base directories ignore relative ones), otherwise
// $HOME/.local/share/lumeno. Empty when neither gives an absolute path. Data home rather
// than the Pictures folder: the folder holds the settings file and the effect file a
// person may copy there, not only pictures.
std::filesystem::path UserFolderFor(const char* xdgDataHome, const char* home);

// UserFolderFor with this process's environment, falling back to the password
// database's home folder when HOME is unset.
std::filesystem::path UserFolder();

} // namespace lumeno
