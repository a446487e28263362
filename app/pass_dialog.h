// The progress dialog of a long pass over the controller (whole-memory copy, firmware upgrade):
// top-level, centred over the window with its whole title, shown at once, and modal to the whole
// program, so that no other command reaches the controller while the pass runs. Between transfers
// the pass asks goOn(), which lets the window repaint and the user press Cancel. It stays up, full,
// until the pass resets it.
#pragma once

#include <QElapsedTimer>
#include <QProgressDialog>

namespace lm740 {

class PassDialog : public QProgressDialog
{
    Q_OBJECT
public:
    PassDialog(const QString &title, const QString &label, int maximum);

    // Processes pending events; false once the user has cancelled.
    bool goOn();
    // Whether the progress is worth showing again: the first time, at the end, and otherwise ten
    // times a second. Painting the dialog after each of thousands of transfers would cost the
    // program more time than the transfers' own.
    bool showsAgain(bool atEnd);

private:
    void placeOverWindow();
    QElapsedTimer m_shown;
};

} // namespace lm740
