#include "timeshift.h"

#include <opus.h>
#include <utility>

namespace sound {

namespace {

// The largest Opus packet of one frame.
constexpr int MostPacketBytes = 1275;
// Texts within this of a mark belong to its song: 2 s.
constexpr qint64 TextsSettleFrames = 2 * qint64(TimeShiftBuffer::Rate);
// A song whose first reported position is within this of its mark began at the mark.
constexpr double MarkSlackSeconds = 2;
// Packets decoded ahead of a packet reached by a jump: the decoder needs about 80 ms to settle.
constexpr qint64 PrerollPackets = 4;

QString opusFailure(const char* what, int error)
{
    return QStringLiteral("the Opus %1 cannot be made (%2)")
        .arg(QLatin1String(what), QLatin1String(opus_strerror(error)));
}

} // namespace

TimeShiftBuffer::TimeShiftBuffer(int minutes, OpusQuality quality)
    : m_maxPackets(qint64(std::max(minutes, 0)) * 60 * qint64(Rate) / PacketFrames)
    , m_decoded(std::size_t(PacketFrames) * Channels, 0)
{
    int error = OPUS_OK;
    m_encoder = opus_encoder_create(opus_int32(Rate), Channels, OPUS_APPLICATION_AUDIO, &error);
    if (error != OPUS_OK) {
        m_encoder = nullptr;
        m_failure = opusFailure("encoder", error);
        return;
    }
    opus_encoder_ctl(m_encoder, OPUS_SET_BITRATE(quality.bitrate));
    m_blockBytes = std::size_t(quality.bitrate / 8);
    opus_encoder_ctl(m_encoder, OPUS_SET_COMPLEXITY(quality.complexity));
    // A bounded rate keeps an hour within its memory whatever plays.
    opus_encoder_ctl(m_encoder, OPUS_SET_VBR_CONSTRAINT(1));
    m_decoder = opus_decoder_create(opus_int32(Rate), Channels, &error);
    if (error != OPUS_OK) {
        m_decoder = nullptr;
        m_failure = opusFailure("decoder", error);
    }
}

TimeShiftBuffer::~TimeShiftBuffer()
{
    if (m_encoder)
        opus_encoder_destroy(m_encoder);
    if (m_decoder)
        opus_decoder_destroy(m_decoder);
}

void TimeShiftBuffer::append(const Sample* samples, long frames)
{
    m_liveFrames += frames;
    if (!m_encoder)
        return;
    m_pending.insert(m_pending.end(), samples, samples + frames * Channels);
    encodePending();
    dropOld();
}

void TimeShiftBuffer::encodePending()
{
    const std::size_t packetSamples = std::size_t(PacketFrames) * Channels;
    std::size_t used = 0;
    unsigned char packet[MostPacketBytes];
    for (; m_pending.size() - used >= packetSamples; used += packetSamples) {
        const opus_int32 size =
            opus_encode(m_encoder, m_pending.data() + used, int(PacketFrames), packet, MostPacketBytes);
        if (m_blocks.empty() || m_blocks.back().ends.size() == std::size_t(PacketsPerBlock)) {
            // A full block gives back the room its growth left over: a third of an hour's
            // memory otherwise.
            if (!m_blocks.empty())
                m_blocks.back().bytes.shrink_to_fit();
            m_blocks.emplace_back();
            m_blocks.back().ends.reserve(std::size_t(PacketsPerBlock));
            m_blocks.back().bytes.reserve(m_blockBytes);
        }
        Block& block = m_blocks.back();
        // A packet the encoder refused is kept empty: the decoder conceals it.
        if (size > 0) {
            block.bytes.insert(block.bytes.end(), packet, packet + size);
            m_bytes += std::size_t(size);
        }
        block.ends.push_back(block.bytes.size());
        ++m_packets;
    }
    m_pending.erase(m_pending.begin(), m_pending.begin() + std::ptrdiff_t(used));
}

void TimeShiftBuffer::dropOld()
{
    while (!m_blocks.empty() && m_packets - (m_firstPacket + PacketsPerBlock) >= m_maxPackets) {
        m_bytes -= m_blocks.front().bytes.size();
        m_blocks.pop_front();
        m_firstPacket += PacketsPerBlock;
    }
    // The mark of the song the oldest sound belongs to stays.
    while (m_marks.size() >= 2 && m_marks[1].frame <= firstFrame())
        m_marks.pop_front();
}

void TimeShiftBuffer::markSong(const SongInfo& song)
{
    // A receiver sends a new song's artist and title in separate frames: what comes within moments
    // of a mark completes that song's texts.
    if (!m_marks.empty() && m_liveFrames - m_marks.back().frame < TextsSettleFrames) {
        SongInfo& newest = m_marks.back().song;
        newest.channel = song.channel;
        newest.station = song.station;
        newest.artist = song.artist;
        newest.title = song.title;
        newest.genre = song.genre;
        return;
    }
    m_marks.push_back({m_liveFrames, song});
    m_newestTimed = false;
}

void TimeShiftBuffer::setSongTime(qint32 position, qint32 length)
{
    if (m_marks.empty())
        return;
    SongInfo& song = m_marks.back().song;
    song.lengthSeconds = length;
    if (position < 0 || std::exchange(m_newestTimed, true))
        return;
    // The radio counts whole seconds: a song that began while kept begins at its mark.
    const double before = position - double(m_liveFrames - m_marks.back().frame) / Rate;
    song.beganBefore = before > MarkSlackSeconds ? before : 0;
}

void TimeShiftBuffer::clear()
{
    m_blocks.clear();
    m_firstPacket = 0;
    m_packets = 0;
    m_pending.clear();
    m_liveFrames = 0;
    m_bytes = 0;
    m_marks.clear();
    goLive();
    if (m_encoder)
        opus_encoder_ctl(m_encoder, OPUS_RESET_STATE);
}

void TimeShiftBuffer::pause()
{
    if (!m_heard)
        m_heard = m_liveFrames;
    m_paused = true;
}

void TimeShiftBuffer::resume()
{
    m_paused = false;
    if (m_heard)
        hear(*m_heard);
}

void TimeShiftBuffer::goLive()
{
    m_heard.reset();
    m_paused = false;
    m_decodedPacket = -1;
}

void TimeShiftBuffer::hear(qint64 frame)
{
    if (frame >= m_liveFrames) {
        // Live: unless paused, when what is heard waits at the live moment.
        if (!m_paused) {
            goLive();
            return;
        }
        frame = m_liveFrames;
    }
    m_heard = std::max(frame, firstFrame());
}

qint64 TimeShiftBuffer::heardFrame() const
{
    return m_heard ? std::max(*m_heard, firstFrame()) : m_liveFrames;
}

long TimeShiftBuffer::readBehind(Sample* out, long frames)
{
    if (!m_heard || m_paused || !m_decoder)
        return 0;
    // A pause longer than what is kept goes on from the oldest sound.
    m_heard = std::max(*m_heard, firstFrame());
    long done = 0;
    while (done < frames) {
        const qint64 packet = *m_heard / PacketFrames;
        if (packet >= m_packets) {
            // Less than a packet behind: the rest is the live sound itself.
            goLive();
            break;
        }
        decode(packet);
        const long offset = long(*m_heard % PacketFrames);
        const long n = std::min(frames - done, PacketFrames - offset);
        std::copy_n(m_decoded.data() + offset * Channels, n * Channels, out + done * Channels);
        done += n;
        *m_heard += n;
    }
    return done;
}

const TimeShiftBuffer::Block* TimeShiftBuffer::blockOf(qint64 packet) const
{
    return &m_blocks[std::size_t(packet / PacketsPerBlock - m_firstPacket / PacketsPerBlock)];
}

bool TimeShiftBuffer::decode(qint64 packet)
{
    if (packet == m_decodedPacket)
        return true;
    const auto decodeOne = [this](qint64 p) {
        const Block* block = blockOf(p);
        const std::size_t i = std::size_t(p % PacketsPerBlock);
        const std::size_t begin = i == 0 ? 0 : block->ends[i - 1];
        const std::size_t size = block->ends[i] - begin;
        const int got = opus_decode(m_decoder, size ? block->bytes.data() + begin : nullptr, opus_int32(size),
                                    m_decoded.data(), int(PacketFrames), 0);
        if (got != PacketFrames)
            std::fill(m_decoded.begin(), m_decoded.end(), Sample(0));
    };
    // After a jump the decoder starts again a little ahead, so that the first packet heard
    // sounds whole.
    if (packet != m_decodedPacket + 1) {
        opus_decoder_ctl(m_decoder, OPUS_RESET_STATE);
        for (qint64 p = std::max(m_firstPacket, packet - PrerollPackets); p < packet; ++p)
            decodeOne(p);
    }
    decodeOne(packet);
    m_decodedPacket = packet;
    return true;
}

void TimeShiftBuffer::next()
{
    const qint64 heard = heardFrame();
    for (const SongMark& mark : m_marks)
        if (mark.frame > heard) {
            hear(mark.frame);
            return;
        }
    goLive();
}

void TimeShiftBuffer::previous()
{
    const qint64 heard = heardFrame();
    std::size_t i = m_marks.size();
    while (i > 0 && m_marks[i - 1].frame > heard)
        --i;
    if (i == 0) {
        hear(firstFrame());
        return;
    }
    const SongMark& song = m_marks[i - 1];
    hear(heard - song.frame < RestartFrames && i >= 2 ? m_marks[i - 2].frame : song.frame);
}

void TimeShiftBuffer::seek(double seconds)
{
    const std::optional<SongMark> song = songHeard();
    const qint64 kept = song ? std::max(song->frame, firstFrame()) : firstFrame();
    const qint64 start = song ? song->frame - qint64(song->song.beganBefore * Rate) : firstFrame();
    // What the radio played of the song before its mark was never heard here.
    hear(std::max(start + qint64(std::max(seconds, 0.0) * Rate), kept));
}

std::optional<SongMark> TimeShiftBuffer::songHeard() const
{
    const qint64 heard = heardFrame();
    for (auto mark = m_marks.rbegin(); mark != m_marks.rend(); ++mark)
        if (mark->frame <= heard)
            return *mark;
    return std::nullopt;
}

double TimeShiftBuffer::secondsIntoSong() const
{
    const std::optional<SongMark> song = songHeard();
    return song ? double(heardFrame() - song->frame) / Rate + song->song.beganBefore
                : double(heardFrame() - firstFrame()) / Rate;
}

} // namespace sound
