#pragma once

#include <ctime>
#include <string>

namespace lumeno {

// Today's date as six digits, two each for year, month and day ("261207").
std::string DateTextYYMMDD();

// The local time now.
std::tm LocalTimeNow();

} // namespace lumeno
