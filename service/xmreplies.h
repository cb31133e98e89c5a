// The receiver's replies and events read into plain values: channel info, tune and mute
// answers, extended texts, signal reports and the song time, with the status pair each carries.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <optional>

namespace xmservice::xm {

// Reply and event codes.
enum Code : quint8 {
    PowerOnReply = 0x80,
    PowerOffReply = 0x81,
    LineLevelReply = 0x8B,
    TuneReply = 0x90,
    MuteReply = 0x93,
    ExtendedTextReply = 0xA2,
    ChannelInfoReply = 0xA5,
    RadioIdReply = 0xB1,
    SignalPushed = 0xC1,
    SignalPushReply = 0xC2,
    SignalPollReply = 0xC3,
    MonitorReply = 0xD0,
    NameEvent = 0xD1,
    CategoryEvent = 0xD2,
    ArtistTitleEvent = 0xD3,
    ExtendedArtistEvent = 0xD4,
    ExtendedTitleEvent = 0xD5,
    SongTimeEvent = 0xD6,
    ActivationFetched = 0xE0,
    Deactivated = 0xE1,
    ActivationFetchError = 0xE2,
    FirmwareReply = 0xE3,
    WakeUpAck = 0xE4,
    DiagnosticsReply = 0xF0,
    DiagnosticsText = 0xF1,
    IdleFrame = 0xF2,
    CarTunerAck = 0xF4,
    ErrorReply = 0xFF,
};

// The longest frame a receiver sends: the extended text reply.
inline constexpr int LongestReply = 78;

// A code the receiver is known to send, as a reply or as an event.
bool isKnownCode(quint8 code);
// A code that only comes as the answer to a request.
bool isReplyCode(quint8 code);
// Whether a frame of this code can hold this many payload bytes: the fixed length of the code's
// layout (with the 16-character labels the power-up asks for), a bare status pair in answer to
// a request, and for codes of no fixed length anything up to the longest reply.
bool fitsLength(quint8 code, int length);

struct Status {
    quint8 major = 0;
    quint8 minor = 0;

    bool ok() const { return major == 0x01 && minor == 0x00; }
    bool operator==(const Status&) const = default;
    // What the pair means, with the pair in hex, for the log.
    QString describe() const;
};

inline constexpr Status NotSubscribed{0x03, 0x09};
inline constexpr Status NotInSubscription{0x03, 0x0A};
inline constexpr Status InvalidChannel{0x03, 0x0B};
inline constexpr Status EndOfLineup{0x04, 0x0E};
inline constexpr Status NoSignal{0x04, 0x10};
inline constexpr Status NotPoweredUp{0x07, 0x10};

// Bytes 1 and 2 of a reply.
Status statusOf(QByteArrayView payload);

// A fixed-width text field: Latin-1, padded with blanks or zero bytes, which are cut off. A zero
// byte ends the text; control bytes (a noisy line, a colour sequence) become blanks, and runs of
// blanks one blank, so nothing but visible letters and single blanks reaches the bus.
QString fieldText(QByteArrayView field);

struct ChannelInfo {
    Status status;
    int channel = 0;
    int serviceId = 0;
    QString name;
    QString category;
    QString artist;
    QString title;
};
// An A5 reply; nothing when it is too short to hold one.
std::optional<ChannelInfo> parseChannelInfo(QByteArrayView payload);

struct Tuned {
    Status status;
    int serviceId = 0;
    int channel = 0;
};
std::optional<Tuned> parseTune(QByteArrayView payload);

struct ExtendedText {
    Status status;
    int channel = 0;
    std::optional<QString> artist; // nothing when the receiver marks it invalid
    std::optional<QString> title;
};
std::optional<ExtendedText> parseExtendedText(QByteArrayView payload);

struct PowerUp {
    bool activated = false;
    QString radioId;
};
std::optional<PowerUp> parsePowerUp(QByteArrayView payload);

// A monitor event's text: the channel name (D1), category (D2), or artist and title (D3).
struct MonitorText {
    QString first;
    QString second; // the title of a D3 event
};
std::optional<MonitorText> parseMonitorText(QByteArrayView payload);

struct SignalReport {
    int satellite = 0; // 0 none .. 3 excellent
    bool antenna = false;
    int terrestrial = 0; // 0 none .. 3 excellent
    bool terrestrialLock = false;
    int terrestrialErrorRate = 0;
    std::optional<int> carrierToNoise1; // quarter dB; only the polled report has them
    std::optional<int> carrierToNoise2;

    bool hasSignal() const { return satellite > 0 || terrestrial > 0; }
};
// A polled C3 report or a pushed C1 report.
std::optional<SignalReport> parseSignal(QByteArrayView payload);

struct SignalLevels {
    double rock = 0;   // satellite 1, percent
    double roll = 0;   // satellite 2, percent
    double ground = 0; // terrestrial repeaters, percent
};
// The three signal bars of a report.
SignalLevels signalPercentages(const SignalReport& report);

struct SongTime {
    int position = -1; // seconds into the song, -1 when unknown
    int duration = -1;
};

// Reads D6 events into the song's time. Their first counter is the seconds since the song began.
// What the second one is, the documents disagree on, and the counters themselves tell: one that
// counts down while the first counts up is how soon the song ends (as the captured receiver
// sends it, and the reading until events tell otherwise); one that stays is the song's length.
// A song's length therefore never grows while its time runs.
class SongTimeReader {
public:
    SongTime read(QByteArrayView payload);

private:
    struct Counters {
        int first = 0;
        int second = 0;
    };
    std::optional<Counters> m_last;
    bool m_secondIsLength = false;
};
// The channel a D6 event is about, or nothing when the event is too short to say.
std::optional<int> songTimeChannel(QByteArrayView payload);

} // namespace xmservice::xm
