// The emulated receiver's replies follow the documented layouts byte for byte; its frames close
// with 00 and the last payload byte, as the captured frames mostly do.
#include "receiveremulator.h"

#include <QCoreApplication>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int PaceTickMs = 5;

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int value : values)
        out.append(char(value & 0xff));
    return out;
}

QByteArray field(const QByteArray& text, int width, char pad)
{
    QByteArray out = text.left(width);
    out.append(QByteArray(width - out.size(), pad));
    return out;
}

QByteArray word(int value)
{
    return bytes({char((value >> 8) & 0xff), char(value & 0xff)});
}

int nextSerial()
{
    static int serial = 0;
    return ++serial;
}

} // namespace

QList<ReceiverEmulator::Channel> ReceiverEmulator::defaultLineup()
{
    return {
        {1, 1, "Preview", "Info", "Emulated Radio", "Welcome", true, 0, 0},
        {4, 41, "Forties Swing", "Decades", "Harry Lindqvist and his Orchestra", "Moonlight over Lake Vellmar"},
        {5, 12, "Fifties Jukebox", "Decades", "The Delmar Four", "Sweet Caroline May"},
        {8, 33, "Caf\xE9 Cr\xE8me", "Pop", "Zo\xEB and the Lanterns", "D\xE9j\xE0 Vu Again"},
        {9, 90, "Premium Talk", "Talk", "Dr. Ellery", "Open Lines", false},
        {12, 120, "M\xFCnchen Nights", "Dance",
         "DJ \xDC"
         "bermorgen",
         "Stra\xDF"
         "enbahn (Extended Mix)"},
        {20, 7, "Open Range", "Country", "Billy-Ray O'Dowd", "Y'all Come Back, Now"},
        {23, 23, "Bluegrass & More", "Country", "The Hartigan Sisters", "Back Porch Lantern"},
        {30, 130, "Garage Rock", "Rock", "The Velvet Engines", "Louder Than the Train"},
        {46, 200, "First Wave", "Rock", "Paper Comets", "Last Exit to Greyport"},
        {60, 61, "Club Circuit", "Dance", "Northern Frequency", "Neon Rush"},
        {70, 71, "Jazz Caf\xE9", "Jazz", "The Grace Kessler Quartet", "Blues for Wren"},
        {81, 82, "Symphonie", "Classical", "Vellmar Philharmonic Orchestra", "Reichelt: Serenade in D minor"},
        {120, 151, "World News", "News", "Newsroom", "Top Stories at the Hour", true, 0, 0},
        {200, 250, "Sports Talk", "Sports", "Sam Navarro", "Post-Game Call-In", false},
        {247, 9, "Traffic Centre", "Traffic", "Traffic Centre", "Commute Update"},
    };
}

QByteArray ReceiverEmulator::frame(const QByteArray& payload, bool trailer)
{
    QByteArray out("\x5A\xA5", 2);
    out.append(word(int(payload.size())));
    out.append(payload);
    if (trailer) {
        out.append('\0');
        out.append(payload.back());
    }
    return out;
}

QByteArray ReceiverEmulator::channelInfoPayload(const Channel& channel)
{
    QByteArray info(77, '\0');
    info[0] = '\xA5';
    info[1] = channel.subscribed ? '\x01' : '\x03';
    info[2] = channel.subscribed ? '\x00' : '\x09';
    info[3] = char(channel.number);
    info[4] = char(channel.serviceId);
    info[5] = '\x01';
    info.replace(6, 16, field(channel.name, 16, ' '));
    info[22] = '\x01';
    info[23] = '\x13';
    info.replace(24, 16, field(channel.category, 16, ' '));
    info[40] = '\x01';
    info.replace(41, 16, field(channel.artist, 16, ' '));
    info.replace(57, 16, field(channel.title, 16, ' '));
    return info;
}

QByteArray ReceiverEmulator::songTimePayload(int number, int startedAgo, int endsIn)
{
    const bool timed = startedAgo + endsIn > 0;
    return QByteArray("\xD6") + char(number) + '\x04' + char(timed ? 1 : 0) + char(timed ? 1 : 0) + word(startedAgo) +
           word(endsIn);
}

