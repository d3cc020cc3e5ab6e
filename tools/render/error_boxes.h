#pragma once
// While alive, the program's message boxes go to standard error; the handler that was
// installed before comes back afterwards. The step that showed a box reports its own
// failure.

#include "platform/message_box.h"

namespace lumeno {

class ErrorBoxesToStandardError {
public:
    ErrorBoxesToStandardError();
    ~ErrorBoxesToStandardError();
    ErrorBoxesToStandardError(const ErrorBoxesToStandardError&) = delete;
    ErrorBoxesToStandardError& operator=(const ErrorBoxesToStandardError&) = delete;

private:
    MessageBoxHandler m_previous;
};

} // namespace lumeno
