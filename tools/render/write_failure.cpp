#include "write_failure.h"

#include <cstring>

namespace lumeno {

std::string CannotWrite(const std::string& path, int error) { return "cannot write " + path + ": " + std::strerror(error); }

} // namespace lumeno
