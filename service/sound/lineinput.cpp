// The sound server is asked through its own client library, which knows each source's ports and
// their kinds; ALSA alone knows only control names, which serve a system without a server.
#include "lineinput.h"

#include <QDeadlineTimer>
#include <alsa/asoundlib.h>
#include <functional>
#include <memory>
#include <pulse/pulseaudio.h>

namespace sound {

namespace {

constexpr int ServerAnswerMs = 1000;

// Runs the loop until done() holds; false when the deadline passes first or the loop fails.
bool runUntil(pa_mainloop* loop, const QDeadlineTimer& deadline, const std::function<bool()>& done)
{
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        // Each turn waits at most 50 ms, so a server that stops answering cannot hold us.
        if (pa_mainloop_prepare(loop, 50000) < 0 || pa_mainloop_poll(loop) < 0 || pa_mainloop_dispatch(loop) < 0)
            return false;
    }
    return true;
}

void addSource(pa_context*, const pa_source_info* info, int eol, void* data)
{
    auto* found = static_cast<std::pair<QList<CaptureDevice>, bool>*>(data);
    if (eol || !info) {
        found->second = true;
        return;
    }
    const QString device = QStringLiteral("pulse:") + QString::fromUtf8(info->name);
    const QString description = QString::fromUtf8(info->description);
    if (info->monitor_of_sink != PA_INVALID_INDEX || info->n_ports == 0) {
        const InputKind kind = info->monitor_of_sink != PA_INVALID_INDEX ? InputKind::Monitor : InputKind::Other;
        found->first.append({device, description, kind, true});
        return;
    }
    for (uint32_t i = 0; i < info->n_ports; ++i) {
        const pa_source_port_info* port = info->ports[i];
        const bool active = info->active_port && qstrcmp(info->active_port->name, port->name) == 0;
        found->first.append({device, description + QLatin1String(": ") + QString::fromUtf8(port->description),
                             kindOfPort(port->type, QString::fromUtf8(port->name)), active});
    }
}

// The card's id and name, as in plughw:CARD=<id>; empty when it cannot be read.
std::pair<QString, QString> cardNames(int card)
{
    snd_ctl_t* control = nullptr;
    if (snd_ctl_open(&control, QByteArray("hw:" + QByteArray::number(card)).constData(), 0) < 0)
        return {};
    snd_ctl_card_info_t* info = nullptr;
    snd_ctl_card_info_alloca(&info);
    std::pair<QString, QString> names;
    if (snd_ctl_card_info(control, info) >= 0)
        names = {QString::fromLocal8Bit(snd_ctl_card_info_get_id(info)),
                 QString::fromLocal8Bit(snd_ctl_card_info_get_name(info))};
    snd_ctl_close(control);
    return names;
}

// Whether the card has a line input, and whether its capture source (when it has a choice of
// one) is set to it.
std::optional<bool> cardLine(int card)
{
    snd_mixer_t* mixer = nullptr;
    if (snd_mixer_open(&mixer, 0) < 0)
        return std::nullopt;
    const std::unique_ptr<snd_mixer_t, int (*)(snd_mixer_t*)> closer(mixer, snd_mixer_close);
    const QByteArray name = "hw:" + QByteArray::number(card);
    if (snd_mixer_attach(mixer, name.constData()) < 0 || snd_mixer_selem_register(mixer, nullptr, nullptr) < 0 ||
        snd_mixer_load(mixer) < 0)
        return std::nullopt;
    bool line = false;
    std::optional<bool> lineChosen;
    for (snd_mixer_elem_t* elem = snd_mixer_first_elem(mixer); elem; elem = snd_mixer_elem_next(elem)) {
        const QString control = QString::fromLatin1(snd_mixer_selem_get_name(elem));
        if (control.startsWith(QLatin1String("Line"), Qt::CaseInsensitive) &&
            (snd_mixer_selem_has_capture_switch(elem) || snd_mixer_selem_has_capture_volume(elem)))
            line = true;
        unsigned item = 0;
        char itemName[64] = {};
        if (snd_mixer_selem_is_enum_capture(elem) &&
            snd_mixer_selem_get_enum_item(elem, SND_MIXER_SCHN_MONO, &item) >= 0 &&
            snd_mixer_selem_get_enum_item_name(elem, item, sizeof(itemName) - 1, itemName) >= 0)
            lineChosen = QString::fromLatin1(itemName).startsWith(QLatin1String("Line"), Qt::CaseInsensitive);
    }
    if (!line)
        return std::nullopt;
    return lineChosen.value_or(true);
}

} // namespace

