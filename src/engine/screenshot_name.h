#pragma once

#include <cstdint>
#include <string>

namespace lumeno {

// "screenshots/<yyMMdd><ticks>.bmp" (".hdr" for HDR): the six date digits run straight
// into the millisecond tick count, printed signed, so after about 24.8 days of uptime
// the number turns negative.
std::string ScreenshotName(const std::string& dateYYMMDD, std::uint32_t ticks, bool hdr);

} // namespace lumeno
