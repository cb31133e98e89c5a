#include "logging.h"

Q_LOGGING_CATEGORY(lcSkin, "vanto.skin")
