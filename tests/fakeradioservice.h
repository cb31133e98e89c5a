// A radio service for tests: owns org.vanto.XMRadio on its own connection to the (private)
// session bus, records the calls it receives and sends any of the service's signals.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <QVariantList>

class FakeRadioService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.vanto.XMRadio")
public:
    // connectionName must be unique per fake: each one is a separate peer on the bus.
    explicit FakeRadioService(const QString& connectionName, bool claimName = true);
    ~FakeRadioService() override;

    bool claimName();
    void releaseName();
    QString uniqueName() const { return m_bus.baseService(); }

    // Calls received, in order, as "Channel 7" and "SetMute true".
    QStringList calls;

    void emitSignal(const QString& name, const QVariantList& arguments);

public slots:
    Q_SCRIPTABLE void Channel(int number);
    Q_SCRIPTABLE void SetMute(bool muted);
    // Time shift's calls, recorded as "Pause" and "Seek 12.5".
    Q_SCRIPTABLE void Pause() { calls << QStringLiteral("Pause"); }
    Q_SCRIPTABLE void Resume() { calls << QStringLiteral("Resume"); }
    Q_SCRIPTABLE void Live() { calls << QStringLiteral("Live"); }
    Q_SCRIPTABLE void NextSong() { calls << QStringLiteral("NextSong"); }
    Q_SCRIPTABLE void PreviousSong() { calls << QStringLiteral("PreviousSong"); }
    Q_SCRIPTABLE void Seek(double position) { calls << QStringLiteral("Seek %1").arg(position); }

private:
    QString m_connectionName;
    QDBusConnection m_bus;
};
