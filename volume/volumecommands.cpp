#include "volumecommands.h"

#include <QGraphicsColorizeEffect>
#include <cmath>

namespace volume {

// The steps are 65535 / 100 (655.35) and five times that (3276.75); levels are whole numbers,
// so rounding a sum down is adding the whole part (up) or taking away the next whole number
// (down).
qint32 StepPercent(qint32 level)
{
    return qint32(std::floor(double(level) * 100.0 / FullScale));
}

qint32 IncreasedLevel(qint32 level)
{
    return StepPercent(level) >= 14 ? level + 3276 : level + 655;
}

qint32 DecreasedLevel(qint32 level)
{
    if (StepPercent(level) >= 15)
        return level - 3277;
    if (level < 656)
        return 0;
    return level - 656;
}

qint32 DisplayPercent(qint32 level)
{
    // Rounded half up: for whole levels, level x 100 / 65535 never ends in exactly one half, so
    // this is also the rounding to the even neighbour.
    const qint64 scaled = qint64(level) * 200 + FullScale;
    const qint64 twice = qint64(FullScale) * 2;
    return qint32(scaled >= 0 ? scaled / twice : -((-scaled + twice - 1) / twice));
}

VolumeCommands::VolumeCommands(VolumeControls controls, const skin::SkinState& skin, Hooks hooks)
    : m_c(controls)
    , m_skin(skin)
    , m_hooks(std::move(hooks))
{
}

void VolumeCommands::IncreaseVolume()
{
    cVolume* volu = m_hooks.volu();
    if (!volu)
        return;
    volu->setVolumeLevel(IncreasedLevel(volu->VolumeLevel()));
}

void VolumeCommands::DecreaseVolume()
{
    cVolume* volu = m_hooks.volu();
    if (!volu)
        return;
    volu->setVolumeLevel(DecreasedLevel(volu->VolumeLevel()));
}

std::optional<bool> VolumeCommands::buttonOn() const
{
    if (const std::optional<bool> paused = m_hooks.paused ? m_hooks.paused() : std::nullopt)
        return paused;
    return m_hooks.radioMute();
}

void VolumeCommands::ToggleMute()
{
    // With time shift the sound can wait where it is instead of going on unheard.
    if (const std::optional<bool> paused = m_hooks.paused ? m_hooks.paused() : std::nullopt) {
        m_hooks.setPaused(!*paused);
        return;
    }
    const std::optional<bool> muted = m_hooks.radioMute();
    if (muted)
        m_hooks.setRadioMute(!*muted);
}

void VolumeCommands::RefreshVolumeDisplay()
{
    // The mute button is repainted only when the radio's mute (or pause) differs from what it
    // shows, and not while the list's thumb is held.
    const std::optional<bool> muted = buttonOn();
    if (muted && !(m_hooks.thumbHeld && m_hooks.thumbHeld()) && *muted != m_muted) {
        m_hooks.paint(*m_c.cmdVolumeMute, *muted ? skin::StateOn : skin::StateUp);
        m_muted = *muted;
    }
    cVolume* volu = m_hooks.volu();
    const qint32 level = volu && volu->HasVolume() ? volu->VolumeLevel() : NoLevel;
    // Building the caption costs more than the mixer read; it is built again only when the
    // level or the suffix changed (nothing else writes this label after start-up).
    if (level == m_shownLevel && m_skin.VolumeSuffix == m_shownSuffix)
        return;
    m_shownLevel = level;
    m_shownSuffix = m_skin.VolumeSuffix;
    // Without a mixer a level of 0 would read as "turned down": the label says there is none.
    m_c.lblVolume->setCaption((level == NoLevel ? QStringLiteral("--") : QString::number(DisplayPercent(level))) +
                              m_skin.VolumeSuffix);
    ShowVolumeButtonsUsable(level != NoLevel);
}

void VolumeCommands::ShowVolumeButtonsUsable(bool usable)
{
    // Greyed: the buttons' faces are pieces of the same picture as the window behind them, so
    // only a change of colour, not of opacity, shows.
    for (skin::PictureArea* button : {m_c.cmdVolumeUp, m_c.cmdVolumeDown}) {
        if (usable) {
            button->widget()->setGraphicsEffect(nullptr);
        } else if (!button->widget()->graphicsEffect()) {
            auto* grey = new QGraphicsColorizeEffect;
            grey->setColor(QColor(128, 128, 128));
            button->widget()->setGraphicsEffect(grey);
        }
    }
}

void VolumeCommands::ShowMutePressed()
{
    m_hooks.paint(*m_c.cmdVolumeMute, skin::StateDown);
}

void VolumeCommands::ShowMixerMute()
{
    cVolume* volu = m_hooks.volu();
    m_hooks.paint(*m_c.cmdVolumeMute, volu && volu->VolumeMute() ? skin::StateOn : skin::StateUp);
}

void VolumeCommands::ShowRadioMute()
{
    const bool muted = buttonOn().value_or(m_muted);
    m_hooks.paint(*m_c.cmdVolumeMute, muted ? skin::StateOn : skin::StateUp);
    m_muted = muted;
}

} // namespace volume
