#pragma once
// The settings file: both records back to back, 115 bytes, in the working directory.
// Read once at start-up; written only when the user asks.

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace lumeno {

struct CanvasSettings;
struct ParticleSettings;

inline constexpr const char* kSettingsFileName = "settings_v4.ar";
inline constexpr std::size_t kSettingsFileSize = 115;

// Loads both global records from kSettingsFileName. False when the file cannot be
// opened or holds fewer than 115 bytes; the records then keep every value they had.
bool LoadSettings();

// Writes the canvas record and `particles` to kSettingsFileName. A failure shows a box
// with the file error and the file name and leaves the old file as it was.
void SaveSettings(const ParticleSettings& particles);

// The same on any path and records, for the tools and the tests.
bool LoadSettingsFrom(const std::string& path, CanvasSettings& canvas, ParticleSettings& particles);
bool SaveSettingsTo(const std::string& path, const CanvasSettings& canvas, const ParticleSettings& particles);

// The loader's whole decision on the file's contents: the first 115 bytes, the rest
// ignored; fewer change nothing and give false. Any bytes at all are a valid input.
bool LoadSettingsFromBytes(std::span<const std::byte> bytes, CanvasSettings& canvas, ParticleSettings& particles);

std::vector<std::byte> EncodeSettings(const CanvasSettings& canvas, const ParticleSettings& particles);

} // namespace lumeno
