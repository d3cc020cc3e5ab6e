#pragma once
// Runs one job on several threads at once and waits for all of them: the caller's thread
// takes part as index 0, the others wait on a condition variable between jobs, so a job
// starts within microseconds rather than a polling interval. Threads that cannot be
// started are simply not used: the job then runs on fewer, down to the caller alone.
//
//   ParallelRunner runner(4);
//   runner.Run([&](int index, int count) { ... share `index` of `count` ... });

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace lumeno {

class ParallelRunner {
public:
    explicit ParallelRunner(int threads);
    ~ParallelRunner();
    ParallelRunner(const ParallelRunner&) = delete;
    ParallelRunner& operator=(const ParallelRunner&) = delete;

    int Threads() const { return static_cast<int>(m_threads.size()) + 1; }
    // One thread at a time may call Run; it returns when every share has returned.
    void Run(const std::function<void(int index, int count)>& job);

private:
    void Serve(int index);

    std::vector<std::thread> m_threads;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    const std::function<void(int, int)>* m_job = nullptr;
    std::uint64_t m_generation = 0; // counts jobs handed out
    int m_running = 0;              // helpers still inside the current job
    bool m_stop = false;
};

} // namespace lumeno
