#include "pressandhold.h"

#include "skin/paintskinnedcontrol.h"

namespace presets {

PressAndHold::PressAndHold(HoldControls controls, skin::ButtonPainter painter, skin::ButtonRepeat& repeat,
                           Actions actions)
    : m_c(controls)
    , m_painter(painter)
    , m_repeat(repeat)
    , m_actions(std::move(actions))
{
}

void PressAndHold::connectHandlers()
{
    m_c.cmdTune->handlers() = {.mouseDown = [this](const skin::MouseArgs& a) { cmdTune_MouseDown(a); },
                               .mouseUp = [this](const skin::MouseArgs& a) { cmdTune_MouseUp(a); },
                               .click = [this] { cmdTune_Click(); }};
}

void PressAndHold::tmrButtonPressed_Timer()
{
    const std::function<void()>* action = nullptr;
    switch (m_repeat.held()) {
    case skin::HeldButton::None: return;
    case skin::HeldButton::VolumeUp: action = &m_actions.cmdVolumeUp_Click; break;
    case skin::HeldButton::VolumeDown: action = &m_actions.cmdVolumeDown_Click; break;
    case skin::HeldButton::PageUp: action = &m_actions.ScrollPageUp; break;
    case skin::HeldButton::PageDown: action = &m_actions.ScrollPageDown; break;
    case skin::HeldButton::ScrollUp: action = &m_actions.ScrollUp; break;
    case skin::HeldButton::ScrollDown: action = &m_actions.ScrollDown; break;
    }
    if (action && *action)
        (*action)();
}

void PressAndHold::cmdVolumeUp_MouseDown(const skin::MouseArgs&)
{
    holdDown(*m_c.cmdVolumeUp, skin::HeldButton::VolumeUp);
}

void PressAndHold::cmdVolumeUp_MouseUp(const skin::MouseArgs&)
{
    release(*m_c.cmdVolumeUp);
}

void PressAndHold::cmdVolumeDown_MouseDown(const skin::MouseArgs&)
{
    holdDown(*m_c.cmdVolumeDown, skin::HeldButton::VolumeDown);
}

void PressAndHold::cmdVolumeDown_MouseUp(const skin::MouseArgs&)
{
    release(*m_c.cmdVolumeDown);
}

void PressAndHold::cmdTune_MouseDown(const skin::MouseArgs&)
{
    m_painter.paint(*m_c.cmdTune, skin::StateDown);
}

void PressAndHold::cmdTune_MouseUp(const skin::MouseArgs&)
{
    m_painter.paint(*m_c.cmdTune, skin::StateUp);
}

void PressAndHold::cmdTune_Click()
{
    if (m_actions.ChooseSelected)
        m_actions.ChooseSelected();
}

void PressAndHold::holdDown(skin::PictureArea& button, skin::HeldButton action)
{
    m_painter.paint(button, skin::StateDown);
    m_repeat.hold(action);
}

void PressAndHold::release(skin::PictureArea& button)
{
    m_painter.paint(button, skin::StateUp);
    m_repeat.release();
}

} // namespace presets
