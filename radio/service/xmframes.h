// The receiver's serial framing: requests wrapped for the wire, and a decoder that finds the
// receiver's frames in a byte stream however the reads split it and whatever junk lies between.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace xmservice::xm {

// The longest payload a receiver sends is well under this; a larger length field can only be
// junk that happens to follow the two sync bytes.
inline constexpr int MaxPayloadLength = 256;

// A request payload (its command byte first) as a whole frame for the receiver.
QByteArray encodeRequest(QByteArrayView payload);

// The request payloads the service sends.
namespace request {
QByteArray powerOn();
QByteArray tuneChannel(int channel);
QByteArray setMute(bool muted);
QByteArray channelInfo(int channel);
// Asks for the channel after the given one; 0 asks for the first of the line-up.
QByteArray nextChannelInfo(int channel);
QByteArray extendedText(int channel);
QByteArray monitor(int channel, int serviceId);
QByteArray monitorOff();
QByteArray signalPush(bool on);
QByteArray signalPoll();
// What a car tuner needs before it takes a power-up: listen, power, unmute the audio converter.
QList<QByteArray> wakeUp();
} // namespace request

// The reply code the receiver answers a request payload with.
inline quint8 replyCodeOf(QByteArrayView request)
{
    return quint8(request.at(0)) | 0x80;
}

class FrameDecoder {
public:
    // Takes the next bytes read and returns the payloads of the frames they complete, in order.
    QList<QByteArray> feed(QByteArrayView bytes);
    // Forgets a partial frame, for when the rest of it is not coming.
    void reset() { m_buffer.clear(); }
    qsizetype pendingBytes() const { return m_buffer.size(); }
    // Bytes dropped so far because no frame could hold them.
    qint64 skippedBytes() const { return m_skipped; }

private:
    bool takeFrame(QList<QByteArray>& frames);

    QByteArray m_buffer;
    qint64 m_skipped = 0;
};

} // namespace xmservice::xm
