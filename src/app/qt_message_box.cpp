#include "qt_message_box.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

#include <utility>

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

// Room beside a title for what the window manager puts in the title bar: its icon and
// its buttons. A box sizes itself to its text alone, so a short text under a longer
// title would leave the title cut short.
constexpr int kTitleBarRoom = 160;

void WidenForTitle(QMessageBox& box)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr)
        return;
    const int width = box.fontMetrics().horizontalAdvance(box.windowTitle()) + kTitleBarRoom;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

void ShowQtMessageBox(const MessageBoxRequest& request)
{
    const std::string_view title = request.title.empty() ? kDefaultMessageBoxTitle : request.title;
    QMessageBox box(IconOf(request.icon), QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())),
                    QString::fromStdString(request.text), QMessageBox::Ok, static_cast<QWidget*>(request.owner));
    WidenForTitle(box);
    box.exec();
}

} // namespace

void InstallQtMessageBoxes(std::function<void(bool open)> aroundBox)
{
    if (!aroundBox) {
        SetMessageBoxHandler(ShowQtMessageBox);
        return;
    }
    SetMessageBoxHandler([aroundBox = std::move(aroundBox)](const MessageBoxRequest& request) {
        aroundBox(true);
        ShowQtMessageBox(request);
        aroundBox(false);
    });
}

} // namespace lumeno
