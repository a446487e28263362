// The progress dialog of a long pass over the controller (whole-memory copy, firmware upgrade):
// top-level, shown at once, and modal to the whole program, so that no other command reaches the
// controller while the pass runs. Between transfers the pass asks goOn(), which lets the window
// repaint and the user press Cancel.
#pragma once

#include <QProgressDialog>

namespace lm740 {

class PassDialog : public QProgressDialog
{
    Q_OBJECT
public:
    PassDialog(const QString &title, const QString &label, int maximum);

    // Processes pending events; false once the user has cancelled.
    bool goOn();
};

} // namespace lm740
