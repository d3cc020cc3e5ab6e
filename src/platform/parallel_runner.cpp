#include "platform/parallel_runner.h"

#include "platform/threads.h"

namespace lumeno {

ParallelRunner::ParallelRunner(int threads)
{
    for (int index = 1; index < threads; ++index) {
        std::thread thread = StartThread([this, index] { Serve(index); });
        if (!thread.joinable())
            break;
        m_threads.push_back(std::move(thread));
    }
}

ParallelRunner::~ParallelRunner()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
}

void ParallelRunner::Run(const std::function<void(int, int)>& job)
{
    const int count = Threads();
    if (count > 1) {
        std::lock_guard lock(m_mutex);
        m_job = &job;
        m_running = count - 1;
        ++m_generation;
    }
    m_wake.notify_all();
    job(0, count);
    if (count > 1) {
        std::unique_lock lock(m_mutex);
        m_done.wait(lock, [this] { return m_running == 0; });
        m_job = nullptr;
    }
}

void ParallelRunner::Serve(int index)
{
    std::uint64_t seen = 0;
    for (;;) {
        const std::function<void(int, int)>* job = nullptr;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [&] { return m_stop || m_generation != seen; });
            if (m_stop)
                return;
            seen = m_generation;
            job = m_job;
        }
        (*job)(index, Threads());
        std::lock_guard lock(m_mutex);
        if (--m_running == 0)
            m_done.notify_one();
    }
}

} // namespace lumeno
