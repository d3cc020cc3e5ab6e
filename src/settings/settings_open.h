#pragma once
// Opening a settings file that the user picked (a preset): stricter than the start-up
// load, because a file the user names must be exactly one settings file. Anything else
// is refused with a reason and changes no field.

#include <string>

namespace lumeno {

struct CanvasSettings;
struct ParticleSettings;

enum class SettingsOpenStatus {
    Loaded,
    Missing,     // no such file
    Folder,      // the name is a folder
    NotAFile,    // a device, pipe or socket: never read, it could block or never end
    Unreadable,  // exists but cannot be opened or read (`error` says why)
    WrongSize,   // `size` bytes instead of exactly 115
    OutOfReach,  // 115 bytes, with a value no settings file of Lumeno holds (`problem`)
};

struct SettingsOpenResult {
    SettingsOpenStatus status = SettingsOpenStatus::Loaded;
    int error = 0;             // errno, for Unreadable
    unsigned long long size = 0; // bytes found, for WrongSize
    std::string problem = {};    // the value out of reach, for OutOfReach
};

// Reads the file at `path` into the records only when it holds exactly 115 bytes whose
// values lie within what Lumeno can make (settings_limits.h); the bytes are decoded as
// the start-up load decodes them.
SettingsOpenResult OpenSettingsFile(const std::string& path, CanvasSettings& canvas, ParticleSettings& particles);

// The refusal as the user reads it, naming the file; empty for Loaded.
std::string DescribeSettingsOpenFailure(const SettingsOpenResult& result, const std::string& path);

} // namespace lumeno
