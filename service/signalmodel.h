// The receiver's three signal levels, one reading a second: each drifts smoothly around its own
// usual level, and now and then one satellite or the terrestrial repeater drops out for a few
// seconds, as under a bridge or between tall buildings.
#pragma once

#include <QRandomGenerator>

namespace xmservice {

struct SignalLevels {
    double rock = 0;   // satellite 1, percent
    double roll = 0;   // satellite 2, percent
    double ground = 0; // terrestrial repeater, percent
};

class SignalModel {
public:
    // The same seed gives the same series of readings.
    explicit SignalModel(quint32 seed);

    // The reading one second after the previous one; every value lies in 0..100.
    SignalLevels next();

private:
    struct Source {
        double usual;        // where the level drifts around
        double drift;        // the clear-sky level, a slow random walk
        double level;        // what the receiver reports
        int dropoutLeft = 0; // seconds of dropout still to come
    };

    void startDropouts();
    void advance(Source& source);

    QRandomGenerator m_rng;
    Source m_rock;
    Source m_roll;
    Source m_ground;
};

} // namespace xmservice
