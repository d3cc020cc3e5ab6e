#include "error_boxes.h"

#include <cstdio>

namespace lumeno {

ErrorBoxesToStandardError::ErrorBoxesToStandardError()
{
    m_previous = SetMessageBoxHandler([this](const MessageBoxRequest& box) {
        // Titles such as "DXErrorInfo:" bring their own colon.
        const char* separator = box.title.empty() ? "" : box.title.ends_with(':') ? " " : ": ";
        std::fprintf(stderr, "lumeno-render: %s%s%s\n", box.title.c_str(), separator, box.text.c_str());
    });
}

ErrorBoxesToStandardError::~ErrorBoxesToStandardError() { SetMessageBoxHandler(std::move(m_previous)); }

} // namespace lumeno
