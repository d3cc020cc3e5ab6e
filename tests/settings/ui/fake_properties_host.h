#pragma once
// A properties-dialog host that records what the dialog asks of it.

#include <functional>
#include <vector>

#include "settings/ui/properties_host.h"

namespace lumeno::test {

class FakePropertiesHost final : public PropertiesDialogHost {
public:
    int rebuilds = 0;
    int redraws = 0;
    bool blendable = true;
    std::vector<int> askedFormats;
    CParticleSystem* particles = nullptr;
    std::vector<WindowMessage> keys;
    std::function<void()> onRebuild; // runs inside RebuildEngine, to look at the records then

    void RebuildEngine() override
    {
        ++rebuilds;
        if (onRebuild)
            onRebuild();
    }
    bool SupportsPostPixelShaderBlending(int format) override
    {
        askedFormats.push_back(format);
        return blendable;
    }
    CParticleSystem* ParticleSystem() override { return particles; }
    void ForwardKeyDown(const WindowMessage& message) override { keys.push_back(message); }
    void RedrawMainWindow() override { ++redraws; }
};

} // namespace lumeno::test
