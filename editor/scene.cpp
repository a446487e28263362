// The panel's frame: the content widget with its frames, the strip of lamp controls and the
// overview cells, adding and removing lamps, and the sideways scrolling of the strip.
#include "scene.h"

#include "arthur_style.h"
#include "logging.h"
#include "my_frame.h"
#include "super_rgb.h"
#include "widget_retirement.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSpacerItem>
#include <QTimer>

#include <algorithm>
#include <cstdlib>

Scene::Scene(QWidget *parent, int count, QColor *colors)
    : QWidget(nullptr), panelStyle(std::make_unique<ArthurStyle>())
{
    setObjectName("Scene");
    m_contentWidget = new QWidget(parent);
    m_contentWidget->setObjectName("Scene w");

    mainGrid = new QGridLayout(m_contentWidget);
    mainGrid->setObjectName("GridLayout");
    mainGrid->setContentsMargins(1, 1, 1, 1);
    mainGrid->setSpacing(1);

    frameSettings = new MyFrame(m_contentWidget, QColor(Qt::black), -1);
    frameSettings->setObjectName("FrameSettings");
    frameSettings->setMinimumSize(20, 30);
    frameSettings->setMaximumSize(16777215, 30);
    frameSettings->setFrameShape(QFrame::StyledPanel);
    frameSettings->setFrameShadow(QFrame::Sunken);
    mainGrid->addWidget(frameSettings, 0, 0, 1, 3);
    buildSettingsRow();

    frameColors = new MyFrame(m_contentWidget, QColor(Qt::black), -1);
    frameColors->setObjectName("FrameColors");
    frameColors->setMinimumSize(20, 25);
    frameColors->setMaximumSize(16777215, 25);
    frameColors->setFrameShape(QFrame::StyledPanel);
    frameColors->setFrameShadow(QFrame::Sunken);
    colorsGrid = new QGridLayout(frameColors);
    colorsGrid->setContentsMargins(0, 0, 0, 0);
    colorsGrid->setSpacing(0);
    mainGrid->addWidget(frameColors, 1, 0, 1, 3);

    auto makeEdge = [this](const char *name, const QString &tip) {
        auto *f = new MyFrame(m_contentWidget, QColor(Qt::black), -1);
        f->setObjectName(name);
        f->setFixedWidth(25);
        f->setFrameShape(QFrame::StyledPanel);
        f->setFrameShadow(QFrame::Sunken);
        f->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Expanding);
        f->setMouseTracking(true);
        f->setToolTip(tip);
        return f;
    };
    frameLeft = makeEdge("FrameLeft", tr("Move mouse to Scroll LEDs", "frame left"));
    mainGrid->addWidget(frameLeft, 2, 0);

    frameCentral = new MyFrame(m_contentWidget, QColor(Qt::black), -1);
    frameCentral->setObjectName("FrameCentral");
    // As high as the panel lets it be, and never lower than a lamp control can be.
    frameCentral->setMinimumWidth(80);
    frameCentral->setFrameShape(QFrame::StyledPanel);
    frameCentral->setFrameShadow(QFrame::Sunken);
    frameCentral->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    mainGrid->addWidget(frameCentral, 2, 1);

    frameRight = makeEdge("FrameRight", tr("Move mouse to Scroll LEDs"));
    mainGrid->addWidget(frameRight, 2, 2);

    mainGrid->setRowStretch(2, 1);

    scroll = new QScrollBar(Qt::Horizontal, m_contentWidget);
    scroll->setObjectName("Scroll");
    scroll->setAccessibleName(tr("Lamps", "accessible name of the lamp strip's scroll bar"));
    mainGrid->addWidget(scroll, 4, 0, 1, 3);

    // FrameCentral has no layout: it is the viewport, and the strip inside it is moved by hand.
    strip = new MyFrame(frameCentral, QColor(Qt::black), -1);
    strip->setObjectName("LampStrip");
    strip->setFrameShape(QFrame::NoFrame);
    strip->setLineWidth(1);
    strip->setMinimumWidth(80);
    strip->setMaximumWidth(100000);
    stripBox = new QHBoxLayout(strip);
    stripBox->setContentsMargins(0, 0, 0, 0);
    stripBox->setSpacing(0);

    connect(scroll, &QScrollBar::valueChanged, strip, &MyFrame::posx);
    connect(frameCentral, &MyFrame::frameResized, this, &Scene::setScroll);
    connect(frameLeft, &MyFrame::mouseInside, this, &Scene::leftPanel);
    connect(frameRight, &MyFrame::mouseInside, this, &Scene::rightPanel);
    startChaserPreview();
    startLampLoading();
    connectFieldEdits();

    addLamps(uint(std::max(count, 0)), colors);
}

