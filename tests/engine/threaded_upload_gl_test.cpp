// The upload of multithreaded mode copies each worker's half as soon as that worker is
// done: the vertex buffer must still hold exactly the array of the step waited for, the
// middle included, for odd and even counts and for one particle (the high half alone);
// and no half may be copied while its worker can still write it.

#include <epoxy/gl.h>

#include <cstring>
#include <vector>

#include "engine_fixture.h"
#include "particles/particle_system.h"

namespace lumeno::test {
namespace {

using ThreadedUpload = EngineTest;

TEST_F(ThreadedUpload, BufferHoldsTheWholeStepWaitedFor)
{
    CanvasSettingsRecord().multiThreaded = true;
    for (const int count : {501, 500, 1}) {
        CanvasSettingsRecord().particleCount = count;
        ASSERT_EQ(BuildEngine(), S_OK);
        CParticleSystem* system = m_engine->GetParticleSystem();
        ASSERT_TRUE(system->IsInitialised());
        const std::size_t bytes = static_cast<std::size_t>(count) * sizeof(Particle);

        system->Update(); // uploads the emitted cloud, arms step 1
        system->Update(); // uploads step 1 while its high half may still run (watched under ThreadSanitizer)
        system->WaitForStep();
        const std::vector<unsigned char> stepped(reinterpret_cast<const unsigned char*>(system->Particles()),
                                                 reinterpret_cast<const unsigned char*>(system->Particles()) + bytes);
        system->Update(); // uploads step 2 half by half, arms step 3
        // The buffer the particle pass draws from: vertex location 3, the colour set that
        // only the particle streams have.
        system->RenderParticles();
        GLint buffer = 0;
        glGetVertexAttribiv(3, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &buffer);
        std::vector<unsigned char> drawn(bytes);
        glBindBuffer(GL_ARRAY_BUFFER, static_cast<GLuint>(buffer));
        glGetBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(bytes), drawn.data());
        system->WaitForStep();
        EXPECT_EQ(std::memcmp(drawn.data(), stepped.data(), bytes), 0) << count << " particles";
    }
}

} // namespace
} // namespace lumeno::test
