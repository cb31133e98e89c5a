#include "alsamixer.h"
#include "volume/logging.h"

#include "volume/rawlevel.h"

#include <QLoggingCategory>
#include <QStringList>
#include <algorithm>
#include <alsa/asoundlib.h>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

namespace volume {

namespace {

// The capture the meter reads: 8000 samples a second, mono, 8 bits, two blocks of 8192.
constexpr unsigned CaptureRate = 8000;
constexpr snd_pcm_uframes_t CaptureBlock = 8192;
constexpr int CaptureBlocks = 2;

// The element names that serve each line, the first one found wins.
std::vector<const char*> elementNames(Line line)
{
    switch (line) {
    case Line::Master: return {"Master", "PCM"};
    case Line::Microphone: return {"Mic"};
    case Line::LineIn: return {"Line"};
    case Line::CD: return {"CD"};
    case Line::Synthesizer: return {"Synth"};
    case Line::Wave: return {"PCM"};
    }
    return {};
}

// Inputs are muted and leveled on their capture side when they have one.
bool isInput(Line line)
{
    return line == Line::Microphone || line == Line::LineIn || line == Line::CD;
}

QString errorText(int code)
{
    return QString::fromLocal8Bit(snd_strerror(code));
}

// While an opening runs on the mixer's thread, ALSA's complaints are gathered here: a missing
// card or server makes ALSA complain eight times, and the log gets one line for them.
thread_local QStringList* gatheredReports = nullptr;

// ALSA writes its complaints to the terminal; they go to the log instead.
void logAlsaError(const char* file, int line, const char* function, int err, const char* format, ...)
{
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof(text), format, arguments);
    va_end(arguments);
    QString report = QString::fromLocal8Bit(text);
    if (err)
        report += QLatin1String(": ") + errorText(err);
    if (gatheredReports)
        gatheredReports->append(report);
    else
        qCDebug(lcVolume).noquote() << "ALSA:" << file << line << function << report;
}

// Why an opening failed, in one line: ALSA's first complaint (the cause) and its last (what
// could not be opened).
QString openFailure(MixerDevice::OpenResult result, const QStringList& reports)
{
    if (reports.isEmpty())
        return result == MixerDevice::OpenResult::NoDevice ? QStringLiteral("no such device")
                                                           : QStringLiteral("its controls cannot be read");
    return reports.size() == 1 ? reports.front() : reports.front() + QLatin1String("; ") + reports.back();
}

} // namespace

qint32 PeakOfSamples(const unsigned char* samples, long count)
{
    int peak = 0;
    for (long i = 0; i < count; ++i)
        peak = std::max(peak, std::abs(int(samples[i]) - 128));
    return std::min(peak, 127);
}

// One side of a line: the element that serves it and whether it is read on the capture side.
struct Control {
    snd_mixer_elem_t* elem = nullptr;
    bool capture = false;
    long minimum = 0;
    long maximum = 0;
    // The last value read and its level: the level is worked out again only on a change.
    long lastRaw = -1;
    qint32 lastLevel = 0;
};

// ALSA's state and the mixer's thread, shared with the thread so that a call that comes back
// late still finds it. The mixer is guarded by mixerLock: the thread holds it for opening and
// writing, the window's thread only tries it for a read. The capture is the thread's alone.
struct AlsaMixer::Alsa {
    std::mutex mixerLock;
    std::mutex lock;
    std::condition_variable wake;
    std::condition_variable done;
    std::function<void(Alsa&)> job;
    bool running = false;
    // The caller stopped waiting for the job that runs now.
    bool abandoned = false;
    bool quit = false;
    bool finished = false;
    std::thread thread;
    // Set by whichever thread finds the connection broken; cleared by an opening that succeeds.
    std::atomic<bool> lost{false};

    QByteArray device;
    snd_mixer_t* mixer = nullptr;
    // The last failure to open that was logged: a missing server is logged once, not at every try.
    QString lastFailure;
    std::array<Control, LineCount> levels{};
    std::array<Control, LineCount> mutes{};
    snd_pcm_t* pcm = nullptr;
    std::array<std::vector<unsigned char>, CaptureBlocks> blocks;
    int nextBlock = 0;

