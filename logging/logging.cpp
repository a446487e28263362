#include "logging.h"

// Debug traces are for developers chasing a fault; users see only warnings and worse.
Q_LOGGING_CATEGORY(lcApp, "lm740.app", QtInfoMsg)
Q_LOGGING_CATEGORY(lcUsb, "lm740.usb", QtInfoMsg)
Q_LOGGING_CATEGORY(lcEditor, "lm740.editor", QtInfoMsg)
Q_LOGGING_CATEGORY(lcFiles, "lm740.files", QtInfoMsg)
Q_LOGGING_CATEGORY(lcUpgrade, "lm740.upgrade", QtInfoMsg)
// Every request the simulated controller receives, one line each: what a program sends it.
Q_LOGGING_CATEGORY(lcSim, "lm740.sim", QtInfoMsg)
