// The user's Lumeno folder by the XDG base directories.

#include "platform/program_folders.h"

#include <gtest/gtest.h>

namespace lumeno::test {
namespace {

TEST(ProgramFolders, UserFolderIsDataHomesLumenoAndOnlyFromAbsolutePaths)
{
    struct Case {
        const char* xdgDataHome;
        const char* home;
        const char* folder;
    };
    const Case cases[] = {
        {nullptr, "/home/ann", "/home/ann/.local/share/lumeno"},
        {"", "/home/ann", "/home/ann/.local/share/lumeno"},
        {"/data/ann", "/home/ann", "/data/ann/lumeno"},
        {"/data/ann/", "/home/ann", "/data/ann/lumeno"},
        {"relative/data", "/home/ann", "/home/ann/.local/share/lumeno"}, // XDG ignores a relative path
        {"/data/ann", nullptr, "/data/ann/lumeno"},
        {nullptr, nullptr, ""},
        {nullptr, "", ""},
        {nullptr, "home/ann", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UserFolderFor(c.xdgDataHome, c.home), std::filesystem::path(c.folder))
            << (c.xdgDataHome ? c.xdgDataHome : "(unset)") << " " << (c.home ? c.home : "(unset)");
}

} // namespace
} // namespace lumeno::test
