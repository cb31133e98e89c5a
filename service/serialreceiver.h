// A real receiver behind the radio service, on a serial port: it powers the receiver up, walks
// the line-up over and over for the channel list, tunes and mutes on request, follows the tuned
// channel's texts and song time, and polls the signal once a second. One request is on the
// wire at a time; a tune or mute goes before the next step of the walk. Only a reply that fits
// the request on the wire answers it; what answers nothing is dropped and counted.
#pragma once

#include "radiobackend.h"
#include "seriallink.h"
#include "xmframes.h"
#include "xmreplies.h"

#include <QElapsedTimer>
#include <QHash>
#include <QTimer>
#include <deque>
#include <optional>
#include <set>

namespace xmservice {

enum class ReceiverModel {
    Pcr,    // the USB receiver: powers up at once
    Direct, // the car tuners: need the wake-up sequence first
};

class SerialReceiver : public RadioBackend {
    Q_OBJECT
public:
    static constexpr int ReplyTimeoutMs = 1000;
    static constexpr int ReportIntervalMs = 1000;
    // Missed replies in a row after which the receiver is taken to have lost its power.
    static constexpr int MissesBeforePowerUp = 3;
    // Bytes that fit no frame and replies that answer nothing are logged at most this often.
    static constexpr int NoiseLogIntervalMs = 60000;

    SerialReceiver(QString devicePath, ReceiverModel model, int baud, QObject* parent = nullptr);

    void start() override;
    void Channel(int number) override;

protected:
    void muteReceiver(bool muted) override;

private:
    enum class Kind {
        WakeUp,
        PowerOn,
        SignalPush,
        MonitorOff,
        Tune,
        Monitor,
        TunedInfo,
        ExtendedText,
        Mute,
        Poll,
        Walk,
        WalkCheck // is the channel a doubtful walk reply named really there?
    };
    struct Request {
        Kind kind;
        QByteArray payload;
        int channel = 0;
        bool urgent = false; // asked for by the user: goes before everything else waiting
        int sent = 0;        // how often it has gone out without an answer
    };
    struct Texts {
        QString station;
        QString genre;
        QString artist; // 16 characters from channel info and monitor events
        QString title;
        std::optional<QString> longArtist; // 36 characters from the extended text
        std::optional<QString> longTitle;
    };

    void onOpened();
    void onLost();
    void onBytes(const QByteArray& bytes);
    void onLineQuiet();
    void powerUp();
    // Forgets the requests on the line and what was half received.
    void resetLink();
    void tune(int number);
    void enqueue(Request request);
    void dropQueued(std::initializer_list<Kind> kinds);
    bool isQueued(Kind kind) const;
    void sendNext();
    void onReplyTimeout();
    bool sendAgain(Request missed);
    void handleFrame(const QByteArray& payload);
    bool answers(const Request& request, QByteArrayView payload) const;
    bool answersWalk(const Request& request, QByteArrayView payload) const;
    bool believable(const Request& request, const xm::ChannelInfo& info) const;
    void takeReply(QByteArrayView payload);
    void dropUnasked(QByteArrayView payload);
    void handleReply(const Request& request, QByteArrayView payload);
    void handleEvent(QByteArrayView payload);
    void onPoweredUp(QByteArrayView payload);
    void onTuned(const Request& request, QByteArrayView payload);
    void onWalkStep(const Request& request, QByteArrayView payload);
    void onWalkCheck(const Request& request, QByteArrayView payload);
    void takeWalkStep(const xm::ChannelInfo& info, QByteArrayView payload);
    void notePreview(int channel);
    void endWalkPass();
    void onTunedInfo(QByteArrayView payload);
    void onExtendedText(QByteArrayView payload);
    void onSignal(const xm::SignalReport& report, bool polled);
    void askExtendedText();
    void sendTunedChannel();
    void sendSecondlyReports();
    void logNoise();
    void setTexts(const Texts& texts);
    void noteCondition(std::optional<bool>& known, bool now, const char* good, const char* bad);
    bool barsShown() const;

    SerialLink m_link;
    ReceiverModel m_model;
    int m_baud;
    xm::FrameDecoder m_decoder;
    std::deque<Request> m_queue;
    std::optional<Request> m_inFlight;
    QTimer m_replyTimer;
    QTimer m_reportTimer;
    QTimer m_quietTimer; // the line has said nothing more while a frame is unfinished
    bool m_poweredUp = false;
    int m_missedReplies = 0;
    bool m_answering = true;
    bool m_heardSinceSend = false; // any frame since the request on the wire went out

    qint64 m_skippedLogged = 0; // the decoder's count at the last noise line
    int m_unasked = 0;          // replies dropped since the last noise line
    int m_unanswered = 0;       // requests unanswered while other frames came, since then
    QString m_lastUnasked;
    QElapsedTimer m_noiseClock; // since the last noise line

    std::optional<int> m_wantedChannel; // sent again after every power-up
    std::optional<bool> m_wantedMute;
    int m_walkAfter = 0; // the walk asks for the channel after this one; 0 starts a pass
    // The channels the last whole pass met, in order: a step's answer that is not the next of them
    // is checked with the receiver before it is believed. Empty before the first pass ends and
    // after a power-up.
    std::set<int> m_lastPass;
    std::set<int> m_thisPass;
    bool m_walkMissed = false;       // the last step went unanswered: the next answer is checked too
    bool m_endDoubted = false;       // an end of the line-up that the last pass did not see, asked again
    QHash<int, Texts> m_lineupTexts; // the texts of each channel listed, for the tune

    int m_tuned = 0; // 0 while nothing is tuned
    int m_tunedServiceId = 0;
    std::optional<int> m_preview; // the channel a radio without subscription plays, once it says so
    bool m_monitoring = false;
    Texts m_texts;
    bool m_textsAwaited = false; // a tuned channel's texts go out once its channel info is in
    xm::SongTime m_song;
    xm::SongTimeReader m_songReader;
    bool m_songKnown = false;  // a song time (or its absence) has been reported since the tune
    QElapsedTimer m_songClock; // since the song time arrived
    QElapsedTimer m_tuneClock; // since the tune was confirmed

    xm::SignalLevels m_levels;
    std::optional<bool> m_activated;
    std::optional<bool> m_antenna;
    std::optional<bool> m_signal;
};

} // namespace xmservice
