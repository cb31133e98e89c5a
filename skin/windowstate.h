// The main window's shared members: the state that several parts of the window read and write.
// Each group names the part that owns it; the others only read it or follow the rules of the
// owner.
#pragma once

#include "skin/controls.h"

#include <QString>
#include <array>

namespace skin {

// Button states of a skinned control, and the index of the skin surface that shows each.
enum ButtonState : qint16 { StateUp = 0, StateDown = 1, StateOn = 2 };

// The action a held button repeats: the volume steps, the list's pages and its steps.
enum class HeldButton { None, VolumeUp, VolumeDown, PageUp, PageDown, ScrollUp, ScrollDown };

// The preset held down, by its index (0 to 2), or none.
enum class HeldPreset : qint8 { None = -1, First = 0, Second = 1, Third = 2 };

// The direction of the last press on the list's track, which a double click on it repeats.
enum class PageDirection { None, PageUp, PageDown };

struct WindowState {
    // Start-up and the settings read once per run.
    QString IniFile;
    bool StartupComplete = false;
    QString DaySkin, NightSkin, DaySkinSwitchTime, NightSkinSwitchTime;
    bool AutoSwitchDayNightSkin = false;
    bool FullScreen = false;
    bool ShowMouseCursor = false;
    qint16 WindowLeft = 0, WindowTop = 0, WindowWidth = 0, WindowHeight = 0;

    // The skin loader.
    QString CurrentSkin;
    bool LoadingSkin = false;
    qint16 SkinDesignWidth = 0;
    qint16 SkinDesignHeight = 0;
    float FontScale = 1.0f;
    // Preset caption colours by preset (0..2) and state (up, down, on).
    std::array<std::array<double, 3>, 3> PresetColour{};
    QString VolumeSuffix, TimeFormat, DateFormat;

    // The channel list window.
    qint16 VisibleItems = 0;
    qint16 TopListItem = 0;
    qint32 SelectedListItem = 0;
    qint32 HighlightedItem = 0;
    bool ChannelListReady = false;
    bool StartupHighlightDone = false;

    // Now playing. While an alert has the artist-title line (alerts/alertline.h), a new line is
    // only kept in ArtistTrackTitle, and shown when the alert gives the line back.
    QString ArtistTrackTitle;
    bool ArtistTitleLent = false;
    qint32 TrackPosition = 0;
    qint32 TrackDuration = 0;
    qint32 TimeThumbLeft = 0;

    // Presets: the preset held down, or none; and whether a save's message has the artist-title
    // line (alerts wait for both).
    HeldPreset PresetPressed = HeldPreset::None;
    bool PresetMessageShown = false;

    // Press-and-hold: the action a held button repeats, or none.
    HeldButton PressedButton = HeldButton::None;

    // Scrolling: the direction of the last press on the track (none after a double click on it
    // or when it loses the focus), the mouse button held on the thumb (1 left, 0 none) and where in the thumb it went
    // down (twips).
    PageDirection PageCommand = PageDirection::None;
    qint16 ButtonDown = 0;
    float ThumbGrabX = 0.0f;
    float ThumbGrabY = 0.0f;

    // Volume: the radio's mute state last shown on the mute button.
    bool Muted = false;
};

} // namespace skin
