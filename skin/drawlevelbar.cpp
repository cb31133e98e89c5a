#include "drawlevelbar.h"

#include <cstdlib>

namespace skin {

std::optional<double> LevelShare(qint32 minimum, qint32 maximum, qint32 value)
{
    double range = 0;
    if (minimum == 1)
        range = maximum;
    else
        range = std::llabs(qint64(maximum) - minimum) + (minimum > 1 ? 1 : 0);
    if (range == 0)
        return std::nullopt;
    return double(std::llabs(qint64(value) - minimum)) / range;
}

void DrawLevelBar(Label& back, Label& front, qint32 minimum, qint32 maximum, qint32 value, const QString& orientation,
                  const QString& side)
{
    const std::optional<double> share = LevelShare(minimum, maximum, value);
    if (!share)
        return;
    if (orientation == QLatin1String("H")) {
        const float w = back.Width();
        front.setTop(back.Top());
        front.setHeight(back.Height());
        if (value == minimum)
            front.setVisible(false);
        else {
            front.setVisible(true);
            front.setWidth(float(double(w) * *share));
        }
        if (side == QLatin1String("Right"))
            front.setLeft(back.Left() + back.Width() - front.Width());
        else
            front.setLeft(back.Left());
    } else if (orientation == QLatin1String("V")) {
        front.Move(back.Left(), back.Top(), back.Width(), back.Height());
        if (value == minimum) {
            front.setVisible(false);
            return;
        }
        front.setVisible(true);
        const double f = double(back.Height()) * *share;
        front.setTop(float(double(back.Top()) + double(back.Height()) - f));
        front.setHeight(float(f));
    }
}

} // namespace skin
