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
    if (m_keepsEditingKeys && lm740::isFieldEditingKey(e)) {
        QSpinBox::keyPressEvent(e);
        return;
    }
    lm740::windowFirstKeyPress(this, e, [&] { QSpinBox::keyPressEvent(e); });
}
