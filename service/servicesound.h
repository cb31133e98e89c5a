// The radio's sound for the back-end that runs: the simulator's programme, following what the
// simulator reports of the tuned channel, or the receiver's line-in; nothing with Source=none.
// A mute asked on the bus silences it at once, before the receiver confirms. With time shift on,
// the tuned channel's last minutes are kept with the songs heard, and the bus's time-shift
// methods pause, skip, seek and save within them.
#pragma once

#include "radiobackend.h"
#include "service/sound/playthrough.h"

#include <QObject>
#include <QTimer>
#include <memory>

namespace xmservice {

class ServiceSound : public QObject, public TimeShiftControl {
    Q_OBJECT
public:
    // source: "auto", "none" or a capture device (unused by the simulator, which makes its own);
    // settingsPath: the file the log points the user to when no line input is found;
    // minutes: of time shift, 0 for none.
    ServiceSound(RadioBackend& backend, bool simulated, const QString& source, const QString& settingsPath,
                 int minutes);
    ~ServiceSound() override;

    void pause() override;
    void resume() override;
    void goLive() override;
    void nextSong() override;
    void previousSong() override;
    void seek(double position) override;
    State state() const override;
    void saveSong(std::function<void(const QString& path, const QString& failure)> done) override;

    // Where saved songs go: "VANTO XM" in the user's music folder.
    static QString songFolder();

private:
    void followTheRadio();
    void onCurrentChannelData(int number, const QString& station, const QString& artist, const QString& title,
                              const QString& genre);
    // Tells the bus what time shift hears: the state, and the song heard when it changed.
    void report();
    template <typename Command> void command(Command run);

    RadioBackend& m_backend;
    std::unique_ptr<sound::PlayThrough> m_player;
    QTimer m_reports;
    // The tuned channel's song last marked, so that a repeated report marks nothing.
    std::optional<sound::SongInfo> m_marked;
    // The song last announced as heard behind live; none while live.
    struct Announced {
        qint64 mark = 0;
        QString artist, title;
        bool operator==(const Announced&) const = default;
    };
    std::optional<Announced> m_announced;
};

} // namespace xmservice