Scene::~Scene()
{
    qCDebug(lcEditor) << "destruktor sceny";
    // The lamps and cells use the panel's style, so they go before it does.
    delete m_contentWidget.data();
}

MyFrame *Scene::colorCell(int i) const
{
    return i >= 0 && i < lampsNumber ? colorCells[i] : nullptr;
}

MyFrame *Scene::makeCell(int n, const QColor &color, bool chaser)
{
    auto *cell = new MyFrame(frameColors, color, n);
    cell->setUpdatesEnabled(false);
    cell->setObjectName(chaser ? "Framechaser1" : "Frame1");
    cell->setMinimumSize(3, 20);
    cell->setMaximumSize(100, 25);
    cell->setFrameShape(QFrame::StyledPanel);
    cell->setFrameShadow(QFrame::Sunken);
    cell->setStyle(panelStyle.get());
    cell->setToolTip(
        chaser ? tr("Move to LED number %1", "chaser: napis z formatowaniem pod %1 bedzie "
                                             "podstawiona liczba")
                     .arg(n + 1)
               : tr("Move to LED number %1", "napis z formatowaniem pod %1 bedzie podstawiona "
                                             "liczba")
                     .arg(n + 1));
    cell->setAccessibleName(
        chaser ? tr("Lamp %1, chaser start", "accessible name of a chaser overview cell").arg(n + 1)
               : tr("Lamp %1, overview", "accessible name of a colour overview cell").arg(n + 1));
    connect(cell, &MyFrame::ClickIndex, this, &Scene::setScrollAt);
    return cell;
}

void Scene::addChaserCell(int n, const QColor &color)
{
    chaserCells[n] = makeCell(n, color, true);
    chaserCells[n]->setVisible(mode == Mode::Chaser);
    colorsGrid->addWidget(chaserCells[n], 1, n);
    chaserCells[n]->setUpdatesEnabled(true);
}

void Scene::makeChaserCells()
{
    if (m_chaserCellsMade)
        return;
    m_chaserCellsMade = true;
    for (int n = 0; n < lampsNumber; ++n)
        addChaserCell(n, colorCells[n]->frameColor());
}

void Scene::addLamps(uint count, QColor *colors)
{
    // The arrays hold 170 lamps; a larger count from a caller would write past them.
    count = std::min<uint>(count, uint(kMaxLamps - lampsNumber));

    m_contentWidget->setUpdatesEnabled(false);
    frameColors->setUpdatesEnabled(false);
    strip->setUpdatesEnabled(false);
    frameColors->hide();
    QApplication::setOverrideCursor(Qt::WaitCursor);

    for (uint i = 0; i < count; ++i) {
        const int n = lampsNumber;
        // The holder keeps the lamp's place in the strip (and in the Tab order) until its
        // control is built, when it comes into view or is needed.
        auto *holder = new QWidget(strip);
        lamps[n].holder = holder;

        QColor c;
        if (colors)
            c.setRgb(colors[i].red(), colors[i].green(), colors[i].blue());
        else
            c.setRgb(std::rand() % 256, std::rand() % 256, std::rand() % 256);
        m_waitingRgb[n] = c.rgb();
        m_waiting.set(n);
        stripBox->addWidget(holder, 0);

        colorCells[n] = makeCell(n, c, false);
        colorsGrid->addWidget(colorCells[n], 0, n);
        colorCells[n]->setUpdatesEnabled(true);
        emit progress(int((i + 1) * 100 / count));
        if (m_chaserCellsMade)
            addChaserCell(n, c);
        emit progress(int((i + 1) * 100 / count)); // once for each cell, made now or not

        ++lampsNumber;
    }

    emit progress(0);
    m_contentWidget->setUpdatesEnabled(true);
    strip->setUpdatesEnabled(true);
    frameColors->setUpdatesEnabled(true);
    frameColors->show();

    placeStrip();
    if (m_waiting.any())
        m_loadTimer->start();
    QApplication::restoreOverrideCursor();
}

