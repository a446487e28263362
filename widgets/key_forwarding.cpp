#include "key_forwarding.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
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
    // Ctrl+Insert and Shift+Insert copy and paste too, but those are no commands of the window.
    if (e->key() == Qt::Key_C && e->matches(QKeySequence::Copy))
        return false;
    if (e->key() == Qt::Key_V && e->matches(QKeySequence::Paste))
        return !QGuiApplication::clipboard()->text().isEmpty();
    return true;
}

bool isFieldEditingKey(const QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        break;
    }
    for (const QKeySequence::StandardKey k :
         {QKeySequence::SelectAll, QKeySequence::Cut, QKeySequence::Copy, QKeySequence::Paste,
          QKeySequence::Undo, QKeySequence::Redo})
        if (e->matches(k))
            return true;
    return false;
}

} // namespace lm740
