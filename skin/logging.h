// The skin's logging category: loads, and what a skin lacks.
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcSkin)
