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

} // namespace lm740