void Scene::removeLamps(uint count)
{
    m_contentWidget->setUpdatesEnabled(false);
    strip->setUpdatesEnabled(false);
    frameColors->setUpdatesEnabled(false);

    // Passes beyond the last lamp do nothing, so they need not be run at all.
    const uint passes = std::min<uint>(count, uint(lampsNumber));
    for (uint pass = 0; pass < passes; ++pass) {
        const int n = lampsNumber - 1;
        colorsGrid->removeWidget(colorCells[n]);
        if (chaserCells[n])
            colorsGrid->removeWidget(chaserCells[n]);
        stripBox->removeWidget(lamps[n].holder);
        emit progress(int((uint64_t(pass) + 1) * 100 / count));

        m_waiting.reset(n);
        // The count may change inside an event that still goes on to one of these widgets: the
        // lamp count box loses the focus to a click on a lamp's field, and Qt is still giving that
        // field the focus (or the field's double-click is about to open its colour dialog). They
        // leave the panel now, quiet, disabled and hidden, and are deleted once no event of
        // theirs can be running.
        retire(lamps[n].holder);
        retire(colorCells[n]);
        if (chaserCells[n])
            retire(chaserCells[n]);
        lamps[n] = {};
        colorCells[n] = nullptr;
        chaserCells[n] = nullptr;
        --lampsNumber;
    }

    emit progress(0);
    m_contentWidget->setUpdatesEnabled(true);
    strip->setUpdatesEnabled(true);
    frameColors->setUpdatesEnabled(true);
    placeStrip();
}

void Scene::retire(QWidget *w)
{
    // Signals both ways: a lamp still gets the panel's slider values and tells it of its own.
    QObjectList all = w->findChildren<QObject *>();
    all << w;
    for (QObject *o : all) {
        o->disconnect(this);
        disconnect(o);
    }
    lm740::retireWidget(w);
}

void Scene::placeStrip()
{
    // The strip's minimum and maximum sizes bound this: never narrower than 80; as high as its
    // frame.
    strip->setGeometry(0, 0, kLampPitch * lampsNumber, frameCentral->height());
    setScroll();
    // The bar may keep its value while the strip went back to x 0; put them in step again.
    strip->posx(scroll->value());
}

void Scene::fitLampsToStrip()
{
    const int height = frameCentral->height();
    if (strip->height() == height)
        return;
    strip->resize(strip->width(), height);
    for (int i = 0; i < lampsNumber; ++i)
        if (lamps[i].lamp)
            lamps[i].lamp->resize(lamps[i].lamp->width(), height);
}

void Scene::mouseMoveEvent(QMouseEvent *event)
{
    qCDebug(lcEditor) << "Scene mouse position " << event->position();
}

void Scene::setScroll()
{
    qCDebug(lcEditor) << "Scene resize, size: " << frameCentral->size();
    const int viewport = frameCentral->width();
    fitLampsToStrip();
    scroll->setRange(0, std::max(0, strip->width() - viewport));
    scroll->setPageStep(viewport - 30);
    loadVisibleLamps();
}

void Scene::setScrollAt(int n)
{
    if (lampsNumber <= 0)
        return;
    scroll->setValue(int(qint64(strip->width()) * n / lampsNumber));
}

void Scene::leftPanel()
{
    scroll->setValue(scroll->value() - scroll->pageStep() / 4);
}

void Scene::rightPanel()
{
    scroll->setValue(scroll->value() + scroll->pageStep() / 4);
}
