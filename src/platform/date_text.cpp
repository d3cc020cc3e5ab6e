#include "platform/date_text.h"

#include <ctime>

namespace lumeno {

std::tm LocalTimeNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

std::string DateTextYYMMDD()
{
    const std::tm local = LocalTimeNow();
    char text[7] = {};
    std::strftime(text, sizeof text, "%y%m%d", &local);
    return text;
}

} // namespace lumeno
