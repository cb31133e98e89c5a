// The INI reader on any bytes. Every section and key the input names is looked up, in its own
// letter case and in the other one, with every type code: names match in any letter case, and
// no value is longer than a read may return.
#include "base/modini.h"
#include "fuzzcheck.h"

#include <cstdint>

namespace {

QString otherCase(const QString& name)
{
    QString swapped = name;
    for (QChar& c : swapped) {
        if (c >= u'a' && c <= u'z')
            c = c.toUpper();
        else if (c >= u'A' && c <= u'Z')
            c = c.toLower();
    }
    return swapped;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const modIni::IniDocument doc = modIni::IniDocument::fromBytes(bytes);
    QString section;
    int lookups = 0;
    for (const QByteArray& line : bytes.split('\n')) {
        const QString text = QString::fromUtf8(line).trimmed();
        if (text.startsWith(QLatin1Char('[')) && text.endsWith(QLatin1Char(']'))) {
            section = text.mid(1, text.size() - 2);
            continue;
        }
        const qsizetype equals = text.indexOf(QLatin1Char('='));
        if (equals < 0 || ++lookups > 64)
            continue;
        const QString key = text.left(equals).trimmed();
        const std::optional<QString> value = doc.value(section, key);
        FUZZ_CHECK(!value || value->size() <= modIni::MaxValueLength);
        FUZZ_CHECK(doc.value(otherCase(section), otherCase(key)) == value);
        for (int code = 0; code <= 8; ++code) {
            const QVariant read = modIni::ReadSetting(doc, section, key, code);
            FUZZ_CHECK(read.isValid());
            FUZZ_CHECK(read.toString().size() <= modIni::MaxValueLength);
        }
    }
    return 0;
}
