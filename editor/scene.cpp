#include "scene.h"

#include "arthur_style.h"
#include "chaser_pattern.h"
#include "color_slider.h"
#include "logging.h"
#include "my_double_spin.h"
#include "my_frame.h"
#include "my_spin.h"
#include "super_rgb.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSpacerItem>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

const char *const kColorArrayMime = "color_array";
const char *const kNoDataMime = "no_data";

QPushButton *makeOkButton(QStyle *style, const QString &text)
{
    auto *b = new QPushButton(text);
    b->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Minimum);
    b->setMaximumWidth(30);
    b->setStyle(style);
    return b;
}

// A label of the timing row. In a narrow window it gives up room before the controls do and
// shows its text shortened with an ellipsis; the tooltip carries the whole text.
class SettingsLabel : public QLabel
{
public:
    explicit SettingsLabel(const QString &text) : QLabel(text)
    {
        setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Minimum);
    }

    QSize minimumSizeHint() const override
    {
        const QSize full = QLabel::minimumSizeHint();
        return {std::min(full.width(), fontMetrics().horizontalAdvance(text().left(3) + u'…')),
                full.height()};
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const QRect r = contentsRect();
        p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                 QPalette::WindowText));
        p.drawText(r, int(alignment()) | Qt::AlignVCenter,
                   fontMetrics().elidedText(text(), Qt::ElideRight, r.width()));
    }
};

// The application's palette with every role set explicitly, so that a widget inside one of the
// panel's black frames does not inherit the frame's black base (a black check box square).
QPalette explicitApplicationPalette()
{
    QPalette p = QApplication::palette();
    for (int g = 0; g < QPalette::NColorGroups; ++g)
        for (int r = 0; r < QPalette::NColorRoles; ++r) {
            const auto group = QPalette::ColorGroup(g);
            const auto role = QPalette::ColorRole(r);
            p.setBrush(group, role, p.brush(group, role));
        }
    return p;
}

void setShown(std::initializer_list<QWidget *> widgets, bool shown)
{
    for (QWidget *w : widgets)
        w->setVisible(shown);
}

} // namespace

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
        f->setFixedSize(25, 430);
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
    frameCentral->setMinimumSize(80, 430);
    frameCentral->setMaximumSize(16777215, 430);
    frameCentral->setFrameShape(QFrame::StyledPanel);
    frameCentral->setFrameShadow(QFrame::Sunken);
    frameCentral->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    mainGrid->addWidget(frameCentral, 2, 1);

    frameRight = makeEdge("FrameRight", tr("Move mouse to Scroll LEDs"));
    mainGrid->addWidget(frameRight, 2, 2);

    mainGrid->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Expanding), 3, 0,
                      1, 3);

    scroll = new QScrollBar(Qt::Horizontal, m_contentWidget);
    scroll->setObjectName("Scroll");
    mainGrid->addWidget(scroll, 4, 0, 1, 3);

    // FrameCentral has no layout: it is the viewport, and the strip inside it is moved by hand.
    strip = new MyFrame(frameCentral, QColor(Qt::black), -1);
    strip->setObjectName("LampStrip");
    strip->setFrameShape(QFrame::NoFrame);
    strip->setLineWidth(1);
    strip->setMinimumSize(80, 430);
    strip->setMaximumSize(100000, 430);
    stripBox = new QHBoxLayout(strip);
    stripBox->setContentsMargins(0, 0, 0, 0);
    stripBox->setSpacing(0);

    connect(repeatSelector, &QSpinBox::valueChanged, this,
            qOverload<int>(&Scene::chaser_calculate));
    connect(patternSelector, &QSpinBox::valueChanged, this,
            qOverload<int>(&Scene::chaser_calculate));
    connect(lastStepBox, &QCheckBox::clicked, this, &Scene::lastStepStateChanged);
    connect(scroll, &QScrollBar::valueChanged, strip, &MyFrame::posx);
    connect(scroll, &QScrollBar::valueChanged, this, &Scene::loadVisibleLamps);
    connect(frameCentral, &MyFrame::frameResized, this, &Scene::setScroll);
    connect(frameLeft, &MyFrame::mouseInside, this, &Scene::leftPanel);
    connect(frameRight, &MyFrame::mouseInside, this, &Scene::rightPanel);

    m_previewTimer = new QTimer(this);
    m_previewTimer->setSingleShot(true);
    m_previewTimer->setInterval(0);
    connect(m_previewTimer, &QTimer::timeout, this, [this] {
        if (m_previewWanted && m_previewHeld == 0)
            chaser_calculate(0);
    });
    m_loadTimer = new QTimer(this);
    m_loadTimer->setInterval(0);
    connect(m_loadTimer, &QTimer::timeout, this, &Scene::loadSomeWaitingLamps);
    // Keys go to the focus widget, which may sit in a lamp out of view: that lamp must hold its
    // colour before anything is typed into it, or the load would overwrite what was typed; and the
    // strip scrolls to show it.
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget *, QWidget *now) { followFocus(now); });
    // A parent that deletes the content first takes the lamps with it; nothing may load them
    // afterwards.
    connect(m_contentWidget, &QObject::destroyed, this, &Scene::forgetLamps);

    addLamps(uint(std::max(count, 0)), colors);
}

