#include "error_boxes.h"

#include <cstdio>

namespace lumeno {

ErrorBoxesToStandardError::ErrorBoxesToStandardError()
{
    m_previous = SetMessageBoxHandler([this](const MessageBoxRequest& box) {
        m_sawError = true;
        m_sinceTaken = true;
        // Titles such as "DXErrorInfo:" bring their own colon.
        const char* separator = box.title.empty() ? "" : box.title.ends_with(':') ? " " : ": ";
        std::fprintf(stderr, "lumeno-render: %s%s%s\n", box.title.c_str(), separator, box.text.c_str());
    });
}

ErrorBoxesToStandardError::~ErrorBoxesToStandardError() { SetMessageBoxHandler(std::move(m_previous)); }

bool ErrorBoxesToStandardError::TakeError()
{
    const bool came = m_sinceTaken;
    m_sinceTaken = false;
    return came;
}

} // namespace lumeno
