#include "widgets_log.h"

Q_LOGGING_CATEGORY(lcLampWidgets, "lm740.editor", QtWarningMsg)
