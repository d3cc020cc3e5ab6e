// The per-frame upload: the particle array copied into the vertex buffer through a
// discarding lock, as Update does it, against a plain memcpy of the same bytes between
// two page-aligned arrays whose pages are all mapped (glibc's fastest case). Beside them, the other ways GL 3.3 core offers to fill
// the buffer, measured to choose the lock's mapping (see gl_vertex_buffer.cpp).

#include <epoxy/gl.h>

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "particles/particle_array.h"
#include "platform/gl/gl_device.h"
#include "platform/mapped_copy.h"

namespace lumeno {
namespace {

// A particle array with every page written. A fresh array is untouched zero pages, which
// all read from the one shared zero page: a copy out of it never waits on memory.
ParticleArray FilledArray(std::size_t n)
{
    ParticleArray particles = ParticleArray::Allocate(n);
    for (std::size_t i = 0; i < n; ++i)
        particles.data()[i].current.x = static_cast<float>(i);
    return particles;
}

// A headless context with a device and an n-particle vertex buffer; setup only.
struct UploadRig {
    std::unique_ptr<GlContext> context;
    std::unique_ptr<GlDevice> device;
    std::shared_ptr<GlVertexBuffer> buffer;
    ParticleArray particles;
    std::size_t bytes = 0;

    bool Create(int n, std::string* error)
    {
        context = CreateHeadlessContext(error);
        if (!context || FAILED(GlDevice::Create(*context, 64, 64, &device)))
            return false;
        bytes = static_cast<std::size_t>(n) * sizeof(Particle);
        particles = FilledArray(static_cast<std::size_t>(n));
        return SUCCEEDED(device->CreateVertexBuffer(static_cast<std::uint32_t>(bytes), &buffer));
    }
};

void SetBytes(benchmark::State& state, std::size_t bytes)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes));
}

void Upload(benchmark::State& state)
{
    UploadRig rig;
    std::string error;
    if (!rig.Create(static_cast<int>(state.range(0)), &error)) {
        state.SkipWithError(("no headless context or buffer: " + error).c_str());
        return;
    }
    for (auto _ : state) {
        void* data = nullptr;
        if (FAILED(rig.buffer->Lock(0, 0, &data, D3DLOCK_DISCARD))) {
            state.SkipWithError("lock failed");
            break;
        }
        CopyIntoMappedBuffer(data, rig.particles.data(), rig.bytes);
        (void)rig.buffer->Unlock();
    }
    glFinish();
    SetBytes(state, rig.bytes);
}

void UploadMemcpy(benchmark::State& state)
{
    const auto n = static_cast<std::size_t>(state.range(0));
    ParticleArray source = FilledArray(n);
    ParticleArray destination = FilledArray(n);
    const std::size_t bytes = n * sizeof(Particle);
    for (auto _ : state) {
        std::memcpy(destination.data(), source.data(), bytes);
        benchmark::ClobberMemory();
    }
    SetBytes(state, bytes);
}

// The alternatives, straight against GL on the buffer the device made.
enum class Way { OrphanThenSubData, SubData, MapInvalidate, OrphanThenMap, MapUnsynchronized };

void UploadWay(benchmark::State& state, Way way)
{
    UploadRig rig;
    std::string error;
    if (!rig.Create(static_cast<int>(state.range(0)), &error)) {
        state.SkipWithError(("no headless context or buffer: " + error).c_str());
        return;
    }
    const auto size = static_cast<GLsizeiptr>(rig.bytes);
    glBindBuffer(GL_ARRAY_BUFFER, rig.buffer->Name());
    for (auto _ : state) {
        if (way == Way::OrphanThenSubData || way == Way::OrphanThenMap)
            glBufferData(GL_ARRAY_BUFFER, size, nullptr, GL_STREAM_DRAW);
        if (way == Way::OrphanThenSubData || way == Way::SubData) {
            glBufferSubData(GL_ARRAY_BUFFER, 0, size, rig.particles.data());
            continue;
        }
        GLbitfield access = GL_MAP_WRITE_BIT;
        if (way == Way::MapInvalidate || way == Way::OrphanThenMap)
            access |= GL_MAP_INVALIDATE_BUFFER_BIT;
        if (way == Way::MapUnsynchronized)
            access |= GL_MAP_UNSYNCHRONIZED_BIT;
        void* data = glMapBufferRange(GL_ARRAY_BUFFER, 0, size, access);
        if (data == nullptr) {
            state.SkipWithError("map failed");
            break;
        }
        std::memcpy(data, rig.particles.data(), rig.bytes);
        glUnmapBuffer(GL_ARRAY_BUFFER);
    }
    glFinish();
    SetBytes(state, rig.bytes);
}

#define LUMENO_UPLOAD_SIZES ->Arg(20000)->Arg(1000000)->Arg(3375000)->Unit(benchmark::kMillisecond)->UseRealTime()

BENCHMARK(Upload)->Name("BM_Upload") LUMENO_UPLOAD_SIZES;
BENCHMARK(UploadMemcpy)->Name("BM_Upload/Memcpy") LUMENO_UPLOAD_SIZES;
BENCHMARK_CAPTURE(UploadWay, OrphanThenSubData, Way::OrphanThenSubData)
    ->Name("BM_UploadWay/OrphanThenSubData") LUMENO_UPLOAD_SIZES;
BENCHMARK_CAPTURE(UploadWay, SubData, Way::SubData)->Name("BM_UploadWay/SubData") LUMENO_UPLOAD_SIZES;
BENCHMARK_CAPTURE(UploadWay, MapInvalidate, Way::MapInvalidate)->Name("BM_UploadWay/MapInvalidate") LUMENO_UPLOAD_SIZES;
BENCHMARK_CAPTURE(UploadWay, OrphanThenMap, Way::OrphanThenMap)->Name("BM_UploadWay/OrphanThenMap") LUMENO_UPLOAD_SIZES;
BENCHMARK_CAPTURE(UploadWay, MapUnsynchronized, Way::MapUnsynchronized)
    ->Name("BM_UploadWay/MapUnsynchronized") LUMENO_UPLOAD_SIZES;

} // namespace
} // namespace lumeno
