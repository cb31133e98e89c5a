// A song kept by time shift, written out as an Ogg Opus file named after it: decoded from the
// kept packets and encoded anew, with the song's tags. The file is written aside and renamed
// when it is complete, so that a failure (a full disk, a folder that cannot be written) leaves
// nothing behind and says why.
#pragma once

#include "timeshift.h"

#include <QString>
#include <vector>

namespace sound {

// The kept Opus packets of a song, as TimeShiftBuffer::forPackets gives them, and which of
// their frames are the song's: skip frames of the first packet are the song before.
struct KeptSong {
    SongInfo song;
    std::vector<std::vector<unsigned char>> packets;
    long skip = 0;
    qint64 frames = 0;
};

struct SavedSong {
    QString path;    // the file written; empty on failure
    QString failure; // why nothing was written; empty on success
};

// The song heard now, from its mark (or the oldest sound, when its start is no longer kept) to
// the next song's mark or to now.
KeptSong KeepSongHeard(const TimeShiftBuffer& buffer);

// "<artist> - <title>.opus", made safe for any file system (a USB stick's too): no folder
// separators, control or reserved characters, no leading dot, at most 200 bytes; in folder, the
// first name not taken, " (2)", " (3)" and so on after the first.
QString SongFileName(const QString& folder, const SongInfo& song);

// Writes the song into folder (made when missing) with the tags ARTIST, TITLE, ALBUM (the
// station), GENRE and CHANNEL.
SavedSong SaveSong(const KeptSong& kept, const QString& folder);

} // namespace sound
