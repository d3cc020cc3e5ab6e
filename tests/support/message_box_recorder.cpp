#include "support/message_box_recorder.h"

namespace lumeno::test {

MessageBoxRecorder::MessageBoxRecorder()
    : m_previous(SetMessageBoxHandler([this](const MessageBoxRequest& box) { m_boxes.push_back(box); }))
{
}

MessageBoxRecorder::~MessageBoxRecorder() { SetMessageBoxHandler(std::move(m_previous)); }

} // namespace lumeno::test
