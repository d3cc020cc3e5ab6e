#pragma once
// The one way the program reports a failure to the user: a modal box, with no owner
// window unless its caller names one.
// The application installs a Qt handler, headless tools print to standard error, and
// tests install a recorder and assert on the exact texts and titles.

#include <functional>
#include <string>
#include <string_view>

namespace lumeno {

enum class MessageIcon { None, Warning, Error };

struct MessageBoxRequest {
    std::string text;
    std::string title; // empty: the program's default title
    MessageIcon icon = MessageIcon::None;
    // The window the box belongs to, as the platform knows it (a QWidget in the
    // application), or null for none. The box stays above it and centred on it.
    void* owner = nullptr;
};

// The caption a box gets when its caller gives none.
inline constexpr std::string_view kDefaultMessageBoxTitle = "Lumeno";

using MessageBoxHandler = std::function<void(const MessageBoxRequest&)>;

// Shows the box and returns when the user has closed it.
void ShowMessageBox(std::string_view text, std::string_view title, MessageIcon icon, void* owner = nullptr);

// Installs a handler and returns the previous one; an empty handler restores the default,
// which writes the box to standard error.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

} // namespace lumeno
