// cVolume: the sound card's mixer as the window uses it. Six lines (master, microphone,
// line-in, CD, synthesizer, wave), each with its range, level and mute, on the 0..65535 scale;
// and an input level meter over a capture of the default device. The window reads only the
// master line; the rest is offered for other users.
#pragma once

#include "base/messagebox.h"
#include "volume/mixerdevice.h"

#include <QDeadlineTimer>
#include <array>
#include <memory>

namespace volume {

class cVolume {
public:
    // Opens the device; a device that cannot be opened is reported once, in a message box that
    // does not wait to be answered, and the object goes on without a mixer (levels read 0, mutes
    // False, writes do nothing). A mixer that could not be opened, or whose device is lost later
    // (a sound server that starts late, ends or restarts), is opened again in the background at
    // most every reopenMs, at the next access; once it is back every line works again.
    cVolume(std::unique_ptr<MixerDevice> device, app::MessageBox& messageBox, int reopenMs = 2000);
    ~cVolume();
    cVolume(const cVolume&) = delete;
    cVolume& operator=(const cVolume&) = delete;

    // Ranges: 0..65535 for a line the mixer has, 0..0 for one it lacks.
    qint32 VolumeMin() const { return Minimum(Line::Master); }
    qint32 MicMin() const { return Minimum(Line::Microphone); }
    qint32 LineMin() const { return Minimum(Line::LineIn); }
    qint32 CDMin() const { return Minimum(Line::CD); }
    qint32 WaveMin() const { return Minimum(Line::Wave); }
    qint32 SynMin() const { return Minimum(Line::Synthesizer); }
    qint32 VolumeMax() const { return Maximum(Line::Master); }
    qint32 MicMax() const { return Maximum(Line::Microphone); }
    qint32 LineMax() const { return Maximum(Line::LineIn); }
    qint32 CDMax() const { return Maximum(Line::CD); }
    qint32 SynMax() const { return Maximum(Line::Synthesizer); }
    qint32 WaveMax() const { return Maximum(Line::Wave); }

    // Levels, read afresh from the mixer at every call.
    qint32 VolumeLevel() { return GetControlValue(Line::Master); }
    qint32 MicLevel() { return GetControlValue(Line::Microphone); }
    qint32 LineLevel() { return GetControlValue(Line::LineIn); }
    qint32 SynLevel() { return GetControlValue(Line::Synthesizer); }
    qint32 WaveLevel() { return GetControlValue(Line::Wave); }
    qint32 CDLevel() { return GetControlValue(Line::CD); }

    // Level writes; a level above full scale is written as full scale.
    void setMicLevel(qint32 New_Volume) { SetControlValue(Line::Microphone, New_Volume); }
    void setLineLevel(qint32 New_Volume) { SetControlValue(Line::LineIn, New_Volume); }
    void setCDLevel(qint32 New_Volume) { SetControlValue(Line::CD, New_Volume); }
    void setSynLevel(qint32 New_Volume) { SetControlValue(Line::Synthesizer, New_Volume); }
    void setWaveLevel(qint32 New_Volume) { SetControlValue(Line::Wave, New_Volume); }
    void setVolumeLevel(qint32 New_Volume) { SetControlValue(Line::Master, New_Volume); }

    // Mutes: the output lines' playback switch off, the inputs' capture switch off.
    bool VolumeMute() { return GetControlMute(Line::Master); }
    bool MikrofonMute() { return GetControlMute(Line::Microphone); }
    bool LineMute() { return GetControlMute(Line::LineIn); }
    bool CompactDiscMute() { return GetControlMute(Line::CD); }
    bool SynthesizerMute() { return GetControlMute(Line::Synthesizer); }
    bool WaveMute() { return GetControlMute(Line::Wave); }

    void setVolumeMute(bool New_Mute) { SetControlMute(Line::Master, New_Mute); }
    void setMikrofonMute(bool New_Mute) { SetControlMute(Line::Microphone, New_Mute); }
    void setLineMute(bool New_Mute) { SetControlMute(Line::LineIn, New_Mute); }
    void setCompactDiscMute(bool New_Mute) { SetControlMute(Line::CD, New_Mute); }
    void setSynthesizerMute(bool New_Mute) { SetControlMute(Line::Synthesizer, New_Mute); }
    void setWaveMute(bool New_Mute) { SetControlMute(Line::Wave, New_Mute); }

    // Meters. The input meter is the peak of the sound captured since the last reading; the
    // first reading starts the capture. There is no output meter: it reads 0 in a 0..0 range.
    qint32 MaxVolumeMeterInput() const;
    qint32 MinVolumeMeterInput() const { return 0; }
    qint32 MaxVolumeMeterOutput() const { return 0; }
    qint32 MinVolumeMeterOutput() const { return 0; }
    qint32 CurrentVolumeMeterOutput();
    qint32 CurrentVolumeMeterInput();

    // Whether the mixer is open and has a master level: without one there is no level to show.
    bool HasVolume() { return MixerOpen() && m_device->hasLevel(Line::Master); }

    // The result of the last mixer or capture call: 0 for success, else the device's error.
    int LastResult() const { return m_lastResult; }
    bool Capturing() const { return m_capturing; }

private:
    // A value read from the mixer when readable and it answers, which becomes the last one
    // read; otherwise the last one read, with NoMixer as the result.
    template <typename T, typename Read> T readOrLast(bool readable, Read read, T& last);
    // Whether the mixer can be used now; starts or collects an opening in the background when not.
    bool MixerOpen();
    qint32 Minimum(Line line) const;
    qint32 Maximum(Line line) const;
    qint32 GetControlValue(Line line);
    bool SetControlValue(Line line, qint32 value);
    bool GetControlMute(Line line);
    void SetControlMute(Line line, bool flag);
    bool StartCapture();
    void StopCapture();
    void ShowWaveError(const QString& text);

    std::unique_ptr<MixerDevice> m_device;
    app::MessageBox& m_messageBox;
    bool m_open = false;
    bool m_reopening = false;
    int m_reopenMs;
    QDeadlineTimer m_nextOpen;
    int m_lastResult = 0;
    // The last value read of each line: what a read gives when the mixer does not answer.
    std::array<qint32, LineCount> m_lastLevel{};
    std::array<bool, LineCount> m_lastMute{};
    bool m_capturing = false;
    qint32 m_meterValue = 0;
};

} // namespace volume
