// Putting a radio service on the session bus: the object at the service's path and the
// service's name, which only one process may own at a time.
#pragma once

#include <QObject>
#include <QString>

namespace xmservice {

class RadioBackend;

// Registers object (with its adaptors) at the radio service's object path, then claims the
// service name without queueing for it. Returns an empty text on success, else the reason, fit
// to follow the program's name in an error message.
QString claimRadioService(QObject* object);

// The same for a back-end, after giving it its bus adaptor.
QString publishReceiver(RadioBackend* receiver);

} // namespace xmservice
