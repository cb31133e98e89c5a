#include "logging.h"

Q_LOGGING_CATEGORY(lcMpris, "vanto.mpris")
