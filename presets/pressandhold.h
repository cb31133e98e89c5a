// Press-and-hold: one 200 ms timer repeats the action of the button held down, kept in
// PressedButton. The volume buttons repeat their step (the Click after the release adds one
// more); the scroll controls start their own repeat. Also the press and release looks of the
// volume buttons and the tune button, and what the tune button does.
#pragma once

#include "skin/radioxmcontrols.h"
#include "skin/windowstate.h"

#include <functional>

namespace presets {

class PressAndHold {
public:
    // The actions a tick can repeat, one for each held button.
    struct Actions {
        std::function<void()> cmdVolumeUp_Click;
        std::function<void()> cmdVolumeDown_Click;
        std::function<void()> ScrollPageUp;
        std::function<void()> ScrollPageDown;
        std::function<void()> ScrollUp;
        std::function<void()> ScrollDown;
        std::function<void(qint32 position)> ChooseListItem;
    };

    PressAndHold(skin::RadioXMControls& controls, skin::WindowState& state, const skin::TwipsScale& scale,
                 Actions actions);

    // Hands the tune button's mouse events to the handlers below.
    void connectHandlers();

    // One tick: runs the action of the button held; with none held it does nothing.
    void tmrButtonPressed_Timer();

    void cmdVolumeUp_MouseDown(const skin::MouseArgs& args);
    void cmdVolumeUp_MouseUp(const skin::MouseArgs& args);
    void cmdVolumeDown_MouseDown(const skin::MouseArgs& args);
    void cmdVolumeDown_MouseUp(const skin::MouseArgs& args);

    void cmdTune_MouseDown(const skin::MouseArgs& args);
    void cmdTune_MouseUp(const skin::MouseArgs& args);
    // Tunes the channel selected in the list, once the list can be used.
    void cmdTune_Click();

private:
    void holdDown(skin::PictureArea& button, skin::HeldButton action);
    void release(skin::PictureArea& button);

    skin::RadioXMControls& m_c;
    skin::WindowState& m_state;
    const skin::TwipsScale& m_scale;
    Actions m_actions;
};

} // namespace presets
