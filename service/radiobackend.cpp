// Time shift's methods on the bus, carried out by the service's sound.
#include "radiobackend.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace xmservice {

namespace {
constexpr char SaveFailed[] = "org.vanto.XMRadio.Error.SaveFailed";
}

void RadioBackend::Pause()
{
    if (m_timeShift)
        m_timeShift->pause();
}

void RadioBackend::Resume()
{
    if (m_timeShift)
        m_timeShift->resume();
}

void RadioBackend::Live()
{
    if (m_timeShift)
        m_timeShift->goLive();
}

void RadioBackend::NextSong()
{
    if (m_timeShift)
        m_timeShift->nextSong();
}

void RadioBackend::PreviousSong()
{
    if (m_timeShift)
        m_timeShift->previousSong();
}

void RadioBackend::Seek(double position)
{
    if (m_timeShift)
        m_timeShift->seek(position);
}

// Encoding a song takes a second or two, which the reports must not wait for: the answer follows
// when the file is written.
QString RadioBackend::SaveSong()
{
    if (!calledFromDBus())
        return {};
    if (!m_timeShift) {
        sendErrorReply(QLatin1String(SaveFailed), QStringLiteral("no song is kept: time shift is off"));
        return {};
    }
    setDelayedReply(true);
    m_timeShift->saveSong([call = message(), bus = connection()](const QString& path, const QString& failure) {
        bus.send(failure.isEmpty() ? call.createReply(path)
                                   : call.createErrorReply(QLatin1String(SaveFailed), failure));
    });
    return {};
}

bool RadioBackend::TimeShift(bool& paused, double& behindLive, double& buffered, double& position)
{
    const TimeShiftControl::State state = m_timeShift ? m_timeShift->state() : TimeShiftControl::State{};
    paused = state.paused;
    behindLive = state.behindLive;
    buffered = state.buffered;
    position = state.position;
    return state.on;
}

} // namespace xmservice
