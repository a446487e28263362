#include "my_double_spin.h"
#include "key_forwarding.h"
#include "logging.h"

#include <QKeyEvent>

MyDoubleSpin::MyDoubleSpin(QWidget *parent) : QDoubleSpinBox(parent)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::white);
    setPalette(p);
    qCDebug(lcEditor) << "myspin construct";
}

void MyDoubleSpin::keyPressEvent(QKeyEvent *e)
{
    lm740::windowFirstKeyPress(this, e, [&] { QDoubleSpinBox::keyPressEvent(e); });
}
