// The window's radio control: a client of the radio service on the D-Bus session bus. It tunes
// and mutes the receiver and turns the service's signals into Qt signals on the window's
// thread. It never blocks: every call is sent without waiting for an answer. The calls and signals
// it speaks are the members in radio/clientmembers.h.
#pragma once

#include "radio/clientmembers.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>
#include <memory>
#include <optional>
#include <type_traits>

class QDBusServiceWatcher;

// Time shift's calls: what is heard pauses, goes on, returns to live, skips a song, or seeks in
// the song heard.
enum class TimeShiftCommand { Pause, Resume, Live, NextSong, PreviousSong, Seek };

class AXXMRadioClient : public QObject {
    Q_OBJECT
public:
    // The client on the given bus, or nothing when that bus cannot be reached.
    static std::unique_ptr<AXXMRadioClient> create(const QDBusConnection& bus = QDBusConnection::sessionBus());
    ~AXXMRadioClient() override;

    // Tunes the receiver; the new channel's data arrives later through the signals.
    void Channel(qint32& number);
    // The client's own mute state: the last one set, or the last one the service reported.
    bool Mute() const { return m_muted; }
    void setMute(bool muted);
    // position: seconds into the song heard, for Seek only.
    void timeShift(TimeShiftCommand command, double position = 0);

    // The unique bus name of the service's current owner; empty while nobody owns it.
    QString currentOwner() const { return m_owner; }

signals:
    void ChannelChange(qint32 number);
    void CurrentTime(qint32 position, qint32 duration);
    void ChannelData(qint32 number, const QString& station, const QString& artist, const QString& title,
                     const QString& genre);
    void CurrentChannelData(qint32 number, const QString& station, const QString& artist, const QString& title,
                            const QString& genre);
    void SignalStrength(float rock, float roll, float ground);
    void MuteChanged(bool muted);
    // Every second while the service keeps sound: paused, seconds behind live (0: live), kept,
    // and into the song heard.
    void TimeShiftChanged(bool paused, double behindLive, double buffered, double position);
    // The song heard behind live, when it changes (duration -1: none given).
    void SongHeard(qint32 number, const QString& station, const QString& artist, const QString& title,
                   const QString& genre, qint32 duration);
    // The service's name has lost its owner (the service ended or crashed).
    void ServiceLost();
    // The service's name has an owner: found at start, or the service (back) on the bus.
    void ServiceFound();

private slots:
    void onSignal(const QDBusMessage& message);

private:
    explicit AXXMRadioClient(const QDBusConnection& bus);
    void askCurrentOwner();
    void onOwnerChanged(const QString& newOwner);
    void dispatch(const QDBusMessage& message);
    void dispatchEarlySignals();
    // A listing keeps coming while the owner is asked for: a second of it is plenty.
    static constexpr int MostEarlySignals = 256;
    // Sends a call to the service without waiting for its answer.
    template <typename... Args>
    void send(const xmradio::client::Member<xmradio::client::Kind::Method, Args...>& method,
              const std::type_identity_t<Args>&... arguments);

    QDBusConnection m_bus;
    QDBusServiceWatcher* m_watcher = nullptr;
    QString m_owner;
    bool m_ownerKnown = false;
    // Signals that came before the owner was known: the answers to the start-up's own calls can
    // overtake the answer to who owns the name.
    QList<QDBusMessage> m_beforeOwner;
    std::optional<qint32> m_channel;
    bool m_muted = false;
    bool m_muteSet = false;
};