Scene::~Scene()
{
    qCDebug(lcEditor) << "destruktor sceny";
    // The lamps and cells use the panel's style, so they go before it does.
    delete m_contentWidget.data();
}

void Scene::buildSettingsRow()
{
    // The row holds up to five labelled controls in one line of a window that may be only 750
    // wide; a size smaller than the window's text keeps every label whole.
    QFont small = frameSettings->font();
    // A font set in pixels has no point size (-1), and 7 points are about 9 pixels on screen.
    if (small.pointSizeF() > 7.0)
        small.setPointSizeF(7.0);
    else if (small.pointSizeF() <= 0 && small.pixelSize() > 9)
        small.setPixelSize(9);
    frameSettings->setFont(small);

    settingsGrid = new QGridLayout(frameSettings);
    settingsGrid->setContentsMargins(1, 1, 1, 1);
    settingsGrid->setSpacing(1);

    auto spacer = [this](int col, QSizePolicy::Policy p) {
        settingsGrid->addItem(new QSpacerItem(10, 10, p, p), 0, col);
    };
    auto minimal = [](QWidget *w) { w->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Minimum); };

    spacer(0, QSizePolicy::Expanding);

    repeatLabel = new SettingsLabel(tr("Repeat Number", "repeat number for chaser label"));
    repeatLabel->setToolTip(tr("Repeat Number", "repeat number for chaser label"));
    repeatSelector = new MySpin(nullptr);
    repeatSelector->setRange(1, kMaxLamps);
    repeatSelector->setSingleStep(1);
    repeatSelector->setValue(1);
    repeatSelector->setMinimumWidth(50);
    repeatSelector->setToolTip(tr("Numbers of repeating chaser pattern",
                                  "liczba powtorzen wzorca ktorego dlugos okresla spinbox "
                                  "pattern length"));
    minimal(repeatSelector);
    repeatOk = makeOkButton(panelStyle.get(), tr("OK", "repeat OK button"));
    repeatLabel->setObjectName("RepeatLabel");
    repeatSelector->setObjectName("RepeatSpin");
    repeatOk->setObjectName("RepeatOK");
    settingsGrid->addWidget(repeatLabel, 0, 1);
    settingsGrid->addWidget(repeatSelector, 0, 2);
    settingsGrid->addWidget(repeatOk, 0, 3);
    spacer(4, QSizePolicy::Minimum);

    xfadeLabel = new SettingsLabel(tr("Scene Xfade", "label xfade scena:"));
    xfadeLabel->setToolTip(tr("Scene Xfade", "tooltip label xfade scena:"));
    xfadeSelector = new MySpin(nullptr);
    xfadeSelector->setRange(0, 100);
    xfadeSelector->setSingleStep(1);
    xfadeSelector->setValue(0);
    xfadeSelector->setSuffix("%");
    xfadeSelector->setMinimumWidth(60);
    xfadeSelector->setToolTip(tr("XFade", "plynnosc"));
    xfadeSelector->setStatusTip(
        tr("Time in percent of scene time to smoothly set new color", "plynnosc"));
    minimal(xfadeSelector);
    xfadeOk = makeOkButton(panelStyle.get(), tr("OK", "afade ok button"));
    xfadeLabel->setObjectName("XfadeLabel");
    xfadeSelector->setObjectName("XfadeSpin");
    xfadeOk->setObjectName("XfadeOK");
    settingsGrid->addWidget(xfadeLabel, 0, 5);
    settingsGrid->addWidget(xfadeSelector, 0, 6);
    settingsGrid->addWidget(xfadeOk, 0, 7);
    spacer(8, QSizePolicy::Minimum);

    timeLabel = new SettingsLabel(tr("Speed", "label scene time"));
    timeLabel->setToolTip(tr("Speed", "tooltip label scene time"));
    timeSelector = new MyDoubleSpin(nullptr);
    // Two decimals, the spin box's own default: 10 ms steps keep a time read from a file
    // (1250 ms) as it was when the panel writes it back.
    timeSelector->setRange(0.0, 60.0);
    timeSelector->setSingleStep(0.1);
    timeSelector->setValue(1.0);
    timeSelector->setSuffix("s");
    timeSelector->setMinimumWidth(60);
    timeSelector->setToolTip(tr("Scene Time", "scene: scene time"));
    minimal(timeSelector);
    timeOk = makeOkButton(panelStyle.get(), tr("OK", "ok button scene time"));
    timeLabel->setObjectName("TimeLabel");
    timeSelector->setObjectName("TimeSpin");
    timeOk->setObjectName("TimeOK");
    settingsGrid->addWidget(timeLabel, 0, 9);
    settingsGrid->addWidget(timeSelector, 0, 10);
    settingsGrid->addWidget(timeOk, 0, 11);
    spacer(12, QSizePolicy::Minimum);

    patternLabel = new SettingsLabel(tr("Pattern Length", "label pattern len"));
    patternLabel->setToolTip(tr("Pattern Length", "tooltip label pattern len"));
    patternSelector = new MySpin(nullptr);
    patternSelector->setRange(0, kMaxLamps);
    patternSelector->setSingleStep(1);
    patternSelector->setValue(1);
    patternSelector->setMinimumWidth(50);
    patternSelector->setToolTip(tr("Pattern Length", "spinbox: no comment"));
    minimal(patternSelector);
    patternOk = makeOkButton(panelStyle.get(), tr("OK", "patter len Ok button"));
    patternLabel->setObjectName("PatternLabel");
    patternSelector->setObjectName("PatternSpin");
    patternOk->setObjectName("PatternOK");
    settingsGrid->addWidget(patternLabel, 0, 13);
    settingsGrid->addWidget(patternSelector, 0, 14);
    settingsGrid->addWidget(patternOk, 0, 15);
    spacer(16, QSizePolicy::Minimum);

    directionLabel = new SettingsLabel(tr("Direction", "chaser label direction"));
    directionLabel->setToolTip(tr("Chaser Direction", "tooltip: chaser direction"));
    directionSelector = new QComboBox;
    directionSelector->addItem(tr("Left"));
    directionSelector->addItem(tr("Right"));
    directionSelector->setCurrentIndex(0);
    directionSelector->setPalette(explicitApplicationPalette());
    minimal(directionSelector);
    directionLabel->setObjectName("DirectionLabel");
    directionSelector->setObjectName("DirectionCombo");
    settingsGrid->addWidget(directionLabel, 0, 17);
    settingsGrid->addWidget(directionSelector, 0, 18);
    spacer(19, QSizePolicy::Minimum);

    lastStepBox = new QCheckBox(tr("Last Step", "checkbox last step"));
    lastStepBox->setToolTip(
        tr("If chceked program return to first scene", "tooltip: direction chceckbox"));
    lastStepBox->setPalette(explicitApplicationPalette());
    minimal(lastStepBox);
    lastStepBox->setObjectName("LastStepCheck");
    settingsGrid->addWidget(lastStepBox, 0, 20);
    spacer(21, QSizePolicy::Expanding);

    for (QLabel *l : {repeatLabel, xfadeLabel, timeLabel, patternLabel, directionLabel})
        minimal(l);
}

