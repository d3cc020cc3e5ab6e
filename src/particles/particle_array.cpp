#include "particles/particle_array.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace lumeno {

void ParticleArray::Free::operator()(Particle* p) const { std::free(p); }

ParticleArray ParticleArray::Allocate(std::size_t count)
{
    ParticleArray array;
    if (count == 0 || count > std::numeric_limits<std::size_t>::max() / sizeof(Particle))
        return array;
    void* block = std::aligned_alloc(64, count * sizeof(Particle));
    if (!block)
        return array;
    std::memset(block, 0, count * sizeof(Particle));
    array.m_records.reset(static_cast<Particle*>(block));
    array.m_count = count;
    return array;
}

} // namespace lumeno
