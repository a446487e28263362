#include "key_forwarding.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace lm740 {

bool offerKeyToParents(QWidget *widget, QKeyEvent *e)
{
    QPointer<QWidget> self(widget);
    if (QWidget *up = widget->parentWidget())
        QCoreApplication::sendEvent(up, e);
    return !self.isNull();
}

bool fieldTakesKeyToo(const QKeyEvent *e)
{
    // Ctrl+Insert copies too, but that one is no command of the window.
    return !(e->key() == Qt::Key_C && e->matches(QKeySequence::Copy));
}

} // namespace lm740
