// The three presets: a tap tunes the channel stored in the preset; holding one for three
// seconds stores the tuned channel in it and says so on the now-playing line for five seconds.
// The preset's picture area and its caption label react identically.
#pragma once

#include "base/modfunctions.h"
#include "presets/presetstore.h"
#include "radio/tunedchannel.h"
#include "skin/paintskinnedcontrol.h"
#include "skin/radioxmcontrols.h"
#include "skin/skinstate.h"

#include <QPointer>
#include <array>
#include <functional>

namespace presets {

class HoldProgress;

// The preset held down, by its index (0 to 2), or none.
enum class HeldPreset : qint8 { None = -1, First = 0, Second = 1, Third = 2 };

// The presets' buttons and captions, the line a save's message takes, and the hold's timer.
struct PresetControls {
    skin::ControlArray<skin::PictureArea>& cmdPreset;
    skin::ControlArray<skin::Label>& lblPreset;
    skin::Label* lblArtistTrackTitle;
    skin::Timer& tmrSavePreset;

    static PresetControls of(skin::RadioXMControls& window)
    {
        return {window.cmdPreset, window.lblPreset, window.lblArtistTrackTitle.get(), window.tmrSavePreset};
    }
};

class Presets {
public:
    // What a tap needs from the list.
    struct Hooks {
        // Tunes a channel by its number as a double tap on its row does; false when the channel
        // is not in the table.
        std::function<bool(qint32 number)> TuneChannel;
        // The artist-title line of what plays now, which comes back after a save's message.
        std::function<QString()> NowPlayingLine;
    };

    // A save is written to iniFile; the captions take the skin's colours.
    Presets(PresetControls controls, skin::ButtonPainter painter, const skin::SkinState& skin, QString iniFile,
            modFunctions::SharedWaitTimer& waits, const radio::TunedChannel& tuned, Hooks hooks);
    ~Presets();
    Presets(const Presets&) = delete;
    Presets& operator=(const Presets&) = delete;

    // Hands the mouse events of each preset's picture area and caption label to the handlers below.
    void connectHandlers();

    void cmdPreset_MouseDown(qint16 index, const skin::MouseArgs& args);
    void cmdPreset_MouseUp(qint16 index, const skin::MouseArgs& args);
    void cmdPreset_Click(qint16 index);
    void tmrSavePreset_Timer();

    // Tunes the channel stored in preset index (0 to 2), highlights it and lights the presets;
    // a preset whose channel is not in the table does nothing.
    void TunePreset(qint16 index);

    // Shows each preset as on (it holds the tuned channel) or up.
    void RefreshPresetButtons();

    // Takes the channels stored in the presets (Preset1 to Preset3 as written) and shows them on
    // their captions, as "007".
    void LoadPresets(const std::array<QString, PresetStore::Count>& stored);

    // The preset held down, or none.
    HeldPreset PresetPressed() const { return m_pressed; }
    // Whether a preset is held down or a save's message has the artist-title line.
    bool HoldsArtistTitleLine() const { return m_pressed != HeldPreset::None || m_messageShown; }

    // How long a save's message stays on the now-playing line: five seconds (tests take less).
    void setMessageTime(qint32 ms) { m_messageMs = ms; }

private:
    PresetControls m_c;
    skin::ButtonPainter m_painter;
    const skin::SkinState& m_skin;
    QString m_iniFile;
    modFunctions::SharedWaitTimer& m_waits;
    const radio::TunedChannel& m_tuned;
    Hooks m_hooks;
    PresetStore m_store;
    void showHold(qint16 index);
    void endHold();

    qint32 m_messageMs = 5000;
    HeldPreset m_pressed = HeldPreset::None;
    // A save's message has the artist-title line (alerts wait for it).
    bool m_messageShown = false;
    // Counts the presses, so that a save knows whether a newer press came during its message.
    quint64 m_presses = 0;
    // The held preset's filling face; the window's widgets may have ended it first.
    QPointer<HoldProgress> m_progress;
};

} // namespace presets
