// Frames are 5A A5, a big-endian length, the payload and two closing bytes. The receiver's
// closing bytes are documented as a checksum but are not one in practice, so they are skipped
// unread.
#include "xmframes.h"

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
    while (takeFrame(frames)) {
    }
    return frames;
}

// Takes one frame off the front of the buffer, dropping junk before it; false when the buffer
// holds no whole frame yet.
bool FrameDecoder::takeFrame(QList<QByteArray>& frames)
{
    const qsizetype sync = m_buffer.indexOf(QByteArrayView(Sync, 2));
    if (sync < 0) {
        // A lone 5A at the end may be the first half of the next sync.
        const qsizetype keep = m_buffer.endsWith(Sync[0]) ? 1 : 0;
        m_skipped += m_buffer.size() - keep;
        m_buffer.remove(0, m_buffer.size() - keep);
        return false;
    }
    m_skipped += sync;
    m_buffer.remove(0, sync);
    if (m_buffer.size() < HeaderLength)
        return false;
    const int length = (quint8(m_buffer.at(2)) << 8) | quint8(m_buffer.at(3));
    if (length == 0 || length > MaxPayloadLength) {
        // Not a frame: look for the next sync after this one.
        m_skipped += 2;
        m_buffer.remove(0, 2);
        return true;
    }
    const qsizetype payloadEnd = HeaderLength + length;
    if (m_buffer.size() < payloadEnd + TrailerLength)
        return false;
    frames.append(m_buffer.mid(HeaderLength, length));
    // Some receivers leave the closing bytes out; a sync right after the payload is the next
    // frame, not a trailer.
    const bool trailerMissing = QByteArrayView(m_buffer).sliced(payloadEnd, TrailerLength) == QByteArrayView(Sync, 2);
    m_buffer.remove(0, trailerMissing ? payloadEnd : payloadEnd + TrailerLength);
    return true;
}

} // namespace xmservice::xm
