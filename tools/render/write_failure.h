#pragma once
// One wording for every file a render cannot write, whatever wrote it.

#include <string>

namespace lumeno {

// "cannot write PATH: REASON", the reason as strerror gives it for `error` (an errno).
std::string CannotWrite(const std::string& path, int error);

} // namespace lumeno
