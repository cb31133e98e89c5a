// Field offsets of the receiver's replies; every parser checks the length first, so a short or
// damaged frame gives nothing instead of reading past its end.
#include "xmreplies.h"

#include <algorithm>

namespace xmservice::xm {

namespace {

constexpr int NameWidth = 16;
constexpr int ExtendedWidth = 36;

int byteAt(QByteArrayView payload, qsizetype index)
{
    return quint8(payload.at(index));
}

int word(QByteArrayView payload, qsizetype index)
{
    return (byteAt(payload, index) << 8) | byteAt(payload, index + 1);
}

// The satellite bar from a carrier-to-noise ratio in quarter dB: 0..80 % up to 12 dB, then up
// to 100 % at 16 dB, where reception is as good as it gets.
double satellitePercent(int quarterDb)
{
    const double db = quarterDb / 4.0;
    if (db < 12)
        return std::max(0.0, db * 80 / 12);
    if (db >= 16)
        return 100;
    return 80 + (db - 12) * 20 / 4;
}

} // namespace

QString Status::describe() const
{
    const char* meaning = "unknown status";
    if (ok())
        meaning = "ok";
    else if (*this == Status{0x02, 0x04})
        meaning = "a data channel";
    else if (*this == Status{0x02, 0x12})
        meaning = "extended info needs the tuned channel";
    else if (*this == NotSubscribed)
        meaning = "not subscribed";
    else if (*this == NotInSubscription)
        meaning = "not in the subscription";
    else if (*this == InvalidChannel)
        meaning = "invalid channel";
    else if (*this == EndOfLineup)
        meaning = "end of the line-up";
    else if (*this == NoSignal)
        meaning = "no signal, check the antenna";
    else if (*this == NotPoweredUp)
        meaning = "not powered up";
    return QStringLiteral("%1 (%2 %3)")
        .arg(QLatin1String(meaning))
        .arg(major, 2, 16, QLatin1Char('0'))
        .arg(minor, 2, 16, QLatin1Char('0'));
}

Status statusOf(QByteArrayView payload)
{
    if (payload.size() < 3)
        return {};
    return {quint8(payload.at(1)), quint8(payload.at(2))};
}

QString fieldText(QByteArrayView field)
{
    // Text stops at the first zero byte; what follows it is padding.
    if (const qsizetype zero = field.indexOf('\0'); zero >= 0)
        field = field.first(zero);
    QString text = QString::fromLatin1(field);
    for (QChar& c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
            c = QLatin1Char(' ');
    }
    return text.simplified();
}

namespace {

// The payload length of each code's layout, 0 for a code whose length varies (or is not
// documented); nothing for a code the receiver is not known to send. Text events and replies
// have these lengths with 16-character labels, which is what the power-up asks for.
std::optional<int> layoutLength(quint8 code)
{
    switch (code) {
    case PowerOnReply: return 27;
    case TuneReply: return 6;
    case MuteReply: return 4;
    case ExtendedTextReply: return LongestReply;
    case ChannelInfoReply: return 77;
    case RadioIdReply: return 12;
    case SignalPushed: return 22;
    case SignalPushReply: return 3;
    case SignalPollReply: return 26;
    case MonitorReply: return 4;
    case NameEvent: return 23;
    case CategoryEvent: return 20;
    case ArtistTitleEvent: return 35;
    case SongTimeEvent: return 9;
    case ActivationFetched:
    case Deactivated:
    case ActivationFetchError: return 1;
    case FirmwareReply: return 19;
    case DiagnosticsReply: return 3;
    case ErrorReply: return 3;
    case PowerOffReply:
    case LineLevelReply:
    case ExtendedArtistEvent:
    case ExtendedTitleEvent:
    case WakeUpAck:
    case DiagnosticsText:
    case IdleFrame:
    case CarTunerAck: return 0;
    default: return std::nullopt;
    }
}

} // namespace

bool isKnownCode(quint8 code)
{
    return layoutLength(code).has_value();
}

bool isReplyCode(quint8 code)
{
    switch (code) {
    case PowerOnReply:
    case PowerOffReply:
    case LineLevelReply:
    case TuneReply:
    case MuteReply:
    case ExtendedTextReply:
    case ChannelInfoReply:
    case RadioIdReply:
    case SignalPushReply:
    case SignalPollReply:
    case MonitorReply:
    case FirmwareReply:
    case DiagnosticsReply: return true;
    default: return false;
    }
}

bool fitsLength(quint8 code, int length)
{
    if (length < 1 || length > LongestReply)
        return false;
    const int fixed = layoutLength(code).value_or(0);
    // A receiver that cannot carry a request out answers with the status pair alone ("power up
    // first"); the power-up reply has no status pair to send.
    const bool bareStatus = length == 3 && isReplyCode(code) && code != PowerOnReply;
    return fixed == 0 || length == fixed || bareStatus;
}

std::optional<ChannelInfo> parseChannelInfo(QByteArrayView payload)
{
    if (payload.size() < 73 || byteAt(payload, 0) != ChannelInfoReply)
        return std::nullopt;
    ChannelInfo info;
    info.status = statusOf(payload);
    info.channel = byteAt(payload, 3);
    info.serviceId = byteAt(payload, 4);
    if (byteAt(payload, 5))
        info.name = fieldText(payload.sliced(6, NameWidth));
    if (byteAt(payload, 22))
        info.category = fieldText(payload.sliced(24, NameWidth));
    if (byteAt(payload, 40)) {
        info.artist = fieldText(payload.sliced(41, NameWidth));
        info.title = fieldText(payload.sliced(57, NameWidth));
    }
    return info;
}

std::optional<Tuned> parseTune(QByteArrayView payload)
{
    if (payload.size() < 5 || byteAt(payload, 0) != TuneReply)
        return std::nullopt;
    return Tuned{statusOf(payload), byteAt(payload, 3), byteAt(payload, 4)};
}

std::optional<ExtendedText> parseExtendedText(QByteArrayView payload)
{
    if (payload.size() < 42 + ExtendedWidth || byteAt(payload, 0) != ExtendedTextReply)
        return std::nullopt;
    ExtendedText text;
    text.status = statusOf(payload);
    text.channel = byteAt(payload, 3);
    if (byteAt(payload, 4))
        text.artist = fieldText(payload.sliced(5, ExtendedWidth));
    if (byteAt(payload, 41))
        text.title = fieldText(payload.sliced(42, ExtendedWidth));
    return text;
}

std::optional<PowerUp> parsePowerUp(QByteArrayView payload)
{
    if (payload.size() < 27 || byteAt(payload, 0) != PowerOnReply)
        return std::nullopt;
    return PowerUp{byteAt(payload, 1) != 0x03, fieldText(payload.sliced(19, 8))};
}

std::optional<MonitorText> parseMonitorText(QByteArrayView payload)
{
    if (payload.isEmpty())
        return std::nullopt;
    switch (byteAt(payload, 0)) {
    case NameEvent:
        if (payload.size() < 3 + NameWidth || !byteAt(payload, 2))
            return std::nullopt;
        return MonitorText{fieldText(payload.sliced(3, NameWidth)), {}};
    case CategoryEvent:
        if (payload.size() < 4 + NameWidth || !byteAt(payload, 3))
            return std::nullopt;
        return MonitorText{fieldText(payload.sliced(4, NameWidth)), {}};
    case ArtistTitleEvent:
        if (payload.size() < 3 + 2 * NameWidth || !byteAt(payload, 2))
            return std::nullopt;
        return MonitorText{fieldText(payload.sliced(3, NameWidth)),
                           fieldText(payload.sliced(3 + NameWidth, NameWidth))};
    default: return std::nullopt;
    }
}

std::optional<SignalReport> parseSignal(QByteArrayView payload)
{
    if (payload.isEmpty())
        return std::nullopt;
    // The pushed report is the polled one without the status pair and the carrier-to-noise bytes.
    const int code = byteAt(payload, 0);
    const int shift = code == SignalPollReply ? 2 : 0;
    if ((code != SignalPollReply && code != SignalPushed) || payload.size() < (code == SignalPollReply ? 26 : 22))
        return std::nullopt;
    SignalReport report;
    report.satellite = std::min(byteAt(payload, 1 + shift), 3);
    report.antenna = byteAt(payload, 2 + shift) != 0;
    report.terrestrial = std::min(byteAt(payload, 3 + shift), 3);
    report.terrestrialLock = byteAt(payload, 6 + shift) != 0;
    report.terrestrialErrorRate = word(payload, 14 + shift);
    if (code == SignalPollReply) {
        report.carrierToNoise1 = byteAt(payload, 24);
        report.carrierToNoise2 = byteAt(payload, 25);
    }
    return report;
}

// Each satellite gets its own bar from its own carrier-to-noise ratio. The ground bar follows the
// repeater's bit error rate, but only while the receiver has locked onto a repeater: out of a
// repeater's reach the error counter reads 0, which would otherwise show a full bar.
SignalLevels signalPercentages(const SignalReport& report)
{
    if (!report.antenna)
        return {};
    SignalLevels levels;
    levels.rock = report.carrierToNoise1 ? satellitePercent(*report.carrierToNoise1) : 0;
    levels.roll = report.carrierToNoise2 ? satellitePercent(*report.carrierToNoise2) : 0;
    if (report.terrestrialLock && report.terrestrial > 0)
        levels.ground = std::clamp(100.0 - 10.0 * report.terrestrialErrorRate / 68, 0.0, 100.0);
    return levels;
}

std::optional<int> songTimeChannel(QByteArrayView payload)
{
    if (payload.size() < 2 || byteAt(payload, 0) != SongTimeEvent)
        return std::nullopt;
    return byteAt(payload, 1);
}

SongTime SongTimeReader::read(QByteArrayView payload)
{
    if (payload.size() < 9 || byteAt(payload, 0) != SongTimeEvent || !byteAt(payload, 3) || !byteAt(payload, 4))
        return {};
    const Counters now{word(payload, 5), word(payload, 7)};
    // Only a song whose time ran since the last event tells what its second counter does.
    if (m_last && now.first > m_last->first) {
        if (now.second == m_last->second)
            m_secondIsLength = true;
        else if (now.second < m_last->second)
            m_secondIsLength = false;
    }
    m_last = now;
    return {now.first, m_secondIsLength ? std::max(now.first, now.second) : now.first + now.second};
}

} // namespace xmservice::xm