    void loop()
    {
        for (;;) {
            std::function<void(Alsa&)> next;
            {
                std::unique_lock<std::mutex> l(lock);
                wake.wait(l, [this] { return quit || job; });
                if (!job)
                    break;
                next = std::move(job);
                job = nullptr;
                abandoned = false;
            }
            next(*this);
            {
                std::lock_guard<std::mutex> l(lock);
                running = false;
            }
            done.notify_all();
        }
        closeCapture();
        {
            std::lock_guard<std::mutex> l(mixerLock);
            closeMixer();
        }
        std::lock_guard<std::mutex> l(lock);
        finished = true;
        done.notify_all();
    }

    // Opens the mixer of a device, closing the one open before. A fresh configuration is read
    // first when asked: ALSA reads it once per process and picks the sound server's plugin while
    // reading it, so a server started after the program is reached only through a fresh one.
    OpenResult open(const QByteArray& name, bool freshConfiguration)
    {
        std::lock_guard<std::mutex> l(mixerLock);
        const bool wasLost = lost;
        closeMixer();
        device = name;
        if (freshConfiguration && !pcm)
            snd_config_update_free_global();
        QStringList reports;
        gatheredReports = &reports;
        const OpenResult result = attach();
        gatheredReports = nullptr;
        if (result == OpenResult::Opened)
            lost = false;
        logOpening(result, reports, wasLost);
        return result;
    }

    // One line for a failure, not repeated by the tries after it; one when the mixer is back.
    void logOpening(OpenResult result, const QStringList& reports, bool wasLost)
    {
        const QString failure = result == OpenResult::Opened ? QString() : openFailure(result, reports);
        if (failure == lastFailure && !(failure.isEmpty() && wasLost))
            return;
        if (failure.isEmpty())
            qCInfo(lcVolume) << "the mixer of" << device << "is open";
        else
            qCWarning(lcVolume).noquote() << QStringLiteral("the mixer of \"%1\" cannot be opened: %2")
                                                 .arg(QString::fromLocal8Bit(device), failure);
        lastFailure = failure;
    }

    void closeMixer()
    {
        if (mixer)
            snd_mixer_close(mixer);
        mixer = nullptr;
        levels = {};
        mutes = {};
    }

    OpenResult attach()
    {
        if (snd_mixer_open(&mixer, 0) < 0) {
            mixer = nullptr;
            return OpenResult::NoDevice;
        }
        if (snd_mixer_attach(mixer, device.constData()) < 0) {
            snd_mixer_close(mixer);
            mixer = nullptr;
            return OpenResult::NoDevice;
        }
        if (snd_mixer_selem_register(mixer, nullptr, nullptr) < 0 || snd_mixer_load(mixer) < 0)
            return OpenResult::CannotOpen;
        for (int i = 0; i < LineCount; ++i) {
            levels[size_t(i)] = findLevel(Line(i));
            mutes[size_t(i)] = findMute(Line(i));
        }
        return OpenResult::Opened;
    }

    snd_mixer_elem_t* element(const char* name) const
    {
        snd_mixer_selem_id_t* id = nullptr;
        snd_mixer_selem_id_alloca(&id);
        snd_mixer_selem_id_set_name(id, name);
        snd_mixer_selem_id_set_index(id, 0);
        return snd_mixer_find_selem(mixer, id);
    }

    Control findLevel(Line line) const
    {
        for (const char* name : elementNames(line)) {
            snd_mixer_elem_t* e = element(name);
            if (!e)
                continue;
            Control c{e, false, 0, 0};
            if (isInput(line) && snd_mixer_selem_has_capture_volume(e)) {
                c.capture = true;
                snd_mixer_selem_get_capture_volume_range(e, &c.minimum, &c.maximum);
                return c;
            }
            if (snd_mixer_selem_has_playback_volume(e)) {
                snd_mixer_selem_get_playback_volume_range(e, &c.minimum, &c.maximum);
                return c;
            }
        }
        return {};
    }

    Control findMute(Line line) const
    {
        for (const char* name : elementNames(line)) {
            snd_mixer_elem_t* e = element(name);
            if (!e)
                continue;
            if (isInput(line) && snd_mixer_selem_has_capture_switch(e))
                return Control{e, true, 0, 1};
            if (snd_mixer_selem_has_playback_switch(e))
                return Control{e, false, 0, 1};
        }
        return {};
    }

    // Outside changes (a desktop applet, a volume key) are seen once ALSA's pending events
    // are handled; without this the element keeps the value of its last event. A connection
    // that broke (the server ended, the card went) shows here first.
    void handleEvents()
    {
        if (mixer && snd_mixer_handle_events(mixer) < 0 && !lost.exchange(true))
            qCWarning(lcVolume) << "the mixer of" << device << "is lost: it is opened again";
    }

