#include "engine/recording_name.h"

#include <cstdio>

namespace lumeno {

std::string RecordingName(const std::tm& local, int take)
{
    char stamp[16] = {};
    std::strftime(stamp, sizeof stamp, "%y%m%d-%H%M%S", &local);
    char name[64];
    if (take > 1)
        std::snprintf(name, sizeof name, "%s/%s-%d.mp4", kRecordingsFolder, stamp, take);
    else
        std::snprintf(name, sizeof name, "%s/%s.mp4", kRecordingsFolder, stamp);
    return name;
}

} // namespace lumeno
