// The radio service played by hand: owns the service's object, prints every call the window
// makes, and sends the signals a person asks for.
#pragma once

#include "commandline.h"

#include <QObject>
#include <cstdio>

namespace xmctl {

class ManualRadio : public QObject {
    Q_OBJECT
public:
    // Calls are printed to out, one line each, flushed at once.
    explicit ManualRadio(FILE* out, QObject* parent = nullptr);

    // Puts this object on the session bus under the radio service's name. Returns an empty text
    // on success, else the reason (the name is already owned, no session bus).
    QString publish();

    // Sends the signal of a Signal command on the session bus; false when the bus refuses it.
    bool send(const Command& command);
    // Returns once the bus has received everything sent so far, so nothing is lost at exit.
    void flush();

public slots:
    // The radio service's methods.
    void Channel(int number);
    void SetMute(bool muted);
    void Pause();
    void Resume();
    void Live();
    void NextSong();
    void PreviousSong();
    void Seek(double position);
    // No song is kept here: the answer is an empty path.
    QString SaveSong();
    // Time shift is off here.
    bool TimeShift(bool& paused, double& behindLive, double& buffered, double& position);

private:
    void print(const QString& line);

    FILE* m_out;
};

} // namespace xmctl