ReceiverEmulator::ReceiverEmulator(QList<Channel> lineup)
    : m_lineup(std::move(lineup))
    , m_linkPath(
          m_folder.filePath(QStringLiteral("xm-%1-%2").arg(QCoreApplication::applicationPid()).arg(nextSerial())))
{
    m_pace.setTimerType(Qt::PreciseTimer);
    m_pace.setInterval(PaceTickMs);
    connect(&m_pace, &QTimer::timeout, this, &ReceiverEmulator::flushOutput);
    m_songTimer.setInterval(1000);
    connect(&m_songTimer, &QTimer::timeout, this, &ReceiverEmulator::sendSongTime);
    m_pushTimer.setInterval(1500);
    connect(&m_pushTimer, &QTimer::timeout, this, &ReceiverEmulator::sendPushedSignal);
    openTerminal();
}

ReceiverEmulator::~ReceiverEmulator()
{
    closeTerminal();
}

void ReceiverEmulator::openTerminal()
{
    char name[128] = {};
    if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0)
        qFatal("openpty: %s", strerror(errno));
    termios raw = {};
    ::tcgetattr(m_slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(m_slave, TCSANOW, &raw);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    QFile::remove(m_linkPath);
    QFile::link(QString::fromLocal8Bit(name), m_linkPath);
    m_notifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &ReceiverEmulator::onReadable);
}

void ReceiverEmulator::closeTerminal()
{
    m_notifier.reset();
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    m_master = m_slave = -1;
    m_input.clear();
    m_output.clear();
    m_pace.stop();
    m_songTimer.stop();
    m_pushTimer.stop();
}

void ReceiverEmulator::unplug()
{
    closeTerminal();
    QFile::remove(m_linkPath);
    m_poweredUp = false;
    m_monitored = 0;
}

void ReceiverEmulator::plugIn()
{
    if (m_master < 0)
        openTerminal();
}

int ReceiverEmulator::countRequests(quint8 command) const
{
    return int(std::count_if(m_requests.begin(), m_requests.end(),
                             [command](const QByteArray& p) { return quint8(p.at(0)) == command; }));
}

void ReceiverEmulator::sendRaw(const QByteArray& bytes)
{
    m_output.append(bytes);
    flushOutput();
}

void ReceiverEmulator::changeSong(int number, const QByteArray& artist, const QByteArray& title)
{
    for (Channel& channel : m_lineup) {
        if (channel.number != number)
            continue;
        channel.artist = artist;
        channel.title = title;
        channel.startedAgo = 0;
        if (m_monitored == number) {
            reply(QByteArray("\xD3") + char(number) + '\x01' + field(artist, 16, ' ') + field(title, 16, ' '));
            reply(QByteArray("\xD4") + char(number) + '\x01' + field(artist, 36, '\0'));
            reply(QByteArray("\xD5") + char(number) + '\x01' + field(title, 36, '\0'));
        }
    }
}

void ReceiverEmulator::onReadable()
{
    char buffer[512];
    const ssize_t got = ::read(m_master, buffer, sizeof buffer);
    if (got <= 0)
        return;
    m_input.append(buffer, got);
    // Host frames: 5A A5, length, payload, ED ED. Junk before a sync is dropped.
    while (true) {
        const qsizetype sync = m_input.indexOf("\x5A\xA5");
        if (sync < 0) {
            m_input = m_input.right(1);
            return;
        }
        m_input.remove(0, sync);
        if (m_input.size() < 4)
            return;
        const int length = (quint8(m_input.at(2)) << 8) | quint8(m_input.at(3));
        if (m_input.size() < 4 + length + 2)
            return;
        const QByteArray payload = m_input.mid(4, length);
        m_input.remove(0, 4 + length + 2);
        if (!payload.isEmpty())
            handleRequest(payload);
    }
}

const ReceiverEmulator::Channel* ReceiverEmulator::find(int number) const
{
    for (const Channel& channel : m_lineup) {
        if (channel.number == number)
            return &channel;
    }
    return nullptr;
}

