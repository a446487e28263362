// The floating-point spin box of the time fields; like MySpin it lets the window see keys first.
// It takes "." and "," alike as the decimal point, whatever the language: a user types the one
// the keyboard's number pad gives, and another language's point must not make a time ten times
// longer.
#pragma once

#include <QDoubleSpinBox>

class MyDoubleSpin : public QDoubleSpinBox
{
    Q_OBJECT

public:
    explicit MyDoubleSpin(QWidget *parent = nullptr);

    QValidator::State validate(QString &text, int &pos) const override;
    double valueFromText(const QString &text) const override;

protected:
    void keyPressEvent(QKeyEvent *e) override;

private:
    // The text with either point replaced by the one of the box's language.
    QString withLocalePoint(QString text) const;
};
