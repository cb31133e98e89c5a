// A mixer held in memory: levels are kept exactly as written (above full scale too), so the
// volume steps can be followed value by value; tests also script its failures and its capture.
#pragma once

#include "volume/mixerdevice.h"

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
    };

    // Shared with the test, which keeps a pointer while cVolume owns the device.
    struct Script {
        OpenResult openResult = OpenResult::Opened;
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
    bool hasLevel(Line line) const override { return channel(line).hasLevel; }
    bool hasMute(Line line) const override { return channel(line).hasMute; }
    std::optional<qint32> level(Line line) override
    {
        return hasLevel(line) ? std::optional<qint32>(channel(line).level) : std::nullopt;
    }
    int setLevel(Line line, qint32 level) override
    {
        if (!hasLevel(line))
            return -1;
        m_s.written.push_back(level);
        channel(line).level = level;
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