void ReceiverEmulator::handleRequest(const QByteArray& payload)
{
    m_requests.append(payload);
    if (m_silent)
        return;
    const quint8 command = quint8(payload.at(0));
    if (m_repliesToLose.value(command) > 0) {
        --m_repliesToLose[command];
        m_losing = true;
    }
    const char replyCode = char(command | 0x80);
    auto arg = [&](int index) { return index < payload.size() ? quint8(payload.at(index)) : 0; };

    if (command == 0x74) { // a car tuner's wake-up step: acknowledged, to be ignored
        reply(QByteArray("\xE4\x01\x00", 3));
        return;
    }
    if (command == 0x00) {
        m_poweredUp = true;
        if (!m_activated) // such a radio plays its preview
            m_tuned = m_preview;
        QByteArray power = QByteArray::fromHex("80"
                                               "0100"
                                               "002510292002010000017404052002"
                                               "08");
        power[1] = m_activated ? '\x01' : '\x03';
        power.append("EMU12345");
        reply(power);
        reply(QByteArray(m_activated ? "\xE0" : "\xE1"));
        return;
    }
    if (!m_poweredUp) {
        reply(bytes({replyCode, '\x07', '\x10'}));
        return;
    }
    switch (command) {
    case 0x10: {
        const Channel* channel = find(arg(2));
        QByteArray answer = bytes({replyCode, 1, 0, channel ? channel->serviceId : 0, arg(2), 0});
        if (!channel) {
            answer[1] = '\x03', answer[2] = '\x0B';
        } else if (!channel->subscribed || (!m_activated && channel->number != m_preview)) {
            answer[1] = '\x03', answer[2] = '\x09';
        } else {
            m_tuned = channel->number;
        }
        reply(answer);
        return;
    }
    case 0x13:
        m_muted = arg(1) != 0;
        reply(bytes({replyCode, '\x01', '\x00', char(m_muted ? 1 : 0)}));
        return;
    case 0x25: {
        const bool next = arg(1) == 0x09;
        const Channel* channel = nullptr;
        if (next) {
            for (const Channel& candidate : m_lineup) {
                if (candidate.number > arg(2)) {
                    channel = &candidate;
                    break;
                }
            }
        } else {
            channel = find(arg(2));
        }
        // A radio that is not activated names the channel it plays, whatever was asked.
        if (!m_activated)
            channel = find(m_tuned);
        reply(channelInfo(channel, arg(2), next));
        return;
    }
    case 0x22: {
        const Channel* channel = find(arg(1));
        if (!channel || channel->number != m_tuned) {
            reply(bytes({replyCode, '\x02', '\x12', char(arg(1))}) + QByteArray(74, '\0'));
            return;
        }
        reply(bytes({replyCode, '\x01', '\x00', char(channel->number), '\x01'}) + field(channel->artist, 36, '\0') +
              '\x01' + field(channel->title, 36, '\0'));
        return;
    }
    case 0x50:
        m_monitored = arg(1);
        reply(bytes({replyCode, '\x01', '\x00', char(m_monitored)}));
        if (const Channel* channel = find(m_monitored)) {
            sendMonitorEvents(*channel);
            m_songTimer.start();
        } else {
            m_songTimer.stop();
        }
        return;
    case 0x42:
        reply(bytes({replyCode, '\x01', '\x00'}));
        if (arg(1))
            m_pushTimer.start();
        else
            m_pushTimer.stop();
        return;
    case 0x43: {
        QByteArray report(26, '\0');
        report[0] = replyCode;
        report[1] = '\x01';
        report[3] = char(m_signal.satellite);
        report[4] = char(m_signal.antenna ? 3 : 0);
        report[5] = char(m_signal.terrestrial);
        report[6] = report[7] = char(m_signal.satellite > 0 ? 1 : 0);
        report[8] = char(m_signal.terrestrial > 0 ? 1 : 0);
        report.replace(16, 2, word(m_signal.terrestrialErrorRate));
        report[24] = char(m_signal.carrierToNoise1);
        report[25] = char(m_signal.carrierToNoise2);
        reply(report);
        return;
    }
    case 0x01:
        m_poweredUp = false;
        reply(bytes({replyCode}));
        return;
    default: reply(bytes({char(0xFF), '\x03', '\x0B'})); return;
    }
}

