// The logging category of the radio's sound.
#include "logging.h"

Q_LOGGING_CATEGORY(lcSound, "vanto.radio.sound")
