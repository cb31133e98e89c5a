// What the simulator plays: every song a short tune of its own, a few soft chords over a held
// root with a melody of plucked notes, made from a seed of its channel and song. The root, one of
// 24 quarter tones from 110 Hz up, tells channel and song apart by ear and by measurement. A new
// song on the same channel begins after one second of silence; another channel plays at once.
#pragma once

#include "soundsource.h"

#include <QString>
#include <array>
#include <mutex>
#include <optional>

namespace sound {

inline constexpr int RootSteps = 24;
inline constexpr double LowestRootHz = 110.0;

// The seed of a song: its channel, artist and title.
quint32 songSeed(int channel, const QString& artist, const QString& title);
// The song's root, 0 .. RootSteps - 1, and its pitch.
int rootStep(quint32 seed);
double rootFrequency(int step);

// One song's tune from its start; it repeats every four bars for as long as the song lasts.
class Tune {
public:
    Tune(quint32 seed, unsigned rate);
    // Writes the next frames.
    void render(Sample* samples, long frames);

private:
    struct Chord {
        int root = 0; // semitones above the song's root
        bool minor = false;
    };
    struct Voices {
        double centre = 0; // the root and the chords
        double melody = 0;
    };
    Voices voicesAt(double seconds) const;
    double pluck(long beat, double intoNote) const;

    double m_root = LowestRootHz;
    double m_beat = 0.6; // seconds
    std::array<Chord, 4> m_chords{};
    std::array<int, 16> m_melody{}; // a scale step per beat of four bars, -1 a rest
    unsigned m_rate;
    long m_frame = 0;
};

// The simulator's sound: follows what the simulator reports of the tuned channel.
class Programme : public SoundSource {
public:
    // The tuned channel's song, as the simulator reports it; any thread.
    void follow(int channel, quint32 seed);

    QString name() const override { return QStringLiteral("the simulator's programme"); }
    QString open(unsigned rate) override;
    unsigned rate() const override { return m_rate; }
    void close() override {}
    bool isLive() const override { return false; }
    SourceRead read(Sample* samples, long frames, int timeoutMs) override;

private:
    struct Song {
        int channel = 0;
        quint32 seed = 0;
        bool operator==(const Song&) const = default;
    };
    void changeSong(const Song& song);

    std::mutex m_lock;
    Song m_wanted; // guarded by m_lock
    // The play-through's thread alone:
    Song m_playing;
    std::optional<Tune> m_tune;
    long m_silenceLeft = 0;
    unsigned m_rate = DefaultRate;
};

} // namespace sound
