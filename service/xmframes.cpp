// Frames are 5A A5, a big-endian length, the payload and two closing bytes. The receiver's
// closing bytes are documented as a checksum but are not one in practice, so they are skipped
// unread, and some receivers leave them out.
#include "xmframes.h"

#include "xmreplies.h"

namespace xmservice::xm {

namespace {

constexpr char Sync[] = {'\x5A', '\xA5'};
constexpr qsizetype HeaderLength = 4;
constexpr qsizetype TrailerLength = 2;

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    out.reserve(qsizetype(values.size()));
    for (int value : values)
        out.append(char(value & 0xff));
    return out;
}

} // namespace

QByteArray encodeRequest(QByteArrayView payload)
{
    QByteArray frame(Sync, 2);
    frame.append(char((payload.size() >> 8) & 0xff));
    frame.append(char(payload.size() & 0xff));
    frame.append(payload);
    frame.append("\xED\xED", 2);
    return frame;
}

namespace request {

// Label lengths 16 for names, categories, artists and titles keep the channel info replies in the
// 77-byte layout; the 36-character texts come from the extended text request.
QByteArray powerOn()
{
    return bytes({0x00, 0x10, 0x10, 0x10, 0x01});
}

QByteArray tuneChannel(int channel)
{
    return bytes({0x10, 0x02, channel, 0x00, 0x00, 0x01});
}

QByteArray setMute(bool muted)
{
    return bytes({0x13, muted ? 1 : 0});
}

QByteArray channelInfo(int channel)
{
    return bytes({0x25, 0x08, channel, 0x00});
}

QByteArray nextChannelInfo(int channel)
{
    return bytes({0x25, 0x09, channel, 0x00});
}

QByteArray extendedText(int channel)
{
    return bytes({0x22, channel});
}

QByteArray monitor(int channel, int serviceId)
{
    return bytes({0x50, channel, serviceId, 0x01, 0x01, 0x01});
}

QByteArray monitorOff()
{
    return bytes({0x50, 0x00, 0x00, 0x00, 0x00, 0x00});
}

QByteArray signalPush(bool on)
{
    return bytes({0x42, on ? 1 : 0});
}

QByteArray signalPoll()
{
    return bytes({0x43});
}

QList<QByteArray> wakeUp()
{
    return {bytes({0x74, 0x00, 0x01}), bytes({0x74, 0x02, 0x01, 0x01}), bytes({0x74, 0x0B, 0x00})};
}

} // namespace request

QList<QByteArray> FrameDecoder::feed(QByteArrayView bytes)
{
    m_buffer.append(bytes);
    QList<QByteArray> frames;
    while (takeFrame(frames, false)) {
    }
    return frames;
}

QList<QByteArray> FrameDecoder::flush()
{
    QList<QByteArray> frames;
    while (takeFrame(frames, true)) {
    }
    return frames;
}

void FrameDecoder::reset()
{
    m_buffer.clear();
    m_trailerDue = 0;
    m_payloadHeld = false;
}

void FrameDecoder::dropPartial()
{
    skip(m_buffer.size());
    m_payloadHeld = false;
}

void FrameDecoder::skip(qsizetype count)
{
    m_skipped += count;
    m_buffer.remove(0, count);
}

// Whether a frame starts at this offset of the buffer, as far as the bytes there can tell. Every
// length that fits is below 256, so the high length byte is 0. A start inside another frame must
// also name a code the receiver sends: the bytes of a text could hold the sync bytes by chance.
FrameDecoder::Start FrameDecoder::startAt(qsizetype at, bool inner) const
{
    const QByteArrayView rest = QByteArrayView(m_buffer).sliced(at);
    if (rest.isEmpty() || rest.at(0) != Sync[0])
        return Start::No;
    if (rest.size() < 2)
        return Start::Undecided;
    if (rest.at(1) != Sync[1])
        return Start::No;
    if (rest.size() < 3)
        return Start::Undecided;
    if (rest.at(2) != 0)
        return Start::No;
    if (rest.size() < 4)
        return Start::Undecided;
    const int length = quint8(rest.at(3));
    if (length == 0 || length > LongestReply)
        return Start::No;
    if (rest.size() < 5)
        return Start::Undecided;
    const quint8 code = quint8(rest.at(4));
    if (inner && !isKnownCode(code))
        return Start::No;
    return fitsLength(code, length) ? Start::Yes : Start::No;
}

// Takes the closing bytes of the last frame one at a time, unless the next frame begins first;
// false while the bytes cannot tell yet.
bool FrameDecoder::dropTrailer()
{
    while (m_trailerDue > 0 && !m_buffer.isEmpty()) {
        const Start next = startAt(0, false);
        if (next == Start::Undecided)
            return false;
        if (next == Start::Yes) {
            m_trailerDue = 0;
            break;
        }
        m_buffer.remove(0, 1);
        --m_trailerDue;
    }
    return true;
}

// Takes one frame off the front of the buffer, dropping junk before it; false when the buffer
// holds no whole frame yet.
bool FrameDecoder::takeFrame(QList<QByteArray>& frames, bool flushing)
{
    m_payloadHeld = false;
    if (!dropTrailer())
        return false;
    const qsizetype sync = m_buffer.indexOf(QByteArrayView(Sync, 2));
    if (sync < 0) {
        // A lone 5A at the end may be the first half of the next sync.
        skip(m_buffer.size() - (m_buffer.endsWith(Sync[0]) ? 1 : 0));
        return false;
    }
    skip(sync);
    const Start start = startAt(0, false);
    if (start == Start::Undecided)
        return false;
    if (start == Start::No) {
        skip(1); // a false start: look again from the next byte
        return true;
    }
    const qsizetype payloadEnd = HeaderLength + quint8(m_buffer.at(3));
    bool undecided = false;
    for (qsizetype inner = m_buffer.indexOf(Sync[0], HeaderLength); inner >= 0 && inner < payloadEnd;
         inner = m_buffer.indexOf(Sync[0], inner + 1)) {
        const Start cut = startAt(inner, true);
        if (cut == Start::Yes) {
            skip(inner);
            return true;
        }
        if (cut == Start::Undecided) {
            undecided = true;
            break;
        }
    }
    if (m_buffer.size() < payloadEnd)
        return false;
    if (undecided && !flushing) {
        m_payloadHeld = true;
        return false;
    }
    frames.append(m_buffer.mid(HeaderLength, payloadEnd - HeaderLength));
    m_buffer.remove(0, payloadEnd);
    m_trailerDue = TrailerLength;
    return true;
}

} // namespace xmservice::xm