    // A write waits for the server first, with a read that changes nothing (on a card it is a
    // plain read). The caller gives up waiting for a server that does not answer in time, and a
    // write given up must not reach the server when it wakes up again: the write is then dropped.
    bool stillWanted()
    {
        snd_hctl_t* hctl = nullptr;
        if (snd_mixer_get_hctl(mixer, device.constData(), &hctl) == 0) {
            if (snd_hctl_elem_t* first = snd_hctl_first_elem(hctl)) {
                snd_ctl_elem_value_t* value = nullptr;
                snd_ctl_elem_value_alloca(&value);
                snd_hctl_elem_read(first, value);
            }
        }
        std::lock_guard<std::mutex> l(lock);
        return !abandoned;
    }

    // Reads take the values ALSA holds after handling its pending events, which needs no answer
    // from the sound server: they run on the caller's thread. While a write or the opening
    // waits for a server that does not answer, the read gives nothing rather than wait too.
    std::optional<qint32> readLevel(Line line)
    {
        std::unique_lock<std::mutex> l(mixerLock, std::try_to_lock);
        if (!l.owns_lock())
            return std::nullopt;
        handleEvents();
        Control& c = levels[size_t(line)];
        if (!c.elem || lost)
            return std::nullopt;
        long raw = 0;
        const int err = c.capture ? snd_mixer_selem_get_capture_volume(c.elem, SND_MIXER_SCHN_FRONT_LEFT, &raw)
                                  : snd_mixer_selem_get_playback_volume(c.elem, SND_MIXER_SCHN_FRONT_LEFT, &raw);
        if (err < 0)
            return std::nullopt;
        if (raw != c.lastRaw) {
            c.lastRaw = raw;
            c.lastLevel = ToFullScale(raw, c.minimum, c.maximum);
        }
        return c.lastLevel;
    }

    int writeLevel(Line line, qint32 level)
    {
        std::lock_guard<std::mutex> l(mixerLock);
        handleEvents();
        const Control& c = levels[size_t(line)];
        if (!c.elem)
            return -ENOENT;
        if (!stillWanted())
            return -ETIMEDOUT;
        long present = c.minimum;
        if (c.capture)
            snd_mixer_selem_get_capture_volume(c.elem, SND_MIXER_SCHN_FRONT_LEFT, &present);
        else
            snd_mixer_selem_get_playback_volume(c.elem, SND_MIXER_SCHN_FRONT_LEFT, &present);
        const long raw = RawForLevel(level, present, c.minimum, c.maximum);
        return c.capture ? snd_mixer_selem_set_capture_volume_all(c.elem, raw)
                         : snd_mixer_selem_set_playback_volume_all(c.elem, raw);
    }

    std::optional<bool> readMuted(Line line)
    {
        std::unique_lock<std::mutex> l(mixerLock, std::try_to_lock);
        if (!l.owns_lock())
            return std::nullopt;
        handleEvents();
        const Control& c = mutes[size_t(line)];
        if (!c.elem || lost)
            return std::nullopt;
        int on = 1;
        const int err = c.capture ? snd_mixer_selem_get_capture_switch(c.elem, SND_MIXER_SCHN_FRONT_LEFT, &on)
                                  : snd_mixer_selem_get_playback_switch(c.elem, SND_MIXER_SCHN_FRONT_LEFT, &on);
        if (err < 0)
            return std::nullopt;
        return on == 0;
    }

    int writeMuted(Line line, bool muted)
    {
        std::lock_guard<std::mutex> l(mixerLock);
        handleEvents();
        const Control& c = mutes[size_t(line)];
        if (!c.elem)
            return -ENOENT;
        if (!stillWanted())
            return -ETIMEDOUT;
        return c.capture ? snd_mixer_selem_set_capture_switch_all(c.elem, muted ? 0 : 1)
                         : snd_mixer_selem_set_playback_switch_all(c.elem, muted ? 0 : 1);
    }

    CaptureError openCapture(const QByteArray& device)
    {
        closeCapture();
        const int err = snd_pcm_open(&pcm, device.constData(), SND_PCM_STREAM_CAPTURE, SND_PCM_NONBLOCK);
        if (err < 0) {
            pcm = nullptr;
            return {err, errorText(err)};
        }
        for (auto& block : blocks)
            block.assign(CaptureBlock, 128);
        return {};
    }

