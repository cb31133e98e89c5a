// One window per settings folder (the program folder, or the user's own for an installed
// program). Two windows over one folder would both write its vantoxm.ini and services.dat: the
// first start holds a lock on the folder for its whole run, and answers on the session bus; a
// second start asks it to come to the front, and ends.
#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace app {

// A lock on the settings folder itself, held until destruction (or until the process ends, in
// whatever way: the system drops it). Taking it writes nothing, so it works in a folder the user
// cannot write in, and no stale lock file is ever left behind. Programs the window starts do
// not inherit it.
class ProgramFolderLock {
public:
    explicit ProgramFolderLock(const QString& folder);
    ~ProgramFolderLock();
    ProgramFolderLock(const ProgramFolderLock&) = delete;
    ProgramFolderLock& operator=(const ProgramFolderLock&) = delete;

    // True when a window from this folder runs already. A folder that cannot be locked at all
    // (a file system without locks) is logged, and the window runs.
    bool heldByAnother() const { return m_heldByAnother; }

private:
    int m_fd = -1;
    bool m_heldByAnother = false;
};

// The session bus name on which the window of a settings folder answers: one per folder, so
// that programs in two folders each run their own window.
QString WindowBusName(const QString& folder);

// Asks the window of the folder to come to the front, and logs one line saying whether it
// did. Returns the second start's exit status: 0, since the one window runs either way.
int RaiseRunningWindow(const QString& folder);

// Offers Raise under the folder's bus name while it lives: the window comes to the front. Not
// having the bus (or the name) only costs a second start its raise.
class RaiseOnRequest : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.vanto.XMRadioWindow")
public:
    RaiseOnRequest(QWidget& window, const QString& folder);

public slots:
    void Raise();

private:
    QWidget& m_window;
};

} // namespace app
