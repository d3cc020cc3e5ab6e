#include "platform/random15.h"

namespace lumeno {
namespace {
// Touched only by the user-interface thread (emission).
std::uint32_t g_randState = 1;
} // namespace

int Rand15() { return NextRand15(g_randState); }
void SeedRand15(std::uint32_t state) { g_randState = state; }
std::uint32_t Rand15State() { return g_randState; }

} // namespace lumeno