    CaptureError startCapture()
    {
        if (!pcm)
            return {-EBADFD, errorText(-EBADFD)};
        snd_pcm_hw_params_t* params = nullptr;
        snd_pcm_hw_params_alloca(&params);
        unsigned rate = CaptureRate;
        snd_pcm_uframes_t period = CaptureBlock;
        snd_pcm_uframes_t buffer = CaptureBlock * CaptureBlocks;
        int err = snd_pcm_hw_params_any(pcm, params);
        if (err >= 0)
            err = snd_pcm_hw_params_set_access(pcm, params, SND_PCM_ACCESS_RW_INTERLEAVED);
        if (err >= 0)
            err = snd_pcm_hw_params_set_format(pcm, params, SND_PCM_FORMAT_U8);
        if (err >= 0)
            err = snd_pcm_hw_params_set_channels(pcm, params, 1);
        if (err >= 0)
            err = snd_pcm_hw_params_set_rate_near(pcm, params, &rate, nullptr);
        if (err >= 0)
            err = snd_pcm_hw_params_set_period_size_near(pcm, params, &period, nullptr);
        if (err >= 0)
            err = snd_pcm_hw_params_set_buffer_size_near(pcm, params, &buffer);
        if (err >= 0)
            err = snd_pcm_hw_params(pcm, params);
        if (err >= 0)
            err = snd_pcm_start(pcm);
        if (err < 0)
            return {err, errorText(err)};
        return {};
    }

    // Reads whatever the device has captured, block by block, without waiting.
    std::optional<qint32> readMeter()
    {
        if (!pcm)
            return std::nullopt;
        std::optional<qint32> peak;
        for (int guard = 0; guard < 16; ++guard) {
            std::vector<unsigned char>& block = blocks[size_t(nextBlock)];
            const snd_pcm_sframes_t n = snd_pcm_readi(pcm, block.data(), block.size());
            if (n == -EPIPE || n == -ESTRPIPE) {
                // Readings came too seldom and the blocks ran over: start again.
                snd_pcm_prepare(pcm);
                snd_pcm_start(pcm);
                continue;
            }
            if (n <= 0)
                break;
            peak = std::max(peak.value_or(0), PeakOfSamples(block.data(), n));
            nextBlock = (nextBlock + 1) % CaptureBlocks;
        }
        return peak;
    }

    void closeCapture()
    {
        if (!pcm)
            return;
        snd_pcm_drop(pcm);
        snd_pcm_close(pcm);
        pcm = nullptr;
        for (auto& block : blocks)
            std::vector<unsigned char>().swap(block);
    }
};

AlsaMixer::AlsaMixer(QString device, AlsaTimeouts timeouts)
    : m_device(std::move(device))
    , m_timeouts(timeouts)
    , m_alsa(std::make_shared<Alsa>())
{
    static std::once_flag quiet;
    std::call_once(quiet, [] { snd_lib_error_set_handler(logAlsaError); });
    m_alsa->thread = std::thread([alsa = m_alsa] { alsa->loop(); });
}

AlsaMixer::~AlsaMixer()
{
    std::unique_lock<std::mutex> l(m_alsa->lock);
    m_alsa->quit = true;
    m_alsa->wake.notify_all();
    // A thread stuck in a call to a hung server is left behind rather than waited for; it ends
    // with the process.
    if (m_alsa->done.wait_for(l, std::chrono::milliseconds(m_timeouts.callMs), [this] { return m_alsa->finished; })) {
        l.unlock();
        m_alsa->thread.join();
    } else {
        qCWarning(lcVolume) << "the sound server does not answer: the mixer is left open";
        l.unlock();
        m_alsa->thread.detach();
    }
}

bool AlsaMixer::start([[maybe_unused]] std::unique_lock<std::mutex>& held, std::function<void(Alsa&)> job)
{
    if (m_alsa->running)
        return false;
    m_alsa->job = std::move(job);
    m_alsa->running = true;
    m_alsa->wake.notify_all();
    return true;
}

bool AlsaMixer::run(std::function<void(Alsa&)> job, int ms)
{
    std::unique_lock<std::mutex> l(m_alsa->lock);
    if (!start(l, std::move(job)))
        return false;
    if (m_alsa->done.wait_for(l, std::chrono::milliseconds(ms), [this] { return !m_alsa->running; }))
        return true;
    m_alsa->abandoned = true;
    qCWarning(lcVolume) << "the sound server did not answer within" << ms << "ms";
    return false;
}

