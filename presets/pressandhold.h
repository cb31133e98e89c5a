// Press-and-hold: one 200 ms timer repeats the action of the button held down
// (skin/buttonrepeat.h). The volume buttons repeat their step (the Click after the release adds one
// more); the scroll controls start their own repeat. Also the press and release looks of the
// volume buttons and the tune button, and what the tune button does.
#pragma once

#include "skin/buttonrepeat.h"
#include "skin/paintskinnedcontrol.h"
#include "skin/radioxmcontrols.h"

#include <functional>

namespace presets {

// The buttons whose press and release the hold shows.
struct HoldControls {
    skin::PictureArea* cmdTune;
    skin::PictureArea* cmdVolumeUp;
    skin::PictureArea* cmdVolumeDown;

    static HoldControls of(skin::RadioXMControls& window)
    {
        return {window.cmdTune.get(), window.cmdVolumeUp.get(), window.cmdVolumeDown.get()};
    }
};

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
        // Chooses the channel selected in the list, once the list can be used.
        std::function<void()> ChooseSelected;
    };

    PressAndHold(HoldControls controls, skin::ButtonPainter painter, skin::ButtonRepeat& repeat, Actions actions);

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

    HoldControls m_c;
    skin::ButtonPainter m_painter;
    skin::ButtonRepeat& m_repeat;
    Actions m_actions;
};

} // namespace presets
