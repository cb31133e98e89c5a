// The volume's logging category: the sound card's mixer.
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcVolume)
