// The text of our files: written as UTF-8; files carried over from the Windows system are in
// its code page, Windows-1252, and still read right.
#pragma once

#include <QByteArrayView>
#include <QString>

namespace app {

// One line of a settings or channel file: UTF-8 when the bytes are valid UTF-8, else
// Windows-1252 (where every byte is a character, so nothing is lost).
QString DecodeLine(QByteArrayView bytes);

} // namespace app
