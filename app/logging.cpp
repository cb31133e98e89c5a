#include "logging.h"

Q_LOGGING_CATEGORY(lcApp, "vanto.app")
