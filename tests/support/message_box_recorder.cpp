#include "support/message_box_recorder.h"

namespace lumeno::test {

MessageBoxRecorder::MessageBoxRecorder()
    : m_previous(SetMessageBoxHandler([this](const MessageBoxRequest& box) { m_boxes.push_back(box); }))
{
}

MessageBoxRecorder::~MessageBoxRecorder() { SetMessageBoxHandler(std::move(m_previous)); }

std::vector<ShownBox> MessageBoxRecorder::Shown() const
{
    std::vector<ShownBox> shown;
    for (const MessageBoxRequest& box : m_boxes)
        shown.push_back({box.text, box.title, box.icon});
    return shown;
}

void PrintTo(const ShownBox& box, std::ostream* out)
{
    *out << "{\"" << box.text << "\", \"" << box.title << "\", icon " << static_cast<int>(box.icon) << "}";
}

} // namespace lumeno::test
