#include "signalbars.h"

#include "base/basic.h"
#include "skin/drawlevelbar.h"

namespace nowplaying {

void SignalStrength(const SignalBars& c, float rock, float roll, float ground)
{
    const float values[] = {rock, roll, ground};
    for (int i = 0; i < 3; ++i) {
        const std::optional<qint32> level = basic::CLng(double(values[i]));
        if (!level || !c.lblSignalBack.exists(i) || !c.lblSignalFront.exists(i))
            continue;
        skin::DrawLevelBar(c.lblSignalBack(i), c.lblSignalFront(i), 0, 100, *level, c.lblSignalBack(i).Tag(),
                           QStringLiteral("Left"));
    }
}

} // namespace nowplaying
