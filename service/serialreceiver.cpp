// The receiver's state machine. Requests wait in one queue: the user's tunes and mutes first,
// then power-up steps, signal polls and text requests, and when nothing waits, the next step of
// the line-up walk. A reply that answers the request on the wire, or a second without one,
// sends the next request.
#include "serialreceiver.h"

#include "logging.h"

#include <algorithm>

namespace xmservice {

namespace {

// A request that gets no reply: the car tuners' wake-up steps. The next one follows after this.
constexpr int WakeUpGapMs = 100;
constexpr int HighestChannel = 255;
// After this long without a byte, a payload whose last bytes could begin another frame is given,
// and a frame cut short is dropped: at 9600 baud a byte takes about 1 ms, and a USB receiver
// hands its bytes over every 16 ms. At a slower line, the time of 20 bytes.
constexpr int LineQuietMs = 40;
// How long after a tune the time waits for the receiver's song time before it reports none.
constexpr int SongTimeWaitMs = 3000;
// How long after a tune to a channel the walk has not met its texts are waited for.
constexpr int TextsWaitMs = 2000;
// How often a tune, a mute or a text request goes out without an answer before it is given up:
// a tune or a mute then resets the receiver as after a power loss.
constexpr int UrgentSends = 3;

QString hex(QByteArrayView payload)
{
    return QString::fromLatin1(payload.toByteArray().toHex(' '));
}

// The channel byte at that offset of a reply, or -1 when the reply is too short to hold it.
int channelAt(QByteArrayView payload, qsizetype index)
{
    return payload.size() > index ? quint8(payload.at(index)) : -1;
}

} // namespace

SerialReceiver::SerialReceiver(QString devicePath, ReceiverModel model, int baud, QObject* parent)
    : RadioBackend(parent)
    , m_link(std::move(devicePath), baud)
    , m_model(model)
    , m_baud(baud)
{
    m_replyTimer.setSingleShot(true);
    m_reportTimer.setInterval(ReportIntervalMs);
    m_quietTimer.setSingleShot(true);
    m_quietTimer.setInterval(std::max(LineQuietMs, 20 * 10000 / std::max(baud, 1)));
    connect(&m_link, &SerialLink::opened, this, &SerialReceiver::onOpened);
    connect(&m_link, &SerialLink::lost, this, &SerialReceiver::onLost);
    connect(&m_link, &SerialLink::received, this, &SerialReceiver::onBytes);
    connect(&m_replyTimer, &QTimer::timeout, this, &SerialReceiver::onReplyTimeout);
    connect(&m_reportTimer, &QTimer::timeout, this, &SerialReceiver::sendSecondlyReports);
    connect(&m_quietTimer, &QTimer::timeout, this, &SerialReceiver::onLineQuiet);
}

void SerialReceiver::start()
{
    m_reportTimer.start();
    m_link.open();
}

void SerialReceiver::Channel(int number)
{
    if (number < 1 || number > HighestChannel) {
        qCInfo(lcService) << "ignoring a tune to channel" << number << "- the receiver has channels 1 to 255";
        return;
    }
    m_wantedChannel = number;
    if (m_poweredUp) // otherwise tuned as soon as the receiver is up
        tune(number);
}

void SerialReceiver::tune(int number)
{
    // A newer tune replaces one that has not gone out yet, with everything that would follow it.
    dropQueued({Kind::MonitorOff, Kind::Tune, Kind::Monitor, Kind::TunedInfo, Kind::ExtendedText});
    enqueue({Kind::MonitorOff, xm::request::monitorOff(), 0, true});
    enqueue({Kind::Tune, xm::request::tuneChannel(number), number, true});
    sendNext();
}

void SerialReceiver::muteReceiver(bool muted)
{
    m_wantedMute = muted;
    if (!m_poweredUp)
        return;
    dropQueued({Kind::Mute});
    enqueue({Kind::Mute, xm::request::setMute(muted), 0, true});
    sendNext();
}

void SerialReceiver::onOpened()
{
    powerUp();
}

void SerialReceiver::resetLink()
{
    // Whatever was asked or half received before is gone with the line: nothing is waited for
    // and no byte of it is decoded.
    m_poweredUp = false;
    m_monitoring = false;
    m_queue.clear();
    m_inFlight.reset();
    m_replyTimer.stop();
    m_quietTimer.stop();
    m_decoder.reset();
}

void SerialReceiver::onLost()
{
    resetLink();
    m_levels = {};
}

void SerialReceiver::powerUp()
{
    resetLink();
    // Another receiver may have come back on the port: its line-up is learnt anew.
    m_lastPass.clear();
    m_thisPass.clear();
    if (m_model == ReceiverModel::Direct) {
        for (const QByteArray& step : xm::request::wakeUp())
            enqueue({Kind::WakeUp, step});
    }
    enqueue({Kind::PowerOn, xm::request::powerOn()});
    sendNext();
}

void SerialReceiver::enqueue(Request request)
{
    if (!request.urgent) {
        m_queue.push_back(std::move(request));
        return;
    }
    const auto firstRoutine =
        std::find_if(m_queue.begin(), m_queue.end(), [](const Request& queued) { return !queued.urgent; });
    m_queue.insert(firstRoutine, std::move(request));
}

void SerialReceiver::dropQueued(std::initializer_list<Kind> kinds)
{
    std::erase_if(m_queue, [&](const Request& queued) {
        return std::find(kinds.begin(), kinds.end(), queued.kind) != kinds.end();
    });
}

bool SerialReceiver::isQueued(Kind kind) const
{
    return std::any_of(m_queue.begin(), m_queue.end(), [kind](const Request& queued) { return queued.kind == kind; });
}

void SerialReceiver::sendNext()
{
    if (m_inFlight || !m_link.isOpen())
        return;
    if (m_queue.empty()) {
        if (!m_poweredUp)
            return;
        m_queue.push_back({Kind::Walk, xm::request::nextChannelInfo(m_walkAfter), m_walkAfter});
    }
    m_inFlight = std::move(m_queue.front());
    m_queue.pop_front();
    ++m_inFlight->sent;
    if (m_inFlight->kind == Kind::MonitorOff)
        m_monitoring = false;
    m_heardSinceSend = false;
    m_link.send(xm::encodeRequest(m_inFlight->payload));
    m_replyTimer.start(m_inFlight->kind == Kind::WakeUp ? WakeUpGapMs : ReplyTimeoutMs);
}

void SerialReceiver::onReplyTimeout()
{
    m_decoder.dropPartial();
    if (!m_inFlight)
        return;
    const Request missed = *std::exchange(m_inFlight, std::nullopt);
    if (missed.kind == Kind::WakeUp) {
        sendNext();
        return;
    }
    if (missed.kind == Kind::Walk)
        m_walkMissed = true;
    // A receiver that sends other frames meanwhile has its power: a busy or noisy line lost this
    // one reply, which the noise line counts.
    if (m_heardSinceSend) {
        ++m_unanswered;
    } else {
        ++m_missedReplies;
        if (m_answering)
            qCWarning(lcService).noquote() << "no reply from the receiver within 1 s to" << hex(missed.payload);
    }
    if (m_missedReplies >= MissesBeforePowerUp) {
        if (m_answering)
            qCWarning(lcService) << "the receiver has stopped answering; powering it up again until it does";
        m_answering = false;
    }
    // A receiver that has not come up, or has stopped answering, may have lost its power.
    if (!m_poweredUp || !m_answering)
        powerUp();
    else if (!missed.urgent || !sendAgain(missed))
        sendNext();
}

// A tune, a mute or a text request the user's choice rests on is sent again when its answer is
// lost, unless a newer one of its kind waits: the receiver may have carried it out, and only its
// answer says which channel it plays. One that stays unanswered resets the receiver, which then
// gets the chosen channel and mute back.
bool SerialReceiver::sendAgain(Request missed)
{
    if (isQueued(missed.kind))
        return false;
    if (missed.sent < UrgentSends) {
        enqueue(std::move(missed));
        sendNext();
        return true;
    }
    if (missed.kind == Kind::TunedInfo || missed.kind == Kind::ExtendedText)
        return false;
    qCWarning(lcService).noquote() << "no answer to" << hex(missed.payload) << UrgentSends
                                   << "times; powering the receiver up again";
    powerUp();
    return true;
}

void SerialReceiver::onBytes(const QByteArray& bytes)
{
    for (const QByteArray& payload : m_decoder.feed(bytes))
        handleFrame(payload);
    if (m_decoder.pendingBytes() > 0)
        m_quietTimer.start();
}

// A frame the line fell quiet in the middle of was cut short: whatever comes next (junk, the
// next reply) must not fill it up.
void SerialReceiver::onLineQuiet()
{
    for (const QByteArray& payload : m_decoder.flush())
        handleFrame(payload);
    m_decoder.dropPartial();
}

void SerialReceiver::handleFrame(const QByteArray& payload)
{
    m_heardSinceSend = true;
    const quint8 code = quint8(payload.at(0));
    if (m_inFlight && m_inFlight->kind != Kind::WakeUp && answers(*m_inFlight, payload))
        takeReply(payload);
    else if (xm::isReplyCode(code))
        dropUnasked(payload);
    else
        handleEvent(payload);
}

// A reply answers the request on the wire when it has the request's reply code and is about the
// channel asked for; an error frame answers any request.
bool SerialReceiver::answers(const Request& request, QByteArrayView payload) const
{
    const quint8 code = quint8(payload.at(0));
    if (code == xm::ErrorReply)
        return true;
    if (code != xm::replyCodeOf(request.payload))
        return false;
    // A bare status pair ("power up first") names no channel.
    if (payload.size() <= 3)
        return true;
    switch (request.kind) {
    case Kind::Tune: return channelAt(payload, 4) == request.channel;
    case Kind::Monitor:
    case Kind::TunedInfo:
    case Kind::WalkCheck:
    case Kind::ExtendedText: return channelAt(payload, 3) == request.channel;
    case Kind::MonitorOff: return channelAt(payload, 3) == 0;
    case Kind::Walk: return answersWalk(request, payload);
    default: return true;
    }
}

// Once a whole pass has met the line-up, a step is answered by the next channel it met (or the
// end after the last). In a first pass, and after a step went unanswered (a channel may have come
// or gone), any channel-info reply answers; whether it is believed is decided after.
bool SerialReceiver::answersWalk(const Request& request, QByteArrayView payload) const
{
    const auto info = xm::parseChannelInfo(payload);
    if (!info || m_lastPass.empty() || m_walkMissed)
        return true;
    const auto next = m_lastPass.upper_bound(request.channel);
    if (next != m_lastPass.end())
        return info->channel == *next;
    // A receiver that does not move on (a radio without a subscription names its preview every
    // time) has come to its end as well.
    return info->status == xm::EndOfLineup || info->channel == 0 || info->channel <= request.channel;
}

// An answer is believed as it comes when it is the next channel the last pass met, or, in a first
// pass, when no step went unanswered before it. Otherwise (a new channel, a step after a missed
// one, where a stray reply of a noisy line could stand) the receiver is asked about it first.
bool SerialReceiver::believable(const Request& request, const xm::ChannelInfo& info) const
{
    if (m_lastPass.empty())
        return !m_walkMissed;
    const auto next = m_lastPass.upper_bound(request.channel);
    return next != m_lastPass.end() && info.channel == *next;
}

void SerialReceiver::dropUnasked(QByteArrayView payload)
{
    ++m_unasked;
    m_lastUnasked = hex(payload.first(std::min<qsizetype>(payload.size(), 4)));
}

void SerialReceiver::takeReply(QByteArrayView payload)
{
    const quint8 code = quint8(payload.at(0));
    const Request request = *std::exchange(m_inFlight, std::nullopt);
    m_replyTimer.stop();
    m_missedReplies = 0;
    if (!m_answering)
        qCInfo(lcService) << "the receiver answers again";
    m_answering = true;
    if (xm::statusOf(payload) == xm::NotPoweredUp && request.kind != Kind::PowerOn) {
        qCWarning(lcService) << "the receiver asks to be powered up again";
        powerUp();
        return;
    }
    if (code == xm::ErrorReply) {
        const xm::Status status = xm::statusOf(payload);
        if (status.ok()) // an error frame with 01 00 says the antenna is missing
            noteCondition(m_antenna, false, "", "no antenna: check the antenna connection");
        else
            qCWarning(lcService).noquote()
                << "the receiver refused" << hex(request.payload) << "-" << status.describe();
    } else {
        handleReply(request, payload);
    }
    sendNext();
}

void SerialReceiver::handleReply(const Request& request, QByteArrayView payload)
{
    switch (request.kind) {
    case Kind::PowerOn: onPoweredUp(payload); break;
    case Kind::Tune: onTuned(request, payload); break;
    case Kind::Monitor: m_monitoring = xm::statusOf(payload).ok(); break;
    case Kind::TunedInfo: onTunedInfo(payload); break;
    case Kind::ExtendedText: onExtendedText(payload); break;
    case Kind::Walk: onWalkStep(request, payload); break;
    case Kind::WalkCheck: onWalkCheck(request, payload); break;
    case Kind::Poll:
        if (const auto report = xm::parseSignal(payload))
            onSignal(*report, true);
        break;
    case Kind::Mute:
        if (xm::statusOf(payload).ok())
            emit MuteChanged(payload.size() > 3 ? payload.at(3) != 0 : request.payload.at(1) != 0);
        break;
    case Kind::WakeUp:
    case Kind::SignalPush:
    case Kind::MonitorOff: break;
    }
}

void SerialReceiver::onPoweredUp(QByteArrayView payload)
{
    const auto powered = xm::parsePowerUp(payload);
    if (!powered) {
        qCWarning(lcService).noquote() << "unreadable power-up reply" << hex(payload) << "- trying again";
        powerUp();
        return;
    }
    m_poweredUp = true;
    qCInfo(lcService).noquote() << "receiver" << powered->radioId << "powered up";
    noteCondition(m_activated, powered->activated, "the radio is activated",
                  "the radio is not activated: only the preview channel plays");
    enqueue({Kind::SignalPush, xm::request::signalPush(true)});
    m_walkAfter = 0;
    // What the user chose before the receiver went away is chosen again. A radio without a
    // subscription plays its preview by itself; the walk's first answer names it.
    if (m_wantedChannel)
        Channel(*m_wantedChannel);
    if (m_wantedMute)
        muteReceiver(*m_wantedMute);
}

void SerialReceiver::onTuned(const Request& request, QByteArrayView payload)
{
    const auto tuned = xm::parseTune(payload);
    if (!tuned || !tuned->status.ok()) {
        qCWarning(lcService).noquote() << "channel" << request.channel << "not tuned:"
                                       << (tuned ? tuned->status.describe() : QStringLiteral("unreadable reply"));
        // A radio without a subscription plays only its preview: tuned there, it plays something
        // and the list has a channel to offer. Until the walk has learnt it, the walk tunes it.
        if (tuned && tuned->status == xm::NotSubscribed && m_activated == false && m_tuned == 0 && m_preview &&
            request.channel != *m_preview)
            tune(*m_preview);
        else if (m_tuned > 0) // the tuned channel plays on: follow it again
            enqueue({Kind::Monitor, xm::request::monitor(m_tuned, m_tunedServiceId), m_tuned, true});
        return;
    }
    m_tuned = request.channel;
    m_tunedServiceId = tuned->serviceId;
    if (m_activated == false)
        m_preview = m_tuned;
    // The line-up's texts show at once; the monitor's events and the long texts follow. The time
    // waits for the receiver's song time, so the labels never blink empty.
    m_texts = m_lineupTexts.value(m_tuned);
    // A channel the walk has not met yet: its texts go out whole once its channel info is in,
    // not piece by piece as the monitor's events bring them.
    m_textsAwaited = !m_lineupTexts.contains(m_tuned);
    m_song = {};
    m_songKnown = false;
    m_tuneClock.start();
    emit ChannelChange(m_tuned);
    sendTunedChannel();
    enqueue({Kind::Monitor, xm::request::monitor(m_tuned, m_tunedServiceId), m_tuned, true});
    enqueue({Kind::TunedInfo, xm::request::channelInfo(m_tuned), m_tuned, true});
    enqueue({Kind::ExtendedText, xm::request::extendedText(m_tuned), m_tuned, true});
}

void SerialReceiver::onWalkStep(const Request& request, QByteArrayView payload)
{
    const auto info = xm::parseChannelInfo(payload);
    if (!info)
        return; // a damaged reply: the same step is asked again
    // The end of the line-up, or a receiver that does not move on, starts the next pass; an end
    // that comes early, where the last pass met more channels, is asked for once more.
    if (info->status == xm::EndOfLineup || info->channel == 0 || info->channel <= m_walkAfter) {
        const bool early = m_lastPass.upper_bound(request.channel) != m_lastPass.end();
        m_walkMissed = false;
        if (early && !std::exchange(m_endDoubted, true))
            return;
        m_endDoubted = false;
        endWalkPass();
        return;
    }
    m_endDoubted = false;
    if (!believable(request, *info)) {
        enqueue({Kind::WalkCheck, xm::request::channelInfo(info->channel), info->channel});
        return;
    }
    m_walkMissed = false;
    takeWalkStep(*info, payload);
}

// The receiver's own answer about a channel a doubtful walk reply named: a channel it knows is
// the walk's next step; one it calls invalid was a stray reply, and the walk asks again.
void SerialReceiver::onWalkCheck(const Request& request, QByteArrayView payload)
{
    const auto info = xm::parseChannelInfo(payload);
    if (!info || info->channel != request.channel || info->status == xm::InvalidChannel) {
        dropUnasked(payload);
        return;
    }
    m_walkMissed = false;
    takeWalkStep(*info, payload);
}

void SerialReceiver::takeWalkStep(const xm::ChannelInfo& info, QByteArrayView payload)
{
    m_walkAfter = info.channel;
    m_thisPass.insert(info.channel);
    if (m_activated == false && info.status == xm::NotSubscribed)
        notePreview(info.channel);
    if (info.status == xm::NoSignal)
        noteCondition(m_signal, false, "", "no signal: check the antenna");
    // A channel that is not subscribed is not offered, except the preview that such a radio plays.
    const bool preview = info.status == xm::NotSubscribed && m_preview == info.channel;
    if (!info.status.ok() && !preview)
        return;
    m_lineupTexts.insert(info.channel, {info.name, info.category, info.artist, info.title, {}, {}});
    emit ChannelData(info.channel, info.name, info.artist, info.title, info.category);
    // The monitor's name and text events carry no channel: a stray one would stick to the tuned
    // channel. Its station and category are taken from every pass, so such a fault heals.
    if (info.channel == m_tuned)
        onTunedInfo(payload);
}

// A radio without a subscription answers every channel-info request with the channel it plays,
// its preview, whatever its number. Nothing tuned yet (nothing asked, or a channel refused): the
// preview is tuned, so it plays, is monitored and is offered.
void SerialReceiver::notePreview(int channel)
{
    m_preview = channel;
    const bool tuning = isQueued(Kind::Tune) || (m_inFlight && m_inFlight->kind == Kind::Tune);
    if (m_tuned == 0 && !tuning)
        tune(channel);
}

void SerialReceiver::endWalkPass()
{
    // Every pass starts at the first channel (a power-up starts a new one), so a pass that met
    // any channel knows the whole line-up.
    if (!m_thisPass.empty())
        m_lastPass = std::move(m_thisPass);
    m_thisPass.clear();
    m_walkAfter = 0;
}

void SerialReceiver::onTunedInfo(QByteArrayView payload)
{
    const auto info = xm::parseChannelInfo(payload);
    const bool preview = info && info->status == xm::NotSubscribed && m_preview == info->channel;
    if (!info || (!info->status.ok() && !preview) || info->channel != m_tuned)
        return;
    Texts texts = m_texts;
    texts.station = info->name;
    texts.genre = info->category;
    if (texts.artist != info->artist || texts.title != info->title) {
        texts.artist = info->artist;
        texts.title = info->title;
        texts.longArtist.reset();
        texts.longTitle.reset();
    }
    if (!std::exchange(m_textsAwaited, false)) {
        setTexts(texts);
        return;
    }
    m_texts = texts;
    sendTunedChannel();
}

void SerialReceiver::onExtendedText(QByteArrayView payload)
{
    const auto text = xm::parseExtendedText(payload);
    if (!text || !text->status.ok() || text->channel != m_tuned)
        return;
    Texts texts = m_texts;
    texts.longArtist = text->artist;
    texts.longTitle = text->title;
    setTexts(texts);
}

void SerialReceiver::handleEvent(QByteArrayView payload)
{
    const quint8 code = quint8(payload.at(0));
    switch (code) {
    case xm::SignalPushed:
        if (const auto report = xm::parseSignal(payload))
            onSignal(*report, false);
        return;
    case xm::ActivationFetched: noteCondition(m_activated, true, "the radio is activated", ""); return;
    case xm::Deactivated:
        noteCondition(m_activated, false, "", "the radio is not activated: only the preview channel plays");
        return;
    case xm::ActivationFetchError: qCWarning(lcService) << "the receiver could not fetch its activation"; return;
    case xm::ErrorReply:
        if (xm::statusOf(payload).ok()) // an error frame with 01 00 says the antenna is missing
            noteCondition(m_antenna, false, "", "no antenna: check the antenna connection");
        return;
    default: break;
    }
    // The tuned channel's events count only while it is monitored: events of the channel before
    // a tune may still be on their way.
    if (!m_monitoring)
        return;
    Texts texts = m_texts;
    switch (code) {
    case xm::NameEvent:
        if (const auto text = xm::parseMonitorText(payload))
            texts.station = text->first;
        break;
    case xm::CategoryEvent:
        if (const auto text = xm::parseMonitorText(payload))
            texts.genre = text->first;
        break;
    case xm::ArtistTitleEvent:
        if (const auto text = xm::parseMonitorText(payload)) {
            texts.artist = text->first;
            texts.title = text->second;
            // A new song: its long texts are asked for; until they come the short ones show.
            texts.longArtist.reset();
            texts.longTitle.reset();
            askExtendedText();
        }
        break;
    case xm::ExtendedArtistEvent:
    case xm::ExtendedTitleEvent: askExtendedText(); break;
    case xm::SongTimeEvent:
        // The time of another channel would be shown as the tuned one's.
        if (xm::songTimeChannel(payload) != m_tuned) {
            dropUnasked(payload);
            return;
        }
        m_song = m_songReader.read(payload);
        m_songKnown = true;
        m_songClock.start();
        break;
    default: return;
    }
    setTexts(texts);
}

void SerialReceiver::askExtendedText()
{
    if (m_tuned > 0 && !isQueued(Kind::ExtendedText))
        enqueue({Kind::ExtendedText, xm::request::extendedText(m_tuned), m_tuned});
    sendNext();
}

void SerialReceiver::onSignal(const xm::SignalReport& report, bool polled)
{
    noteCondition(m_antenna, report.antenna, "antenna connected", "no antenna: check the antenna connection");
    if (report.antenna)
        noteCondition(m_signal, report.hasSignal(), "signal found", "no signal from the satellites or repeaters");
    if (polled)
        m_levels = xm::signalPercentages(report);
}

void SerialReceiver::setTexts(const Texts& texts)
{
    const auto shown = [](const Texts& t) {
        return QStringList{t.station, t.genre, t.longArtist.value_or(t.artist), t.longTitle.value_or(t.title)};
    };
    const bool changed = shown(texts) != shown(m_texts);
    m_texts = texts;
    if (changed)
        sendTunedChannel();
}

void SerialReceiver::sendTunedChannel()
{
    // Nothing known of the channel yet: blank labels would only hide what the window shows. Texts
    // awaited for a new channel go out when they are in, or what is known after a while.
    if (m_textsAwaited && m_tuneClock.elapsed() < TextsWaitMs)
        return;
    if (m_tuned == 0 || (m_texts.station.isEmpty() && m_texts.genre.isEmpty() && m_texts.artist.isEmpty() &&
                         m_texts.title.isEmpty() && !m_texts.longArtist && !m_texts.longTitle))
        return;
    emit CurrentChannelData(m_tuned, m_texts.station, m_texts.longArtist.value_or(m_texts.artist),
                            m_texts.longTitle.value_or(m_texts.title), m_texts.genre);
}

// The window takes a second without news as a missing service, so the tuned channel, its time
// and the signal go out every second even when nothing has changed.
void SerialReceiver::sendSecondlyReports()
{
    sendTunedChannel();
    if (m_tuned > 0 && (m_songKnown || m_tuneClock.elapsed() >= SongTimeWaitMs)) {
        if (m_song.position < 0) {
            emit CurrentTime(-1, -1);
        } else {
            const int position = int(std::min<qint64>(m_song.position + m_songClock.elapsed() / 1000, m_song.duration));
            emit CurrentTime(position, m_song.duration);
        }
    }
    const xm::SignalLevels levels = barsShown() ? m_levels : xm::SignalLevels{};
    emit SignalStrength(levels.rock, levels.roll, levels.ground);
    if (m_poweredUp && !isQueued(Kind::Poll))
        enqueue({Kind::Poll, xm::request::signalPoll()});
    sendNext();
    logNoise();
}

// A wrong baud rate or model gives nothing but bytes that fit no frame, which would otherwise
// look like a silent receiver; replies that answer nothing show a confused or noisy line.
void SerialReceiver::logNoise()
{
    const qint64 skipped = m_decoder.skippedBytes() - m_skippedLogged;
    if ((skipped == 0 && m_unasked == 0 && m_unanswered == 0) ||
        (m_noiseClock.isValid() && m_noiseClock.elapsed() < NoiseLogIntervalMs))
        return;
    m_noiseClock.start();
    if (skipped > 0)
        qCWarning(lcService).noquote()
            << QStringLiteral("skipped %1 bytes from the receiver that fit no frame; if the receiver does not answer, "
                              "check the baud rate (now %2) and the model (now %3) in xm-radio-service.ini")
                   .arg(skipped)
                   .arg(m_baud)
                   .arg(m_model == ReceiverModel::Direct ? "Direct" : "PCR");
    if (m_unasked > 0)
        qCWarning(lcService).noquote() << QStringLiteral(
                                              "dropped %1 replies that answer no request (the last began %2)")
                                              .arg(m_unasked)
                                              .arg(m_lastUnasked);
    if (m_unanswered > 0)
        qCWarning(lcService).noquote()
            << QStringLiteral("%1 requests went unanswered while the receiver sent other frames").arg(m_unanswered);
    m_skippedLogged = m_decoder.skippedBytes();
    m_unasked = 0;
    m_unanswered = 0;
}

bool SerialReceiver::barsShown() const
{
    return m_link.isOpen() && m_poweredUp && m_activated.value_or(false) && m_antenna.value_or(true) &&
           m_signal.value_or(true);
}

void SerialReceiver::noteCondition(std::optional<bool>& known, bool now, const char* good, const char* bad)
{
    if (known == now)
        return;
    const bool first = !known.has_value();
    known = now;
    // A good state is worth a line only when it ends a bad one.
    if (!now)
        qCWarning(lcService) << bad;
    else if (!first)
        qCInfo(lcService) << good;
}

} // namespace xmservice
