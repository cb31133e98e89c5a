// Skins made for tests: a complete radio_xm.ini with a plain layout, and state images whose
// pixels tell the state (blue channel 0, 128, 255 for up, down, on) and their own position
// (red follows x, green follows y), so a copied piece shows where it was cut from.
#pragma once

#include <QMap>
#include <QSize>
#include <QString>
#include <QStringList>

namespace testskin {

struct Options {
    QSize imageSize{800, 480};
    // "Section/Key" -> value; replaces or adds.
    QMap<QString, QString> set;
    // "Section/Key" entries left out of the file.
    QStringList remove;
    bool images = true;
};

// Writes <folder>/radio_xm.ini, <folder>/Images/Radio_XM_{Up,Down,On}.jpg and the thumbs.
void writeSkin(const QString& folder, const Options& options = {});

// The blue channel that marks each state in the test images.
int stateBlue(int state);

} // namespace testskin
