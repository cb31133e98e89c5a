// The pump. A live input sets the pace: each step read is written out at once, over a small
// cushion of silence that absorbs the two sides' jitter. Whatever the output holds when its
// queue has settled stays as a delay for good, so the cushion goes out with the first step (not
// at the opening, where it would drain before the input starts), and a queue that grows past
// its settled size (an input whose clock runs ahead of the output's, a burst after a stall)
// loses a step. A made programme is written whenever the output has room for a step. Every wait
// is bounded, so a stop is heard within a step or two.
#include "playthrough.h"

#include "logging.h"

#include <algorithm>
#include <cerrno>

namespace sound {

namespace {

// The output's buffer and the silence written ahead of a live input. The line-in's sound leaves
// about a step, the cushion and the sound server's own latency after it came in.
constexpr unsigned OutputBufferMs = 60;
constexpr unsigned CushionMs = 20;
// The most a turn of the pump takes from a live input.
constexpr unsigned ReadMs = 200;
// How often the live output's queue is weighed: its smallest size over this time is what it
// holds for good.
constexpr qint64 QueueWindowMs = 1000;
constexpr int WaitMs = 200;
// A stream that gives or takes nothing for this long is taken to be lost.
constexpr int LostMs = 2000;
constexpr qint64 XrunLogMs = 60000;
constexpr int EndMs = 2000;

} // namespace

PlayThrough::PlayThrough(std::unique_ptr<SoundSource> source, QString output)
    : m_source(std::move(source))
    , m_output(std::move(output))
{
}

// A thread held up inside a sound library (a server that stopped answering) must not hold up
// the service's end: after a while it is left behind, and ends with the process.
PlayThrough::~PlayThrough()
{
    std::unique_lock guard(m_lock);
    m_stop = true;
    m_wake.notify_all();
    if (!m_thread.joinable())
        return;
    if (m_wake.wait_for(guard, std::chrono::milliseconds(EndMs), [this] { return m_finished; })) {
        guard.unlock();
        m_thread.join();
        return;
    }
    qCWarning(lcSound) << "the sound did not end in time; leaving it behind";
    m_thread.detach();
}

void PlayThrough::start()
{
    m_thread = std::thread([this] {
        run();
        const std::lock_guard guard(m_lock);
        m_finished = true;
        m_wake.notify_all();
    });
}

void PlayThrough::setMuted(bool muted)
{
    m_muted = muted;
}

void PlayThrough::keepMinutes(int minutes)
{
    const std::lock_guard guard(m_shiftLock);
    m_shift = minutes > 0 ? std::make_unique<TimeShiftBuffer>(minutes) : nullptr;
    if (m_shift && !m_shift->failure().isEmpty()) {
        qCWarning(lcSound).noquote() << QStringLiteral("no time shift: %1").arg(m_shift->failure());
        m_shift.reset();
    }
}

PlayThrough::Shift PlayThrough::shift() const
{
    const std::lock_guard guard(m_shiftLock);
    if (!m_shift || !m_keeping)
        return {};
    return {true,
            m_shift->paused(),
            m_shift->behindLiveSeconds(),
            m_shift->bufferedSeconds(),
            m_shift->secondsIntoSong(),
            m_shift->songHeard()};
}

template <typename Change> void PlayThrough::changeShift(Change change, bool jump)
{
    const std::lock_guard guard(m_shiftLock);
    if (!m_shift)
        return;
    change(*m_shift);
    // What the output still holds is of the moment left: it goes, so that the new one is heard
    // at once.
    if (jump)
        m_jumped = true;
}

void PlayThrough::pause()
{
    changeShift([](TimeShiftBuffer& kept) { kept.pause(); }, false);
}

void PlayThrough::resume()
{
    changeShift([](TimeShiftBuffer& kept) { kept.resume(); }, false);
}

void PlayThrough::goLive()
{
    changeShift([](TimeShiftBuffer& kept) { kept.goLive(); }, true);
}

void PlayThrough::nextSong()
{
    changeShift([](TimeShiftBuffer& kept) { kept.next(); }, true);
}

void PlayThrough::previousSong()
{
    changeShift([](TimeShiftBuffer& kept) { kept.previous(); }, true);
}

void PlayThrough::seekInSong(double seconds)
{
    changeShift([seconds](TimeShiftBuffer& kept) { kept.seek(seconds); }, true);
}

void PlayThrough::songBegan(const SongInfo& song)
{
    changeShift([&song](TimeShiftBuffer& kept) { kept.markSong(song); }, false);
}

void PlayThrough::songTime(qint32 position, qint32 length)
{
    changeShift([position, length](TimeShiftBuffer& kept) { kept.setSongTime(position, length); }, false);
}

void PlayThrough::channelChanged()
{
    changeShift([](TimeShiftBuffer& kept) { kept.clear(); }, true);
}

KeptSong PlayThrough::keepSongHeard() const
{
    const std::lock_guard guard(m_shiftLock);
    return m_shift && m_keeping ? KeepSongHeard(*m_shift) : KeptSong{};
}

void PlayThrough::run()
{
    while (!stopping()) {
        QString failure = openStreams();
        if (failure.isEmpty())
            failure = m_source->isLive() ? pumpLive() : pumpMade();
        closeStreams();
        if (stopping())
            break;
        noteFailure(failure);
        std::unique_lock guard(m_lock);
        m_wake.wait_for(guard, std::chrono::milliseconds(RetryMs), [this] { return stopping(); });
    }
}

QString PlayThrough::openStreams()
{
    if (const QString failure = m_source->open(DefaultRate); !failure.isEmpty())
        return QStringLiteral("no sound from %1: %2").arg(m_source->name(), failure);
    const unsigned rate = m_source->rate();
    AlsaPcm::Opened out = AlsaPcm::open(m_output, AlsaPcm::Direction::Playback, rate, OutputBufferMs);
    if (!out.pcm) {
        m_source->close();
        return outputFailure(out.failure);
    }
    m_out = std::move(out.pcm);
    m_stepFrames = framesIn(rate, StepMs);
    m_step.assign(std::size_t(framesIn(rate, ReadMs)) * Channels, 0);
    m_behind.assign(m_step.size(), 0);
    {
        const std::lock_guard guard(m_shiftLock);
        m_keeping = m_shift && rate == TimeShiftBuffer::Rate;
        if (m_shift && !m_keeping && !std::exchange(m_rateLogged, true))
            qCWarning(lcSound).noquote() << QStringLiteral("no time shift: %1 gives %2 Hz, and only %3 Hz is kept")
                                                .arg(m_source->name())
                                                .arg(rate)
                                                .arg(TimeShiftBuffer::Rate);
    }
    m_silenced = false;
    restartQueue();
    m_playing.start();
    if (!std::exchange(m_everPlayed, true))
        qCInfo(lcSound).noquote()
            << QStringLiteral("playing %1 on \"%2\" at %3 Hz").arg(m_source->name(), m_output).arg(rate);
    return {};
}

void PlayThrough::closeStreams()
{
    m_out.reset();
    m_source->close();
}

// Everything the input holds is read at each turn. The sound server's ALSA plugin keeps a piece
// of the server's memory for as long as a read leaves part of it; a server that ends meanwhile
// makes its client library wait for that piece for ever, and the sound would never come back.
QString PlayThrough::pumpLive()
{
    QElapsedTimer quiet;
    quiet.start();
    while (!stopping()) {
        SourceRead got = m_source->read(m_step.data(), long(m_step.size() / Channels), WaitMs);
        if (!got.failure.isEmpty())
            return QStringLiteral("no sound from %1: %2").arg(m_source->name(), got.failure);
        noteXruns();
        if (got.frames == 0) {
            if (quiet.hasExpired(LostMs))
                return QStringLiteral("no sound from %1: nothing came for 2 s").arg(m_source->name());
            continue;
        }
        quiet.restart();
        // After a stall (the thread held up, the server late) only the newest step goes out.
        if (got.frames > 2 * m_stepFrames) {
            std::copy(m_step.begin() + (got.frames - m_stepFrames) * Channels, m_step.begin() + got.frames * Channels,
                      m_step.begin());
            got.frames = m_stepFrames;
        }
        if (const QString failure = deliver(got.frames); !failure.isEmpty())
            return failure;
    }
    return {};
}

QString PlayThrough::pumpMade()
{
    QElapsedTimer quiet;
    quiet.start();
    while (!stopping()) {
        const int ready = m_out->wait(WaitMs);
        long room = ready < 0 ? ready : m_out->avail();
        if (room < 0) {
            if (const QString failure = writeOut(nullptr, long(room)); !failure.isEmpty())
                return failure;
            continue;
        }
        noteXruns();
        if (room < m_stepFrames && quiet.hasExpired(LostMs))
            return outputFailure(QStringLiteral("it took nothing for 2 s"));
        for (; room >= m_stepFrames; room -= m_stepFrames) {
            quiet.restart();
            m_source->read(m_step.data(), m_stepFrames, 0);
            if (const QString failure = deliver(m_stepFrames); !failure.isEmpty())
                return failure;
        }
    }
    return {};
}

// From source to output: the step is silenced while muted or paused (the source goes on, so that
// it never overruns), and a mute, a pause, their end or a jump throws away what the output still
// holds, so that it is heard at once.
QString PlayThrough::deliver(long frames)
{
    const bool muted = shiftStep(frames) || m_muted.load();
    // The silence queued while muted goes too, so that the sound comes back as soon as it went.
    if (muted != m_silenced || m_jumped.exchange(false)) {
        m_out->discard();
        restartQueue();
    }
    m_silenced = muted;
    if (muted)
        std::fill_n(m_step.begin(), frames * Channels, Sample(0));
    if (m_failureLogged && m_playing.hasExpired(LostMs))
        m_failureLogged = false;
    if (m_source->isLive() && queueGrown()) {
        ++m_leftOut;
        return {};
    }
    return writeOut(m_step.data(), frames);
}

// Keeps the step for time shift and puts in its place what is heard: the step itself at live, the
// kept sound behind live. Returns whether what is heard is paused.
bool PlayThrough::shiftStep(long frames)
{
    if (!m_keeping.load(std::memory_order_relaxed))
        return false;
    const std::lock_guard guard(m_shiftLock);
    m_shift->append(m_step.data(), frames);
    if (m_shift->atLive())
        return false;
    if (m_shift->paused())
        return true;
    const long got = m_shift->readBehind(m_behind.data(), frames);
    const auto rest = [&](std::vector<Sample>& v) { return v.begin() + std::ptrdiff_t(got) * Channels; };
    if (m_shift->atLive()) // caught up within the step: the rest of it is live
        std::copy(rest(m_step), m_step.begin() + std::ptrdiff_t(frames) * Channels, rest(m_behind));
    else
        std::fill(rest(m_behind), m_behind.begin() + std::ptrdiff_t(frames) * Channels, Sample(0));
    std::copy_n(m_behind.begin(), std::ptrdiff_t(frames) * Channels, m_step.begin());
    return false;
}

// Writes the frames, or only recovers when samples is null and frames is an error the output
// gave. An underrun is recovered with a new cushion; a full output drops the step.
QString PlayThrough::writeOut(const Sample* samples, long frames)
{
    long written = samples ? m_out->write(samples, frames) : frames;
    if (written == -EPIPE || written == -ESTRPIPE) {
        ++m_underruns;
        if (!m_out->recover(int(written)))
            return outputFailure(AlsaPcm::errorText(int(written)));
        restartQueue();
        if (!samples)
            return {};
        cushion();
        written = m_out->write(samples, frames);
    }
    if (written < 0 && written != -EAGAIN)
        return outputFailure(AlsaPcm::errorText(int(written)));
    return {};
}

// The output's queue starts anew: empty, with its settled size unknown.
void PlayThrough::restartQueue()
{
    m_cushioned = !m_source->isLive();
    m_settledQueue = -1;
    m_smallestQueue = -1;
    m_queueWeighed.start();
}

void PlayThrough::cushion()
{
    if (std::exchange(m_cushioned, true))
        return;
    const std::vector<Sample> silence(std::size_t(framesIn(m_out->rate(), CushionMs)) * Channels, 0);
    m_out->write(silence.data(), long(silence.size() / Channels));
}

// Weighs the live output's queue; true when it holds more than two steps above the size it
// settled at, and so this step is to be left out.
bool PlayThrough::queueGrown()
{
    cushion();
    const long queued = m_out->delay();
    if (queued >= 0 && (m_smallestQueue < 0 || queued < m_smallestQueue))
        m_smallestQueue = queued;
    if (!m_queueWeighed.hasExpired(QueueWindowMs))
        return false;
    m_queueWeighed.restart();
    const long smallest = std::exchange(m_smallestQueue, -1);
    if (m_settledQueue < 0) {
        m_settledQueue = smallest;
        return false;
    }
    return smallest > m_settledQueue + 2 * m_stepFrames;
}

QString PlayThrough::outputFailure(const QString& reason) const
{
    return QStringLiteral("no sound on the output \"%1\": %2").arg(m_output, reason);
}

// One line for a loss, however many tries it takes to get the sound back.
void PlayThrough::noteFailure(const QString& failure)
{
    if (std::exchange(m_failureLogged, true))
        return;
    qCWarning(lcSound).noquote() << failure + QStringLiteral("; trying again every 2 s");
}

// Overruns, underruns and steps left out are recovered at once; the log counts them, at most once
// a minute.
void PlayThrough::noteXruns()
{
    m_overruns += m_source->takeOverruns();
    if (m_overruns + m_underruns + m_leftOut == 0 || (m_xrunsLogged.isValid() && !m_xrunsLogged.hasExpired(XrunLogMs)))
        return;
    qCWarning(lcSound).noquote() << QStringLiteral("%1 overruns of %2, %3 underruns of the output and %4 steps left "
                                                   "out of a grown queue since the last count, each recovered")
                                        .arg(m_overruns)
                                        .arg(m_source->name())
                                        .arg(m_underruns)
                                        .arg(m_leftOut);
    m_overruns = m_underruns = m_leftOut = 0;
    m_xrunsLogged.start();
}

} // namespace sound
