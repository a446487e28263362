// Lazy lamp loading: a lamp out of view waits in the panel as an empty place with its colour, and
// its control is built (or the colour reaches it) later, from the event loop, or at once when the
// lamp scrolls into view, takes the focus or is read or edited.
#include "scene.h"

#include "my_frame.h"
#include "super_rgb.h"

#include <QApplication>
#include <QScrollBar>
#include <QTimer>
#include <QWindow>

#include <algorithm>

void Scene::startLampLoading()
{
    m_loadTimer = new QTimer(this);
    m_loadTimer->setInterval(0);
    connect(m_loadTimer, &QTimer::timeout, this, &Scene::loadSomeWaitingLamps);
    connect(scroll, &QScrollBar::valueChanged, this, &Scene::loadVisibleLamps);
    // Keys go to the focus widget, which may sit in a lamp out of view: that lamp must hold its
    // colour before anything is typed into it, or the load would overwrite what was typed; and the
    // strip scrolls to show it.
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget *, QWidget *now) { followFocus(now); });
    // A parent that deletes the content first takes the lamps with it; nothing may load them
    // afterwards.
    connect(m_contentWidget, &QObject::destroyed, this, &Scene::forgetLamps);
}

SuperRGB *Scene::lamp(int i) const
{
    if (i < 0 || i >= lampsNumber)
        return nullptr;
    if (m_waiting[i])
        loadLamp(i);
    return lamps[i].lamp;
}

void Scene::setColors(QColor *cl, uint len)
{
    if (!cl)
        return;
    // Only lamps that exist can take a colour.
    const int n = int(std::min<uint>(len, uint(lampsNumber)));
    // The overview shows every colour at once; a lamp control is slow to load (its fields,
    // sliders and colours), so only the lamps in view are loaded now and the others follow from
    // the event loop, or earlier when something reads or edits them.
    for (int i = 0; i < n; ++i) {
        const QColor c(cl[i].red(), cl[i].green(), cl[i].blue());
        m_waitingRgb[i] = c.rgb();
        m_waiting.set(i);
        colorCells[i]->setColor(c);
    }
    loadVisibleLamps();
    if (m_contentWidget)
        loadLampHolding(m_contentWidget->window()->focusWidget());
    if (m_waiting.any())
        m_loadTimer->start();
    // The preview row follows on the next turn of the event loop, before it is painted, or at
    // once when anything asks for it.
    if (mode == Mode::Chaser) {
        m_previewWanted = true;
        m_previewTimer->start();
    }
}

void Scene::loadLamp(int i) const
{
    m_waiting.reset(i);
    if (!lamps[i].lamp) {
        buildLamp(i);
        return;
    }
    SuperRGB *l = lamps[i].lamp;
    const QColor c = QColor::fromRgb(m_waitingRgb[i]);
    // Each channel write makes the lamp report its colour twice; its overview cell already shows
    // the colour, so the lamp is kept quiet while its three channels are loaded.
    const bool wasBlocked = l->blockSignals(true);
    l->setRedColor(c.red());
    l->setGreenColor(c.green());
    l->setBlueColor(c.blue());
    l->blockSignals(wasBlocked);
}

void Scene::buildLamp(int i) const
{
    QWidget *holder = lamps[i].holder;
    const QColor c = QColor::fromRgb(m_waitingRgb[i]);
    auto *lamp =
        new SuperRGB(holder, quint8(c.red()), quint8(c.green()), quint8(c.blue()), quint16(i));
    lamps[i].lamp = lamp;
    if (frameCentral->minimumHeight() == 0) {
        // The strip never gets lower than a lamp control can be.
        const int lowest = lamp->minimumSizeHint().height();
        for (QWidget *w : {static_cast<QWidget *>(frameCentral), static_cast<QWidget *>(frameLeft),
                           static_cast<QWidget *>(frameRight)})
            w->setMinimumHeight(lowest);
        // A frame out of sight is resized without an event: the strip follows it here.
        const_cast<Scene *>(this)->fitLampsToStrip();
    }
    lamp->resize(lamp->width(), strip->height());
    lamp->applyStyle(panelStyle.get());
    // The slots change the panel, not what it shows of the lamp.
    auto *self = const_cast<Scene *>(this);
    connect(lamp, &SuperRGB::selectedSliderValueChange, self, &Scene::selectedChanged);
    // The cell first, the preview after: the preview reads the cell's colour.
    connect(lamp, &SuperRGB::colorChanged, colorCells[i], &MyFrame::setColor);
    connect(lamp, &SuperRGB::colorChanged, self, qOverload<QColor>(&Scene::chaser_calculate));
    connect(lamp, &SuperRGB::colorChanged, self, [self, i](QColor c) {
        if (self->m_loading == 0)
            emit self->lampEdited(i, c);
    });

    // A new widget joins the end of its window's Tab order. The lamp's fields go after those of
    // the nearest built lamp before it, or else after the last field before the strip, so that
    // Tab walks the lamps in order whichever was built first.
    QWidget *before = nullptr;
    for (int k = i - 1; k >= 0 && !before; --k)
        before = lamps[k].lastField;
    QWidget *first = lamps[0].holder;
    for (QWidget *w = first->previousInFocusChain(); !before && w != first && w != first->window();
         w = w->previousInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && !strip->isAncestorOf(w))
            before = w;
    QList<QWidget *> fields;
    for (QWidget *w = lamp->nextInFocusChain(); w != lamp && lamp->isAncestorOf(w);
         w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus)
            fields.append(w);
    for (QWidget *w : fields) {
        if (before)
            QWidget::setTabOrder(before, w);
        before = w;
    }
    lamps[i].lastField = fields.isEmpty() ? nullptr : fields.last();
    lamp->show();
}

