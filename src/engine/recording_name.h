#pragma once

#include <ctime>
#include <string>

namespace lumeno {

inline constexpr const char* kRecordingsFolder = "recordings";

// "recordings/<yyMMdd-HHmmss>.mp4" for the local time `local`; a second film begun in the
// same second (`take` 2, 3, ...) gets "-2", "-3" before the ending, so none replaces another.
std::string RecordingName(const std::tm& local, int take);

} // namespace lumeno
