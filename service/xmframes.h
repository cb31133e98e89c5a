// The receiver's serial framing: requests wrapped for the wire, and a decoder that finds the
// receiver's frames in a byte stream however the reads split it and whatever junk lies between.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace xmservice::xm {

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

// Finds frames by their start: the two sync bytes, a length that fits the reply code behind it
// (anything longer than the longest reply, or not the fixed length of its code, is a false
// start). A frame is whole when its payload is: the two closing bytes are taken when they come
// and never waited for. A frame that holds the start of another where its own bytes should be
// was cut short on the line: it is dropped, and the frame that starts inside it is kept.
class FrameDecoder {
public:
    // Takes the next bytes read and returns the payloads of the frames they complete, in order.
    QList<QByteArray> feed(QByteArrayView bytes);
    // True when a whole payload is held back only because its last bytes could begin another
    // frame; the next bytes decide, and when none come, flush() gives it.
    bool holdsPayload() const { return m_payloadHeld; }
    // Gives the held payload, for when the line has gone quiet.
    QList<QByteArray> flush();
    // Forgets everything held, for a line that starts anew.
    void reset();
    // Drops a partial frame, counted as skipped: the rest of it is not coming (the line has been
    // quiet, or the reply's time is up), and what comes next must not complete it.
    void dropPartial();
    qsizetype pendingBytes() const { return m_buffer.size(); }
    // Bytes dropped so far because no frame could hold them: junk, false starts and the bytes of
    // frames cut short. The closing bytes of whole frames are not counted.
    qint64 skippedBytes() const { return m_skipped; }

private:
    enum class Start { Yes, No, Undecided };
    Start startAt(qsizetype at, bool inner) const;
    bool dropTrailer();
    bool takeFrame(QList<QByteArray>& frames, bool flushing);
    void skip(qsizetype count);

    QByteArray m_buffer;
    qint64 m_skipped = 0;
    int m_trailerDue = 0; // closing bytes of the last frame that may still come
    bool m_payloadHeld = false;
};

} // namespace xmservice::xm
