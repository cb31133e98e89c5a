// The simulator's command line: --seed, --interval, --channels and --help.
#pragma once

#include "receiversimulator.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace xmservice {

struct ServiceOptions {
    std::optional<quint32> seed; // none: a fresh seed every run
    int listingIntervalMs = ReceiverSimulator::DefaultListingIntervalMs;
    int channelCount = 0; // 0: the whole built-in lineup
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

} // namespace xmservice
