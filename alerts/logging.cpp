// The alerts' logging category.
#include "logging.h"

Q_LOGGING_CATEGORY(lcAlerts, "vanto.alerts")
