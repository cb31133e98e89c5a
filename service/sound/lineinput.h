// Finding the receiver's input: the capture devices the sound server and ALSA offer, what kind
// of input each is, and the line input that Source=auto plays. A microphone is never chosen:
// played to the speakers, it howls.
#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace sound {

enum class InputKind { Line, Microphone, Monitor, Other };

struct CaptureDevice {
    QString device;      // the ALSA name to open
    QString description; // what the sound server or ALSA calls it
    InputKind kind = InputKind::Other;
    bool selected = true; // the port in use (one of a server source's ports is)
};

// A port's kind by its type (the sound server's port type, 0 when it gives none) and its name.
InputKind kindOfPort(int type, const QString& name);

// The first line input in use, if any.
std::optional<CaptureDevice> chooseLineInput(const QList<CaptureDevice>& devices);

// The sound server's sources, a device for each port, as ALSA names of the pulse plugin
// ("pulse:<source>"). Empty, with the reason in failure, when no server answers within a second.
QList<CaptureDevice> serverInputs(QString* failure = nullptr);

// The sound cards' line inputs by their ALSA control names, for a system without a sound server.
QList<CaptureDevice> cardLineInputs();

// The line input Source=auto plays: the server's when a server answers, else a card's.
std::optional<CaptureDevice> findLineInput();

// Every capture device for the user to choose from: the server's sources and ALSA's own names.
QList<CaptureDevice> captureDevices();

QString kindText(InputKind kind);

} // namespace sound
