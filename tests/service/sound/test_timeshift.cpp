// The time-shift buffer on its own: real Opus, a tone whose pitch names each second of the sound,
// and the moment heard after pauses, song steps, seeks and a buffer that lets its oldest sound go;
// and a song saved from it, read back with libopusfile.
#include "service/sound/songfile.h"
#include "service/sound/timeshift.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <opusfile.h>
#include <vector>

using sound::SongInfo;
using sound::TimeShiftBuffer;

namespace {

constexpr long Second = TimeShiftBuffer::Rate;

// Second s of the sound is a tone of 400 + 100 s Hz.
double pitchOf(int second)
{
    return 400.0 + 100.0 * second;
}

struct Sound {
    TimeShiftBuffer buffer;
    int seconds = 0;
    double phase = 0;

    explicit Sound(int minutes = 60)
        : buffer(minutes, {96000, 0})
    {
    }

    // Appends the next n seconds, each in 20 ms steps as the play-through gives them.
    void play(int n)
    {
        std::vector<sound::Sample> step(std::size_t(Second / 50) * sound::Channels);
        for (int s = 0; s < n; ++s, ++seconds)
            for (int k = 0; k < 50; ++k) {
                for (std::size_t f = 0; f < step.size() / 2; ++f) {
                    phase += 2 * std::numbers::pi * pitchOf(seconds % 40) / Second;
                    step[2 * f] = step[2 * f + 1] = sound::Sample(8000 * std::sin(phase));
                }
                buffer.append(step.data(), long(step.size() / 2));
            }
    }
    void mark(const char* title) { buffer.markSong({7, "Rock", "Artist", title, "Rock", 240}); }

    // The pitch of the next 100 ms heard, from the left channel's zero crossings after its first
    // 10 ms (where a decoder that starts afresh settles).
    double heardPitch()
    {
        std::vector<sound::Sample> out(std::size_t(Second / 10) * sound::Channels);
        const long got = buffer.readBehind(out.data(), Second / 10);
        EXPECT_EQ(got, Second / 10);
        int crossings = 0;
        for (long f = Second / 100 + 1; f < got; ++f)
            crossings += (out[size_t(2 * f)] >= 0) != (out[size_t(2 * f - 2)] >= 0) ? 1 : 0;
        return crossings / 2.0 / 0.09;
    }
};

} // namespace

TEST(TimeShift, APauseGoesOnFromThePausedMomentBehindLive)
{
    Sound s;
    s.play(3);
    s.buffer.pause();
    s.play(5);
    EXPECT_TRUE(s.buffer.paused());
    EXPECT_EQ(s.buffer.readBehind(nullptr, 0), 0);
    EXPECT_NEAR(s.buffer.behindLiveSeconds(), 5.0, 0.001);
    s.buffer.resume();
    EXPECT_NEAR(s.heardPitch(), pitchOf(3), 25) << "the second after the pause";
    s.buffer.goLive();
    EXPECT_TRUE(s.buffer.atLive());
    EXPECT_EQ(s.buffer.behindLiveSeconds(), 0.0);
}

TEST(TimeShift, SongsAreStepsAndASeekStaysInTheSongHeard)
{
    Sound s;
    s.mark("A");
    s.play(4);
    s.mark("B");
    s.play(4);
    s.mark("C");
    s.play(4);
    s.buffer.previous();
    EXPECT_EQ(s.buffer.heardFrame(), 8 * Second) << "the start of the song heard";
    EXPECT_EQ(s.buffer.songHeard()->song.title, "C");
    s.buffer.previous();
    EXPECT_EQ(s.buffer.heardFrame(), 4 * Second) << "within 3 s of its start: the song before";
    EXPECT_NEAR(s.heardPitch(), pitchOf(4), 25);
    s.buffer.next();
    EXPECT_EQ(s.buffer.heardFrame(), 8 * Second);
    s.buffer.seek(2.5);
    EXPECT_EQ(s.buffer.heardFrame(), 8 * Second + 5 * Second / 2);
    EXPECT_NEAR(s.buffer.secondsIntoSong(), 2.5, 0.001);
    s.buffer.seek(60);
    EXPECT_TRUE(s.buffer.atLive()) << "past the live moment is live";
    s.buffer.seek(1);
    s.buffer.next();
    EXPECT_TRUE(s.buffer.atLive()) << "from the newest song to live";
}

