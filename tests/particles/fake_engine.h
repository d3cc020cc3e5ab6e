#pragma once
// The engine values the particle system reads, set directly by a test.

#include "particles/engine_view.h"

namespace lumeno::test {

class FakeEngine final : public ParticleEngineView {
public:
    float mouse[2] = {0.0f, 0.0f};
    float aspect = 0.75f;
    float frameTime = 0.01f;
    int frameCount = 0;

    const float* GetMousePosition() const override { return mouse; }
    float GetAspect() const override { return aspect; }
    float GetFrameTime() const override { return frameTime; }
    int GetFrameCount() const override { return frameCount; }
};

} // namespace lumeno::test
