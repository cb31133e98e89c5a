// A mixer held in memory: levels are kept exactly as written (above full scale too), so the
// volume steps can be followed value by value, or in a coarse range of its own as a bare sound
// card has one; tests also script its failures, its loss and its capture.
#pragma once

#include "volume/mixerdevice.h"
#include "volume/rawlevel.h"

#include <array>
#include <vector>

namespace volume {

class MemoryMixer : public MixerDevice {
public:
    struct Channel {
        bool hasLevel = true;
        bool hasMute = true;
        qint32 level = 0;
        bool muted = false;
        // A control with a range of its own, 0..rawMaximum, holding raw; 0 keeps every level
        // exactly as written in level.
        long rawMaximum = 0;
        long raw = 0;
    };

    // Shared with the test, which keeps a pointer while cVolume owns the device.
    struct Script {
        OpenResult openResult = OpenResult::Opened;
        // What the next openings give; each reopen() is counted.
        OpenResult reopenResult = OpenResult::Opened;
        int reopens = 0;
        bool lost = false;
        std::array<Channel, LineCount> lines{};
        // Every level written, in order, as it was written.
        std::vector<qint32> written;
        CaptureError captureOpenError{};
        int captureOpens = 0;
        bool capturing = false;
        // Meter values handed out one a reading; an empty list means no new sound.
        std::vector<qint32> meterValues;
    };

    explicit MemoryMixer(Script& script)
        : m_s(script)
    {
    }

    OpenResult open() override { return m_s.openResult; }
    void reopen() override
    {
        ++m_s.reopens;
        m_s.lost = false;
    }
    std::optional<OpenResult> reopened() override { return m_s.reopenResult; }
    bool lost() const override { return m_s.lost; }
    bool hasLevel(Line line) const override { return channel(line).hasLevel; }
    bool hasMute(Line line) const override { return channel(line).hasMute; }
    std::optional<qint32> level(Line line) override
    {
        if (!hasLevel(line))
            return std::nullopt;
        const Channel& c = channel(line);
        return c.rawMaximum > 0 ? ToFullScale(c.raw, 0, c.rawMaximum) : c.level;
    }
    int setLevel(Line line, qint32 level) override
    {
        if (!hasLevel(line))
            return -1;
        m_s.written.push_back(level);
        Channel& c = channel(line);
        if (c.rawMaximum > 0)
            c.raw = RawForLevel(level, c.raw, 0, c.rawMaximum);
        else
            c.level = level;
        return 0;
    }
    std::optional<bool> muted(Line line) override
    {
        return hasMute(line) ? std::optional<bool>(channel(line).muted) : std::nullopt;
    }
    int setMuted(Line line, bool muted) override
    {
        if (!hasMute(line))
            return -1;
        channel(line).muted = muted;
        return 0;
    }
    CaptureError openCapture() override
    {
        ++m_s.captureOpens;
        return m_s.captureOpenError;
    }
    CaptureError startCapture() override
    {
        m_s.capturing = true;
        return {};
    }
    std::optional<qint32> readCaptureMeter() override
    {
        if (m_s.meterValues.empty())
            return std::nullopt;
        const qint32 value = m_s.meterValues.front();
        m_s.meterValues.erase(m_s.meterValues.begin());
        return value;
    }
    void closeCapture() override { m_s.capturing = false; }
    qint32 captureMeterMaximum() const override { return 127; }

private:
    Channel& channel(Line line) { return m_s.lines[size_t(line)]; }
    const Channel& channel(Line line) const { return m_s.lines[size_t(line)]; }

    Script& m_s;
};

} // namespace volume