int Scene::lampsBuilt() const
{
    int built = 0;
    for (int i = 0; i < lampsNumber; ++i)
        built += lamps[i].lamp != nullptr;
    return built;
}

void Scene::loadWaitingLamps() const
{
    for (int i = 0; i < lampsNumber && m_waiting.any(); ++i)
        if (m_waiting[i])
            loadLamp(i);
}

namespace {

// The first lamp control built sets the strip's lowest height, and the change climbs the
// window's layouts one parent for each turn of the event loop, a paint coming between turns: the
// window would be painted three times over before it stood still. Settled at once, the lamps in
// view and the layout they make are painted together in the next frame.
void settleLayoutsAbove(const QWidget *widget)
{
    for (const QWidget *w = widget; w; w = w->parentWidget())
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
}

} // namespace

void Scene::holdLampsUntilShown()
{
    m_holdUntilShown = true;
    qApp->installEventFilter(this);
}

bool Scene::eventFilter(QObject *watched, QEvent *event)
{
    if (m_holdUntilShown && event->type() == QEvent::Expose && m_contentWidget) {
        const QWindow *shown = m_contentWidget->window()->windowHandle();
        if (watched == shown && shown->isExposed()) {
            m_holdUntilShown = false;
            qApp->removeEventFilter(this);
            // The window paints in its own handling of this event: the lamps come after it.
            QTimer::singleShot(0, this, [this] {
                loadVisibleLamps();
                settleLayoutsAbove(m_contentWidget);
                if (m_waiting.any())
                    m_loadTimer->start();
            });
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Scene::loadVisibleLamps()
{
    if (m_holdUntilShown || m_waiting.none() || lampsNumber == 0)
        return;
    // The lamps that the viewport shows, whole or in part; a scroll loads the ones it uncovers.
    const int left = std::max(0, scroll->value());
    const int first = left / kLampPitch;
    const int last =
        std::min(lampsNumber - 1, (left + std::max(1, frameCentral->width()) - 1) / kLampPitch);
    for (int i = first; i <= last; ++i)
        if (m_waiting[i])
            loadLamp(i);
}

int Scene::lampIndexOf(const QWidget *widget) const
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        const auto *l = qobject_cast<const SuperRGB *>(w);
        if (!l)
            continue;
        for (int i = 0; i < lampsNumber; ++i)
            if (lamps[i].lamp == l)
                return i;
        return -1;
    }
    return -1;
}

void Scene::loadLampHolding(const QWidget *widget)
{
    if (m_waiting.none())
        return;
    const int i = lampIndexOf(widget);
    if (i >= 0 && m_waiting[i])
        loadLamp(i);
}

void Scene::followFocus(const QWidget *widget)
{
    const int i = lampIndexOf(widget);
    if (i < 0)
        return;
    if (m_waiting[i])
        loadLamp(i);
    // Tab walks from lamp to lamp; the strip follows, so that the field being typed in is seen.
    const int left = i * kLampPitch;
    const int right = left + kLampPitch;
    const int viewport = std::max(1, frameCentral->width());
    if (left < scroll->value())
        scroll->setValue(left);
    else if (right > scroll->value() + viewport)
        scroll->setValue(right - viewport);
}

void Scene::forgetLamps()
{
    m_loadTimer->stop();
    m_waiting.reset();
    lamps = {};
    colorCells = {};
    chaserCells = {};
    lampsNumber = 0;
}

void Scene::loadSomeWaitingLamps()
{
    // A few lamps per turn of the event loop keep the window answering while the rest load; a
    // control to build costs as much as eight colours to load, so that the window's first paint
    // never waits long behind it.
    if (m_holdUntilShown) {
        m_loadTimer->stop(); // started again once the window has been painted
        return;
    }
    int budget = 16;
    for (int i = 0; i < lampsNumber && budget > 0; ++i)
        if (m_waiting[i]) {
            budget -= lamps[i].lamp ? 1 : 8;
            loadLamp(i);
        }
    if (m_waiting.none())
        m_loadTimer->stop();
}

void Scene::getColors(QColor *cl, uint len)
{
    if (!cl)
        return;
    const int n = int(std::min<uint>(len, uint(lampsNumber)));
    for (int i = 0; i < n; ++i)
        cl[i] = m_waiting[i] ? QColor::fromRgb(m_waitingRgb[i]) : lamps[i].lamp->lampColor();
}
