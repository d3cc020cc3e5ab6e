#pragma once

#include <string>

namespace lumeno {

// Today's date as six digits, two each for year, month and day ("261207").
std::string DateTextYYMMDD();

} // namespace lumeno
