#include "pressandhold.h"

#include "skin/paintskinnedcontrol.h"

namespace presets {

PressAndHold::PressAndHold(skin::RadioXMControls& controls, skin::WindowState& state, const skin::TwipsScale& scale,
                           Actions actions)
    : m_c(controls)
    , m_state(state)
    , m_scale(scale)
    , m_actions(std::move(actions))
{
}

void PressAndHold::tmrButtonPressed_Timer()
{
    const std::pair<const char*, const std::function<void()>*> table[] = {
        {"cmdVolumeUp", &m_actions.cmdVolumeUp_Click}, {"cmdVolumeDown", &m_actions.cmdVolumeDown_Click},
        {"PageUp", &m_actions.ScrollPageUp},           {"PageDown", &m_actions.ScrollPageDown},
        {"pctScrollUp", &m_actions.ScrollUp},          {"pctScrollDown", &m_actions.ScrollDown},
    };
    for (const auto& [name, action] : table) {
        if (m_state.PressedButton == QLatin1String(name)) {
            if (*action)
                (*action)();
            return;
        }
    }
}

void PressAndHold::cmdVolumeUp_MouseDown(const skin::MouseArgs&)
{
    holdDown(*m_c.cmdVolumeUp, QStringLiteral("cmdVolumeUp"));
}

void PressAndHold::cmdVolumeUp_MouseUp(const skin::MouseArgs&)
{
    release(*m_c.cmdVolumeUp);
}

void PressAndHold::cmdVolumeDown_MouseDown(const skin::MouseArgs&)
{
    holdDown(*m_c.cmdVolumeDown, QStringLiteral("cmdVolumeDown"));
}

void PressAndHold::cmdVolumeDown_MouseUp(const skin::MouseArgs&)
{
    release(*m_c.cmdVolumeDown);
}

void PressAndHold::cmdTune_MouseDown(const skin::MouseArgs&)
{
    skin::PaintSkinnedControl(m_c, *m_c.cmdTune, skin::StateDown, m_scale);
}

void PressAndHold::cmdTune_MouseUp(const skin::MouseArgs&)
{
    skin::PaintSkinnedControl(m_c, *m_c.cmdTune, skin::StateUp, m_scale);
}

void PressAndHold::cmdTune_Click()
{
    if (m_state.ChannelListReady && m_actions.ChooseListItem)
        m_actions.ChooseListItem(m_state.SelectedListItem);
}

void PressAndHold::holdDown(skin::PictureArea& button, const QString& action)
{
    skin::PaintSkinnedControl(m_c, button, skin::StateDown, m_scale);
    m_state.PressedButton = action;
    m_c.tmrButtonPressed.setEnabled(true);
}

void PressAndHold::release(skin::PictureArea& button)
{
    skin::PaintSkinnedControl(m_c, button, skin::StateUp, m_scale);
    m_state.PressedButton.clear();
    m_c.tmrButtonPressed.setEnabled(false);
}

} // namespace presets
