// Test helper: plays into a sink and records a source of a PulseAudio server, through the
// server's own client library as pacat and parec do, and tells when each recorded frame was heard
// on the clock of QElapsedTimer (milliseconds since its reference), as the bus recorder does.
#pragma once

#include <QString>
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace probe {

inline constexpr double Rate = 48000;

// A stereo signal by frame, each sample in -1 .. 1.
using Signal = std::function<std::pair<float, float>(long frame)>;

// Now, on QElapsedTimer's clock.
double nowMs();

// A click of 2 ms every period frames.
Signal clicks(long period);

// Plays the signal into the sink until destroyed. server: empty for the one PULSE_SERVER names.
class Player {
public:
    Player(const QString& sink, Signal signal, const QString& server = {});
    ~Player();

private:
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

class Recorder {
public:
    explicit Recorder(const QString& source, const QString& server = {});
    ~Recorder();

    // The left channel so far. An idle sink's monitor can take a second or two to deliver its
    // first frames: wait for them before anything is timed.
    std::vector<float> left() const;
    bool heard() const { return !left().empty(); }
    // When a frame was heard, and the frame heard at a time.
    double timeOf(long frame) const;
    long frameAt(double ms) const;

private:
    mutable std::mutex m_lock;
    std::vector<float> m_left;
    std::vector<double> m_starts; // the first frame's time, as each read tells it
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// The first frame from `from` on whose sample is louder than threshold, or -1.
long onset(const std::vector<float>& samples, long from, float threshold = 0.2f);
// The loudest sample in [from, to).
float peak(const std::vector<float>& samples, long from, long to);
// Which of the simulator's 24 roots sounds strongest in [from, to).
int strongestRoot(const std::vector<float>& samples, long from, long to);

} // namespace probe
