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
    TuneReply = 0x90,
    MuteReply = 0x93,
    ExtendedTextReply = 0xA2,
    ChannelInfoReply = 0xA5,
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
    ErrorReply = 0xFF,
};

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

// A fixed-width text field: Latin-1, padded with blanks or zero bytes, which are cut off.
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
// A D6 event: the first counter is how long ago the song started, the second how soon it ends.
SongTime parseSongTime(QByteArrayView payload);

} // namespace xmservice::xm
