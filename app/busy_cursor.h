// The wait cursor for as long as the window works with the controller, restored on every way out
// of the work, early returns included.
#pragma once

#include <QApplication>

namespace lm740 {

class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

} // namespace lm740
