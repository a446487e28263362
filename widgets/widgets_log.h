// Debug traces of the lamp widgets; off unless QT_LOGGING_RULES turns lm740.editor on.
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcLampWidgets)
