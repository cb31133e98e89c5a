// Opening and configuring an ALSA stream, with ALSA's complaints gathered into the reason given.
#include "alsapcm.h"

#include <QStringList>
#include <alsa/asoundlib.h>
#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace sound {

namespace {

// While a stream opens, ALSA's complaints are gathered here instead of going to the terminal: a
// missing server makes ALSA complain several times, and the log gets one line for them.
thread_local QStringList* gatheredReports = nullptr;

void gatherAlsaError(const char*, int, const char*, int err, const char* format, ...)
{
    if (!gatheredReports)
        return;
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof(text), format, arguments);
    va_end(arguments);
    QString report = QString::fromLocal8Bit(text);
    if (err)
        report += QLatin1String(": ") + AlsaPcm::errorText(err);
    gatheredReports->append(report);
}

class GatheredReports {
public:
    GatheredReports()
    {
        static std::once_flag handlerSet;
        std::call_once(handlerSet, [] { snd_lib_error_set_handler(gatherAlsaError); });
        gatheredReports = &m_reports;
    }
    ~GatheredReports() { gatheredReports = nullptr; }
    // ALSA's first complaint (the cause) and its last (what could not be done), or the code's words.
    QString reason(int code) const
    {
        if (m_reports.isEmpty())
            return AlsaPcm::errorText(code);
        return m_reports.size() == 1 ? m_reports.front() : m_reports.front() + QLatin1String("; ") + m_reports.back();
    }

private:
    QStringList m_reports;
};

// The hardware parameters of the radio's format; 0 or a negative error code.
int configure(snd_pcm_t* pcm, unsigned& rate, unsigned bufferMs)
{
    snd_pcm_hw_params_t* params = nullptr;
    snd_pcm_hw_params_alloca(&params);
    unsigned periodUs = StepMs * 1000;
    unsigned bufferUs = bufferMs * 1000;
    int err = snd_pcm_hw_params_any(pcm, params);
    if (err >= 0)
        err = snd_pcm_hw_params_set_access(pcm, params, SND_PCM_ACCESS_RW_INTERLEAVED);
    if (err >= 0)
        err = snd_pcm_hw_params_set_format(pcm, params, SND_PCM_FORMAT_S16);
    if (err >= 0)
        err = snd_pcm_hw_params_set_channels(pcm, params, Channels);
    if (err >= 0)
        err = snd_pcm_hw_params_set_rate_near(pcm, params, &rate, nullptr);
    if (err >= 0)
        err = snd_pcm_hw_params_set_buffer_time_near(pcm, params, &bufferUs, nullptr);
    if (err >= 0)
        err = snd_pcm_hw_params_set_period_time_near(pcm, params, &periodUs, nullptr);
    if (err >= 0)
        err = snd_pcm_hw_params(pcm, params);
    if (err < 0)
        return err;
    snd_pcm_sw_params_t* software = nullptr;
    snd_pcm_sw_params_alloca(&software);
    snd_pcm_uframes_t buffer = 0;
    snd_pcm_uframes_t period = 0;
    snd_pcm_hw_params_get_buffer_size(params, &buffer);
    snd_pcm_hw_params_get_period_size(params, &period, nullptr);
    err = snd_pcm_sw_params_current(pcm, software);
    // Playback starts as soon as anything is written: the pump writes a small cushion first.
    if (err >= 0)
        err = snd_pcm_sw_params_set_start_threshold(pcm, software, 1);
    if (err >= 0)
        err = snd_pcm_sw_params_set_avail_min(pcm, software, period);
    if (err >= 0)
        err = snd_pcm_sw_params(pcm, software);
    return err;
}

} // namespace

QString AlsaPcm::errorText(int code)
{
    return QString::fromLocal8Bit(snd_strerror(code));
}

AlsaPcm::Opened AlsaPcm::open(const QString& device, Direction direction, unsigned rate, unsigned bufferMs)
{
    GatheredReports reports;
    snd_pcm_t* pcm = nullptr;
    const snd_pcm_stream_t stream = direction == Direction::Capture ? SND_PCM_STREAM_CAPTURE : SND_PCM_STREAM_PLAYBACK;
    int err = snd_pcm_open(&pcm, device.toLocal8Bit().constData(), stream, SND_PCM_NONBLOCK);
    if (err < 0)
        return {nullptr, reports.reason(err)};
    std::unique_ptr<AlsaPcm> opened(new AlsaPcm(pcm));
    err = configure(pcm, rate, bufferMs);
    if (err >= 0)
        err = snd_pcm_prepare(pcm);
    if (err < 0)
        return {nullptr, reports.reason(err)};
    opened->m_rate = rate;
    snd_pcm_uframes_t buffer = 0;
    snd_pcm_uframes_t period = 0;
    snd_pcm_get_params(pcm, &buffer, &period);
    opened->m_bufferFrames = long(buffer);
    return {std::move(opened), {}};
}

AlsaPcm::~AlsaPcm()
{
    snd_pcm_close(m_pcm);
}

int AlsaPcm::wait(int timeoutMs)
{
    return snd_pcm_wait(m_pcm, timeoutMs);
}

long AlsaPcm::avail()
{
    return snd_pcm_avail_update(m_pcm);
}

long AlsaPcm::delay()
{
    snd_pcm_sframes_t frames = 0;
    const int err = snd_pcm_delay(m_pcm, &frames);
    return err < 0 ? err : long(frames);
}

long AlsaPcm::read(Sample* samples, long frames)
{
    return snd_pcm_readi(m_pcm, samples, snd_pcm_uframes_t(frames));
}

long AlsaPcm::write(const Sample* samples, long frames)
{
    return snd_pcm_writei(m_pcm, samples, snd_pcm_uframes_t(frames));
}

bool AlsaPcm::recover(int error)
{
    return snd_pcm_recover(m_pcm, error, 1) >= 0;
}

void AlsaPcm::discard()
{
    snd_pcm_drop(m_pcm);
    snd_pcm_prepare(m_pcm);
}

void AlsaPcm::start()
{
    snd_pcm_start(m_pcm);
}

} // namespace sound
