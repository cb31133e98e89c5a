// Run by the build before the radio client is compiled: ends non-zero, naming each difference,
// when the client's members (radio/clientmembers.h) and the interface's XML disagree.
//   radio_clientcheck <org.vanto.XMRadio.xml>
#include "radio/interfacecheck.h"

#include <QFile>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <introspection XML>\n", argv[0]);
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], qPrintable(file.errorString()));
        return 1;
    }
    const QStringList differences = xmradio::clientDifferences(file.readAll());
    for (const QString& difference : differences)
        std::fprintf(stderr, "%s: %s\n", argv[1], qPrintable(difference));
    if (!differences.isEmpty())
        std::fprintf(stderr, "%s: the radio client (radio/clientmembers.h) does not match this interface\n", argv[1]);
    return differences.isEmpty() ? 0 : 1;
}
