#pragma once
// Dropping a settings file on the main window opens it. The filter watches the frame
// widget (which also receives drops over the view) and the GL surface, a window of its
// own. A drag is accepted only when it carries exactly one local file; the file itself
// is judged when it is opened.

#include <functional>
#include <optional>

#include <QObject>
#include <QString>

class QMimeData;

namespace lumeno {

// The one local file that a drag carries, or nothing for several files, a non-file URL
// or no URL at all.
std::optional<QString> DroppedSettingsFile(const QMimeData* data);

class SettingsDropFilter final : public QObject {
    Q_OBJECT

public:
    // `open` runs from the event queue after the drop, so that the drag source is done
    // before a rebuild or a message box.
    SettingsDropFilter(QObject* parent, std::function<void(const QString&)> open);

    // Watches `target` for drags and drops (a widget must also accept drops).
    void Watch(QObject& target);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(const QString&)> m_open;
};

} // namespace lumeno
