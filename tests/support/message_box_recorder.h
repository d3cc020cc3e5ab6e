#pragma once
// Records every message box while alive instead of showing it.

#include <ostream>
#include <string>
#include <vector>

#include "platform/message_box.h"

namespace lumeno::test {

// A box as a test compares it: what a person reads, without the window it belongs to.
struct ShownBox {
    std::string text;
    std::string title;
    MessageIcon icon = MessageIcon::None;
    bool operator==(const ShownBox&) const = default;
};
void PrintTo(const ShownBox& box, std::ostream* out);

class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    const std::vector<MessageBoxRequest>& Boxes() const { return m_boxes; }
    // The boxes so far, for one comparison with every box expected.
    std::vector<ShownBox> Shown() const;

private:
    std::vector<MessageBoxRequest> m_boxes;
    MessageBoxHandler m_previous;
};

} // namespace lumeno::test
