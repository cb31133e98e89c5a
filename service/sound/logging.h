// The logging category of the radio's sound: the play-through, the programme, the inputs found.
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcSound)
