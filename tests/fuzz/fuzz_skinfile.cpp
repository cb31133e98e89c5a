// The skin file reader on any radio_xm.ini: every section and key of a skin is read, and no
// value it keeps is longer than a read may return.
#include "fuzzcheck.h"
#include "skin/skinfile.h"

#include <cstdint>

namespace {

void checkValue(const QString& value)
{
    FUZZ_CHECK(value.size() <= modIni::MaxValueLength);
}

void checkGeometry(const skin::GeometryKeys& keys)
{
    for (const QString* value : {&keys.Left, &keys.Top, &keys.Width, &keys.Height})
        checkValue(*value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const skin::SkinFile skin =
        skin::ReadSkinFile(QStringLiteral("radio_xm.ini"), modIni::IniDocument::fromBytes(bytes));
    for (const skin::GeometryKeys& button : skin.buttons)
        checkGeometry(button);
    for (const skin::TextSection& text : skin.texts) {
        checkGeometry(text.geometry);
        checkValue(text.font.Font);
        checkValue(text.extra);
        checkValue(text.Align);
    }
    for (const skin::PresetSection& preset : skin.presets) {
        checkGeometry(preset.button);
        checkGeometry(preset.label);
    }
    checkGeometry(skin.playlist.list);
    checkValue(skin.playlist.SliderUpImage);
    checkGeometry(skin.timeSlider.bar);
    return 0;
}
