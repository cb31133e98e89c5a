// The logging categories of the shared ground: the settings files and folders
// (vanto.app.settings), and the signals that end the program (vanto.app.signals).
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcSettings)
Q_DECLARE_LOGGING_CATEGORY(lcSignals)
