#include "my_dock_widget.h"

#include "layout_view.h"
#include "logging.h"
#include "playback.h"

#include <QMainWindow>
#include <QPainter>
#include <QTimer>

#include <algorithm>

using lm740::playback::kTickMs;

MyDockWidget::MyDockWidget(QWidget *parent) : QDockWidget(parent)
{
    qCDebug(lcApp) << "mydockwidget construct";
    lm740::setLampsBlack(targetColors);
    lm740::setLampsBlack(previousColors);
    tickTimer = new QTimer(this);
    connect(tickTimer, &QTimer::timeout, this, &MyDockWidget::tick);
    setFloating(false);
    // A title-less strip: it is a preview, not a panel the user rearranges.
    setFeatures(QDockWidget::NoDockWidgetFeatures);
    setTitleBarWidget(new QWidget(this));
    // It has no title and cannot be closed, so the window's tool bar menu would list it as a
    // blank entry that does nothing.
    toggleViewAction()->setVisible(false);
    // The strip paints all of itself, so the window behind it need not be painted first at every
    // frame of a fade.
    setAttribute(Qt::WA_OpaquePaintEvent);
    qCDebug(lcApp) << "mydockwidget construct end";
}

void MyDockWidget::startFade(quint32 total, quint32 xfadePercent, const QColor *colors, int n)
{
    count = lm740::boundedLampCount(n);
    for (int i = 0; i < count; ++i) {
        previousColors[i] = targetColors[i];
        targetColors[i] = colors ? colors[i] : QColor(Qt::black);
    }
    elapsed = 0;
    totalTime = total;
    fadeTime = lm740::playback::fadeTime(total, xfadePercent);
    tickTimer->start(int(kTickMs));
    update();
}

void MyDockWidget::setPlayMode(std::optional<lm740::ItemKind> playing)
{
    playMode = playing;
    // An idle preview lets its clock rest; a simulation needs it running.
    if (playMode && !tickTimer->isActive())
        tickTimer->start(int(kTickMs));
}

QColor MyDockWidget::shownColor(int i) const
{
    return lm740::playback::fadeColor(previousColors[i], targetColors[i], elapsed, fadeTime);
}

void MyDockWidget::followColors(const QColor *colors, int n)
{
    if (!colors)
        return;
    std::copy_n(colors, std::min(lm740::boundedLampCount(n), count), m_following.begin());
    m_followWanted = true;
    if (!tickTimer->isActive())
        tickTimer->start(int(kTickMs));
}

void MyDockWidget::followTiming(quint32 total, quint32 xfadePercent)
{
    totalTime = total;
    fadeTime = lm740::playback::fadeTime(total, xfadePercent);
    if (!tickTimer->isActive())
        tickTimer->start(int(kTickMs));
}

void MyDockWidget::setLampLayout(const lm740::Layout *layout)
{
    m_layout.reset();
    if (layout)
        m_layout = *layout;
    // Rows of cells need the height a line of lamps does not.
    setMinimumHeight(layout ? std::clamp(layout->height() * 5, kLineHeight, 120) : kLineHeight);
    fitHeight();
    update();
}

void MyDockWidget::fitHeight()
{
    // The dock area keeps the height it last gave the strip, from a drag or from the state of a
    // run with a layout: without one, a line of lamps would sit in an oversized strip.
    auto *window = qobject_cast<QMainWindow *>(parentWidget());
    if (window && window->dockWidgetArea(this) != Qt::NoDockWidgetArea)
        window->resizeDocks({this}, {minimumHeight()}, Qt::Vertical);
}

void MyDockWidget::tick()
{
    const quint32 before = elapsed;
    elapsed += kTickMs;
    if (m_followWanted) {
        m_followWanted = false;
        const bool faded = before > fadeTime;
        for (int i = 0; i < count; ++i) {
            targetColors[i] = m_following[i];
            // A fade that has ended shows the new colours at once.
            if (faded)
                previousColors[i] = m_following[i];
        }
        update();
    }
    // The picture moves while the fade runs, and once more when it reaches its target.
    if (before <= fadeTime)
        update();
    if (lm740::playback::itemEnded(elapsed, totalTime) && playMode) {
        // The window's reply may show a message, and its event loop delivers further ticks: the
        // item ends once.
        if (m_advancing)
            return;
        m_advancing = true;
        if (playMode == lm740::ItemKind::Chaser)
            emit next_chaser();
        else
            emit next_prog();
        m_advancing = false;
        return;
    }
    // A preview that has reached its colours shows them until the next item: nothing to count.
    if (!playMode && elapsed > fadeTime)
        tickTimer->stop();
}

void MyDockWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_layout) {
        LayoutView::paint(
            painter, rect(), *m_layout, count, [this](int lamp) { return shownColor(lamp); }, false,
            palette().color(QPalette::Window));
        return;
    }
    painter.setPen(Qt::NoPen);
    const int w = width() / (count + 1);
    const int h = height();
    for (int i = 0; i < count; ++i)
        painter.fillRect(i * w, 0, w, h, shownColor(i));
    painter.fillRect(count * w, 0, width() - count * w, h, palette().window());
}
