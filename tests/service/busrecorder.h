// Test helper: records every signal of the radio service interface seen on the session bus,
// whoever sends it, with the time it arrived.
#pragma once

#include <QDBusMessage>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariantList>

struct BusSignal {
    QString member;
    QVariantList arguments;
    qint64 arrivedMs = 0; // since the recorder was made
};

class BusRecorder : public QObject {
    Q_OBJECT
public:
    BusRecorder();

    const QList<BusSignal>& all() const { return m_all; }
    QList<BusSignal> received(const QString& member) const;
    int count(const QString& member) const { return int(received(member).size()); }
    // The position in all() of the first signal with that member and first argument, or -1.
    int indexOf(const QString& member, const QVariant& firstArgument) const;
    void clear() { m_all.clear(); }
    // When the recorder was made, on QElapsedTimer's clock: arrivedMs counts from there.
    qint64 madeAtMs() const { return m_clock.msecsSinceReference(); }

private slots:
    void record(const QDBusMessage& message);

private:
    QElapsedTimer m_clock;
    QList<BusSignal> m_all;
};

// Calls a method of the radio service and waits for its reply; true when the call succeeded.
bool callRadio(const QString& method, const QVariant& argument);
// The same with any arguments, giving the reply (or the error) itself.
QDBusMessage askRadio(const QString& method, const QVariantList& arguments = {}, int timeoutMs = 5000);
// True once somebody owns the radio service's name.
bool radioNameOwned();