template <typename T> T AlsaMixer::runFor(std::function<T(Alsa&)> job, int ms, T timedOut)
{
    // Shared with the job: a job that comes back late still has somewhere to put its result.
    auto result = std::make_shared<T>(timedOut);
    if (!run([result, job = std::move(job)](Alsa& a) { *result = job(a); }, ms))
        return timedOut;
    return *result;
}

// What an opening found, filled on the mixer's thread.
struct AlsaMixer::Opening {
    OpenResult result = OpenResult::CannotOpen;
    std::array<bool, LineCount> levels{}, mutes{};
    // Set under the lock once the opening has ended.
    bool ended = false;
};

std::function<void(AlsaMixer::Alsa&)> AlsaMixer::openJob(std::shared_ptr<Opening> opening,
                                                         bool freshConfiguration) const
{
    return [opening, freshConfiguration, device = m_device.toLocal8Bit()](Alsa& a) {
        const OpenResult result = a.open(device, freshConfiguration);
        std::lock_guard<std::mutex> l(a.lock);
        opening->result = result;
        for (int i = 0; i < LineCount; ++i) {
            opening->levels[size_t(i)] = a.levels[size_t(i)].elem != nullptr;
            opening->mutes[size_t(i)] = a.mutes[size_t(i)].elem != nullptr;
        }
        opening->ended = true;
    };
}

MixerDevice::OpenResult AlsaMixer::open()
{
    auto opening = std::make_shared<Opening>();
    if (!run(openJob(opening, false), m_timeouts.openMs))
        return OpenResult::CannotOpen;
    m_hasLevel = opening->levels;
    m_hasMute = opening->mutes;
    return opening->result;
}

void AlsaMixer::reopen()
{
    m_reopening = std::make_shared<Opening>();
    std::unique_lock<std::mutex> l(m_alsa->lock);
    // A thread still waiting for a server that hung cannot open anything now: the next try will.
    if (!start(l, openJob(m_reopening, true)))
        m_reopening->ended = true;
}

std::optional<MixerDevice::OpenResult> AlsaMixer::reopened()
{
    if (!m_reopening)
        return std::nullopt;
    std::lock_guard<std::mutex> l(m_alsa->lock);
    if (!m_reopening->ended)
        return std::nullopt;
    m_hasLevel = m_reopening->levels;
    m_hasMute = m_reopening->mutes;
    const OpenResult result = m_reopening->result;
    m_reopening.reset();
    return result;
}

bool AlsaMixer::lost() const
{
    return m_alsa->lost;
}

std::optional<qint32> AlsaMixer::level(Line line)
{
    return hasLevel(line) ? m_alsa->readLevel(line) : std::nullopt;
}

int AlsaMixer::setLevel(Line line, qint32 level)
{
    if (!hasLevel(line))
        return -ENOENT;
    return runFor<int>([line, level](Alsa& a) { return a.writeLevel(line, level); }, m_timeouts.callMs, -ETIMEDOUT);
}

std::optional<bool> AlsaMixer::muted(Line line)
{
    return hasMute(line) ? m_alsa->readMuted(line) : std::nullopt;
}

int AlsaMixer::setMuted(Line line, bool muted)
{
    if (!hasMute(line))
        return -ENOENT;
    return runFor<int>([line, muted](Alsa& a) { return a.writeMuted(line, muted); }, m_timeouts.callMs, -ETIMEDOUT);
}

MixerDevice::CaptureError AlsaMixer::openCapture()
{
    const QByteArray device = m_device.toLocal8Bit();
    return runFor<CaptureError>([device](Alsa& a) { return a.openCapture(device); }, m_timeouts.openMs,
                                {-ETIMEDOUT, errorText(-ETIMEDOUT)});
}

MixerDevice::CaptureError AlsaMixer::startCapture()
{
    return runFor<CaptureError>([](Alsa& a) { return a.startCapture(); }, m_timeouts.openMs,
                                {-ETIMEDOUT, errorText(-ETIMEDOUT)});
}

std::optional<qint32> AlsaMixer::readCaptureMeter()
{
    return runFor<std::optional<qint32>>([](Alsa& a) { return a.readMeter(); }, m_timeouts.callMs, std::nullopt);
}

void AlsaMixer::closeCapture()
{
    run([](Alsa& a) { a.closeCapture(); }, m_timeouts.callMs);
}

} // namespace volume
