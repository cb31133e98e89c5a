// Test helper: plays into a sink and records a source of a PulseAudio server through its own
// client library, as pacat and parec do, and tells when each recorded frame was heard, on the
// clock of QElapsedTimer and the bus recorder (milliseconds since the clock's reference).
#pragma once

#include <QString>
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace probe {

inline constexpr double Rate = 48000;

// A signal by frame, in -1 .. 1, played on both channels.
using Signal = std::function<float(long frame)>;
Signal clicks(long period); // a click of 2 ms every period frames
Signal tone(double hz);

double nowMs();

// Plays the signal into the sink until destroyed. server: empty for the one PULSE_SERVER names.
class Player {
public:
    Player(const QString& sink, Signal signal, const QString& server = {});
    ~Player();

private:
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// Records the left channel of the source until destroyed: keeps it, or hands each read to tap.
class Recorder {
public:
    using Tap = std::function<void(const std::vector<float>& read)>;
    explicit Recorder(const QString& source, const QString& server = {}, Tap tap = {});
    ~Recorder();

    // An idle sink's monitor can take a second or two to deliver its first frames: wait for them
    // before anything is timed.
    bool heard() const { return !left().empty(); }
    std::vector<float> left() const;
    double timeOf(long frame) const;
    long frameAt(double ms) const;

private:
    mutable std::mutex m_lock;
    std::vector<float> m_left;
    std::vector<double> m_starts; // the first frame's time, as each read tells it
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// The first frame from `from` on louder than threshold, or -1; the loudest sample in [from, to).
long onset(const std::vector<float>& samples, long from, float threshold = 0.2f);
float peak(const std::vector<float>& samples, long from, long to);
// How long each click heard on `in` from fromMs on took to come out on `out`; clicks must lie
// further apart than the longest delay.
std::vector<double> delays(const Recorder& in, const Recorder& out, double fromMs, long clickPeriod);
// Which of the simulator's 24 roots sounds strongest in [from, to).
int strongestRoot(const std::vector<float>& samples, long from, long to);

} // namespace probe
