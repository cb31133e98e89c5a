#include "radio/interfacecheck.h"

#include "bus/xmradio_names.h"
#include "radio/clientmembers.h"

#include <QXmlStreamReader>
#include <optional>

namespace xmradio {
namespace {

// Members are compared as lines: "method Channel(i)", "method Find(s) -> ai" for a method that
// answers, "signal CurrentTime(ii)", "property Volume d readwrite".

QString methodOrSignal(QXmlStreamReader& xml, const QString& kind, const QString& name)
{
    QString in;
    QString out;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"arg") {
            // A method's arguments are its input unless marked otherwise; a signal's are all it sends.
            const bool answer = kind == u"method" && xml.attributes().value(QLatin1String("direction")) == u"out";
            (answer ? out : in) += xml.attributes().value(QLatin1String("type"));
        }
        xml.skipCurrentElement();
    }
    QString line = QStringLiteral("%1 %2(%3)").arg(kind, name, in);
    if (!out.isEmpty())
        line += QStringLiteral(" -> ") + out;
    return line;
}

// The members of the interface element the reader has just entered.
QStringList interfaceMembers(QXmlStreamReader& xml)
{
    QStringList members;
    while (xml.readNextStartElement()) {
        const QString kind = xml.name().toString();
        const QXmlStreamAttributes attributes = xml.attributes();
        const QString name = attributes.value(QLatin1String("name")).toString();
        if (kind == u"method" || kind == u"signal")
            members << methodOrSignal(xml, kind, name);
        else {
            if (kind == u"property")
                members << QStringLiteral("property %1 %2 %3")
                               .arg(name, attributes.value(QLatin1String("type")).toString(),
                                    attributes.value(QLatin1String("access")).toString());
            xml.skipCurrentElement();
        }
    }
    return members;
}

QString clientLine(const client::Entry& member)
{
    QString line = QStringLiteral("%1 %2(%3)")
                       .arg(member.kind == client::Kind::Method ? QStringLiteral("method") : QStringLiteral("signal"),
                            QLatin1String(member.name), QLatin1String(member.signature));
    if (*member.answer)
        line += QStringLiteral(" -> ") + QLatin1String(member.answer);
    return line;
}

} // namespace

QStringList clientDifferences(const QByteArray& introspectionXml)
{
    const QString interface = QLatin1String(InterfaceName);
    QXmlStreamReader xml(introspectionXml);
    std::optional<QStringList> declared;
    if (xml.readNextStartElement() && xml.name() == u"node") {
        while (xml.readNextStartElement()) {
            if (xml.name() == u"interface" && xml.attributes().value(QLatin1String("name")) == interface)
                declared = interfaceMembers(xml);
            else
                xml.skipCurrentElement();
        }
    }
    if (xml.hasError())
        return {QStringLiteral("the XML cannot be read: %1 (line %2)").arg(xml.errorString()).arg(xml.lineNumber())};
    if (!declared)
        return {QStringLiteral("the XML declares no interface %1").arg(interface)};

    QStringList used;
    for (const client::Entry& member : client::Members)
        used << clientLine(member);
    QStringList differences;
    for (const QString& member : *declared)
        if (!used.contains(member))
            differences << QStringLiteral("in the XML, not in the client: ") + member;
    for (const QString& member : used)
        if (!declared->contains(member))
            differences << QStringLiteral("in the client, not in the XML: ") + member;
    return differences;
}

} // namespace xmradio
