#include "platform/threads.h"

#include <atomic>
#include <system_error>

namespace lumeno {
namespace {
std::atomic<int> g_failuresToInject{0};
} // namespace

std::thread StartThread(std::function<void()> routine)
{
    for (int pending = g_failuresToInject.load(); pending > 0; pending = g_failuresToInject.load()) {
        if (g_failuresToInject.compare_exchange_weak(pending, pending - 1))
            return {};
    }
    try {
        return std::thread(std::move(routine));
    } catch (const std::system_error&) {
        return {};
    }
}

void FailNextThreadStartsForTesting(int count) { g_failuresToInject.store(count); }

} // namespace lumeno
