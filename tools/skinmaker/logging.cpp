// The logging category of the skin maker.
#include "logging.h"

Q_LOGGING_CATEGORY(lcSkinMaker, "vanto.skinmaker")
