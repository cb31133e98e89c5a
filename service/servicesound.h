// The radio's sound for the back-end that runs: the simulator's programme, following what the
// simulator reports of the tuned channel, or the receiver's line-in; nothing with Source=none.
// A mute asked on the bus silences it at once, before the receiver confirms.
#pragma once

#include "radiobackend.h"
#include "service/sound/playthrough.h"

#include <QObject>
#include <memory>

namespace xmservice {

class ServiceSound : public QObject {
    Q_OBJECT
public:
    // source: "auto", "none" or a capture device (unused by the simulator, which makes its own);
    // settingsPath: the file the log points the user to when no line input is found.
    ServiceSound(RadioBackend& backend, bool simulated, const QString& source, const QString& settingsPath);

private:
    std::unique_ptr<sound::PlayThrough> m_player;
};

} // namespace xmservice