QByteArray ReceiverEmulator::channelInfo(const Channel* channel, int askedNumber, bool next)
{
    QByteArray noise;
    if (channel)
        noise = m_beforeInfo.take(channel->number);
    if (!noise.isEmpty())
        sendRaw(noise);
    if (!channel) {
        QByteArray info(77, '\0');
        info[0] = '\xA5';
        info[1] = next ? '\x04' : '\x03';
        info[2] = next ? '\x0E' : '\x0B';
        info[3] = char(next ? 0 : askedNumber);
        return info;
    }
    if (channel->subscribed && m_activated)
        return channelInfoPayload(*channel);
    // A channel that is not subscribed is answered with the texts of the channel the receiver
    // is on, under its own number, as the captured reply shows.
    const Channel* on = find(m_tuned);
    Channel shown = on ? *on : *channel;
    shown.number = channel->number;
    shown.serviceId = channel->serviceId;
    shown.subscribed = false;
    return channelInfoPayload(shown);
}

void ReceiverEmulator::sendMonitorEvents(const Channel& channel)
{
    const char number = char(channel.number);
    reply(QByteArray("\xD1") + number + '\x01' + field(channel.name, 16, ' ') + QByteArray(4, '\0'));
    reply(QByteArray("\xD2") + number + '\x13' + '\x01' + field(channel.category, 16, ' '));
    reply(QByteArray("\xD3") + number + '\x01' + field(channel.artist, 16, ' ') + field(channel.title, 16, ' '));
    sendSongTime();
}

// The song time counts up from the song's start and down to its end; talk channels have none.
void ReceiverEmulator::sendSongTime()
{
    for (Channel& channel : m_lineup) {
        if (channel.number != m_monitored)
            continue;
        const bool timed = channel.startedAgo + channel.endsIn > 0;
        reply(songTimePayload(channel.number, channel.startedAgo, channel.endsIn));
        if (timed && channel.endsIn > 0)
            ++channel.startedAgo, --channel.endsIn;
    }
}

void ReceiverEmulator::sendPushedSignal()
{
    QByteArray report(22, '\0');
    report[0] = '\xC1';
    report[1] = char(m_signal.satellite);
    report[2] = char(m_signal.antenna ? 3 : 0);
    report[3] = char(m_signal.terrestrial);
    report[4] = report[5] = char(m_signal.satellite > 0 ? 1 : 0);
    report[6] = char(m_signal.terrestrial > 0 ? 1 : 0);
    report.replace(14, 2, word(m_signal.terrestrialErrorRate));
    reply(report);
}

void ReceiverEmulator::reply(QByteArray payload)
{
    if (std::exchange(m_losing, false))
        return;
    QByteArray bytes = frame(payload, m_trailer);
    if (m_truncateNext) {
        m_truncateNext = false;
        bytes.truncate(bytes.size() / 2);
    }
    m_output.append(bytes);
    flushOutput();
}

// Paced output leaves as many bytes as the line has carried since the last tick.
void ReceiverEmulator::flushOutput()
{
    if (m_master < 0 || m_output.isEmpty()) {
        m_pace.stop();
        return;
    }
    qsizetype budget = m_output.size();
    if (m_baud > 0) {
        if (!m_pace.isActive()) {
            m_paceClock.start();
            m_credit = 0;
            m_pace.start();
            return;
        }
        m_credit += double(m_paceClock.restart()) * m_baud / 10 / 1000;
        budget = qsizetype(m_credit);
        if (budget == 0)
            return;
    }
    const ssize_t written = ::write(m_master, m_output.constData(), size_t(std::min(budget, m_output.size())));
    if (written > 0) {
        m_output.remove(0, written);
        m_credit -= double(written);
    }
    if (m_output.isEmpty())
        m_pace.stop();
    else if (!m_pace.isActive()) // the terminal is full: try again shortly
        m_pace.start();
}
