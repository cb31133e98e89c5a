#include "logging.h"

Q_LOGGING_CATEGORY(lcSettings, "vanto.app.settings")
Q_LOGGING_CATEGORY(lcSignals, "vanto.app.signals")
