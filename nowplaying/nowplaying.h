// The now-playing display: the tuned channel's number, station, artist, title and genre, the
// artist-title line, the elapsed and total track time and the thumb on the time bar. The radio's
// reports go to the tuned channel; the labels of number and texts follow it. Behind live (time
// shift) the display shows the song heard instead, and the total time how far behind live it is;
// a tap on the time bar seeks in the song heard, a tap on that time returns to live.
#pragma once

#include "base/modfunctions.h"
#include "radio/axxmradioclient.h"
#include "radio/channeltable.h"
#include "radio/timeshift.h"
#include "radio/tunedchannel.h"
#include "skin/radioxmcontrols.h"

#include <functional>
#include <optional>
#include <utility>

namespace nowplaying {

// Seconds as "mm:ss" (minutes with at least two digits, more when needed); -1 shows as "--:--".
// The remainder keeps the sign of the seconds, as the window always showed it.
QString FormatTrackTime(qint32 seconds);

// How far behind live the sound is, as "-3:25" (minutes and seconds, to the nearest second), and
// "-1:02:05" from an hour on.
QString FormatBehindLive(double seconds);

// The thumb's left edge for a position in a track: the share position / duration of the bar's
// free width (bar width minus thumb width), rounded half to even, never below 0; the left end
// for a track without a length (-1). No value when the duration is 0 or the result does not fit
// 32 bits.
std::optional<qint32> TimeThumbLeft(qint32 position, qint32 duration, float barWidth, float thumbWidth);

// The labels of the tuned channel and the time bar that the now-playing display writes.
struct NowPlayingControls {
    skin::Label* lblCC;
    skin::Label* lblStation;
    skin::Label* lblArtist;
    skin::Label* lblTrackTitle;
    skin::Label* lblGenre;
    skin::Label* lblArtistTrackTitle;
    skin::Label* lblCurrentPos;
    skin::Label* lblTotalTrackTime;
    skin::PictureArea* pctTimeScrollBar;
    skin::ImageControl* pctTimeScroll;

    static NowPlayingControls of(skin::RadioXMControls& window)
    {
        return {window.lblCC.get(),         window.lblStation.get(),        window.lblArtist.get(),
                window.lblTrackTitle.get(), window.lblGenre.get(),          window.lblArtistTrackTitle.get(),
                window.lblCurrentPos.get(), window.lblTotalTrackTime.get(), window.pctTimeScrollBar.get(),
                window.pctTimeScroll.get()};
    }
};

class NowPlaying : public QObject {
    Q_OBJECT
public:
    // Who else has the artist-title line.
    struct Hooks {
        // Whether a preset is held down: a new line waits until it is let go.
        std::function<bool()> presetHeld;
        // Whether an alert has the line: a new line is only kept, and shown when it comes back.
        std::function<bool()> lineLent;
        // Asks the radio for a move in time shift (a seek: seconds into the song heard).
        std::function<void(TimeShiftCommand, double)> timeShift;
    };

    NowPlaying(NowPlayingControls controls, modFunctions::SharedWaitTimer& waits, const radio::ChannelTable& table,
               radio::TunedChannel& tuned, const radio::TimeShift& timeShift, Hooks hooks = {});
    ~NowPlaying() override;
    NowPlaying(const NowPlaying&) = delete;
    NowPlaying& operator=(const NowPlaying&) = delete;

    // Puts a new artist-title line on screen, unless it is the line already there. While a
    // preset is held, the line waits: the preset's message must stay readable. While an alert
    // has the line, the new one is kept for when the alert is over.
    void ArtistTitleUpdate(const QString& line);

    void ChannelChange(qint32 number);
    void CurrentChannelData(qint32 number, const QString& station, const QString& artist, const QString& title,
                            const QString& genre);
    void CurrentTime(qint32 position, qint32 duration);
    // Puts the time thumb where the last reported time places it on the bar as it is now.
    void PlaceTimeThumb();
    // The time bar, its thumb and the total time answer taps.
    void connectHandlers();
    // A tap at x twips along the time bar: with time shift on, a seek to that share of the song
    // heard.
    void TimeBarTapped(float x);
    // A tap on the total time: behind live, back to live.
    void TotalTimeTapped();

    // The artist-title line of what plays now, shown or kept while the line is lent.
    const QString& ArtistTrackTitle() const { return m_artistTrackTitle; }
    // The artist and title the labels show: behind live the song heard's, else the tuned
    // channel's.
    std::pair<QString, QString> ShownArtistTitle() const;
    // The live track's time, behind live too.
    qint32 TrackPosition() const { return m_trackPosition; }
    qint32 TrackDuration() const { return m_trackDuration; }
    // Where the thumb was last put on the time bar (twips).
    qint32 TimeThumbLeft() const { return m_timeThumbLeft; }

signals:
    // The radio changed to the channel at this 1-based row of the list, before the labels show
    // it: the list highlights the row.
    void channelRowChanged(qint32 item);
    // The tuned channel has taken the radio's change: the presets light.
    void tunedChannelChanged();

private:
    // Puts what changed of the tuned channel on the labels: the number, and the station, artist,
    // title and genre in the order the window always filled them; the artist-title line may wait
    // for a held preset.
    void showTuned(radio::TunedChannel::Parts parts);
    void showTexts(const QString& number, const radio::ChannelTexts& texts);
    // Behind live, the song heard and its time; back at live, the tuned channel and its time.
    void showTimeShift();
    void showLiveTime();
    // The time shown: the live track's, or behind live the song heard's.
    radio::TrackTime shownTime() const;

    NowPlayingControls m_c;
    modFunctions::SharedWaitTimer& m_waits;
    const radio::ChannelTable& m_table;
    radio::TunedChannel& m_tuned;
    const radio::TimeShift& m_timeShift;
    Hooks m_hooks;
    QString m_artistTrackTitle;
    qint32 m_trackPosition = 0;
    qint32 m_trackDuration = 0;
    qint32 m_timeThumbLeft = 0;
    // Whether the labels show the song heard behind live.
    bool m_showingHeard = false;
    // Another channel was tuned behind live: the display waits for the service to be live.
    bool m_leftBehind = false;
    QMetaObject::Connection m_following;
    QMetaObject::Connection m_followingShift;
};

} // namespace nowplaying
