// The logging category of the radio service simulator and the tools built on its library.
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcService)
