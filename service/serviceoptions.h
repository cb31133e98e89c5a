// The service's command line (--device, --model, --source, the simulator's --seed, --interval,
// --channels, and --help) and its settings file, xm-radio-service.ini: the command line wins over the file.
#pragma once

#include "receiversimulator.h"
#include "serialreceiver.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace xmservice {

struct ServiceOptions {
    std::optional<quint32> seed; // none: a fresh seed every run
    int listingIntervalMs = ReceiverSimulator::DefaultListingIntervalMs;
    int channelCount = 0;          // 0: the whole built-in lineup
    std::optional<QString> device; // a device path, or "simulator"
    std::optional<ReceiverModel> model;
    std::optional<QString> source; // "auto", "none" or a capture device
};

struct ParsedServiceOptions {
    ServiceOptions options;
    bool showHelp = false;
    QString helpText;
    QString error; // empty when the command line is fine
};

inline constexpr int MaxListingIntervalMs = 60000;
inline constexpr int MaxChannelCount = 9999;

// arguments[0] is the program's name, as in QCoreApplication::arguments().
ParsedServiceOptions parseServiceOptions(const QStringList& arguments);

inline constexpr int DefaultBaud = 9600;
// An hour of time shift takes about 45 MB; a day is the most the service keeps.
inline constexpr int DefaultTimeShiftMinutes = 60;
inline constexpr int MaxTimeShiftMinutes = 24 * 60;

// Which back-end runs and how it reaches the receiver.
struct ReceiverChoice {
    QString device; // empty: the simulator
    ReceiverModel model = ReceiverModel::Pcr;
    int baud = DefaultBaud;
    // Where the receiver's sound is captured: "auto" (a line input found), "none" (play-through
    // off, for a receiver wired straight to an amplifier), or an ALSA capture device.
    QString soundSource = QStringLiteral("auto");
    // The minutes of sound kept for time shift; 0: none, pause is mute.
    int timeShiftMinutes = DefaultTimeShiftMinutes;
    QStringList warnings; // values of the file that were not understood and were replaced
};

// The [Receiver] section of the settings file (Device, Model, Baud), [Audio] Source under the
// command line's --device, --model and --source, and [TimeShift] Minutes. A missing file or key
// gives the simulator, a PCR, 9600 baud, Source=auto and an hour of time shift.
ReceiverChoice chooseReceiver(const ServiceOptions& options, const QString& settingsPath);

// "PCR" or "Direct" in any letter case.
std::optional<ReceiverModel> modelNamed(const QString& name);

} // namespace xmservice
