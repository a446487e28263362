// Trace categories of the program. All are silent unless QT_LOGGING_RULES turns them on,
// e.g. QT_LOGGING_RULES="lm740.*.debug=true".
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcUsb)
Q_DECLARE_LOGGING_CATEGORY(lcEditor)
Q_DECLARE_LOGGING_CATEGORY(lcFiles)
Q_DECLARE_LOGGING_CATEGORY(lcUpgrade)
Q_DECLARE_LOGGING_CATEGORY(lcSim)
