// Time shift: the last minutes of the tuned channel's sound, kept compressed with Opus in memory
// (20 ms packets), with the song marks heard, and the moment a listener hears: live, or behind
// live after a pause or a skip. The live side appends the sound as it comes and marks each new
// song; the heard side decodes what is heard behind live. The oldest sound goes as new sound
// comes. Moments are counted in frames since the buffer was last emptied (a tune empties it).
// Not thread-safe: the play-through holds it under its lock.
#pragma once

#include "soundformat.h"

#include <QString>
#include <algorithm>
#include <cstddef>
#include <deque>
#include <optional>
#include <vector>

struct OpusEncoder;
struct OpusDecoder;

namespace sound {

// The song that began at a mark, as the radio reported it.
struct SongInfo {
    qint32 channel = 0;
    QString station, artist, title, genre;
    // The song's length in seconds, -1 when the radio gives none.
    qint32 lengthSeconds = -1;
    // How far the song had played at its mark: a channel tuned mid-song.
    double beganBefore = 0;
};

// The kept sound's quality: 96 kbit/s keeps an hour in about 43 MB.
struct OpusQuality {
    int bitrate = 96000;
    int complexity = 8;
};

struct SongMark {
    qint64 frame = 0;
    SongInfo song;
};

class TimeShiftBuffer {
public:
    static constexpr unsigned Rate = DefaultRate;
    // One Opus packet: 20 ms.
    static constexpr long PacketFrames = 960;
    // A second of packets is kept, and dropped, together.
    static constexpr long PacketsPerBlock = 50;
    // Previous within this long of a song's start goes to the song before.
    static constexpr qint64 RestartFrames = 3 * qint64(Rate);

    // minutes of sound at most; the codec's failure, if any, is in failure().
    explicit TimeShiftBuffer(int minutes, OpusQuality quality = {});
    ~TimeShiftBuffer();
    TimeShiftBuffer(const TimeShiftBuffer&) = delete;
    TimeShiftBuffer& operator=(const TimeShiftBuffer&) = delete;

    // Why the encoder or the decoder could not be made; empty when both work.
    const QString& failure() const { return m_failure; }

    // --- the live side ---------------------------------------------------------------------
    // Keeps frames of live sound (stereo, Rate).
    void append(const Sample* samples, long frames);
    // A new song began now; within 2 s of the newest mark, the newest song's texts are completed
    // instead.
    void markSong(const SongInfo& song);
    // The time the radio gives the newest song, which comes after the song's texts: its
    // position (which tells how far it had played at its mark) and length, in seconds.
    void setSongTime(qint32 position, qint32 length);
    // Another channel: nothing kept, no marks, heard live.
    void clear();

    // --- what is heard ---------------------------------------------------------------------
    bool atLive() const { return !m_heard.has_value(); }
    bool paused() const { return m_paused; }
    // What is heard stops where it is; the buffer goes on filling.
    void pause();
    // Goes on from where it was paused (or from the oldest sound, when that has gone since).
    void resume();
    void goLive();
    // The next frames of what is heard behind live, decoded into out; fewer than asked when live
    // is reached (atLive() is then true) or nothing is heard (paused, or the moment is not kept
    // yet). The caller plays live sound itself.
    long readBehind(Sample* out, long frames);

    // To the next song's mark, or live after the newest.
    void next();
    // To the start of the song heard, or of the one before when the song began less than 3 s
    // ago.
    void previous();
    // To a moment of the song heard, seconds from its start, within what is kept; past the live
    // moment it is live.
    void seek(double seconds);

    // --- figures ---------------------------------------------------------------------------
    // The moment heard, and the live one.
    qint64 heardFrame() const;
    qint64 liveFrame() const { return m_liveFrames; }
    // The oldest moment kept, and the end of what is encoded (the live moment, less the part of
    // a packet not yet full).
    qint64 firstFrame() const { return m_firstPacket * PacketFrames; }
    qint64 encodedEndFrame() const { return m_packets * PacketFrames; }
    double behindLiveSeconds() const { return double(liveFrame() - heardFrame()) / Rate; }
    double bufferedSeconds() const { return double(liveFrame() - firstFrame()) / Rate; }
    // The song heard now and where in it (seconds from its start); none before the first mark.
    std::optional<SongMark> songHeard() const;
    double secondsIntoSong() const;
    const std::deque<SongMark>& marks() const { return m_marks; }
    // The bytes the kept sound takes.
    std::size_t bytes() const { return m_bytes; }

    // The Opus packets kept from packet first on, for as long as they last: each is visited in
    // order, with its index. For a song saved while it plays.
    template <typename Visit> void forPackets(qint64 first, qint64 end, Visit visit) const;

private:
    struct Block {
        std::vector<unsigned char> bytes;
        std::vector<std::size_t> ends; // where each packet ends in bytes
    };

    void encodePending();
    void dropOld();
    const Block* blockOf(qint64 packet) const;
    bool decode(qint64 packet);
    // Sets the moment heard, within what is kept; the live moment and past it is live.
    void hear(qint64 frame);

    QString m_failure;
    OpusEncoder* m_encoder = nullptr;
    OpusDecoder* m_decoder = nullptr;
    qint64 m_maxPackets = 0;
    std::size_t m_blockBytes = 0; // a second's bytes at the bitrate asked

    std::deque<Block> m_blocks;
    qint64 m_firstPacket = 0; // index of the oldest packet kept (a block's first)
    qint64 m_packets = 0;     // packets encoded since the buffer was emptied
    std::vector<Sample> m_pending;
    qint64 m_liveFrames = 0;
    std::size_t m_bytes = 0;
    std::deque<SongMark> m_marks;

    bool m_newestTimed = false; // the newest mark has had its position

    std::optional<qint64> m_heard; // none: live
    bool m_paused = false;
    qint64 m_decodedPacket = -1;
    std::vector<Sample> m_decoded;
};

template <typename Visit> void TimeShiftBuffer::forPackets(qint64 first, qint64 end, Visit visit) const
{
    for (qint64 packet = std::max(first, m_firstPacket); packet < std::min(end, m_packets); ++packet) {
        const Block* block = blockOf(packet);
        const std::size_t i = std::size_t(packet % PacketsPerBlock);
        const std::size_t begin = i == 0 ? 0 : block->ends[i - 1];
        visit(packet, block->bytes.data() + begin, block->ends[i] - begin);
    }
}

} // namespace sound