SuperRGB *Scene::lamp(int i) const
{
    if (i < 0 || i >= lampsNumber)
        return nullptr;
    if (m_waiting[i])
        loadLamp(i);
    return lamps[i].lamp;
}

MyFrame *Scene::colorCell(int i) const
{
    return i >= 0 && i < lampsNumber ? colorCells[i] : nullptr;
}

MyFrame *Scene::chaserCell(int i) const
{
    if (m_previewWanted && m_previewHeld == 0)
        const_cast<Scene *>(this)->chaser_calculate(0);
    return i >= 0 && i < lampsNumber ? chaserCells[i] : nullptr;
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
    connect(cell, &MyFrame::ClickIndex, this, &Scene::setScrollAt);
    return cell;
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
        auto *holder = new QWidget(strip);
        holder->setUpdatesEnabled(false);
        lamps[n].holder = holder;

        int r, g, b;
        if (colors) {
            r = colors[i].red();
            g = colors[i].green();
            b = colors[i].blue();
        } else {
            r = std::rand() % 256;
            g = std::rand() % 256;
            b = std::rand() % 256;
        }
        auto *lamp = new SuperRGB(holder, quint8(r), quint8(g), quint8(b), quint16(n));
        lamps[n].lamp = lamp;
        lamp->setUpdatesEnabled(false);
        stripBox->addWidget(holder, 0);
        lamp->applyStyle(panelStyle.get());
        connect(lamp, &SuperRGB::selectedSliderValueChange, this, &Scene::selectedChanged);
        connect(this, &Scene::setSelectedSlidersValues, lamp, &SuperRGB::setValueIfSelected);

        const QColor c = lamp->lampColor();
        colorCells[n] = makeCell(n, c, false);
        emit progress(int((i + 1) * 100 / count));

        chaserCells[n] = makeCell(n, c, true);
        chaserCells[n]->setVisible(mode == 1);
        emit progress(int((i + 1) * 100 / count));

        colorsGrid->addWidget(colorCells[n], 0, n);
        colorsGrid->addWidget(chaserCells[n], 1, n);
        colorCells[n]->setUpdatesEnabled(true);
        chaserCells[n]->setUpdatesEnabled(true);
        // The cell first, the preview after: the preview reads the cell's colour.
        connect(lamp, &SuperRGB::colorChanged, colorCells[n], &MyFrame::setColor);
        connect(lamp, &SuperRGB::colorChanged, this, qOverload<QColor>(&Scene::chaser_calculate));
        lamp->setUpdatesEnabled(true);
        holder->setUpdatesEnabled(true);

        ++lampsNumber;
    }

    emit progress(0);
    m_contentWidget->setUpdatesEnabled(true);
    strip->setUpdatesEnabled(true);
    frameColors->setUpdatesEnabled(true);
    frameColors->show();

    placeStrip();
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
        colorsGrid->removeWidget(chaserCells[n]);
        stripBox->removeWidget(lamps[n].holder);
        emit progress(int((uint64_t(pass) + 1) * 100 / count));

        m_waiting.reset(n);
        delete lamps[n].lamp;
        delete lamps[n].holder;
        delete colorCells[n];
        delete chaserCells[n];
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

