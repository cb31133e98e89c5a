#include "rawlevel.h"

#include "volume/mixerdevice.h"

#include <algorithm>
#include <cmath>

namespace volume {

qint32 ToFullScale(long raw, long minimum, long maximum)
{
    if (maximum <= minimum)
        return 0;
    const qint64 range = qint64(maximum) - minimum;
    return qint32(((qint64(std::clamp(raw, minimum, maximum)) - minimum) * FullScale + range / 2) / range);
}

long FromFullScale(qint32 level, long minimum, long maximum)
{
    if (maximum <= minimum)
        return minimum;
    const double clamped = std::clamp<qint32>(level, 0, FullScale);
    return minimum + std::lround(clamped * double(maximum - minimum) / FullScale);
}

long RawForLevel(qint32 level, long raw, long minimum, long maximum)
{
    const long nearest = FromFullScale(level, minimum, maximum);
    const qint32 present = ToFullScale(raw, minimum, maximum);
    if (level > present && nearest <= raw)
        return std::min(raw + 1, maximum);
    if (level < present && nearest >= raw)
        return std::max(raw - 1, minimum);
    return nearest;
}

} // namespace volume
