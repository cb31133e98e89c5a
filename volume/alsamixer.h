// The sound card's mixer through ALSA's simple mixer API, and the input meter through an ALSA
// capture. A sound server that hangs (stopped, or stuck) must never freeze the window. Reads
// need no answer from the server and run on the caller's thread. Opening, writing and the
// capture wait for the server: they run on the mixer's own thread, and the caller waits for
// them only a bounded time. A call that gets no answer in time fails, and until it comes back
// every further call fails at once instead of queueing behind it. A mixer that cannot be opened
// or is lost can be opened again in the background.
#pragma once

#include "volume/mixerdevice.h"

#include <array>
#include <functional>
#include <memory>
#include <mutex>

namespace volume {

// How long the window waits for the sound server: to open the mixer or the capture, and for
// any other call.
struct AlsaTimeouts {
    int openMs = 1000;
    int callMs = 200;
};

class AlsaMixer : public MixerDevice {
public:
    // The mixer and capture of an ALSA device name ("default" reaches the desktop's sound
    // server through its ALSA plugin, or the first card on a bare system).
    explicit AlsaMixer(QString device, AlsaTimeouts timeouts = AlsaTimeouts());
    ~AlsaMixer() override;
    AlsaMixer(const AlsaMixer&) = delete;
    AlsaMixer& operator=(const AlsaMixer&) = delete;

    OpenResult open() override;
    void reopen() override;
    std::optional<OpenResult> reopened() override;
    bool lost() const override;
    bool hasLevel(Line line) const override { return m_hasLevel[size_t(line)]; }
    bool hasMute(Line line) const override { return m_hasMute[size_t(line)]; }
    std::optional<qint32> level(Line line) override;
    int setLevel(Line line, qint32 level) override;
    std::optional<bool> muted(Line line) override;
    int setMuted(Line line, bool muted) override;

    CaptureError openCapture() override;
    CaptureError startCapture() override;
    std::optional<qint32> readCaptureMeter() override;
    void closeCapture() override;
    // The capture meter is the peak of 8-bit samples: 0 (silence) to 127.
    qint32 captureMeterMaximum() const override { return 127; }

    struct Alsa;

private:
    struct Opening;

    // Hands job to the mixer's thread, held being the thread's lock; false while another job runs.
    bool start(std::unique_lock<std::mutex>& held, std::function<void(Alsa&)> job);
    // Runs job on the mixer's thread; false when it did not come back within ms. A write that
    // did not is then dropped, unless it already reached the device.
    bool run(std::function<void(Alsa&)> job, int ms);
    // run() for a job with a result: the job's result, or timedOut when it did not come back.
    template <typename T> T runFor(std::function<T(Alsa&)> job, int ms, T timedOut);
    std::function<void(Alsa&)> openJob(std::shared_ptr<Opening> opening, bool freshConfiguration) const;

    QString m_device;
    AlsaTimeouts m_timeouts;
    std::shared_ptr<Alsa> m_alsa;
    std::array<bool, LineCount> m_hasLevel{};
    std::array<bool, LineCount> m_hasMute{};
    std::shared_ptr<Opening> m_reopening;
};

// The peak of 8-bit unsigned samples (silence is 128): 0 to 127.
qint32 PeakOfSamples(const unsigned char* samples, long count);

} // namespace volume
