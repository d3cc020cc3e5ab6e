#include "particles/particle_workers.h"

#include "platform/threads.h"

namespace lumeno {
namespace {

void WaitWhile(const std::atomic<bool>& flag, bool value)
{
    while (flag.load(std::memory_order_acquire) == value)
        std::this_thread::sleep_for(ParticleWorkers::kPollInterval);
}

} // namespace

void ParticleWorkers::Run(Worker& worker, const StepRange& step, int first, int last)
{
    while (!worker.stopRequest.load(std::memory_order_acquire)) {
        if (worker.busy.load(std::memory_order_acquire)) {
            step(first, last, worker.inputs);
            worker.busy.store(false, std::memory_order_release);
        } else {
            std::this_thread::sleep_for(kPollInterval);
        }
    }
    worker.stopped.store(true, std::memory_order_release);
}

void ParticleWorkers::StartWorker(Worker& worker, const StepRange& step, int first, int last)
{
    worker.stopped.store(false, std::memory_order_release);
    worker.thread = StartThread([&worker, &step, first, last] { Run(worker, step, first, last); });
    if (!worker.thread.joinable())
        worker.stopped.store(true, std::memory_order_release);
}

HRESULT ParticleWorkers::Start(int count, StepRange step)
{
    m_step = std::move(step);
    StartWorker(m_low, m_step, 0, count / 2);
    StartWorker(m_high, m_step, count / 2, count);
    return m_low.thread.joinable() && m_high.thread.joinable() ? S_OK : E_FAIL;
}

void ParticleWorkers::StopWorker(Worker& worker)
{
    if (!worker.thread.joinable())
        return;
    if (!worker.stopped.load(std::memory_order_acquire)) {
        // Honoured between steps only: a step in progress is always finished first.
        worker.stopRequest.store(true, std::memory_order_release);
        WaitWhile(worker.stopped, false);
    }
    worker.thread.join();
    worker.stopRequest.store(false, std::memory_order_release);
}

void ParticleWorkers::Stop()
{
    StopWorker(m_low);
    StopWorker(m_high);
    m_step = nullptr;
}

void ParticleWorkers::DropPendingSteps()
{
    m_low.busy.store(false, std::memory_order_release);
    m_high.busy.store(false, std::memory_order_release);
}

void ParticleWorkers::WaitForHalf(Half half) const { WaitWhile(Of(half).busy, true); }

void ParticleWorkers::WaitForAll() const
{
    while (m_low.busy.load(std::memory_order_acquire) || m_high.busy.load(std::memory_order_acquire))
        std::this_thread::sleep_for(kPollInterval);
}

void ParticleWorkers::HandOver(Half half, const StepInputs& inputs)
{
    Worker& worker = Of(half);
    worker.inputs = inputs;
    worker.busy.store(true, std::memory_order_release);
}

} // namespace lumeno
