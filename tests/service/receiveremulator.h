// Test helper: a receiver on the far side of a pseudo-terminal, speaking the receiver's serial
// protocol as its documentation and byte captures describe it. The service opens it by a path
// (a symbolic link to the terminal), as it would open /dev/serial/by-id/...; the emulator can
// stay silent, cut a reply short, send junk or replies nobody asked for, leave out the closing
// bytes, and be pulled and plugged in again.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

class ReceiverEmulator : public QObject {
    Q_OBJECT
public:
    struct Channel {
        int number;
        int serviceId;
        QByteArray name;     // Latin-1, up to 16 bytes
        QByteArray category; // Latin-1, up to 16 bytes
        QByteArray artist;   // Latin-1, up to 36 bytes; channel info shows the first 16
        QByteArray title;
        bool subscribed = true;
        int startedAgo = 30; // song time, seconds
        int endsIn = 170;
    };
    struct Signal {
        int satellite = 3;
        bool antenna = true;
        int terrestrial = 2;
        int carrierToNoise1 = 64; // quarter dB: 16 dB
        int carrierToNoise2 = 40; // 10 dB
        int terrestrialErrorRate = 68;
    };

    // A line-up with gaps, a channel that is not subscribed, and Latin-1 names.
    static QList<Channel> defaultLineup();

    // A whole frame as the receiver sends it, with or without its two closing bytes.
    static QByteArray frame(const QByteArray& payload, bool trailer = true);
    // The channel-info reply (A5) of a channel, subscribed or not.
    static QByteArray channelInfoPayload(const Channel& channel);
    // A song time event (D6) of a channel.
    static QByteArray songTimePayload(int number, int startedAgo, int endsIn);

    explicit ReceiverEmulator(QList<Channel> lineup = defaultLineup());
    ~ReceiverEmulator() override;

    // The path the service opens.
    QString devicePath() const { return m_linkPath; }
    const QList<Channel>& lineup() const { return m_lineup; }

    // Replies leave at this many bits a second, 10 bits a byte, as on the wire; 0 sends them at
    // once. They leave in bursts every chunkMs: a USB-serial chip such as the PCR's hands its
    // bytes over when its latency timer (16 ms by default) runs out.
    void setBaud(int baud, int chunkMs = 5)
    {
        m_baud = baud;
        m_pace.setInterval(chunkMs);
    }
    // Not activated: the power-up says so, every channel answers 03 09 with the texts of the
    // channel the receiver is on, and only the preview channel tunes.
    void setActivated(bool activated) { m_activated = activated; }
    // The one channel a radio that is not activated plays, and names in answer to every
    // channel-info request, with status 03 09.
    void setPreviewChannel(int number) { m_preview = number; }
    // Frames without the two closing bytes, as the captured channel-info reply shows.
    void setTrailer(bool trailer) { m_trailer = trailer; }
    void setSignal(const Signal& signal) { m_signal = signal; }
    // A silent receiver takes requests and answers none.
    void setSilent(bool silent) { m_silent = silent; }
    // The next count requests with this command are carried out, but their replies are lost.
    void loseReplies(quint8 command, int count) { m_repliesToLose[command] = count; }
    void truncateNextReply() { m_truncateNext = true; }
    bool truncatedReplySent() const { return !m_truncateNext; }
    void sendRaw(const QByteArray& bytes);
    // Bytes that go out straight before the next channel-info reply about that channel.
    void sendBeforeInfo(int number, const QByteArray& bytes) { m_beforeInfo.insert(number, bytes); }
    // A new song on a channel: reported at once when the channel is monitored.
    void changeSong(int number, const QByteArray& artist, const QByteArray& title);

    // Closes the terminal and removes the path, as a pulled USB receiver.
    void unplug();
    // A new terminal at the same path, powered down.
    void plugIn();
    bool isPlugged() const { return m_master >= 0; }

    // Every request payload taken, oldest first.
    const QList<QByteArray>& requests() const { return m_requests; }
    int countRequests(quint8 command) const;
    bool isPoweredUp() const { return m_poweredUp; }
    int tunedChannel() const { return m_tuned; }
    int monitoredChannel() const { return m_monitored; }
    bool isMuted() const { return m_muted; }

private:
    void openTerminal();
    void closeTerminal();
    void onReadable();
    void handleRequest(const QByteArray& payload);
    void reply(QByteArray payload);
    void flushOutput();
    void sendMonitorEvents(const Channel& channel);
    void sendSongTime();
    void sendPushedSignal();
    QByteArray channelInfo(const Channel* channel, int askedNumber, bool next);
    const Channel* find(int number) const;

    QList<Channel> m_lineup;
    QTemporaryDir m_folder;
    QString m_linkPath;
    int m_master = -1;
    int m_slave = -1; // held open so the terminal lives on while the service has it closed
    std::unique_ptr<QSocketNotifier> m_notifier;
    QByteArray m_input;
    QByteArray m_output;
    QTimer m_pace;
    QElapsedTimer m_paceClock;
    double m_credit = 0; // bytes the line could have carried and has not
    QTimer m_songTimer;
    QTimer m_pushTimer;
    int m_baud = 9600;
    bool m_activated = true;
    int m_preview = 1;
    Signal m_signal;
    bool m_silent = false;
    bool m_truncateNext = false;
    QHash<quint8, int> m_repliesToLose;
    bool m_losing = false; // the request being handled has its reply lost
    bool m_trailer = true;
    QHash<int, QByteArray> m_beforeInfo;
    QList<QByteArray> m_requests;
    bool m_poweredUp = false;
    int m_tuned = 0;
    int m_monitored = 0;
    bool m_muted = false;
};
