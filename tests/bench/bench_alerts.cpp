// What the alerts cost a report of the radio: 50 artist and 50 song alerts against none, in the
// same run, in rounds that measure each side in turn, on reports that each bring a new song (so
// every report is matched) and on reports that repeat what the channels play. The whole report
// as the window handles it: two real windows with a 250-channel table, one with the alerts in
// its vantoxm.ini and one without.
#include "alerts/alertbook.h"
#include "app/frmradioxm.h"
#include "benchfolder.h"
#include "benchsupport.h"

#include <QApplication>
#include <QDBusConnection>
#include <cstdio>
#include <ctime>

namespace {

constexpr int Channels = 250;
// The channel the benchmark's folder tunes.
constexpr int Tuned = 7;

// Nanoseconds of processor time this thread has used: the cost of the work itself, which other
// programs on a busy machine disturb far less than the wall clock.
qint64 threadNs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}
constexpr int Events = 50000;
// The window's reports are timed in short pieces, each side in turn, so that the two sides of a
// ratio meet the same load of a busy machine.
constexpr int Piece = 5000;

// The texts as the line-up gives them: 16 characters at most. One report in 97 is by an alert's
// artist, so the matches and their news are part of the cost.
QString lineUp(const QString& text)
{
    return text.left(alerts::LineUpWidth);
}
QString artistOf(int i)
{
    return lineUp(i % 97 == 0 ? QStringLiteral("Alert Artist %1 and Friends").arg(i % 25)
                              : QStringLiteral("Band %1 of the Road").arg(i % 700));
}
QString titleOf(int i)
{
    return lineUp(QStringLiteral("Song number %1").arg(i));
}

// 50 artists and 50 songs, half of them longer than the line-up shows.
void fillBook(alerts::AlertBook& book)
{
    for (int n = 0; n < 25; ++n) {
        book.ToggleArtist(QStringLiteral("Alert Artist %1 and Friends").arg(n));
        book.ToggleArtist(QStringLiteral("Short %1").arg(n));
        book.ToggleSong(QStringLiteral("Song Band %1").arg(n), QStringLiteral("The Longest Title Number %1").arg(n));
        book.ToggleSong(QStringLiteral("Duo %1").arg(n), QStringLiteral("Hit %1").arg(n));
    }
}

struct Reports {
    std::vector<qint32> channel;
    std::vector<QString> station, artist, title;
};

Reports makeReports(int count, bool newSongs)
{
    Reports r;
    for (int i = 0; i < count; ++i) {
        const int channel = i % Channels + 1;
        const int song = newSongs ? i : channel;
        r.channel.push_back(channel);
        r.station.push_back(QStringLiteral("Station %1").arg(channel));
        r.artist.push_back(artistOf(song));
        r.title.push_back(titleOf(song));
    }
    return r;
}

// --- The whole report, in the window ------------------------------------------------------------

// Microseconds of the window thread's processor time a report takes: the radio client's
// ChannelData signal, which the window handles (the table, services.dat, the alerts, the
// now-playing labels, the repaints as the event loop gets to them). Without the bus's delivery,
// which costs the same with alerts or without, so the ratio is the stricter.
double measureWindow(frmRadioXM& window, const Reports& reports, size_t begin)
{
    AXXMRadioClient* client = window.radioClient();
    const QString genre = QStringLiteral("Genre");
    const qint64 start = threadNs();
    for (size_t i = begin; i < begin + Piece; ++i) {
        // Not the tuned channel: while a banner is up, the window with the alerts leaves the
        // artist-title line as it is, and the repaints it saves would flatter it.
        if (reports.channel[i] == Tuned)
            continue;
        emit client->ChannelData(reports.channel[i], reports.station[i], reports.artist[i], reports.title[i], genre);
        if (i % Channels == Channels - 1)
            QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    return double(threadNs() - start) / 1000.0 / double(Piece);
}

// The reports of two windows, one with the alerts and one with none, in rounds.
void windowRounds(frmRadioXM& alerted, frmRadioXM& plain, const Reports& reports, const char* what)
{
    std::vector<double> withAlerts, without;
    size_t begin = 0;
    // Each side first in turn, so that neither always runs on a warmer machine; every round on
    // the next piece of the reports.
    const int rounds = 150;
    for (int round = 0; round < rounds; ++round, begin = (begin + Piece) % reports.channel.size()) {
        if (round % 2) {
            withAlerts.push_back(measureWindow(alerted, reports, begin));
            without.push_back(measureWindow(plain, reports, begin));
        } else {
            without.push_back(measureWindow(plain, reports, begin));
            withAlerts.push_back(measureWindow(alerted, reports, begin));
        }
    }
    std::printf("window, %s: %d rounds of %d ChannelData reports over %d channels\n", what, rounds, Piece, Channels);
    bench::pairedRow("report in the window, alerts vs none", withAlerts, without, "us", 1.1);
}

void benchWindow()
{
    // Another connection holds the media player's name, so that neither window is the player and
    // the two differ in their alerts alone.
    QDBusConnection other = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("other"));
    other.registerService(QStringLiteral("org.mpris.MediaPlayer2.vantoxm"));
    bench::StartedWindow plain(Channels);
    // The alerts as the driver's holds leave them in the window's vantoxm.ini.
    bench::StartedWindow alerted(Channels, [](const QString& folder) {
        alerts::AlertBook book(folder + QStringLiteral("/vantoxm.ini"));
        fillBook(book);
    });
    if (!plain.window->radioClient() || !alerted.window->radioClient()) {
        std::printf("window: no session bus, so no radio client; run under dbus-run-session\n");
        return;
    }
    const Reports newSongs = makeReports(Events, true);
    const Reports sameSongs = makeReports(Events, false);
    for (size_t begin = 0; begin < size_t(Events); begin += Piece) { // the tables fill, the first paints pass
        measureWindow(*plain.window, newSongs, begin);
        measureWindow(*alerted.window, newSongs, begin);
    }
    std::printf("window with the alerts: %lld artists, %lld songs\n",
                qlonglong(alerted.window->alerts().book().Artists().size()),
                qlonglong(alerted.window->alerts().book().Songs().size()));
    windowRounds(*alerted.window, *plain.window, newSongs, "every report a new song");
    windowRounds(*alerted.window, *plain.window, sameSongs, "the songs go on");
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "vanto.*=false");
    QApplication app(argc, argv);
    benchWindow();
    return 0;
}
