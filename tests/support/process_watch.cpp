#include "support/process_watch.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace lumeno::test {

int TaskCount(int expected)
{
    int count = 0;
    for (int i = 0; i < 1000; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(1))) {
        count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/task"))
            ++count;
        if (expected < 0 || count == expected)
            break;
    }
    return count;
}

std::pair<long, long> Memory()
{
    std::ifstream status("/proc/self/status");
    long hwm = -1, rss = -1;
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0)
            hwm = std::stol(line.substr(6));
        if (line.rfind("VmRSS:", 0) == 0)
            rss = std::stol(line.substr(6));
    }
    return {hwm, rss};
}

} // namespace lumeno::test
