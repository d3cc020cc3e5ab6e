#pragma once
// A properties dialog on a host that records what the dialog asks of it, with the
// process's records at their defaults before and after each test.

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <vector>

#include <QAbstractButton>
#include <QLabel>
#include <QString>

#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"
#include "settings/settings_file.h"
#include "settings/ui/control_ids.h"
#include "settings/ui/properties_dialog.h"
#include "settings/ui/properties_host.h"
#include "settings/ui/trackbar.h"
#include "support/process_state.h"

namespace lumeno::test {

namespace id = control_id;

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

class DialogTest : public ::testing::Test {
protected:
    DialogTest()
    {
        ResetProcessState();
        dialog.UpdateControls();
    }
    ~DialogTest() override { ResetProcessState(); }

    static std::vector<std::byte> Records() { return EncodeSettings(CanvasSettingsRecord(), g_particleSettings); }

    Trackbar& Bar(int trackbarId) const { return *dialog.ControlAs<Trackbar>(trackbarId); }
    QAbstractButton& Button(int buttonId) const { return *dialog.ControlAs<QAbstractButton>(buttonId); }
    QString Label(int labelId) const { return dialog.ControlAs<QLabel>(labelId)->text(); }
    bool ApplyShown() const { return !dialog.Control(id::kApply)->isHidden(); }
    std::vector<bool> Checks(std::initializer_list<int> buttonIds) const
    {
        std::vector<bool> checks;
        for (int buttonId : buttonIds)
            checks.push_back(Button(buttonId).isChecked());
        return checks;
    }
    // A user's move: the trackbar reports the scroll as a drag does.
    void Move(int trackbarId, int position) { Bar(trackbarId).setValue(position); }

    FakePropertiesHost host;
    CPropertiesDialog dialog{host};
};

} // namespace lumeno::test
