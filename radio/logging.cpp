#include "logging.h"

Q_LOGGING_CATEGORY(lcRadio, "vanto.radio")
