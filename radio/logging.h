// The radio client's logging category: the radio service on the bus, and the channel list's file.
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcRadio)
