#include "usb_log.h"

namespace lm740 {
Q_LOGGING_CATEGORY(lcUsb, "lm740.usb", QtWarningMsg)
}