void Scene::placeStrip()
{
    // The strip's minimum and maximum sizes bound this: never narrower than 80, always 430 high.
    strip->setGeometry(0, 0, kLampPitch * lampsNumber, kStripHeight);
    setScroll();
    // The bar may keep its value while the strip went back to x 0; put them in step again.
    strip->posx(scroll->value());
}

void Scene::setMode(int value)
{
    mode = value;
}

int Scene::getSceneTime() const
{
    // Rounded, not cut: 2.01 s is 2009.999... ms in binary and must still read 2010.
    return int(std::lround(timeSelector->value() * 1000.0));
}

int Scene::getScenexFade() const
{
    return xfadeSelector->value();
}

int Scene::getRepeat() const
{
    return repeatSelector->value();
}

int Scene::getPatternLen() const
{
    return patternSelector->value();
}

int Scene::getDirection() const
{
    return directionSelector->currentIndex() + 1;
}

int Scene::getLastStep() const
{
    return lastStepBox->isChecked() ? 1 : 0;
}

void Scene::setSceneTime(int value)
{
    timeSelector->setValue(value / 1000.0);
}

void Scene::setScenexFade(int value)
{
    xfadeSelector->setValue(value);
}

void Scene::setRepeat(int value)
{
    repeatSelector->setValue(value);
}

void Scene::setPatternLen(int value)
{
    patternSelector->setValue(value);
}

void Scene::setDirection(int value)
{
    // 1 Left, 2 Right; anything else leaves no item chosen (and value - 1 must not overflow).
    directionSelector->setCurrentIndex(value >= 1 && value <= 2 ? value - 1 : -1);
}

void Scene::setLastStep(int value)
{
    lastStepBox->setChecked(value != 0);
}

void Scene::lastStepStateChanged(bool state)
{
    qCDebug(lcEditor) << "scene  lastStepStateChanged clicked" << state;
    emit lastStepChanged(state);
}

void Scene::mouseMoveEvent(QMouseEvent *event)
{
    qCDebug(lcEditor) << "Scene mouse position " << event->position();
}

