#include "particles/particle_array.h"

#include <limits>

#include "platform/zeroed_pages.h"

namespace lumeno {

void ParticleArray::Free::operator()(Particle* p) const { FreeZeroedPages(p, bytes); }

ParticleArray ParticleArray::Allocate(std::size_t count)
{
    ParticleArray array;
    if (count == 0 || count > std::numeric_limits<std::size_t>::max() / sizeof(Particle))
        return array;
    const std::size_t bytes = count * sizeof(Particle);
    void* block = AllocateZeroedPages(bytes);
    if (!block)
        return array;
    array.m_records = std::unique_ptr<Particle[], Free>(static_cast<Particle*>(block), Free{bytes});
    array.m_count = count;
    return array;
}

} // namespace lumeno