InputKind kindOfPort(int type, const QString& name)
{
    if (type == PA_DEVICE_PORT_TYPE_LINE)
        return InputKind::Line;
    if (type == PA_DEVICE_PORT_TYPE_MIC || type == PA_DEVICE_PORT_TYPE_HEADSET || type == PA_DEVICE_PORT_TYPE_HANDSET)
        return InputKind::Microphone;
    const QString lower = name.toLower();
    if (lower.contains(QLatin1String("mic")))
        return InputKind::Microphone;
    for (const char* line : {"linein", "line-in", "line_in", "line in"}) {
        if (lower.contains(QLatin1String(line)))
            return InputKind::Line;
    }
    return lower == QLatin1String("line") || lower.endsWith(QLatin1String("-line")) ? InputKind::Line
                                                                                    : InputKind::Other;
}

std::optional<CaptureDevice> chooseLineInput(const QList<CaptureDevice>& devices)
{
    for (const CaptureDevice& device : devices) {
        if (device.kind == InputKind::Line && device.selected)
            return device;
    }
    return std::nullopt;
}

QList<CaptureDevice> serverInputs(QString* failure)
{
    const std::unique_ptr<pa_mainloop, void (*)(pa_mainloop*)> loop(pa_mainloop_new(), pa_mainloop_free);
    const std::unique_ptr<pa_context, void (*)(pa_context*)> context(
        pa_context_new(pa_mainloop_get_api(loop.get()), "VANTO XM Radio"), [](pa_context* c) {
            pa_context_disconnect(c);
            pa_context_unref(c);
        });
    const QDeadlineTimer deadline(ServerAnswerMs);
    std::pair<QList<CaptureDevice>, bool> found;
    QString reason;
    // Never start a server of our own: a user without one has chosen so.
    if (pa_context_connect(context.get(), nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        reason = QString::fromUtf8(pa_strerror(pa_context_errno(context.get())));
    } else {
        const auto settled = [&] {
            const pa_context_state_t state = pa_context_get_state(context.get());
            return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
        };
        if (!runUntil(loop.get(), deadline, settled) || pa_context_get_state(context.get()) != PA_CONTEXT_READY) {
            reason = QStringLiteral("no sound server answered");
        } else {
            pa_operation* listing = pa_context_get_source_info_list(context.get(), addSource, &found);
            if (!runUntil(loop.get(), deadline, [&] { return found.second; }))
                reason = QStringLiteral("the sound server did not list its sources");
            if (listing)
                pa_operation_unref(listing);
        }
    }
    if (failure)
        *failure = reason;
    return reason.isEmpty() ? found.first : QList<CaptureDevice>();
}

QList<CaptureDevice> cardLineInputs()
{
    QList<CaptureDevice> found;
    int card = -1;
    while (snd_card_next(&card) >= 0 && card >= 0) {
        const std::optional<bool> chosen = cardLine(card);
        const auto [id, name] = cardNames(card);
        if (chosen && !id.isEmpty())
            found.append({QStringLiteral("plughw:CARD=%1,DEV=0").arg(id), name, InputKind::Line, *chosen});
    }
    return found;
}

std::optional<CaptureDevice> findLineInput()
{
    QString failure;
    const QList<CaptureDevice> server = serverInputs(&failure);
    return failure.isEmpty() ? chooseLineInput(server) : chooseLineInput(cardLineInputs());
}

QList<CaptureDevice> captureDevices()
{
    QList<CaptureDevice> devices = serverInputs();
    void** hints = nullptr;
    if (snd_device_name_hint(-1, "pcm", &hints) < 0)
        return devices;
    for (void** hint = hints; *hint; ++hint) {
        const std::unique_ptr<char, void (*)(void*)> name(snd_device_name_get_hint(*hint, "NAME"), std::free);
        const std::unique_ptr<char, void (*)(void*)> description(snd_device_name_get_hint(*hint, "DESC"), std::free);
        const std::unique_ptr<char, void (*)(void*)> direction(snd_device_name_get_hint(*hint, "IOID"), std::free);
        if (!name || (direction && qstrcmp(direction.get(), "Input") != 0))
            continue;
        const QString text = description ? QString::fromLocal8Bit(description.get()) : QString();
        devices.append({QString::fromLocal8Bit(name.get()), text.section(QLatin1Char('\n'), 0, 0), InputKind::Other});
    }
    snd_device_name_free_hint(hints);
    return devices;
}

QString kindText(InputKind kind)
{
    switch (kind) {
    case InputKind::Line: return QStringLiteral("line input");
    case InputKind::Microphone: return QStringLiteral("microphone");
    case InputKind::Monitor: return QStringLiteral("what a sink plays");
    case InputKind::Other: break;
    }
    return QStringLiteral("input");
}

} // namespace sound
