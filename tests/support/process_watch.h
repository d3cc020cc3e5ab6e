#pragma once
// What the soaks watch of their own process: its threads and its memory, from /proc.

#include <utility>

// Under AddressSanitizer or ThreadSanitizer freed memory sits in quarantine and is shadowed:
// the process's sizes say nothing about leaks there, and the soaks do not judge them.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define LUMENO_SANITIZED_MEMORY 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define LUMENO_SANITIZED_MEMORY 1
#endif
#endif

namespace lumeno::test {

// Threads of this process; a joined one may linger in /proc while the kernel reaps it,
// so a count that should drop gets a second to settle to `expected`.
int TaskCount(int expected = -1);

// VmHWM and VmRSS in KiB.
std::pair<long, long> Memory();

} // namespace lumeno::test
