#include "play/seeded_random.h"

#include <random>

namespace lumeno {

std::uint64_t FreshSeed()
{
    std::random_device device;
    const std::uint64_t high = device();
    return (high << 32) ^ device();
}

} // namespace lumeno
