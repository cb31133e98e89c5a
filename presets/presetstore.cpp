#include "presetstore.h"

#include "base/basic.h"
#include "base/modini.h"

namespace presets {

std::optional<qint16> PresetStore::Channel(int index) const
{
    return basic::CInt(Stored(index));
}

QString PresetStore::Caption(int index) const
{
    return basic::Format(Stored(index), QStringLiteral("000"));
}

bool PresetStore::Save(const QString& iniFile, int index, const QString& channel)
{
    m_stored[size_t(index)] = channel;
    return modIni::WriteSetting(iniFile, QStringLiteral("XMRadio"), QStringLiteral("Preset%1").arg(index + 1),
                                channel) != 0;
}

} // namespace presets
