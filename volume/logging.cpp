#include "logging.h"

Q_LOGGING_CATEGORY(lcVolume, "vanto.volume")
