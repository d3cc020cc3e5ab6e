#include "settings/canvas_settings.h"

#include "platform/format_probe.h"
#include "settings/settings_archive.h"

namespace lumeno {

const std::array<std::string_view, 3> QualityNames = {"Integer(8bit)", "Float(16bit)", "Float(32bit)"};

CanvasSettings& CanvasSettingsRecord()
{
    // Plain data with nothing to destroy, so it stays readable to the very end of the run.
    static CanvasSettings record;
    return record;
}

void CanvasSettings::SetDefaults()
{
    width = 1024;
    height = 768;
    format = ProbeBlendableCanvasFormat();
    particleCount = 20000;
    multiThreaded = false;
}

void CanvasSettings::Serialize(SettingsArchive& archive)
{
    archive.Transfer(width);
    archive.Transfer(height);
    archive.Transfer(format);
    archive.Transfer(particleCount);
    archive.Transfer(multiThreaded);
}

} // namespace lumeno
