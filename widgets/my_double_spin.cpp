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

QString MyDoubleSpin::withLocalePoint(QString text) const
{
    // The times are below a thousand, so neither character is ever needed as a group separator.
    const QString point = locale().decimalPoint();
    for (const QChar c : {QLatin1Char('.'), QLatin1Char(',')})
        if (point != c)
            text.replace(c, point);
    return text;
}

QValidator::State MyDoubleSpin::validate(QString &text, int &pos) const
{
    // The field shows the replaced text, so what is typed next follows the point it shows.
    text = withLocalePoint(text);
    return QDoubleSpinBox::validate(text, pos);
}

double MyDoubleSpin::valueFromText(const QString &text) const
{
    return QDoubleSpinBox::valueFromText(withLocalePoint(text));
}

void MyDoubleSpin::keyPressEvent(QKeyEvent *e)
{
    lm740::windowFirstKeyPress(this, e, [&] { QDoubleSpinBox::keyPressEvent(e); });
}
