#include "platform/clock.h"

#include <chrono>
#include <utility>

namespace lumeno {
namespace {

std::uint32_t SteadyMilliseconds()
{
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

std::function<std::uint32_t()>& Source()
{
    static std::function<std::uint32_t()> source = SteadyMilliseconds;
    return source;
}

} // namespace

std::uint32_t TimeGetTime() { return Source()(); }

void SetClockSource(std::function<std::uint32_t()> source)
{
    Source() = source ? std::move(source) : SteadyMilliseconds;
}

} // namespace lumeno
