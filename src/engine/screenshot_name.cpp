#include "engine/screenshot_name.h"

namespace lumeno {

std::string ScreenshotName(const std::string& dateYYMMDD, std::uint32_t ticks, bool hdr)
{
    return "screenshots/" + dateYYMMDD + std::to_string(static_cast<std::int32_t>(ticks)) + (hdr ? ".hdr" : ".bmp");
}

} // namespace lumeno
