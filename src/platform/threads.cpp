#include "platform/threads.h"

#include <atomic>

namespace lumeno {
namespace {
std::atomic<int> g_failuresToInject{0};

std::thread Failed(std::error_code code, std::error_code* failure)
{
    if (failure != nullptr)
        *failure = code;
    return {};
}

} // namespace

std::thread StartThread(std::function<void()> routine, std::error_code* failure)
{
    for (int pending = g_failuresToInject.load(); pending > 0; pending = g_failuresToInject.load()) {
        if (g_failuresToInject.compare_exchange_weak(pending, pending - 1))
            return Failed(std::make_error_code(std::errc::resource_unavailable_try_again), failure);
    }
    try {
        return std::thread(std::move(routine));
    } catch (const std::system_error& error) {
        return Failed(error.code(), failure);
    }
}

void FailNextThreadStartsForTesting(int count) { g_failuresToInject.store(count); }

} // namespace lumeno
