// The receiver's sound from a capture device: one named in the settings, or the line input found
// anew at each opening (Source=auto), so that an adapter plugged in later is found.
#pragma once

#include "alsapcm.h"
#include "soundsource.h"

#include <memory>
#include <utility>

namespace sound {

class CaptureSource : public SoundSource {
public:
    static inline const QString Auto = QStringLiteral("auto");

    // noLineHint: what the log tells the user when Source=auto finds no line input.
    CaptureSource(QString device, QString noLineHint);

    QString name() const override;
    QString open(unsigned rate) override;
    unsigned rate() const override { return m_pcm ? m_pcm->rate() : DefaultRate; }
    void close() override { m_pcm.reset(); }
    bool isLive() const override { return true; }
    SourceRead read(Sample* samples, long frames, int timeoutMs) override;
    int takeOverruns() override { return std::exchange(m_overruns, 0); }

private:
    // Starts capturing again after an overrun; the failure when the stream is lost.
    QString recover(long error);

    QString m_device;
    QString m_noLineHint;
    QString m_found; // the device Source=auto found
    std::unique_ptr<AlsaPcm> m_pcm;
    int m_overruns = 0;
    bool m_started = false;
};

} // namespace sound
