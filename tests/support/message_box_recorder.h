#pragma once
// Records every message box while alive instead of showing it.

#include <vector>

#include "platform/message_box.h"

namespace lumeno::test {

class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    const std::vector<MessageBoxRequest>& Boxes() const { return m_boxes; }

private:
    std::vector<MessageBoxRequest> m_boxes;
    MessageBoxHandler m_previous;
};

} // namespace lumeno::test
