// One ALSA PCM stream in the radio's format (16-bit stereo), opened non-blocking: the pump waits
// on it with a time limit, so a sound server that stops answering never holds its thread for good.
#pragma once

#include "soundformat.h"

#include <QString>
#include <memory>

typedef struct _snd_pcm snd_pcm_t;

namespace sound {

class AlsaPcm {
public:
    enum class Direction { Capture, Playback };

    struct Opened {
        std::unique_ptr<AlsaPcm> pcm;
        QString failure; // ALSA's own reason when pcm is empty
    };

    // The device at the rate nearest to rate that it offers, with a buffer of about bufferMs and
    // periods of StepMs.
    static Opened open(const QString& device, Direction direction, unsigned rate, unsigned bufferMs);
    ~AlsaPcm();
    AlsaPcm(const AlsaPcm&) = delete;
    AlsaPcm& operator=(const AlsaPcm&) = delete;

    unsigned rate() const { return m_rate; }
    long bufferFrames() const { return m_bufferFrames; }

    // Waits at most timeoutMs until frames can be moved: > 0 ready, 0 timed out, < 0 an error.
    int wait(int timeoutMs);
    // Frames that can be read or written now, or a negative error code.
    long avail();
    // Frames queued ahead of the next one written, or a negative error code.
    long delay();
    // Frames moved, -EAGAIN when none can be, or another negative error code.
    long read(Sample* samples, long frames);
    long write(const Sample* samples, long frames);
    // Brings the stream back after an overrun, an underrun or a suspend; false when it cannot.
    bool recover(int error);
    // Throws away what is queued, at once, and makes the stream ready for new frames.
    void discard();
    void start();

    // ALSA's words for an error code.
    static QString errorText(int code);

private:
    explicit AlsaPcm(snd_pcm_t* pcm)
        : m_pcm(pcm)
    {
    }
    snd_pcm_t* m_pcm;
    unsigned m_rate = 0;
    long m_bufferFrames = 0;
};

} // namespace sound
