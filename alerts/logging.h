// The alerts' logging category: lines about alerts the settings file holds but that cannot be
// used, and about news the desktop could not be given.
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcAlerts)
