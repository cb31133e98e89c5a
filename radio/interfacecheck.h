// The window's radio client against the interface's introspection XML: the members the client uses
// (radio/clientmembers.h) beside the methods, signals and properties the XML declares for
// org.vanto.XMRadio, names and argument types alike. The service and xmctl are generated from the
// XML; the client is checked against it, so that neither side can change alone.
#pragma once

#include <QByteArray>
#include <QStringList>

namespace xmradio {

// What differs, one line each; empty when the two agree. A member of the XML that the client does
// not use counts as much as one the XML lacks, and XML that cannot be read, or that does not
// declare the interface, is a difference too.
QStringList clientDifferences(const QByteArray& introspectionXml);

} // namespace xmradio
