#include "cvolume.h"

namespace volume {

namespace {

const QString AppTitle = QStringLiteral("V.A.N.T.O XM");
const QString ErrorTitle = QStringLiteral("V.A.N.T.O XM - Mixercontrol Fehler");
const QString NoSoundCardText = QStringLiteral("No Sound Card Detected. You Must install a sound card");
const QString CannotOpenText = QStringLiteral("Der Mixer kann nicht geöffnet werden.");

// What a line's result code is when there is no mixer to ask.
constexpr int NoMixer = -1;

} // namespace

cVolume::cVolume(std::unique_ptr<MixerDevice> device, app::MessageBox& messageBox, int reopenMs)
    : m_device(std::move(device))
    , m_messageBox(messageBox)
    , m_reopenMs(reopenMs)
    , m_nextOpen(reopenMs)
{
    const MixerDevice::OpenResult result = m_device ? m_device->open() : MixerDevice::OpenResult::NoDevice;
    m_open = result == MixerDevice::OpenResult::Opened;
    m_lastResult = m_open ? 0 : NoMixer;
    // The radio goes on whether or not anybody answers: on a car PC the sound server often starts
    // after the program, and it is opened then without a word.
    if (result == MixerDevice::OpenResult::NoDevice)
        m_messageBox.notify(AppTitle, NoSoundCardText, app::MessageBox::Icon::None);
    else if (result == MixerDevice::OpenResult::CannotOpen)
        m_messageBox.notify(ErrorTitle, CannotOpenText, app::MessageBox::Icon::Error);
}

cVolume::~cVolume()
{
    if (m_capturing)
        StopCapture();
}

bool cVolume::MixerOpen()
{
    if (!m_device)
        return false;
    if (m_open && !m_device->lost())
        return true;
    // Lost while open: tried again at once (the server may be back already, as after a restart)
    // unless the last try was less than reopenMs ago.
    m_open = false;
    if (m_reopening) {
        const std::optional<MixerDevice::OpenResult> result = m_device->reopened();
        if (!result)
            return false;
        m_reopening = false;
        m_open = *result == MixerDevice::OpenResult::Opened;
        return m_open;
    }
    if (m_nextOpen.hasExpired()) {
        m_device->reopen();
        m_reopening = true;
        m_nextOpen = QDeadlineTimer(m_reopenMs);
    }
    return false;
}

qint32 cVolume::Minimum(Line) const
{
    return 0;
}

qint32 cVolume::Maximum(Line line) const
{
    return m_open && m_device->hasLevel(line) ? FullScale : 0;
}

template <typename T, typename Read> T cVolume::readOrLast(bool readable, Read read, T& last)
{
    // A mixer that was lost shows the last value read until it is back; one never opened, 0.
    if (!readable) {
        m_lastResult = NoMixer;
        return last;
    }
    const std::optional<T> value = read();
    m_lastResult = value ? 0 : NoMixer;
    // A stalled sound server gives no answer: the last value read stands, so the display does
    // not drop to 0 and the up button does not turn a loud volume down to 1 %.
    if (value)
        last = *value;
    return last;
}

qint32 cVolume::GetControlValue(Line line)
{
    return readOrLast(
        MixerOpen() && m_device->hasLevel(line), [&] { return m_device->level(line); }, m_lastLevel[size_t(line)]);
}

bool cVolume::SetControlValue(Line line, qint32 value)
{
    m_lastResult = MixerOpen() ? m_device->setLevel(line, value) : NoMixer;
    return m_lastResult == 0;
}

bool cVolume::GetControlMute(Line line)
{
    return readOrLast(
        MixerOpen() && m_device->hasMute(line), [&] { return m_device->muted(line); }, m_lastMute[size_t(line)]);
}

void cVolume::SetControlMute(Line line, bool flag)
{
    m_lastResult = MixerOpen() ? m_device->setMuted(line, flag) : NoMixer;
}

// --- the input meter -------------------------------------------------------------------------

qint32 cVolume::MaxVolumeMeterInput() const
{
    return m_device ? m_device->captureMeterMaximum() : 0;
}

qint32 cVolume::CurrentVolumeMeterOutput()
{
    return 0;
}

qint32 cVolume::CurrentVolumeMeterInput()
{
    if (!StartCapture())
        StartCapture();
    if (m_capturing && m_device) {
        const std::optional<qint32> value = m_device->readCaptureMeter();
        if (value)
            m_meterValue = *value;
    }
    if (m_meterValue < 0)
        m_meterValue = -m_meterValue;
    return m_meterValue;
}

bool cVolume::StartCapture()
{
    if (m_capturing)
        return true;
    if (!m_device) {
        m_lastResult = NoMixer;
        return false;
    }
    const MixerDevice::CaptureError opened = m_device->openCapture();
    m_lastResult = opened.code;
    if (opened.code != 0) {
        ShowWaveError(opened.text);
        return false;
    }
    // A capture that opened but cannot start is reported and still counts as running, so the
    // next reading does not open the device a second time.
    m_capturing = true;
    const MixerDevice::CaptureError started = m_device->startCapture();
    m_lastResult = started.code;
    if (started.code != 0)
        ShowWaveError(started.text);
    return true;
}

void cVolume::StopCapture()
{
    m_capturing = false;
    if (m_device)
        m_device->closeCapture();
}

void cVolume::ShowWaveError(const QString& text)
{
    m_messageBox.show(ErrorTitle, text, app::MessageBox::Icon::Error, app::MessageBox::Buttons::Ok);
}

} // namespace volume
