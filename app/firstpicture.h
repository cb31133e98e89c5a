// The skin's picture at rest, over the whole window, shown at start-up while the controls are
// laid out behind it: the driver sees the skin at once. It goes when the skin is loaded.
#pragma once

#include <QImage>
#include <QWidget>

namespace app {

class FirstPicture : public QWidget {
public:
    FirstPicture(QWidget& window, QImage picture);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};

} // namespace app
