// Choosing the sound's source and wiring the back-end's reports and mute requests to it.
#include "servicesound.h"

#include "logging.h"
#include "service/sound/capturesource.h"
#include "service/sound/programme.h"

namespace xmservice {

namespace {

std::unique_ptr<sound::Programme> programmeOf(RadioBackend& backend, QObject* context)
{
    auto programme = std::make_unique<sound::Programme>();
    QObject::connect(&backend, &RadioBackend::CurrentChannelData, context,
                     [playing = programme.get()](int number, const QString&, const QString& artist,
                                                 const QString& title, const QString&) {
                         playing->follow(number, sound::songSeed(number, artist, title));
                     });
    return programme;
}

} // namespace

ServiceSound::ServiceSound(RadioBackend& backend, bool simulated, const QString& source, const QString& settingsPath)
{
    if (source == QLatin1String("none")) {
        qCInfo(lcService).noquote() << "no sound is played: Source=none";
        return;
    }
    std::unique_ptr<sound::SoundSource> input;
    if (simulated)
        input = programmeOf(backend, this);
    else
        input = std::make_unique<sound::CaptureSource>(
            source, QStringLiteral("no line input found; name the receiver's input as Source= in [Audio] of %1 "
                                   "(xmctl --sources lists them), or set Source=none when the receiver is "
                                   "wired to an amplifier")
                        .arg(settingsPath));
    m_player = std::make_unique<sound::PlayThrough>(std::move(input));
    connect(&backend, &RadioBackend::muteRequested, this, [this](bool muted) { m_player->setMuted(muted); });
    m_player->start();
}

} // namespace xmservice
