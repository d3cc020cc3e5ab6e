#pragma once
// Thread creation that reports failure as an answer: a thread that cannot be started
// comes back not joinable, as a null handle would.

#include <functional>
#include <thread>

namespace lumeno {

std::thread StartThread(std::function<void()> routine);

// Makes the next `count` calls of StartThread fail, for the tests of failure paths.
void FailNextThreadStartsForTesting(int count);

} // namespace lumeno
