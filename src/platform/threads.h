#pragma once
// Thread creation that reports failure as an answer: a thread that cannot be started
// comes back not joinable, as a null handle would.

#include <functional>
#include <system_error>
#include <thread>

namespace lumeno {

// Where no thread can be started, `failure` (when given) says why, as the system did.
std::thread StartThread(std::function<void()> routine, std::error_code* failure = nullptr);

// Makes the next `count` calls of StartThread fail as a process out of threads does
// (EAGAIN), for the tests of failure paths.
void FailNextThreadStartsForTesting(int count);

} // namespace lumeno
