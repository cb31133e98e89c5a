// The radio's listing: each ChannelData report updates or adds the channel's row, records a
// newly heard channel in services.dat (and has the list show it when it falls in the window),
// and gives the tuned channel its new texts.
#pragma once

#include "radio/channeltable.h"
#include "radio/tunedchannel.h"
#include "skin/radioxmcontrols.h"
#include "skin/windowstate.h"

namespace radio {

class ChannelDataHandler {
public:
    ChannelDataHandler(skin::RadioXMControls& controls, skin::WindowState& state, ChannelTable& table,
                       TunedChannel& tuned, QString servicesPath);

    void ChannelData(qint32 number, const QString& station, const QString& artist, const QString& title,
                     const QString& genre);

private:
    void showIfTuned(qint32 number, const QString& station, const QString& artist, const QString& title,
                     const QString& genre);
    void showWhileTheWindowFills(int position);
    void letPendingEventsRun();

    skin::RadioXMControls& m_c;
    skin::WindowState& m_state;
    ChannelTable& m_table;
    TunedChannel& m_tuned;
    QString m_servicesPath;
    bool m_pumping = false;
};

} // namespace radio
