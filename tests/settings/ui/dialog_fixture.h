#pragma once
// A properties dialog on a fake host, with both records at their defaults before and
// after each test.

#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#include <QLabel>
#include <QString>

#include "fake_properties_host.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"
#include "settings/settings_file.h"
#include "settings/ui/control_ids.h"
#include "settings/ui/properties_dialog.h"
#include "settings/ui/trackbar.h"

namespace lumeno::test {

namespace id = control_id;

class DialogTest : public ::testing::Test {
protected:
    DialogTest()
    {
        ResetRecords();
        dialog.UpdateControls();
    }
    ~DialogTest() override { ResetRecords(); }

    static void ResetRecords()
    {
        static const CanvasSettings defaultCanvas; // the format probe runs once
        CanvasSettingsRecord() = defaultCanvas;
        g_particleSettings = ParticleSettings();
    }

    static std::vector<std::byte> Records() { return EncodeSettings(CanvasSettingsRecord(), g_particleSettings); }

    Trackbar& Bar(int trackbarId) const { return *dialog.ControlAs<Trackbar>(trackbarId); }
    QString Label(int labelId) const { return dialog.ControlAs<QLabel>(labelId)->text(); }
    bool ApplyShown() const { return !dialog.Control(id::kApply)->isHidden(); }

    // A user's move: the trackbar reports the scroll as a drag does.
    void Move(int trackbarId, int position) { Bar(trackbarId).setValue(position); }

    FakePropertiesHost host;
    CPropertiesDialog dialog{host};
};

} // namespace lumeno::test