// ---- colours -----------------------------------------------------------------------------

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
    if (mode == 1) {
        m_previewWanted = true;
        m_previewTimer->start();
    }
}

void Scene::loadLamp(int i) const
{
    m_waiting.reset(i);
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

void Scene::loadWaitingLamps() const
{
    for (int i = 0; i < lampsNumber && m_waiting.any(); ++i)
        if (m_waiting[i])
            loadLamp(i);
}

void Scene::loadVisibleLamps()
{
    if (m_waiting.none() || lampsNumber == 0)
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
    // A few lamps per turn of the event loop keep the window answering while the rest load.
    int budget = 16;
    for (int i = 0; i < lampsNumber && budget > 0; ++i)
        if (m_waiting[i]) {
            loadLamp(i);
            --budget;
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

// ---- chaser preview ----------------------------------------------------------------------

template <typename Work> void Scene::withPreviewDeferred(Work work)
{
    ++m_previewHeld;
    work();
    if (--m_previewHeld == 0 && m_previewWanted)
        chaser_calculate(0);
}

void Scene::chaser_calculate(int)
{
    if (m_previewHeld > 0) {
        m_previewWanted = true;
        return;
    }
    m_previewWanted = false;
    const int p = patternSelector->value();
    const int r = repeatSelector->value();
    // Only cells whose colour really changes are touched: a slider drag changes one lamp, and
    // repainting 170 cells for it would be wasted.
    for (int i = 0; i < lampsNumber; ++i) {
        const QColor c = colorCells[lm740::chaserSourceLamp(i, lampsNumber, p, r)]->frameColor();
        if (chaserCells[i]->frameColor() != c)
            chaserCells[i]->setColor(c);
    }
}

void Scene::chaser_calculate(QColor)
{
    if (mode != 1)
        return;
    qCDebug(lcEditor) << "chaser calculate(0)";
    chaser_calculate(0);
}

// ---- modes -------------------------------------------------------------------------------

void Scene::showChaserCells(bool show)
{
    frameColors->setUpdatesEnabled(false);
    for (int i = 0; i < lampsNumber; ++i)
        chaserCells[i]->setVisible(show);
    frameColors->setUpdatesEnabled(true);
}

void Scene::setScenesMode()
{
    mode = 0;
    setShown({repeatLabel, repeatSelector, repeatOk, patternLabel, patternSelector, patternOk,
              xfadeLabel, xfadeSelector, xfadeOk, directionLabel, directionSelector, lastStepBox},
             false);
    setShown({timeSelector, timeOk, timeLabel}, true);
    timeSelector->setEnabled(false);
    timeOk->setEnabled(false);
    timeLabel->setEnabled(false);
    timeLabel->setText(tr("Scene time", "set scene mode"));
    timeLabel->setToolTip(tr("Scene time", "tooltip set scene mode"));
    showChaserCells(false);
}

void Scene::setChasersMode()
{
    mode = 1;
    setShown({repeatLabel, repeatSelector, repeatOk, patternLabel, patternSelector, patternOk,
              xfadeLabel, xfadeSelector, xfadeOk, timeSelector, timeOk, timeLabel, directionLabel,
              directionSelector},
             true);
    lastStepBox->hide();
    xfadeLabel->setText(tr("Chaser Xfade", "set chaser mode"));
    xfadeLabel->setToolTip(tr("Chaser Xfade", "tooltip set chaser mode"));
    timeSelector->setEnabled(true);
    timeOk->setEnabled(true);
    timeLabel->setEnabled(true);
    timeLabel->setText(tr("Chaser time", "set chaser mode"));
    timeLabel->setToolTip(tr("Chaser time", "tooltip set chaser mode"));
    showChaserCells(true);
}

void Scene::setProgramsMode()
{
    mode = 2;
    setShown({repeatLabel, repeatSelector, repeatOk, patternLabel, patternSelector, patternOk,
              directionLabel, directionSelector},
             false);
    setShown({xfadeLabel, xfadeSelector, xfadeOk, timeSelector, timeOk, timeLabel, lastStepBox},
             true);
    xfadeLabel->setText(tr("Step Xfade", "set programs mode"));
    xfadeLabel->setToolTip(tr("Step Xfade", "tooltip set programs mode"));
    timeSelector->setEnabled(true);
    timeOk->setEnabled(true);
    timeLabel->setEnabled(true);
    timeLabel->setText(tr("Step time", "set programs mode"));
    timeLabel->setToolTip(tr("Step time", "tooltip set programs mode"));
    showChaserCells(false);
}

// ---- scrolling ---------------------------------------------------------------------------

void Scene::setScroll()
{
    qCDebug(lcEditor) << "Scene resize, size: " << frameCentral->size();
    const int viewport = frameCentral->width();
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

// ---- selection and clipboard -------------------------------------------------------------

void Scene::selectedChanged(int value)
{
    loadWaitingLamps();
    withPreviewDeferred([&] { emit setSelectedSlidersValues(value); });
}

void Scene::setSelected(int value)
{
    loadWaitingLamps();
    withPreviewDeferred([&] { emit setSelectedSlidersValues(value); });
}

void Scene::setAll(bool state)
{
    for (int i = 0; i < lampsNumber; ++i)
        lamps[i].lamp->setAll(state);
}

void Scene::selectAll()
{
    const bool deselect = (selectionFlags & 0x07) != 0;
    setAll(!deselect);
    selectionFlags = deselect ? 0 : 0x07;
}

void Scene::selectRed()
{
    const bool on = !(selectionFlags & 0x01);
    for (int i = 0; i < lampsNumber; ++i)
        lamps[i].lamp->selectRed(on);
    selectionFlags = on ? (selectionFlags | 0x01) : (selectionFlags & ~0x01);
}

void Scene::selectGreen()
{
    const bool on = !(selectionFlags & 0x02);
    for (int i = 0; i < lampsNumber; ++i)
        lamps[i].lamp->selectGreen(on);
    selectionFlags = on ? (selectionFlags | 0x02) : (selectionFlags & ~0x02);
}

void Scene::selectBlue()
{
    const bool on = !(selectionFlags & 0x04);
    for (int i = 0; i < lampsNumber; ++i)
        lamps[i].lamp->selectBlue(on);
    selectionFlags = on ? (selectionFlags | 0x04) : (selectionFlags & ~0x04);
}

void Scene::changePercentifSelected(int percent)
{
    loadWaitingLamps();
    withPreviewDeferred([&] {
        for (int i = 0; i < lampsNumber; ++i)
            lamps[i].lamp->changePercentifSelected(percent);
    });
}

int Scene::copySelected()
{
    qCDebug(lcEditor) << "copy";
    loadWaitingLamps();
    QByteArray bytes;
    for (int i = 0; i < lampsNumber; ++i) {
        qCDebug(lcEditor) << "copy lampsNumber: " << i;
        const SuperRGB *l = lamps[i].lamp;
        const QColor c = l->lampColor();
        if (l->isRedSelected())
            bytes.append(char(c.red()));
        if (l->isGreenSelected())
            bytes.append(char(c.green()));
        if (l->isBlueSelected())
            bytes.append(char(c.blue()));
    }
    auto *mime = new QMimeData;
    mime->setData(bytes.isEmpty() ? kNoDataMime : kColorArrayMime, bytes);
    QApplication::clipboard()->setMimeData(mime, QClipboard::Clipboard);
    return int(bytes.size());
}

int Scene::pasteSelected()
{
    qCDebug(lcEditor) << "paste";
    loadWaitingLamps();
    const QMimeData *mime = QApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (!mime || !mime->hasFormat(kColorArrayMime))
        return 0;
    qCDebug(lcEditor) << "mime: color_array";
    const QByteArray payload = mime->data(kColorArrayMime);
    if (payload.isEmpty())
        return 0;

    qsizetype k = 0;
    int c = 0;
    auto next = [&] {
        const int v = quint8(payload[k]);
        if (++k >= payload.size())
            k = 0;
        return v;
    };
    withPreviewDeferred([&] {
        for (int i = 0; i < lampsNumber; ++i) {
            qCDebug(lcEditor) << "lamp: " << i;
            SuperRGB *l = lamps[i].lamp;
            if (l->isRedSelected()) {
                l->setRedColor(next());
                ++c;
                qCDebug(lcEditor) << "found lamp: " << i << " red";
            }
            if (l->isGreenSelected()) {
                l->setGreenColor(next());
                ++c;
                qCDebug(lcEditor) << "found lamp: " << i << " green";
            }
            if (l->isBlueSelected()) {
                l->setBlueColor(next());
                ++c;
                qCDebug(lcEditor) << "found lamp: " << i << " blue";
            }
        }
    });
    return c;
}
