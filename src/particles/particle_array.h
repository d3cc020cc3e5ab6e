#pragma once
// The particle array: n zeroed records on a page (so cache-line) boundary, so that vector
// code can load whole records. Its pages are taken only as they are first written.
// Allocation failure is an answer, not a crash.

#include <cstddef>
#include <memory>

#include "particles/particle.h"

namespace lumeno {

class ParticleArray {
public:
    ParticleArray() = default;

    // Empty on failure (a count the machine cannot hold); a count of 0 is an empty array.
    static ParticleArray Allocate(std::size_t count);

    Particle* data() const { return m_records.get(); }
    std::size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }

private:
    struct Free {
        std::size_t bytes;
        void operator()(Particle* p) const;
    };
    std::unique_ptr<Particle[], Free> m_records{nullptr, Free{0}};
    std::size_t m_count = 0;
};

} // namespace lumeno
