// A line edit that shows a colour as its background and carries it by drag and drop; the lamp
// control uses it for its colour cell and its three value fields.
#pragma once

#include <QLineEdit>

class ColorLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit ColorLineEdit(QWidget *parent = nullptr);

Q_SIGNALS:
    void redChanged(int value);
    void greenChanged(int value);
    void blueChanged(int value);

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dragMoveEvent(QDragMoveEvent *e) override;
    void dropEvent(QDropEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void emitChannels(const QColor &c);
};
