#include "settings_presets.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

#include "platform/message_box.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"
#include "settings/settings_file.h"
#include "settings/settings_open.h"

namespace lumeno {
namespace {

QString ChooseFileToOpen(QWidget* parent, const QString& startFolder)
{
    return QFileDialog::getOpenFileName(parent, QString::fromUtf8(kOpenSettingsTitle), startFolder,
                                        QString::fromUtf8(kSettingsFileFilter));
}

QString ChooseFileToSave(QWidget* parent, const QString& startFolder)
{
    return QFileDialog::getSaveFileName(parent, QString::fromUtf8(kSaveSettingsAsTitle), startFolder,
                                        QString::fromUtf8(kSettingsFileFilter));
}

std::string FileSystemName(const QString& path) { return QFile::encodeName(path).toStdString(); }

std::string DisplayName(const QString& path) { return QDir::toNativeSeparators(path).toStdString(); }

} // namespace

SettingsPresets::SettingsPresets(QWidget& window, std::function<void()> refreshProperties,
                                 std::function<void()> rebuildEngine, std::function<ParticleSettings()> settingsToSave)
    : QObject(&window), m_window(window), m_refreshProperties(std::move(refreshProperties)),
      m_rebuildEngine(std::move(rebuildEngine)), m_settingsToSave(std::move(settingsToSave)),
      m_chooseOpen(ChooseFileToOpen), m_chooseSave(ChooseFileToSave)
{
}

void SettingsPresets::SetChoosers(FileChooser open, FileChooser save)
{
    m_chooseOpen = std::move(open);
    m_chooseSave = std::move(save);
}

QString SettingsPresets::StartFolder() const
{
    if (!m_lastFolder.isEmpty())
        return m_lastFolder;
    const QString presets = QDir::current().absoluteFilePath(QString::fromUtf8(kPresetsFolder));
    return QFileInfo(presets).isDir() ? presets : QDir::currentPath();
}

void SettingsPresets::OpenChosen()
{
    const QString path = m_chooseOpen(&m_window, StartFolder());
    if (!path.isEmpty())
        Open(path);
}

void SettingsPresets::SaveChosen()
{
    const QString path = m_chooseSave(&m_window, StartFolder());
    if (!path.isEmpty())
        SaveAs(path);
}

bool SettingsPresets::Open(const QString& path)
{
    // Only a whole settings file reaches the records; a refusal leaves every field as it was.
    const SettingsOpenResult result = OpenSettingsFile(FileSystemName(path), CanvasSettingsRecord(), g_particleSettings);
    if (result.status != SettingsOpenStatus::Loaded) {
        ShowMessageBox(DescribeSettingsOpenFailure(result, DisplayName(path)), kOpenSettingsTitle,
                       MessageIcon::Warning);
        return false;
    }
    m_lastFolder = QFileInfo(path).absolutePath();
    // As at start-up: the dialog shows the file's values, then the engine is built from them.
    m_refreshProperties();
    m_rebuildEngine();
    return true;
}

bool SettingsPresets::SaveAs(const QString& path)
{
    QString name = path;
    if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".ar");
    // The writer of Save Settings: atomic, and its failures reported in its words.
    if (!SaveSettingsTo(FileSystemName(name), CanvasSettingsRecord(), m_settingsToSave()))
        return false;
    m_lastFolder = QFileInfo(name).absolutePath();
    return true;
}

} // namespace lumeno
