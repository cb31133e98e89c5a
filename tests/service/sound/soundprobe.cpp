// Blocking simple-API streams in threads of their own, in 10 ms steps. A read is timed by the
// server's latency figure, and the first frame's time is the median of what all reads say.
#include "soundprobe.h"

#include "service/sound/programme.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>
#include <pulse/simple.h>

namespace probe {

namespace {

constexpr int Step = 480;

pa_simple* openStream(const QString& server, pa_stream_direction_t direction, const QString& device)
{
    static constexpr pa_sample_spec Spec{PA_SAMPLE_S16LE, 48000, 2};
    const pa_buffer_attr attributes{uint32_t(-1), 2 * Step * 4, uint32_t(-1), uint32_t(-1), Step * 4};
    return pa_simple_new(server.isEmpty() ? nullptr : qPrintable(server), "vanto-test", direction, qPrintable(device),
                         "probe", &Spec, nullptr, &attributes, nullptr);
}

} // namespace

Signal clicks(long period)
{
    return [period](long frame) { return frame % period < 96 ? 0.5f : 0.0f; };
}

Signal tone(double hz)
{
    return [hz](long frame) { return 0.3f * float(std::sin(2 * std::numbers::pi * hz * double(frame) / Rate)); };
}

double nowMs()
{
    // CLOCK_MONOTONIC, as QElapsedTimer reads it.
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

Player::Player(const QString& sink, Signal signal, const QString& server)
    : m_thread([this, sink, signal, server] {
        pa_simple* stream = openStream(server, PA_STREAM_PLAYBACK, sink);
        std::vector<qint16> step(Step * 2);
        for (long frame = 0; stream && !m_stop; frame += Step) {
            for (int i = 0; i < Step; ++i)
                step[2 * i] = step[2 * i + 1] = qint16(std::lround(signal(frame + i) * 32767));
            if (pa_simple_write(stream, step.data(), step.size() * 2, nullptr) < 0)
                break;
        }
        if (stream)
            pa_simple_free(stream);
    })
{
}

Player::~Player()
{
    m_stop = true;
    m_thread.join();
}

Recorder::Recorder(const QString& source, const QString& server, Tap tap)
    : m_thread([this, source, server, tap] {
        pa_simple* stream = openStream(server, PA_STREAM_RECORD, source);
        std::vector<qint16> step(Step * 2);
        std::vector<float> left(Step);
        while (stream && !m_stop && pa_simple_read(stream, step.data(), step.size() * 2, nullptr) >= 0) {
            const double heard = nowMs() - double(pa_simple_get_latency(stream, nullptr)) / 1000;
            for (int i = 0; i < Step; ++i)
                left[std::size_t(i)] = float(step[2 * i]) / 32768;
            if (tap) {
                tap(left);
                continue;
            }
            const std::lock_guard guard(m_lock);
            m_left.insert(m_left.end(), left.begin(), left.end());
            m_starts.push_back(heard - double(m_left.size()) * 1000 / Rate);
        }
        if (stream)
            pa_simple_free(stream);
    })
{
}

Recorder::~Recorder()
{
    m_stop = true;
    m_thread.join();
}

std::vector<float> Recorder::left() const
{
    const std::lock_guard guard(m_lock);
    return m_left;
}

double Recorder::timeOf(long frame) const
{
    std::vector<double> starts;
    {
        const std::lock_guard guard(m_lock);
        starts = m_starts;
    }
    if (starts.empty())
        return 0;
    std::nth_element(starts.begin(), starts.begin() + long(starts.size()) / 2, starts.end());
    return starts[starts.size() / 2] + double(frame) * 1000 / Rate;
}

long Recorder::frameAt(double ms) const
{
    return std::max(0L, std::lround((ms - timeOf(0)) * Rate / 1000));
}

long onset(const std::vector<float>& samples, long from, float threshold)
{
    const auto begin = samples.begin() + std::clamp(from, 0L, long(samples.size()));
    const auto found = std::find_if(begin, samples.end(), [&](float s) { return std::abs(s) > threshold; });
    return found == samples.end() ? -1 : long(found - samples.begin());
}

float peak(const std::vector<float>& samples, long from, long to)
{
    float loudest = 0;
    for (long i = std::max(0L, from); i < std::min(to, long(samples.size())); ++i)
        loudest = std::max(loudest, std::abs(samples[std::size_t(i)]));
    return loudest;
}

std::vector<double> delays(const Recorder& in, const Recorder& out, double fromMs, long clickPeriod)
{
    const std::vector<float> input = in.left();
    const std::vector<float> output = out.left();
    std::vector<double> found;
    for (long click = onset(input, in.frameAt(fromMs)); click >= 0; click = onset(input, click + clickPeriod / 2)) {
        const long there = onset(output, out.frameAt(in.timeOf(click) - 5));
        if (there < 0)
            break;
        found.push_back(out.timeOf(there) - in.timeOf(click));
    }
    return found;
}

int strongestRoot(const std::vector<float>& samples, long from, long to)
{
    // Goertzel at each root: the held bass note is the strongest of them.
    int strongest = -1;
    double most = 0;
    for (int step = 0; step < sound::RootSteps; ++step) {
        const double coefficient = 2 * std::cos(2 * std::numbers::pi * sound::rootFrequency(step) / Rate);
        double previous = 0, older = 0;
        for (long i = std::max(0L, from); i < std::min(to, long(samples.size())); ++i)
            older = std::exchange(previous, samples[std::size_t(i)] + coefficient * previous - older);
        const double power = previous * previous + older * older - coefficient * previous * older;
        if (power > most)
            std::tie(most, strongest) = std::pair(power, step);
    }
    return strongest;
}

} // namespace probe
