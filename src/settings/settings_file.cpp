#include "settings/settings_file.h"

#include <algorithm>
#include <cstring>
#include <fstream>

#include "platform/atomic_file.h"
#include "platform/file_error_cause.h"
#include "platform/message_box.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"
#include "settings/settings_archive.h"

namespace lumeno {
namespace {

// The file error as the user reads it, with the file's name in place of %1.
std::string DescribeFileError(int error, const std::string& path)
{
    std::string text;
    switch (FileErrorCauseOf(error)) {
    case FileErrorCause::AccessDenied:
        text = "Access to %1 was denied.";
        break;
    case FileErrorCause::PathNotFound:
        text = "%1 could not be created because its folder does not exist.";
        break;
    case FileErrorCause::DiskFull:
        text = "The disk is full while writing %1.";
        break;
    default:
        text = "An error occurred while writing %1: " + std::string(std::strerror(error)) + ".";
        break;
    }
    return text.replace(text.find("%1"), 2, path);
}

} // namespace

std::vector<std::byte> EncodeSettings(const CanvasSettings& canvas, const ParticleSettings& particles)
{
    // Serialize is two-way and so takes its record by reference; storing changes nothing.
    CanvasSettings canvasCopy = canvas;
    ParticleSettings particlesCopy = particles;
    SettingsArchive archive = SettingsArchive::ForStoring();
    canvasCopy.Serialize(archive);
    particlesCopy.Serialize(archive);
    return archive.Bytes();
}

bool LoadSettingsFrom(const std::string& path, CanvasSettings& canvas, ParticleSettings& particles)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::byte bytes[kSettingsFileSize];
    file.read(reinterpret_cast<char*>(bytes), kSettingsFileSize);
    return LoadSettingsFromBytes({bytes, static_cast<std::size_t>(file.gcount())}, canvas, particles);
}

bool LoadSettingsFromBytes(std::span<const std::byte> bytes, CanvasSettings& canvas, ParticleSettings& particles)
{
    // Read into copies and commit only a whole file: a short file changes no field.
    CanvasSettings loadedCanvas = canvas;
    ParticleSettings loadedParticles = particles;
    SettingsArchive archive = SettingsArchive::ForLoading(bytes.first(std::min(bytes.size(), kSettingsFileSize)));
    loadedCanvas.Serialize(archive);
    loadedParticles.Serialize(archive);
    if (archive.Failed())
        return false;
    canvas = loadedCanvas;
    particles = loadedParticles;
    return true;
}

bool SaveSettingsTo(const std::string& path, const CanvasSettings& canvas, const ParticleSettings& particles)
{
    const std::vector<std::byte> bytes = EncodeSettings(canvas, particles);
    const FileWriteResult result = WriteFileAtomically(path, bytes);
    if (!result.ok)
        ShowMessageBox(DescribeFileError(result.error, path), {}, MessageIcon::Warning);
    return result.ok;
}

bool LoadSettings() { return LoadSettingsFrom(kSettingsFileName, CanvasSettingsRecord(), g_particleSettings); }

void SaveSettings(const ParticleSettings& particles)
{
    SaveSettingsTo(kSettingsFileName, CanvasSettingsRecord(), particles);
}

} // namespace lumeno
