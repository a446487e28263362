#include "widget_retirement.h"

#include <QApplication>
#include <QDialog>
#include <QList>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QWidget>

namespace lm740 {

namespace {

// Closes the windows the widget owns: a dialog is rejected, which ends its exec(), and the code
// that opened it goes on with "cancelled" once the dialog's event loop returns.
void closeOwnedWindows(QWidget *widget)
{
    for (QWidget *child : widget->findChildren<QWidget *>()) {
        if (!child->isWindow() || !child->isVisible())
            continue;
        if (auto *dialog = qobject_cast<QDialog *>(child))
            dialog->reject();
        else
            child->close();
    }
}

bool holdsFocus(const QWidget *widget)
{
    const QWidget *focus = QApplication::focusWidget();
    return focus && (focus == widget || widget->isAncestorOf(focus));
}

class Retirement : public QObject
{
public:
    explicit Retirement(QObject *parent) : QObject(parent)
    {
        m_timer.setSingleShot(true);
        connect(&m_timer, &QTimer::timeout, this, &Retirement::sweep);
    }

    void add(QWidget *widget)
    {
        m_waiting << widget;
        m_timer.start(0);
    }

    int waiting()
    {
        m_waiting.removeAll(nullptr);
        return int(m_waiting.size());
    }

private:
    void sweep()
    {
        // Inside a dialog's, a drag's or a menu's own event loop, the event that opened it is
        // still running, and it may be one of these widgets'. Look again once it has ended.
        if (QThread::currentThread()->loopLevel() > 1) {
            m_timer.start(kRetryMs);
            return;
        }
        for (QPointer<QWidget> &widget : m_waiting) {
            if (!widget)
                continue;
            closeOwnedWindows(widget);
            if (holdsFocus(widget))
                QApplication::focusWidget()->clearFocus();
            // Posted from this outermost turn, the deletion runs when control is back in this
            // loop and in no loop entered below it.
            widget->deleteLater();
            widget = nullptr;
        }
        m_waiting.clear();
    }

    static constexpr int kRetryMs = 100;
    QList<QPointer<QWidget>> m_waiting;
    QTimer m_timer;
};

Retirement &retirement()
{
    static QPointer<Retirement> instance;
    if (!instance)
        instance = new Retirement(QCoreApplication::instance());
    return *instance;
}

} // namespace

void retireWidget(QWidget *widget)
{
    if (!widget)
        return;
    closeOwnedWindows(widget);
    if (holdsFocus(widget))
        QApplication::focusWidget()->clearFocus();
    widget->setEnabled(false);
    widget->hide();
    retirement().add(widget);
}

int retiredWidgetsWaiting()
{
    return retirement().waiting();
}

} // namespace lm740
