// Capturing: non-blocking reads after a bounded wait, overruns counted and recovered at once.
#include "capturesource.h"

#include "lineinput.h"

#include <cerrno>

namespace sound {

namespace {

// Room for the pump to fall behind by a few steps without losing a frame; a frame is read as
// soon as its step is complete, so the buffer adds no delay.
constexpr unsigned CaptureBufferMs = 200;

} // namespace

CaptureSource::CaptureSource(QString device, QString noLineHint)
    : m_device(std::move(device))
    , m_noLineHint(std::move(noLineHint))
{
}

QString CaptureSource::name() const
{
    if (m_device != Auto)
        return QStringLiteral("\"%1\"").arg(m_device);
    return m_found.isEmpty() ? QStringLiteral("the line input") : QStringLiteral("the line input \"%1\"").arg(m_found);
}

QString CaptureSource::open(unsigned rate)
{
    QString device = m_device;
    if (device == Auto) {
        const std::optional<CaptureDevice> line = findLineInput();
        if (!line)
            return m_noLineHint;
        device = m_found = line->device;
    }
    AlsaPcm::Opened opened = AlsaPcm::open(device, AlsaPcm::Direction::Capture, rate, CaptureBufferMs);
    if (!opened.pcm)
        return opened.failure;
    m_pcm = std::move(opened.pcm);
    m_started = false;
    return {};
}

// Capturing starts with the first read, once the output is open too: frames captured before
// would wait in the buffer, and every frame after them as long.
SourceRead CaptureSource::read(Sample* samples, long frames, int timeoutMs)
{
    if (!std::exchange(m_started, true))
        m_pcm->start();
    const int ready = m_pcm->wait(timeoutMs);
    if (ready < 0)
        return {0, recover(ready)};
    const long got = m_pcm->read(samples, frames);
    if (got == -EAGAIN)
        return {};
    if (got < 0)
        return {0, recover(got)};
    return {got, {}};
}

QString CaptureSource::recover(long error)
{
    if (error != -EPIPE && error != -ESTRPIPE)
        return AlsaPcm::errorText(int(error));
    ++m_overruns;
    if (!m_pcm->recover(int(error)))
        return AlsaPcm::errorText(int(error));
    m_pcm->start();
    return {};
}

} // namespace sound
