// What the channels play: a fixed catalogue of invented artists and titles for each genre, with
// the awkward names that real broadcast data carries (commas, quotes, accents, very long text).
#pragma once

#include <QList>
#include <QString>

namespace xmservice {

struct Track {
    QString artist;
    QString title;
    int seconds = 0; // 2 to 8 minutes
};

namespace Catalogue {

inline constexpr int ShortestTrack = 2 * 60;
inline constexpr int LongestTrack = 8 * 60;

// The tracks of a genre, always the same for the same genre name; a genre the catalogue does
// not know gets pop music.
const QList<Track>& tracksFor(const QString& genre);
// True when the catalogue has music of its own for the genre.
bool hasGenre(const QString& genre);

} // namespace Catalogue

} // namespace xmservice
