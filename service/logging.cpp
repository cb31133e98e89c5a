// The logging category of the radio service simulator.
#include "logging.h"

Q_LOGGING_CATEGORY(lcService, "vanto.radio.service")
