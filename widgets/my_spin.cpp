#include "my_spin.h"
#include "key_forwarding.h"
#include "logging.h"

#include <QKeyEvent>

MySpin::MySpin(QWidget *parent) : QSpinBox(parent)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::white);
    setPalette(p);
    qCDebug(lcEditor) << "myspin construct";
}

void MySpin::keyPressEvent(QKeyEvent *e)
{
    if (!lm740::offerKeyToParents(this, e))
        return;
    if (lm740::fieldTakesKeyToo(e))
        QSpinBox::keyPressEvent(e);
    // The parent chain has had the key already; do not let it travel up a second time.
    e->accept();
}
