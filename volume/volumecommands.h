// The volume and mute buttons and the volume display: up and down step the mixer's master
// level, mute toggles the radio's own mute, and the 200 ms refresh shows the level in
// lblVolume and the radio's mute on cmdVolumeMute. While the radio keeps time shift, the mute
// button pauses and resumes what is heard instead, and shows the pause as it shows the mute.
#pragma once

#include "skin/radioxmcontrols.h"
#include "skin/skinstate.h"
#include "volume/cvolume.h"

#include <functional>
#include <optional>

namespace volume {

// The whole percent of a level, rounded down: the step rule's percentage.
qint32 StepPercent(qint32 level);
// The level after one press of up: 5 % steps from 14 % on, 1 % steps below. Not limited to full
// scale (the mixer clamps).
qint32 IncreasedLevel(qint32 level);
// The level after one press of down: 5 % steps from 15 % on, 1 % steps below, 0 under 1 %.
qint32 DecreasedLevel(qint32 level);
// The percent shown for a level: rounded to the nearest, a half to the even neighbour.
qint32 DisplayPercent(qint32 level);

// The controls the volume commands show themselves on.
struct VolumeControls {
    skin::Label* lblVolume;
    skin::PictureArea* cmdVolumeUp;
    skin::PictureArea* cmdVolumeDown;
    skin::PictureArea* cmdVolumeMute;

    static VolumeControls of(skin::RadioXMControls& window)
    {
        return {window.lblVolume.get(), window.cmdVolumeUp.get(), window.cmdVolumeDown.get(),
                window.cmdVolumeMute.get()};
    }
};

class VolumeCommands {
public:
    struct Hooks {
        // The mixer; nothing before start-up has created it.
        std::function<cVolume*()> volu;
        // The radio's mute state, or nothing when there is no radio to ask.
        std::function<std::optional<bool>()> radioMute;
        std::function<void(bool)> setRadioMute;
        // Shows a skinned button in a state (up, down, on).
        std::function<void(skin::PictureArea&, qint16)> paint;
        // Whether the list's thumb is held: the mute button is not repainted meanwhile.
        std::function<bool()> thumbHeld;
        // While the radio keeps time shift, whether what is heard is paused; nothing without it.
        std::function<std::optional<bool>()> paused;
        // Pauses (true) or resumes what is heard.
        std::function<void(bool)> setPaused;
    };

    // The volume display ends in the skin's suffix.
    VolumeCommands(VolumeControls controls, const skin::SkinState& skin, Hooks hooks);

    void IncreaseVolume();
    void DecreaseVolume();
    void ToggleMute();
    void RefreshVolumeDisplay();

    // The mute button's press shows it down; its release shows the mixer's master mute, until
    // the next refresh shows the radio's.
    void ShowMutePressed();
    void ShowMixerMute();
    // Shows the radio's mute on the mute button at once (what it showed, without a radio to ask)
    // and takes it as shown, as after a skin load.
    void ShowRadioMute();

    // The radio's mute state, or its pause with time shift, last shown on the mute button.
    bool Muted() const { return m_muted; }

private:
    static constexpr qint32 NoLevel = -1;
    // What the mute button stands for now: the pause with time shift, else the radio's mute.
    std::optional<bool> buttonOn() const;
    void ShowVolumeButtonsUsable(bool usable);

    VolumeControls m_c;
    const skin::SkinState& m_skin;
    Hooks m_hooks;
    bool m_muted = false;
    // What the label was last given.
    std::optional<qint32> m_shownLevel;
    QString m_shownSuffix;
};

} // namespace volume
