// The progress dialog of a long pass over the controller (whole-memory copy, firmware upgrade):
// top-level, centred over the window with its whole title, shown at once, and while it is up no
// other window of the program takes input, so that no other command reaches the controller while
// the pass runs. Between transfers the pass asks goOn(), which lets the window repaint and the user
// press Cancel. It stays up, full, until the pass resets it.
//
// Closing a window of the program while the pass runs is never ignored: the user is asked
// whether to stop the pass and close, to close when the pass has ended, or to keep the window.
// The window then closes once the command that ran the pass is over (its last message
// answered), never under it. Qt's own modality would drop that close request before the program
// could see it, so the dialog refuses the other windows' input itself.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>

namespace lm740 {

class PassDialog : public QProgressDialog
{
    Q_OBJECT
public:
    PassDialog(const QString &title, const QString &label, int maximum);
    ~PassDialog() override;

    // Processes pending events; false once the user has cancelled.
    bool goOn();
    // Whether the progress is worth showing again: the first time, at the end, and otherwise ten
    // times a second. Painting the dialog after each of thousands of transfers would cost the
    // program more time than the transfers' own.
    bool showsAgain(bool atEnd);

    // Whether a pass runs (its dialog exists) anywhere in the program.
    static bool running() { return s_running > 0; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeOver(const QWidget *window);
    // Whether input sent to `receiver` may go on: only the dialog's own, and that of a box that
    // opens above it, do.
    bool takesInput(QObject *receiver) const;
    void askAboutClosing(QWidget *window);

    QElapsedTimer m_shown;
    QPointer<QWidget> m_closeWhenOver;
    bool m_asking = false;
    static inline int s_running = 0;
};

} // namespace lm740
