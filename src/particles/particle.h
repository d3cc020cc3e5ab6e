#pragma once
// One particle is one line of the vertex stream: its current vertex, then the vertex
// it had before the last step. The array of these records is copied byte for byte to
// the GPU, so this layout is the vertex layout.

#include <cstddef>

namespace lumeno {

struct ParticleVertex {
    float x, y;       // position, simulation space (y up, canvas height spans -1..1)
    float vx, vy;     // velocity, simulation units per step
    float r, g, b, a; // colour
};

struct Particle {
    ParticleVertex current;
    ParticleVertex previous;
};

static_assert(sizeof(ParticleVertex) == 32, "a vertex is eight floats: the stride of the particle stream");
static_assert(offsetof(ParticleVertex, x) == 0 && offsetof(ParticleVertex, y) == 4, "position is texture set 0");
static_assert(offsetof(ParticleVertex, vx) == 8 && offsetof(ParticleVertex, vy) == 12, "velocity is texture set 1");
static_assert(offsetof(ParticleVertex, r) == 16 && offsetof(ParticleVertex, a) == 28, "colour is texture set 2");
static_assert(sizeof(Particle) == 64, "a particle is one line: two vertices");
static_assert(offsetof(Particle, current) == 0 && offsetof(Particle, previous) == 32, "current vertex first");

} // namespace lumeno
