// services.dat on any bytes, and a channel written with any station and genre read back. A
// loaded row never holds a line break; a written channel is one line that loads back with its
// station whole and its genre as written (line breaks as blanks, commas in the genre as
// semicolons).
#include "fuzzcheck.h"
#include "radio/channeltable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

namespace {

// On a memory file system where there is one: the writer syncs every line to disk.
QTemporaryDir& folder()
{
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/vanto-fuzz-XXXXXX")
                                                                       : QDir::tempPath() + "/vanto-fuzz-XXXXXX");
    return dir;
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
}

QString oneLine(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(u'\r', u' ').replace(u'\n', u' ');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = folder().filePath(QStringLiteral("services.dat"));

    write(path, bytes);
    radio::ChannelTable loaded;
    loaded.LoadServices(path);
    FUZZ_CHECK(loaded.count() <= bytes.count('\r') + bytes.count('\n') + 1);
    for (int row = 0; row < loaded.count(); ++row) {
        for (int column = radio::Num; column <= radio::Genre; ++column) {
            const QString text = loaded.text(row, column);
            FUZZ_CHECK(!text.contains(u'\r') && !text.contains(u'\n'));
        }
        FUZZ_CHECK(loaded.FindItem(loaded.text(row, radio::Num)) >= 0);
    }

    const QString station = QString::fromUtf8(bytes.first(bytes.size() / 2));
    const QString genre = QString::fromUtf8(bytes.sliced(bytes.size() / 2));
    write(path, {});
    FUZZ_CHECK(radio::AppendService(path, QStringLiteral("123"), station, genre));
    radio::ChannelTable written;
    written.LoadServices(path);
    FUZZ_CHECK(written.count() == 1);
    FUZZ_CHECK(written.text(0, radio::Num) == QStringLiteral("123"));
    FUZZ_CHECK(written.text(0, radio::Station) == oneLine(station));
    FUZZ_CHECK(written.text(0, radio::Genre) == oneLine(genre).replace(u',', u';'));
    return 0;
}
