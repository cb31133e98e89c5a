// Shared routines of the window's handlers: the file check, the folder sync and the
// message-pumping wait.
#pragma once

#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <QTimer>

namespace modFunctions {

// True when the path names something whose status can be read. Any failure (missing file or
// folder, permission denied, an empty or malformed path) reads as "does not exist": a bad
// service path in the settings must never end the program.
bool FileExists(const QString& path);

// Writes a folder's entries to disk (after a file in it was created or renamed), so that a power
// cut cannot take the new entry back. False when the folder cannot be opened or synced.
bool SyncFolder(const QString& folder);

// The one timer that every wait of the window shares. A handler that runs during another
// handler's wait and waits itself re-arms the same timer: the outer wait then ends no earlier
// than the inner one, and at its next pass once the inner one is over, because the timer stays
// signalled until it is armed again.
class SharedWaitTimer : public QObject {
    Q_OBJECT
public:
    explicit SharedWaitTimer(QObject* parent = nullptr);

    // Returns when at least ms milliseconds have passed since this call armed the timer (or a
    // nested wait armed it later); timers, paints, input and radio events keep being handled.
    void Wait(qint32 ms);

    bool signalled() const { return m_due.hasExpired(); }

private:
    void arm(qint32 ms);

    QDeadlineTimer m_due{0};
    QTimer m_wake;
};

} // namespace modFunctions
