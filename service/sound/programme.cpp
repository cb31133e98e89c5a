// The simulator's tunes: a held root, one soft chord a bar from a seeded progression, and a
// seeded melody of plucked notes on the beats, all at a quiet level (about -10 dBFS at the loudest).
#include "programme.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace sound {

namespace {

constexpr double TwoPi = 2 * std::numbers::pi;
// Scale steps of the melody: the major pentatonic over more than an octave, in semitones.
constexpr std::array<int, 8> Pentatonic{0, 2, 4, 7, 9, 12, 14, 16};
constexpr double Gain = 0.8 * 32767;
constexpr double FadeInSeconds = 0.02;

} // namespace

quint32 songSeed(int channel, const QString& artist, const QString& title)
{
    // FNV-1a: the same song gives the same seed in every run and on every machine.
    quint32 hash = 2166136261u;
    const QByteArray text = QByteArray::number(channel) + '\n' + artist.toUtf8() + '\n' + title.toUtf8();
    for (const char byte : text)
        hash = (hash ^ quint8(byte)) * 16777619u;
    return hash;
}

int rootStep(quint32 seed)
{
    return int(seed % RootSteps);
}

double rootFrequency(int step)
{
    return LowestRootHz * std::exp2(double(step) / RootSteps);
}

Tune::Tune(quint32 seed, unsigned rate)
    : m_root(rootFrequency(rootStep(seed)))
    , m_rate(rate)
{
    std::minstd_rand random(seed / RootSteps + 1);
    m_beat = 60.0 / (76 + 6 * int(random() % 5));
    // Four well-worn progressions, each starting on the root's own chord.
    static constexpr std::array<std::array<Chord, 4>, 4> Progressions{{
        {{{0, false}, {7, false}, {9, true}, {5, false}}},
        {{{0, false}, {9, true}, {5, false}, {7, false}}},
        {{{0, false}, {5, false}, {9, true}, {7, false}}},
        {{{0, false}, {4, true}, {5, false}, {7, false}}},
    }};
    m_chords = Progressions[random() % Progressions.size()];
    // A melody that walks the scale in small steps, with a rest now and then.
    int step = 2 + int(random() % 3);
    for (int& note : m_melody) {
        step = std::clamp(step + int(random() % 5) - 2, 0, int(Pentatonic.size()) - 1);
        note = random() % 5 == 0 ? -1 : step;
    }
}

void Tune::render(Sample* samples, long frames)
{
    for (long i = 0; i < frames; ++i, ++m_frame) {
        const double seconds = double(m_frame) / m_rate;
        const Voices voices = voicesAt(seconds);
        const double fade = std::min(1.0, seconds / FadeInSeconds);
        // The melody leans a little to the right.
        samples[2 * i] = Sample(std::lround(Gain * fade * (voices.centre + 0.8 * voices.melody)));
        samples[2 * i + 1] = Sample(std::lround(Gain * fade * (voices.centre + voices.melody)));
    }
}

Tune::Voices Tune::voicesAt(double seconds) const
{
    const double beats = seconds / m_beat;
    const long beat = long(beats);
    const double intoBeat = (beats - double(beat)) * m_beat;
    const double bar = 4 * m_beat;
    const Chord& chord = m_chords[(beat / 4) % 4];
    const double intoBar = seconds - double(beat / 4) * bar;

    // The root, held all through and pulsing softly on the beat.
    const double bass = 0.10 * (0.75 + 0.25 * std::exp(-intoBeat / 0.25)) * std::sin(TwoPi * m_root * seconds);

    // The bar's chord an octave up, swelling in and out so that chords never click.
    const double swell = std::min(1.0, intoBar / 0.3) * std::min(1.0, (bar - intoBar) / 0.3);
    double pad = 0;
    for (const int interval : {0, chord.minor ? 3 : 4, 7}) {
        double frequency = 2 * m_root * std::exp2((chord.root + interval) / 12.0);
        if (frequency >= 4 * m_root)
            frequency /= 2;
        pad += std::sin(TwoPi * frequency * seconds) + 0.3 * std::sin(2 * TwoPi * frequency * seconds);
    }
    pad *= 0.045 * swell;

    // A plucked note on the beat, over the fading tail of the one before.
    const double melody = pluck(beat, intoBeat) + (beat > 0 ? pluck(beat - 1, intoBeat + m_beat) : 0.0);
    return {bass + pad, melody};
}

double Tune::pluck(long beat, double intoNote) const
{
    const int note = m_melody[beat % long(m_melody.size())];
    if (note < 0)
        return 0;
    const double frequency = 2 * m_root * std::exp2(Pentatonic[note] / 12.0);
    const double envelope = std::min(1.0, intoNote / 0.005) * std::exp(-intoNote / 0.35);
    return 0.08 * envelope *
           (std::sin(TwoPi * frequency * intoNote) + 0.2 * std::sin(3 * TwoPi * frequency * intoNote));
}

void Programme::follow(int channel, quint32 seed)
{
    const std::lock_guard guard(m_lock);
    m_wanted = {channel, seed};
}

QString Programme::open(unsigned rate)
{
    m_rate = rate;
    m_tune.reset();
    m_playing = {};
    m_silenceLeft = 0;
    return {};
}

SourceRead Programme::read(Sample* samples, long frames, int)
{
    Song wanted;
    {
        const std::lock_guard guard(m_lock);
        wanted = m_wanted;
    }
    if (wanted != m_playing)
        changeSong(wanted);
    long done = m_tune ? std::min(frames, m_silenceLeft) : frames;
    std::fill_n(samples, done * Channels, Sample(0));
    m_silenceLeft -= m_tune ? done : 0;
    if (done < frames)
        m_tune->render(samples + done * Channels, frames - done);
    return {frames, {}};
}

// A new song on the tuned channel comes after a second of silence, as between a radio station's
// songs; another channel plays at once.
void Programme::changeSong(const Song& song)
{
    const bool sameChannel = m_tune && song.channel == m_playing.channel;
    m_playing = song;
    m_tune.emplace(song.seed, m_rate);
    m_silenceLeft = sameChannel ? long(m_rate) : 0;
}

} // namespace sound
