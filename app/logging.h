// The window's logging category: its start, its end and what it shows (vanto.app).
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcApp)
