// The sound card's mixer as cVolume sees it: six lines, each with a level on the 0..65535 scale
// the window assumes and a mute flag, and a capture for the input meter. The real one is ALSA's
// simple mixer (volume/alsamixer.h); an in-memory one gives exact values for the step rules.
#pragma once

#include <QString>
#include <memory>
#include <optional>

namespace volume {

// The mixer lines, in their fixed order.
enum class Line { Master = 0, Microphone = 1, LineIn = 2, CD = 3, Synthesizer = 4, Wave = 5 };
constexpr int LineCount = 6;

// The full scale of every level: the window's volume steps and display take it as 100 %.
constexpr qint32 FullScale = 65535;

class MixerDevice {
public:
    enum class OpenResult { Opened, NoDevice, CannotOpen };

    virtual ~MixerDevice() = default;

    // Opens the device and finds the lines it has, waiting for it a bounded time. Called once,
    // before anything else.
    virtual OpenResult open() = 0;

    // Opens the device again without waiting, as when it could not be opened or was lost: what
    // was open is closed first. reopened() gives nothing while the opening goes on, then its
    // result.
    virtual void reopen() = 0;
    virtual std::optional<OpenResult> reopened() = 0;
    // True once the device is found gone (its sound server ended or was restarted, the card was
    // unplugged): it gives nothing more until it is opened again.
    virtual bool lost() const = 0;

    // Whether the device has a level and a mute switch for the line.
    virtual bool hasLevel(Line line) const = 0;
    virtual bool hasMute(Line line) const = 0;

    // Reads and writes. A read that fails gives nothing; a write that fails returns its error
    // (0 is success).
    virtual std::optional<qint32> level(Line line) = 0;
    virtual int setLevel(Line line, qint32 level) = 0;
    virtual std::optional<bool> muted(Line line) = 0;
    virtual int setMuted(Line line, bool muted) = 0;

    // Input capture for the meter: 0 or the error of the step, with the device's own text.
    struct CaptureError {
        int code = 0;
        QString text;
    };
    virtual CaptureError openCapture() = 0;
    virtual CaptureError startCapture() = 0;
    // The meter value of the sound captured since the last reading, or nothing when no new
    // sound has arrived.
    virtual std::optional<qint32> readCaptureMeter() = 0;
    virtual void closeCapture() = 0;
    // The range of the values readCaptureMeter gives.
    virtual qint32 captureMeterMaximum() const = 0;
};

} // namespace volume
