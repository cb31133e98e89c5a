// A low-passed random walk per signal, with dropouts that pull a level close to zero.
#include "signalmodel.h"

#include <algorithm>

namespace xmservice {

namespace {

constexpr double SatelliteDropoutChance = 1.0 / 45; // per second, one satellite at a time
constexpr double GroundDropoutChance = 1.0 / 70;    // per second
constexpr double WalkStep = 8.0;                    // widest change of the clear-sky level a second
constexpr double PullToUsual = 0.05;                // share of the way back to the usual level
constexpr double Follow = 0.35;                     // low-pass share towards the clear-sky level
constexpr double FollowInDropout = 0.7;             // a dropout bites faster than a drift

} // namespace

SignalModel::SignalModel(quint32 seed)
    : m_rng(seed)
    , m_rock{85, 85, 85}
    , m_roll{72, 72, 72}
    , m_ground{60, 60, 60}
{
}

SignalLevels SignalModel::next()
{
    startDropouts();
    advance(m_rock);
    advance(m_roll);
    advance(m_ground);
    return {m_rock.level, m_roll.level, m_ground.level};
}

// Both satellites are never lost together: a car is rarely shadowed from both at once.
void SignalModel::startDropouts()
{
    const bool satelliteOut = m_rock.dropoutLeft > 0 || m_roll.dropoutLeft > 0;
    if (!satelliteOut && m_rng.generateDouble() < SatelliteDropoutChance) {
        Source& lost = m_rng.bounded(2) == 0 ? m_rock : m_roll;
        lost.dropoutLeft = m_rng.bounded(3, 9);
    }
    if (m_ground.dropoutLeft == 0 && m_rng.generateDouble() < GroundDropoutChance)
        m_ground.dropoutLeft = m_rng.bounded(2, 7);
}

void SignalModel::advance(Source& source)
{
    source.drift += (m_rng.generateDouble() - 0.5) * WalkStep;
    source.drift += (source.usual - source.drift) * PullToUsual;
    source.drift = std::clamp(source.drift, 20.0, 100.0);

    double goal = source.drift;
    double follow = Follow;
    if (source.dropoutLeft > 0) {
        goal = m_rng.generateDouble() * 2.0;
        follow = FollowInDropout;
        --source.dropoutLeft;
    }
    source.level = std::clamp(source.level + (goal - source.level) * follow, 0.0, 100.0);
}

} // namespace xmservice
