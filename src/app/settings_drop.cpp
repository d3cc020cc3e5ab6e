#include "settings_drop.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace lumeno {

std::optional<QString> DroppedSettingsFile(const QMimeData* data)
{
    if (data == nullptr || !data->hasUrls())
        return std::nullopt;
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return std::nullopt;
    return urls.front().toLocalFile();
}

SettingsDropFilter::SettingsDropFilter(QObject* parent, std::function<void(const QString&)> open)
    : QObject(parent), m_open(std::move(open))
{
}

void SettingsDropFilter::Watch(QObject& target) { target.installEventFilter(this); }

bool SettingsDropFilter::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto& drag = static_cast<QDropEvent&>(*event);
        if (DroppedSettingsFile(drag.mimeData()))
            drag.acceptProposedAction();
        else
            drag.ignore();
        return true;
    }
    case QEvent::Drop: {
        auto& drop = static_cast<QDropEvent&>(*event);
        const std::optional<QString> path = DroppedSettingsFile(drop.mimeData());
        if (!path) {
            drop.ignore();
            return true;
        }
        drop.acceptProposedAction();
        QMetaObject::invokeMethod(this, [this, file = *path] { m_open(file); }, Qt::QueuedConnection);
        return true;
    }
    default:
        return false;
    }
}

} // namespace lumeno
