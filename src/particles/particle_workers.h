#pragma once
// The two workers of multithreaded mode and the whole of their hand-off. Each worker
// steps one half of the particle array whenever its busy flag is set, and clears the flag
// when done. The flags are the whole handshake: setting busy publishes the step inputs
// (the worker's own copy), clearing it publishes the particle writes, setting stopped
// publishes the worker's last access. All waiting is 1 ms polling: it costs up to 1 ms
// for a sleeping worker to see its flag and up to 1 ms for the frame to see it cleared
// (BM_Step/Workers against BM_Step/Halves: about 0.8 ms a step at 20,000 particles, lost
// in the noise at 3,375,000).

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "particles/simulation_step.h"
#include "platform/hresult.h"

namespace lumeno {

class ParticleWorkers {
public:
    enum class Half { Low, High };
    // Steps the particles [first, last) with `inputs`; called on a worker's thread.
    using StepRange = std::function<void(int first, int last, const StepInputs& inputs)>;

    static constexpr std::chrono::milliseconds kPollInterval{1};

    ParticleWorkers() = default;
    ~ParticleWorkers() { Stop(); }
    ParticleWorkers(const ParticleWorkers&) = delete;
    ParticleWorkers& operator=(const ParticleWorkers&) = delete;

    // Two threads for `count` particles, the low one stepping [0, count / 2), the high one
    // the rest. E_FAIL when either could not start; the one that did runs until Stop.
    [[nodiscard]] HRESULT Start(int count, StepRange step);
    // Waits for a step in progress to finish, then ends both threads. Honoured between
    // steps only. A worker that is not running is passed over.
    void Stop();
    // Drops a step handed over that no worker has begun; one in progress still finishes.
    void DropPendingSteps();
    bool Running() const { return m_low.thread.joinable() || m_high.thread.joinable(); }

    // Returns once the half's worker is not inside a step.
    void WaitForHalf(Half half) const;
    // Returns once neither worker is inside a step.
    void WaitForAll() const;
    // Hands the half's worker the next step, with its own copy of the inputs. The half
    // must be clear (WaitForHalf).
    void HandOver(Half half, const StepInputs& inputs);

private:
    struct Worker {
        // Each worker has its own inputs, so the frame can fix the next step's inputs for
        // one worker while the other still steps with the previous ones.
        StepInputs inputs;
        std::atomic<bool> busy{false};
        std::atomic<bool> stopRequest{false};
        std::atomic<bool> stopped{true};
        std::thread thread; // not joinable: the worker does not exist
    };

    static void Run(Worker& worker, const StepRange& step, int first, int last);
    static void StartWorker(Worker& worker, const StepRange& step, int first, int last);
    static void StopWorker(Worker& worker);
    Worker& Of(Half half) { return half == Half::Low ? m_low : m_high; }
    const Worker& Of(Half half) const { return half == Half::Low ? m_low : m_high; }

    StepRange m_step; // read by the threads; fixed from Start to Stop
    Worker m_low, m_high;
};

} // namespace lumeno
