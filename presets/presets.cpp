#include "presets.h"

#include "base/basic.h"
#include "presets/holdprogress.h"
#include "skin/paintskinnedcontrol.h"

#include <utility>

namespace presets {

Presets::Presets(PresetControls controls, skin::ButtonPainter painter, const skin::SkinState& skin, QString iniFile,
                 modFunctions::SharedWaitTimer& waits, const radio::TunedChannel& tuned, Hooks hooks)
    : m_c(controls)
    , m_painter(painter)
    , m_skin(skin)
    , m_iniFile(std::move(iniFile))
    , m_waits(waits)
    , m_tuned(tuned)
    , m_hooks(std::move(hooks))
{
}

Presets::~Presets()
{
    endHold();
}

void Presets::connectHandlers()
{
    // A preset's picture area and its caption label act alike.
    const auto preset = [this](int index) {
        return skin::MouseHandlers{
            .mouseDown = [this, index](const skin::MouseArgs& a) { cmdPreset_MouseDown(qint16(index), a); },
            .mouseUp = [this, index](const skin::MouseArgs& a) { cmdPreset_MouseUp(qint16(index), a); },
            .click = [this, index] { cmdPreset_Click(qint16(index)); }};
    };
    m_c.cmdPreset.setHandlers(preset);
    m_c.lblPreset.setHandlers(preset);
}

void Presets::cmdPreset_MouseDown(qint16 index, const skin::MouseArgs&)
{
    m_painter.paint(m_c.cmdPreset(index), skin::StateDown);
    if (const std::optional<qint32> colour = basic::CLng(m_skin.PresetColour[size_t(index)][skin::StateDown]))
        m_c.lblPreset(index).setForeColor(skin::Colour(quint32(*colour)));
    ++m_presses;
    m_pressed = HeldPreset(index);
    m_c.tmrSavePreset.setEnabled(true);
    showHold(index);
}

void Presets::cmdPreset_MouseUp(qint16, const skin::MouseArgs&)
{
    endHold();
    RefreshPresetButtons();
    m_pressed = HeldPreset::None;
    m_c.tmrSavePreset.setEnabled(false);
}

void Presets::cmdPreset_Click(qint16 index)
{
    TunePreset(index);
}

void Presets::tmrSavePreset_Timer()
{
    // One save per press: the hold timer would fire again during the five seconds below.
    m_c.tmrSavePreset.setEnabled(false);
    endHold();
    if (m_pressed == HeldPreset::None)
        return;
    const quint64 press = m_presses;
    const int n = int(m_pressed) + 1;
    const QString channel = m_tuned.numberText();
    // A settings file that cannot be written loses the stored channel at the next start: the
    // preset still holds it for this run, and the message says it is not saved (the log says
    // why).
    const bool saved = m_store.Save(m_iniFile, n - 1, channel);
    const QString message = QStringLiteral("Preset %1 - Channel %2").arg(n).arg(channel);
    m_c.lblArtistTrackTitle->setCaption(saved ? message : message + QStringLiteral(" (not saved)"));
    m_c.lblPreset(n - 1).setCaption(m_store.Caption(n - 1));
    const bool outerMessage = std::exchange(m_messageShown, true);
    m_waits.Wait(m_messageMs);
    m_messageShown = outerMessage;
    // What plays now: the song may have changed during the message.
    m_c.lblArtistTrackTitle->setCaption(m_hooks.NowPlayingLine ? m_hooks.NowPlayingLine() : QString());
    // A preset pressed during the message is a press of its own, whose hold goes on.
    if (press == m_presses) {
        m_pressed = HeldPreset::None;
        m_c.tmrSavePreset.setEnabled(false);
    }
}

void Presets::showHold(qint16 index)
{
    endHold();
    m_progress = new HoldProgress(*m_c.cmdPreset(index).container(), skin::toQColor(m_c.lblPreset(index).ForeColor()),
                                  m_c.tmrSavePreset.Interval());
}

void Presets::endHold()
{
    delete m_progress.data();
}

void Presets::TunePreset(qint16 index)
{
    const qint16 stored = m_store.Channel(index).value_or(0);
    if (!m_hooks.TuneChannel || !m_hooks.TuneChannel(stored))
        return;
    RefreshPresetButtons();
}

void Presets::LoadPresets(const std::array<QString, PresetStore::Count>& stored)
{
    m_store.Load(stored);
    for (int i = 0; i < PresetStore::Count; ++i)
        m_c.lblPreset(i).setCaption(m_store.Caption(i));
}

void Presets::RefreshPresetButtons()
{
    const std::optional<qint32> tuned = m_tuned.number();
    for (int i = 0; i < PresetStore::Count; ++i) {
        const std::optional<qint16> preset = m_store.Channel(i);
        const bool on = tuned && preset && *tuned == *preset;
        const qint16 state = on ? skin::StateOn : skin::StateUp;
        m_painter.paint(m_c.cmdPreset(i), state);
        const std::optional<qint32> colour = basic::CLng(m_skin.PresetColour[size_t(i)][size_t(state)]);
        if (colour)
            m_c.lblPreset(i).setForeColor(skin::Colour(quint32(*colour)));
    }
}

} // namespace presets
