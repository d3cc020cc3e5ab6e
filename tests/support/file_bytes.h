#pragma once
// A whole file as bytes, for the tests that compare what was written.

#include <filesystem>
#include <string>

namespace lumeno::test {

// Empty when the file cannot be read.
std::string FileBytes(const std::filesystem::path& path);

} // namespace lumeno::test
