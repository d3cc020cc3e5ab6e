#pragma once
// Failures of the graphics layer, reported to the user with the sentence that
// describes their result code.

#include <string_view>

#include "platform/hresult.h"

namespace lumeno {

inline constexpr std::string_view kDxErrorTitle = "DXErrorInfo:";

// The English sentence for a result code; "n/a" for a code the table does not know.
const char* DXGetErrorDescription(HRESULT result);

// A warning box titled "DXErrorInfo:": the message, an empty line, "Error Description:"
// and the description of the result on the next line.
void ShowDxError(std::string_view message, HRESULT result);

} // namespace lumeno
