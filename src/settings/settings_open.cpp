#include "settings/settings_open.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/file_error_cause.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"
#include "settings/settings_file.h"
#include "settings/settings_limits.h"

namespace lumeno {
namespace {

constexpr const char* kNothingChanged = " Nothing was changed.";

} // namespace

SettingsOpenResult OpenSettingsFile(const std::string& path, CanvasSettings& canvas, ParticleSettings& particles)
{
    namespace fs = std::filesystem;
    std::error_code failure;
    const fs::file_status status = fs::status(path, failure);
    if (status.type() == fs::file_type::not_found)
        return {SettingsOpenStatus::Missing};
    if (failure)
        return {SettingsOpenStatus::Unreadable, failure.value()};
    if (status.type() == fs::file_type::directory)
        return {SettingsOpenStatus::Folder};
    if (status.type() != fs::file_type::regular)
        return {SettingsOpenStatus::NotAFile};

    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return {SettingsOpenStatus::Unreadable, errno};
    // One byte more than a settings file, so that a longer file shows itself in the count.
    std::byte bytes[kSettingsFileSize + 1];
    const std::size_t count = std::fread(bytes, 1, sizeof bytes, file);
    const bool readFailed = std::ferror(file) != 0;
    const int readError = errno;
    std::fclose(file);
    if (readFailed)
        return {SettingsOpenStatus::Unreadable, readError};
    if (count != kSettingsFileSize) {
        // The whole length for a longer file; what was read when it is short.
        const std::uintmax_t size = count > kSettingsFileSize ? fs::file_size(path, failure) : count;
        return {SettingsOpenStatus::WrongSize, 0, failure ? count : size};
    }
    // Decodes into copies and commits only a whole record pair within reach.
    CanvasSettings loadedCanvas = canvas;
    ParticleSettings loadedParticles = particles;
    LoadSettingsFromBytes({bytes, kSettingsFileSize}, loadedCanvas, loadedParticles);
    std::string problem = SettingsOutOfReach(loadedCanvas, loadedParticles);
    if (!problem.empty())
        return {SettingsOpenStatus::OutOfReach, 0, 0, std::move(problem)};
    canvas = loadedCanvas;
    particles = loadedParticles;
    return {SettingsOpenStatus::Loaded};
}

std::string DescribeSettingsOpenFailure(const SettingsOpenResult& result, const std::string& path)
{
    switch (result.status) {
    case SettingsOpenStatus::Loaded:
        return {};
    case SettingsOpenStatus::Missing:
        return path + " could not be opened: there is no such file." + kNothingChanged;
    case SettingsOpenStatus::Folder:
        return path + " is a folder, not a settings file." + kNothingChanged;
    case SettingsOpenStatus::NotAFile:
        return path + " is not a settings file: it is not a regular file." + kNothingChanged;
    case SettingsOpenStatus::Unreadable: {
        const bool denied = FileErrorCauseOf(result.error) == FileErrorCause::AccessDenied;
        const std::string reason = denied ? "access was denied" : std::strerror(result.error);
        return path + " could not be read: " + reason + "." + kNothingChanged;
    }
    case SettingsOpenStatus::WrongSize: {
        const std::string size = std::to_string(result.size) + (result.size == 1 ? " byte" : " bytes");
        return path + " is not a settings file: it holds " + size + ", and a settings file holds exactly " +
               std::to_string(kSettingsFileSize) + "." + kNothingChanged;
    }
    case SettingsOpenStatus::OutOfReach:
        return path + " is not a settings file: " + result.problem + "." + kNothingChanged;
    }
    return {};
}

} // namespace lumeno
