#pragma once
// While alive, the program's message boxes go to standard error and mark the run as
// failed; the handler that was installed before comes back afterwards.

#include "platform/message_box.h"

namespace lumeno {

class ErrorBoxesToStandardError {
public:
    ErrorBoxesToStandardError();
    ~ErrorBoxesToStandardError();
    ErrorBoxesToStandardError(const ErrorBoxesToStandardError&) = delete;
    ErrorBoxesToStandardError& operator=(const ErrorBoxesToStandardError&) = delete;

    bool SawError() const { return m_sawError; }
    // Whether a box came since the last call; for one step that reports through a box.
    bool TakeError();

private:
    bool m_sawError = false;
    bool m_sinceTaken = false;
    MessageBoxHandler m_previous;
};

} // namespace lumeno
