// The radio's listing: each ChannelData report updates or adds the channel's row, records a
// newly heard channel in services.dat (and has the list show it when it falls in the window),
// and gives the tuned channel its new texts.
#pragma once

#include "channellist/listwindow.h"
#include "radio/channeltable.h"
#include "radio/tunedchannel.h"

namespace radio {

class ChannelDataHandler {
public:
    ChannelDataHandler(channellist::ListWindow& list, ChannelTable& table, TunedChannel& tuned, QString servicesPath);

    void ChannelData(qint32 number, const QString& station, const QString& artist, const QString& title,
                     const QString& genre);

private:
    void showIfTuned(qint32 number, const QString& station, const QString& artist, const QString& title,
                     const QString& genre);
    void showWhileTheWindowFills(int position);
    void letPendingEventsRun();

    channellist::ListWindow& m_list;
    const channellist::ListControls& m_c;
    channellist::ListState& m_state;
    ChannelTable& m_table;
    TunedChannel& m_tuned;
    QString m_servicesPath;
    bool m_pumping = false;
};

} // namespace radio
