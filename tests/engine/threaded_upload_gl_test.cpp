// The upload of multithreaded mode copies each worker's half as soon as that worker is
// done: the vertex buffer must still hold exactly the array of the step waited for, the
// middle included, for odd and even counts.

#include <epoxy/gl.h>

#include <cstring>
#include <vector>

#include "engine_fixture.h"
#include "particles/particle_system.h"

namespace lumeno::test {
namespace {

class ThreadedUpload : public EngineTest {
protected:
    // The bytes of the buffer the particle pass draws from (vertex location 3, the colour
    // set that only the particle streams have).
    std::vector<unsigned char> DrawnParticleBytes(std::size_t bytes)
    {
        CParticleSystem* system = m_engine->GetParticleSystem();
        system->RenderParticles();
        GLint buffer = 0;
        glGetVertexAttribiv(3, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &buffer);
        std::vector<unsigned char> contents(bytes);
        glBindBuffer(GL_ARRAY_BUFFER, static_cast<GLuint>(buffer));
        glGetBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(bytes), contents.data());
        return contents;
    }

    void ExpectBufferHoldsTheStepWaitedFor(int count)
    {
        CanvasSettingsRecord().multiThreaded = true;
        CanvasSettingsRecord().particleCount = count;
        ASSERT_EQ(BuildEngine(), S_OK);
        CParticleSystem* system = m_engine->GetParticleSystem();
        ASSERT_TRUE(system->IsInitialised());
        const std::size_t bytes = static_cast<std::size_t>(count) * sizeof(Particle);

        system->Update(); // uploads the emitted cloud, arms step 1
        system->WaitForStep();
        std::vector<unsigned char> stepped(bytes);
        std::memcpy(stepped.data(), system->Particles(), bytes);
        system->Update(); // uploads step 1 half by half, arms step 2
        const std::vector<unsigned char> drawn = DrawnParticleBytes(bytes);
        system->WaitForStep();

        ASSERT_EQ(drawn.size(), stepped.size());
        EXPECT_EQ(std::memcmp(drawn.data(), stepped.data(), bytes), 0);
    }
};

TEST_F(ThreadedUpload, BufferHoldsTheWholeStepForAnOddCount) { ExpectBufferHoldsTheStepWaitedFor(501); }

TEST_F(ThreadedUpload, BufferHoldsTheWholeStepForAnEvenCount) { ExpectBufferHoldsTheStepWaitedFor(500); }

TEST_F(ThreadedUpload, OneParticleIsUploadedByTheHighHalfAlone) { ExpectBufferHoldsTheStepWaitedFor(1); }

} // namespace
} // namespace lumeno::test
