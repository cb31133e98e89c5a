#include "timeshift.h"

namespace radio {

TimeShift::TimeShift()
{
    m_silence.setSingleShot(true);
    m_silence.setInterval(SilenceMs);
    connect(&m_silence, &QTimer::timeout, this, &TimeShift::lost);
}

void TimeShift::report(bool paused, double behindLive, double /*buffered*/, double position)
{
    m_silence.start();
    const bool live = behindLive <= 0;
    if (m_on && paused == m_paused && behindLive == m_behindLive && position == m_position)
        return;
    m_on = true;
    m_paused = paused;
    m_behindLive = live ? 0 : behindLive;
    m_position = position;
    // The service names the song heard again each time the sound falls behind live.
    if (live)
        m_song.reset();
    emit changed();
}

void TimeShift::songHeard(const HeardSong& song)
{
    if (m_song == song)
        return;
    m_song = song;
    emit changed();
}

void TimeShift::lost()
{
    m_silence.stop();
    if (!m_on && !m_song)
        return;
    m_on = false;
    m_paused = false;
    m_behindLive = 0;
    m_position = 0;
    m_song.reset();
    emit changed();
}

} // namespace radio
