// The trace category of the USB link ("lm740.usb"), off unless QT_LOGGING_RULES turns it on.
#pragma once

#include <QLoggingCategory>

namespace lm740 {
Q_DECLARE_LOGGING_CATEGORY(lcUsb)
}
