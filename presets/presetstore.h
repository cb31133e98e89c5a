// The channels stored in the three presets: taken once from the start-up settings, written to
// the settings file on a save. The captions, the lights and a tap all read them here, so what a
// preset shows is what it tunes, also after a save the settings file did not take.
#pragma once

#include <QString>
#include <array>
#include <optional>

namespace presets {

class PresetStore {
public:
    static constexpr int Count = 3;

    // The stored channels, Preset1 to Preset3 as the settings file gives them.
    void Load(const std::array<QString, Count>& stored) { m_stored = stored; }

    // The text stored in preset index (0 to 2), as written.
    const QString& Stored(int index) const { return m_stored[size_t(index)]; }
    // The channel it stands for, read as the settings file's 16-bit integers are; nothing for a
    // text that is no number (an empty preset).
    std::optional<qint16> Channel(int index) const;
    // The stored channel as its caption shows it: "007".
    QString Caption(int index) const;

    // Stores channel in preset index and writes it into iniFile. The preset keeps it for this
    // run even when the file cannot be written; false then.
    bool Save(const QString& iniFile, int index, const QString& channel);

private:
    std::array<QString, Count> m_stored;
};

} // namespace presets
