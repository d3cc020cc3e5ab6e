#pragma once
// Open Settings... and Save Settings As...: settings files beside settings_v4.ar, such as
// the shipped presets. Opening a file puts it in both records, refreshes the properties
// dialog and rebuilds the engine, as start-up does with settings_v4.ar; a file that is not
// a settings file is refused with a box that names it, and nothing changes. Save As
// writes the records as Save Settings does, to the chosen name.

#include <functional>

#include <QObject>
#include <QString>

#include "settings/particle_settings.h"

class QWidget;

namespace lumeno {

inline constexpr const char* kOpenSettingsTitle = "Open Settings";
inline constexpr const char* kSaveSettingsAsTitle = "Save Settings As";
inline constexpr const char* kSettingsFileFilter = "Settings files (*.ar)";
// Where the file dialogs start when it exists in the working directory.
inline constexpr const char* kPresetsFolder = "presets";

class SettingsPresets final : public QObject {
    Q_OBJECT

public:
    // Asks the user for a file name; an empty name means the user cancelled.
    using FileChooser = std::function<QString(QWidget* parent, const QString& startFolder)>;

    // `settingsToSave` gives the particle record as Save Settings As writes it.
    SettingsPresets(QWidget& window, std::function<void()> refreshProperties, std::function<void()> rebuildEngine,
                    std::function<ParticleSettings()> settingsToSave);

    // The menu commands: a file dialog, then Open or SaveAs with the chosen name.
    void OpenChosen();
    void SaveChosen();

    // True when the file was loaded (and the dialog and engine renewed) or written.
    bool Open(const QString& path);
    // Appends ".ar" when the name has no extension.
    bool SaveAs(const QString& path);

    // Tests replace the file dialogs.
    void SetChoosers(FileChooser open, FileChooser save);

private:
    QString StartFolder() const;

    QWidget& m_window;
    std::function<void()> m_refreshProperties;
    std::function<void()> m_rebuildEngine;
    std::function<ParticleSettings()> m_settingsToSave;
    FileChooser m_chooseOpen;
    FileChooser m_chooseSave;
    QString m_lastFolder; // of the last file opened or saved
};

} // namespace lumeno