TEST(TimeShift, ASongTunedIntoMidwayCountsFromItsRealStartButIsKeptFromTheTune)
{
    Sound s;
    s.mark("Tuned into");
    s.play(1);
    s.buffer.setSongTime(91, 240); // the radio's first time: 91 s into the song
    s.play(4);
    s.buffer.seek(0);
    EXPECT_NEAR(s.buffer.secondsIntoSong(), 90.0, 0.001) << "never heard before the tune";
    s.buffer.seek(92.5);
    EXPECT_EQ(s.buffer.heardFrame(), 5 * Second / 2);
    s.buffer.setSongTime(95, 240); // later times change nothing
    EXPECT_NEAR(s.buffer.secondsIntoSong(), 92.5, 0.001);
    EXPECT_EQ(s.buffer.songHeard()->song.lengthSeconds, 240);

    s.buffer.markSong({7, "Rock", "The Next Artist", "Old title", "Rock"});
    s.buffer.markSong({7, "Rock", "The Next Artist", "Next", "Rock"}); // the title's frame, a moment later
    s.play(2);
    EXPECT_EQ(s.buffer.marks().size(), 2u) << "one song, its texts completed";
    EXPECT_EQ(s.buffer.marks().back().song.title, "Next");
    s.buffer.setSongTime(1, 200); // began at its mark: within the radio's whole seconds
    s.buffer.goLive();
    s.buffer.seek(1.5);
    EXPECT_EQ(s.buffer.heardFrame(), 5 * Second + 3 * Second / 2);
}

TEST(TimeShift, TheOldestSoundGoesAndAPauseLongerThanTheBufferGoesOnThere)
{
    Sound s(1);
    s.mark("A");
    s.play(5);
    s.mark("B");
    s.play(5);
    s.buffer.pause();
    s.mark("C");
    s.play(65);
    EXPECT_GE(s.buffer.bufferedSeconds(), 60.0);
    EXPECT_LT(s.buffer.bufferedSeconds(), 61.0);
    ASSERT_FALSE(s.buffer.marks().empty());
    EXPECT_EQ(s.buffer.marks().front().song.title, "C") << "the mark of the oldest sound's song stays";
    s.buffer.resume();
    const qint64 first = s.buffer.firstFrame();
    EXPECT_EQ(s.buffer.heardFrame(), first);
    EXPECT_NEAR(s.heardPitch(), pitchOf(int(first / Second) % 40), 25);

    s.buffer.clear();
    EXPECT_TRUE(s.buffer.atLive());
    EXPECT_FALSE(s.buffer.paused());
    EXPECT_EQ(s.buffer.bufferedSeconds(), 0.0);
    EXPECT_TRUE(s.buffer.marks().empty());
    EXPECT_EQ(s.buffer.bytes(), 0u);
}

namespace {

struct OpenedSong {
    OggOpusFile* file = nullptr;
    explicit OpenedSong(const QString& path)
        : file(op_open_file(QFile::encodeName(path).constData(), nullptr))
    {
    }
    ~OpenedSong()
    {
        if (file)
            op_free(file);
    }
    QString tag(const char* name) const { return QString::fromUtf8(opus_tags_query(op_tags(file, -1), name, 0)); }
};

} // namespace

TEST(SaveSong, TheSongHeardIsWrittenWholeWithItsTagsUnderAFreeName)
{
    Sound s;
    s.mark("Before");
    s.play(2);
    s.buffer.markSong({12, "Hits 12", "AC/DC", "Back: In Black?", "Rock", 255});
    s.play(3);
    s.mark("After");
    s.play(1);
    s.buffer.seek(0);
    s.buffer.previous(); // within 3 s of "After": the song before
    const sound::KeptSong kept = sound::KeepSongHeard(s.buffer);
    EXPECT_EQ(kept.song.title, "Back: In Black?");
    QTemporaryDir dir;
    const QString folder = dir.filePath("Music/VANTO XM");
    const sound::SavedSong first = sound::SaveSong(kept, folder);
    ASSERT_TRUE(first.failure.isEmpty()) << first.failure.toStdString();
    EXPECT_EQ(first.path, folder + "/AC_DC - Back_ In Black_.opus");
    OpenedSong song(first.path);
    ASSERT_NE(song.file, nullptr);
    EXPECT_EQ(op_pcm_total(song.file, -1), 3 * Second) << "from its mark to the next";
    EXPECT_EQ(song.tag("ARTIST"), "AC/DC");
    EXPECT_EQ(song.tag("TITLE"), "Back: In Black?");
    EXPECT_EQ(song.tag("ALBUM"), "Hits 12");
    EXPECT_EQ(song.tag("GENRE"), "Rock");
    EXPECT_EQ(song.tag("CHANNEL"), "12");

    EXPECT_EQ(sound::SaveSong(kept, folder).path, folder + "/AC_DC - Back_ In Black_ (2).opus");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 2) << "nothing else beside them";
}

TEST(SaveSong, ASaveThatCannotWriteLeavesNothingAndSaysWhy)
{
    Sound s;
    s.mark("Song");
    s.play(1);
    QTemporaryDir dir;
    QFile blocker(dir.filePath("Music"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    const sound::SavedSong saved = sound::SaveSong(sound::KeepSongHeard(s.buffer), dir.filePath("Music/VANTO XM"));
    EXPECT_TRUE(saved.path.isEmpty());
    EXPECT_TRUE(saved.failure.contains(dir.filePath("Music/VANTO XM"))) << saved.failure.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList{"Music"});
}
