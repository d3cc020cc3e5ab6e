#include "platform/message_box.h"

#include <cstdio>
#include <utility>

namespace lumeno {
namespace {

void WriteToStandardError(const MessageBoxRequest& box)
{
    const char* kind = box.icon == MessageIcon::Error     ? "error"
                       : box.icon == MessageIcon::Warning ? "warning"
                                                          : "message";
    const std::string& title = box.title.empty() ? std::string(kDefaultMessageBoxTitle) : box.title;
    std::fprintf(stderr, "[%s] %s: %s\n", kind, title.c_str(), box.text.c_str());
}

MessageBoxHandler& CurrentHandler()
{
    static MessageBoxHandler handler = WriteToStandardError;
    return handler;
}

} // namespace

void ShowMessageBox(std::string_view text, std::string_view title, MessageIcon icon, void* owner)
{
    CurrentHandler()(MessageBoxRequest{std::string(text), std::string(title), icon, owner});
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler)
{
    if (!handler)
        handler = WriteToStandardError;
    return std::exchange(CurrentHandler(), std::move(handler));
}

} // namespace lumeno
