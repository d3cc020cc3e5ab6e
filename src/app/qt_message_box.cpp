#include "qt_message_box.h"

#include <QMessageBox>

#include "platform/message_box.h"

namespace lumeno {
namespace {

QMessageBox::Icon IconOf(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

void ShowQtMessageBox(const MessageBoxRequest& request)
{
    const std::string_view title = request.title.empty() ? kDefaultMessageBoxTitle : request.title;
    QMessageBox box(IconOf(request.icon), QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())),
                    QString::fromStdString(request.text), QMessageBox::Ok);
    box.exec();
}

} // namespace

void InstallQtMessageBoxes() { SetMessageBoxHandler(ShowQtMessageBox); }

} // namespace lumeno
