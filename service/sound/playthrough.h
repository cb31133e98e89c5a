// The radio's sound, from its source to ALSA's default output (where the master volume and the
// sound server's own controls act on it), in a thread of its own for as long as the service
// runs. A source or output that cannot be opened, or is lost (a sound server that restarts, an
// adapter pulled out), is logged once and tried again every 2 s; the radio works on meanwhile.
// Each step of sound passes through deliver(): the one place where it goes from source to output,
// and where time shift keeps it and puts what is heard behind live in its place.
#pragma once

#include "alsapcm.h"
#include "songfile.h"
#include "soundsource.h"
#include "timeshift.h"

#include <QElapsedTimer>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace sound {

class PlayThrough {
public:
    static constexpr int RetryMs = 2000;

    explicit PlayThrough(std::unique_ptr<SoundSource> source, QString output = QStringLiteral("default"));
    ~PlayThrough();
    PlayThrough(const PlayThrough&) = delete;
    PlayThrough& operator=(const PlayThrough&) = delete;

    // Keeps the last minutes of the sound for time shift (0 keeps none); before start(). Only a
    // source at 48 kHz is kept: another rate plays live only, and says so once.
    void keepMinutes(int minutes);

    void start();
    // Silence at once, or sound again; from any thread.
    void setMuted(bool muted);

    // What time shift hears now.
    struct Shift {
        bool on = false; // sound is being kept
        bool paused = false;
        double behindLive = 0;
        double buffered = 0;
        double intoSong = 0;
        std::optional<SongMark> song; // the song heard
    };
    Shift shift() const;
    // Time shift's commands, from any thread; without kept sound they do nothing.
    void pause();
    void resume();
    void goLive();
    void nextSong();
    void previousSong();
    void seekInSong(double seconds);
    // The live side's news: a new song on the tuned channel, its time, another channel.
    void songBegan(const SongInfo& song);
    void songTime(qint32 position, qint32 length);
    void channelChanged();
    // The song heard, copied out for a save.
    KeptSong keepSongHeard() const;

private:
    void run();
    QString openStreams();
    void closeStreams();
    QString pumpLive();
    QString pumpMade();
    QString deliver(long frames);
    bool shiftStep(long frames);
    template <typename Change> void changeShift(Change change, bool jump);
    QString writeOut(const Sample* samples, long frames);
    void restartQueue();
    void cushion();
    bool queueGrown();
    QString outputFailure(const QString& reason) const;
    void noteFailure(const QString& failure);
    void noteXruns();
    bool stopping() const { return m_stop.load(std::memory_order_relaxed); }

    std::unique_ptr<SoundSource> m_source;
    QString m_output;
    std::thread m_thread;
    std::atomic<bool> m_muted{false};
    std::atomic<bool> m_stop{false};
    std::mutex m_lock;
    std::condition_variable m_wake;
    bool m_finished = false; // guarded by m_lock

    mutable std::mutex m_shiftLock;
    std::unique_ptr<TimeShiftBuffer> m_shift; // guarded by m_shiftLock
    std::atomic<bool> m_keeping{false};       // the source's rate is kept
    std::atomic<bool> m_jumped{false};        // what is heard jumped: the output's queue goes
    bool m_rateLogged = false;                // guarded by m_shiftLock

    // The thread's own:
    std::unique_ptr<AlsaPcm> m_out;
    std::vector<Sample> m_step;
    std::vector<Sample> m_behind;
    long m_stepFrames = 0;
    bool m_silenced = false;
    bool m_cushioned = false;
    long m_settledQueue = -1; // frames the live output holds for good; -1: not weighed yet
    long m_smallestQueue = -1;
    QElapsedTimer m_queueWeighed;
    bool m_everPlayed = false;
    bool m_failureLogged = false;
    QElapsedTimer m_playing;
    int m_underruns = 0;
    int m_overruns = 0;
    int m_leftOut = 0;
    QElapsedTimer m_xrunsLogged;
};

} // namespace sound
