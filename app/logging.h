// The program's own logging categories: the window and its start (vanto.app), the settings
// files and folders (vanto.app.settings), and the signals that end the program (vanto.app.signals).
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcSettings)
Q_DECLARE_LOGGING_CATEGORY(lcSignals)
