#include "pass_dialog.h"

#include <QApplication>
#include <QMainWindow>

#include <algorithm>

namespace lm740 {

PassDialog::PassDialog(const QString &title, const QString &label, int maximum)
{
    // No parent, and the standard Cancel button.
    setObjectName(QStringLiteral("passDialog"));
    setWindowTitle(title);
    setLabelText(label);
    setRange(0, maximum);
    setWindowModality(Qt::ApplicationModal);
    setMinimumDuration(0);
    setAutoReset(false);
    setValue(0);
    placeOverWindow();
    show();
}

void PassDialog::placeOverWindow()
{
    // Wide enough that the window manager's title bar shows the whole title beside its buttons.
    constexpr int kTitleBarButtons = 140;
    adjustSize();
    resize(std::max(width(), fontMetrics().horizontalAdvance(windowTitle()) + kTitleBarButtons),
           height());
    // Over the middle of the window the pass works for, not wherever a dialog without a parent
    // would go.
    QWidget *over = QApplication::activeWindow();
    if (!over || over == this)
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<QMainWindow *>(w) && w->isVisible())
                over = w;
    if (over && over != this)
        move(over->frameGeometry().center() - QPoint(width() / 2, height() / 2));
}

bool PassDialog::showsAgain(bool atEnd)
{
    constexpr int kInterval = 100; // ms
    if (!atEnd && m_shown.isValid() && m_shown.elapsed() < kInterval)
        return false;
    m_shown.start();
    return true;
}

bool PassDialog::goOn()
{
    QCoreApplication::processEvents();
    return !wasCanceled();
}

} // namespace lm740
