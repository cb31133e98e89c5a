// Choosing the sound's source and wiring the back-end's reports, mute requests and time shift's
// methods to it.
#include "servicesound.h"

#include "logging.h"
#include "service/sound/capturesource.h"
#include "service/sound/programme.h"

#include <QDir>
#include <QStandardPaths>
#include <QThreadPool>

namespace xmservice {

namespace {

constexpr int ReportIntervalMs = 1000;

std::unique_ptr<sound::Programme> programmeOf(RadioBackend& backend, QObject* context)
{
    auto programme = std::make_unique<sound::Programme>();
    QObject::connect(&backend, &RadioBackend::CurrentChannelData, context,
                     [playing = programme.get()](int number, const QString&, const QString& artist,
                                                 const QString& title, const QString&) {
                         playing->follow(number, sound::songSeed(number, artist, title));
                     });
    return programme;
}

bool sameSong(const sound::SongInfo& a, const sound::SongInfo& b)
{
    return a.channel == b.channel && a.artist == b.artist && a.title == b.title;
}

} // namespace

ServiceSound::ServiceSound(RadioBackend& backend, bool simulated, const QString& source, const QString& settingsPath,
                           int minutes)
    : m_backend(backend)
{
    if (source == QLatin1String("none")) {
        qCInfo(lcService).noquote() << "no sound is played: Source=none";
        return;
    }
    std::unique_ptr<sound::SoundSource> input;
    if (simulated)
        input = programmeOf(backend, this);
    else
        input = std::make_unique<sound::CaptureSource>(
            source, QStringLiteral("no line input found; name the receiver's input as Source= in [Audio] of %1 "
                                   "(xmctl --sources lists them), or set Source=none when the receiver is "
                                   "wired to an amplifier")
                        .arg(settingsPath));
    m_player = std::make_unique<sound::PlayThrough>(std::move(input));
    connect(&backend, &RadioBackend::muteRequested, this, [this](bool muted) { m_player->setMuted(muted); });
    if (minutes > 0) {
        m_player->keepMinutes(minutes);
        followTheRadio();
        backend.setTimeShift(this);
    }
    m_player->start();
}

ServiceSound::~ServiceSound()
{
    m_backend.setTimeShift(nullptr);
}

// The live side of time shift: another channel empties what is kept, each new song is marked.
void ServiceSound::followTheRadio()
{
    connect(&m_backend, &RadioBackend::ChannelChange, this, [this] {
        m_marked.reset();
        m_player->channelChanged();
        report();
    });
    connect(&m_backend, &RadioBackend::CurrentChannelData, this, &ServiceSound::onCurrentChannelData);
    connect(&m_backend, &RadioBackend::CurrentTime, this,
            [this](int position, int duration) { m_player->songTime(position, duration); });
    connect(&m_reports, &QTimer::timeout, this, &ServiceSound::report);
    m_reports.start(ReportIntervalMs);
}

void ServiceSound::onCurrentChannelData(int number, const QString& station, const QString& artist, const QString& title,
                                        const QString& genre)
{
    const sound::SongInfo song{number, station, artist, title, genre};
    if (m_marked && sameSong(*m_marked, song))
        return;
    m_marked = song;
    m_player->songBegan(song);
}

void ServiceSound::report()
{
    const sound::PlayThrough::Shift shift = m_player->shift();
    if (!shift.on)
        return;
    emit m_backend.TimeShiftChanged(shift.paused, shift.behindLive, shift.buffered, shift.intoSong);
    if (shift.behindLive <= 0 || !shift.song) {
        m_announced.reset();
        return;
    }
    const sound::SongInfo& song = shift.song->song;
    // A song's texts can be completed after its mark: they are announced again.
    const Announced heard{shift.song->frame, song.artist, song.title};
    if (m_announced == heard)
        return;
    m_announced = heard;
    emit m_backend.SongHeard(song.channel, song.station, song.artist, song.title, song.genre, song.lengthSeconds);
}

template <typename Command> void ServiceSound::command(Command run)
{
    run(*m_player);
    report();
}

void ServiceSound::pause()
{
    command([](sound::PlayThrough& player) { player.pause(); });
}

void ServiceSound::resume()
{
    command([](sound::PlayThrough& player) { player.resume(); });
}

void ServiceSound::goLive()
{
    command([](sound::PlayThrough& player) { player.goLive(); });
}

void ServiceSound::nextSong()
{
    command([](sound::PlayThrough& player) { player.nextSong(); });
}

void ServiceSound::previousSong()
{
    command([](sound::PlayThrough& player) { player.previousSong(); });
}

void ServiceSound::seek(double position)
{
    command([position](sound::PlayThrough& player) { player.seekInSong(position); });
}

TimeShiftControl::State ServiceSound::state() const
{
    const sound::PlayThrough::Shift shift = m_player->shift();
    return {shift.on, shift.paused, shift.behindLive, shift.buffered, shift.intoSong};
}

QString ServiceSound::songFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::MusicLocation)).filePath(QStringLiteral("VANTO XM"));
}

// The kept packets are copied at once (the buffer moves on); decoding and encoding them again
// runs on a worker.
void ServiceSound::saveSong(std::function<void(const QString& path, const QString& failure)> done)
{
    QThreadPool::globalInstance()->start(
        [kept = m_player->keepSongHeard(), folder = songFolder(), done = std::move(done)] {
            const sound::SavedSong saved = sound::SaveSong(kept, folder);
            if (saved.failure.isEmpty())
                qCInfo(lcService).noquote() << "song saved as" << saved.path;
            else
                qCWarning(lcService).noquote() << "no song saved:" << saved.failure;
            done(saved.path, saved.failure);
        });
}

} // namespace xmservice
