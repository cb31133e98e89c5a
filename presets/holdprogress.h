// The face of a held preset fills over the time of its hold, in the colour its caption has while
// pressed, so that the driver sees when to let go.
#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

namespace presets {

class HoldProgress : public QWidget {
public:
    // Over the whole face, on top of its caption; the press goes on reaching the face.
    HoldProgress(QWidget& face, QColor colour, int holdMs);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_colour;
    int m_holdMs;
    QElapsedTimer m_held;
    QTimer m_frames;
};

} // namespace presets
