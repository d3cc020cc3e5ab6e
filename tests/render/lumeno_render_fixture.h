#pragma once
// lumeno-render run as a real process in a fresh folder that sees the shipped effect file.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/working_folder.h"

namespace lumeno::test {

struct Result {
    int status = -1;    // exit status; -1 when the process did not exit (a signal)
    std::string output; // standard output and error together
};

// `command` run by sh, its standard output and error on one pipe or a pseudo-terminal.
Result Shell(const std::string& command, bool terminal = false);

// A picture file as 8-bit RGB, top row first; empty when it cannot be read.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

class LumenoRender : public ::testing::Test {
protected:
    // `environment` goes before the command, as "PATH=/somewhere". Standard output and
    // error go into one pipe, or with `terminal` onto a pseudo-terminal.
    Result Run(const std::string& arguments, const std::string& environment = "", bool terminal = false) const;

    Picture LoadPicture(const std::string& name) const;
    // What the folder holds, but the effect link.
    std::set<std::string> Entries() const;
    // A settings file: defaults, with this canvas (32-bit float), particle count and exposure.
    void WriteScene(const std::string& name, int width, int height, int particles, float exposure = 1.0f) const;

    WorkingFolder m_folder;
};

} // namespace lumeno::test
