// The window's parts over one set of controls on a plain form, each built as the window builds it
// and wired to the others as the window wires them, without the radio, the mixer or the bus: what
// the radio is asked goes into calls, and what the volume buttons paint into painted. The skin's
// state is the rig's own, so a test lays out the list's rows it wants (rows) instead of loading a
// skin; vantoxm.ini and services.dat are in folder.
#pragma once

#include "alerts/alertline.h"
#include "alerts/alertwatcher.h"
#include "channellist/channeldata.h"
#include "channellist/choose.h"
#include "channellist/highlight.h"
#include "channellist/listwindow.h"
#include "channellist/scrolling.h"
#include "channellist/tunerow.h"
#include "nowplaying/nowplaying.h"
#include "presets/presets.h"
#include "presets/pressandhold.h"
#include "skin/buttonrepeat.h"
#include "skin/skinstate.h"
#include "volume/volumecommands.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

struct PartsRig {
    using BackStyle = skin::BackStyle;
    using ChannelTable = radio::ChannelTable;

    QTemporaryDir folder;
    QWidget form;
    skin::TwipsScale scale;
    skin::RadioXMControls c{&form, scale};
    skin::SkinState skinState;
    skin::ButtonRepeat repeat{c.tmrButtonPressed};
    modFunctions::SharedWaitTimer waits;
    ChannelTable table;
    radio::TunedChannel tuned;
    radio::TimeShift timeShift;
    // "Channel 7", "SetMute false", "Pause", "Seek 90": what the parts asked of the radio, in order.
    QStringList calls;
    // The radio's mute as the volume buttons read it; none without a radio.
    std::optional<bool> radioMute = false;
    // The mixer the volume buttons step; none until a test gives one.
    volume::cVolume* volu = nullptr;
    // "cmdVolumeMute 2": the volume buttons' paints, by control and state.
    QStringList painted;

    channellist::ListWindow list{channellist::ListControls::of(c), skinState, table};
    channellist::ListState& state = list.state();
    channellist::Highlighter highlight{table, list, waits, tuned};
    channellist::ChannelChooser chooser{
        settingsFile(),
        table,
        tuned,
        list,
        {[this](qint32& n) { calls << QStringLiteral("Channel %1").arg(n); },
         [this](bool m) { calls << QStringLiteral("SetMute %1").arg(m ? "true" : "false"); }}};
    channellist::Scroller scroller{
        channellist::ScrollControls::of(c), skin::ButtonPainter(c, scale), table, list, highlight, repeat};
    channellist::RowTuner tuner{table, chooser, highlight};
    radio::ChannelDataHandler listing{list, table, tuned, folder.filePath("services.dat")};
    nowplaying::NowPlaying nowPlaying{
        nowplaying::NowPlayingControls::of(c),
        waits,
        table,
        tuned,
        timeShift,
        {[this] { return presets.PresetPressed() != presets::HeldPreset::None; }, [this] { return line.lent(); },
         [this](TimeShiftCommand command, double position) { timeShiftCall(command, position); }}};
    presets::Presets presets{presets::PresetControls::of(c),
                             skin::ButtonPainter(c, scale),
                             skinState,
                             settingsFile(),
                             waits,
                             tuned,
                             {[this](qint32 number) { return tuner.TuneChannel(number); },
                              [this] { return nowPlaying.ArtistTrackTitle(); }}};
    presets::PressAndHold hold{presets::HoldControls::of(c),
                               skin::ButtonPainter(c, scale),
                               repeat,
                               {{}, {}, {}, {}, {}, {}, [this] { chooser.ChooseSelected(); }}};
    volume::VolumeCommands volumeButtons{
        volume::VolumeControls::of(c), skinState,
        volume::VolumeCommands::Hooks{
            [this] { return volu; }, [this] { return radioMute; }, [this](bool m) { radioMute = m; },
            [this](skin::PictureArea& b, qint16 s) { painted << b.name() + QLatin1Char(' ') + QString::number(s); },
            [this] { return scroller.thumbHeld(); },
            [this] { return timeShift.on() ? std::optional<bool>(timeShift.paused()) : std::nullopt; },
            [this](bool paused) { timeShiftCall(paused ? TimeShiftCommand::Pause : TimeShiftCommand::Resume, 0); }}};
    alerts::AlertIndex alerts;
    alerts::AlertWatcher watcher{alerts};
    alerts::AlertLine line{*c.lblArtistTrackTitle,
                           {[this] { return watcher.takeNews(); }, [this] { return nowPlaying.ArtistTrackTitle(); },
                            [this] { return presets.HoldsArtistTitleLine(); }}};

    // n channels numbered 1..n, with stations "S1".."Sn", under a list of rows 0..v.
    explicit PartsRig(int n = 0, qint16 v = 4)
    {
        for (int k = 1; k <= n; ++k) {
            const int p = table.Add(ChannelTable::RowKey(k));
            table.setText(p, radio::Station, QStringLiteral("S%1").arg(k));
        }
        for (int row = 1; row <= v; ++row)
            for (int group = 0; group < 6; ++group)
                c.rowGroup(group).Load(row);
        skinState.VisibleItems = v;
        c.pctScrollBar->setHeight(3000);
        c.pctScroll->setHeight(300);
        QObject::connect(&c.tmrHighlightListItem, &skin::Timer::tick, &form,
                         [this] { highlight.tmrHighlightListItem_Timer(); });
        QObject::connect(&chooser, &channellist::ChannelChooser::rowChosen, &form,
                         [this] { presets.RefreshPresetButtons(); });
        QObject::connect(&nowPlaying, &nowplaying::NowPlaying::channelRowChanged, &form,
                         [this](qint32 item) { highlight.HighlightItem(item); });
        QObject::connect(&nowPlaying, &nowplaying::NowPlaying::tunedChannelChanged, &form,
                         [this] { presets.RefreshPresetButtons(); });
        nowPlaying.connectHandlers();
    }

    // Time shift's calls as the radio service's tool prints them.
    void timeShiftCall(TimeShiftCommand command, double position)
    {
        static const char* const names[] = {"Pause", "Resume", "Live", "NextSong", "PreviousSong", "Seek"};
        calls << QLatin1String(names[int(command)]) +
                     (command == TimeShiftCommand::Seek ? QStringLiteral(" %1").arg(position) : QString());
    }

    QString settingsFile() const { return folder.filePath("vantoxm.ini"); }

    void paint(qint32 start) { list.PopulateList(start); }

    // The rows drawn highlighted; a row whose six labels disagree fails the test.
    std::vector<int> opaqueRows()
    {
        std::vector<int> rows;
        for (int row = 0; row <= skinState.VisibleItems; ++row) {
            const BackStyle style = c.lblListItem(row).BackStyle();
            for (int group = 1; group < 6; ++group)
                EXPECT_EQ(c.rowGroup(group)(row).BackStyle(), style) << "row " << row << " group " << group;
            if (style == BackStyle::Opaque)
                rows.push_back(row);
        }
        return rows;
    }
    int shownRows() const
    {
        int shown = 0;
        for (int row = 0; row <= skinState.VisibleItems; ++row)
            shown += c.lblListItem0(row).Visible() ? 1 : 0;
        return shown;
    }
};

using Rows = std::vector<int>;
