// The logging category of the radio service simulator.
#include "servicelog.h"

Q_LOGGING_CATEGORY(lcService, "vanto.radio.service")
