// Choosing a channel: tune the receiver to a row of the table, show the row at once in the
// now-playing labels without waiting for the radio's own report, light the presets that hold
// it, remember it as LastChannel and end the mute. A double tap on a row chooses it.
#pragma once

#include "channellist/listwindow.h"
#include "radio/channeltable.h"
#include "radio/tunedchannel.h"

#include <QObject>
#include <functional>

namespace channellist {

class ChannelChooser : public QObject {
    Q_OBJECT
public:
    // What a choice needs from the radio.
    struct Hooks {
        std::function<void(qint32& number)> Channel;
        std::function<void(bool muted)> setMute;
    };

    // The choice is remembered as LastChannel in iniFile.
    ChannelChooser(QString iniFile, const radio::ChannelTable& table, radio::TunedChannel& tuned, ListWindow& list,
                   Hooks hooks);

    // Chooses the channel at 0-based table position. A position outside the table skips the
    // steps that read the row; the presets, LastChannel and the unmute still follow.
    void ChooseListItem(qint32 position);

    // Chooses the selected channel, once the listing has come round (the tune button).
    void ChooseSelected();

    // A double tap on row index: that row becomes the selection and is chosen.
    void lblListItem_DblClick(qint16 index);

    // A click on an item of the table control: tunes and shows it and ends the mute, but leaves
    // the presets, LastChannel and the selection as they are.
    void lv_ItemClick(qint32 position);

signals:
    // A choice has tuned and shown its row, before pending events run: the presets light.
    void rowChosen();

private:
    // Tunes the row at position and shows it; the channel number shown, taken before the
    // artist-title line may wait for a held preset.
    QString tuneAndShow(qint32 position);

    QString m_iniFile;
    const radio::ChannelTable& m_table;
    radio::TunedChannel& m_tuned;
    ListWindow& m_list;
    ListState& m_state;
    Hooks m_hooks;
};

} // namespace channellist
