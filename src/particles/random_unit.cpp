#include "particles/random_unit.h"

#include "platform/random15.h"

namespace lumeno {

double RandomUnit(int count)
{
    double sum = 0.0;
    for (int i = 0; i < count; ++i)
        sum += static_cast<double>(Rand15() % kRandMax) / kRandMax;
    return sum / count;
}

} // namespace lumeno
