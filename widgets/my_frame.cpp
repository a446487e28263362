#include "my_frame.h"
#include "logging.h"

#include <QDragEnterEvent>
#include <QMimeData>

MyFrame::MyFrame(QWidget *parent, const QColor &colour, int index)
    : QFrame(parent), frameIndex(index)
{
    setColor(colour);
    if (index != -1)
        setCursor(Qt::PointingHandCursor);
    setAcceptDrops(true);
}

void MyFrame::right(bool)
{
    move(x() + 5, y());
}

void MyFrame::left(bool)
{
    move(x() - 5, y());
}

void MyFrame::refresh(bool)
{
    repaint();
}

void MyFrame::posx(int value)
{
    move(-value, 0);
}

void MyFrame::setColor(QColor color)
{
    // The panel sets every cell on each colour change of its lamp; a palette change is far
    // dearer than this comparison, and most calls bring the colour the cell already has.
    if (color == m_frameColor && palette().color(QPalette::Base) == color)
        return;
    m_frameColor = color;
    QPalette p = palette();
    p.setColor(QPalette::Base, color);
    setPalette(p);
}

void MyFrame::resizeEvent(QResizeEvent *e)
{
    QFrame::resizeEvent(e);
    emit frameResized();
}

void MyFrame::mouseMoveEvent(QMouseEvent *)
{
    emit mouseInside();
}

void MyFrame::mousePressEvent(QMouseEvent *)
{
    qCDebug(lcEditor) << "frame press" << objectName() << frameIndex;
    if (frameIndex != -1)
        emit ClickIndex(frameIndex);
}

void MyFrame::dragEnterEvent(QDragEnterEvent *e)
{
    if (e->mimeData() && e->mimeData()->hasColor())
        e->acceptProposedAction();
}

void MyFrame::dragMoveEvent(QDragMoveEvent *)
{
    emit mouseInside();
}
