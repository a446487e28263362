// A framed cell with a colour and a lamp index: the panel's overview cells (a click brings that
// lamp into view), its edge frames that scroll while the mouse is over them, and the lamp strip.
#pragma once

#include <QColor>
#include <QFrame>

class MyFrame : public QFrame
{
    Q_OBJECT

public:
    MyFrame(QWidget *parent, const QColor &colour, int index);

    QColor frameColor() const { return m_frameColor; }

Q_SIGNALS:
    void frameResized();
    void mouseInside();
    void ClickIndex(int index);

public Q_SLOTS:
    void right(bool);
    void left(bool);
    void refresh(bool);
    void posx(int value);
    void setColor(QColor color);

protected:
    void resizeEvent(QResizeEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dragMoveEvent(QDragMoveEvent *e) override;

private:
    QColor m_frameColor;
    int frameIndex;
};
