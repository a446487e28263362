// The timing row of the editor panel: the repeat, cross-fade, time and pattern length selectors
// with their OK buttons, the direction selector and the last step box, which of them each mode
// shows, and the getters and setters the window reads and loads an item through.
#include "scene.h"

#include "logging.h"
#include "my_double_spin.h"
#include "my_frame.h"
#include "my_spin.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpacerItem>

#include <algorithm>
#include <cmath>

namespace {

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

void setAllEnabled(std::initializer_list<QWidget *> widgets, bool enabled)
{
    for (QWidget *w : widgets)
        w->setEnabled(enabled);
}

void setLabel(QLabel *label, const QString &text, const QString &tip)
{
    label->setText(text);
    label->setToolTip(tip);
}

} // namespace

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
    // A labelled selector with its OK button from column `col` on, and the spacer after them.
    auto place = [&](const QString &name, QLabel *label, QWidget *selector, QPushButton *ok,
                     int col) {
        minimal(selector);
        label->setObjectName(name + "Label");
        selector->setObjectName(name + "Spin");
        ok->setObjectName(name + "OK");
        // A screen reader names the selector after its label.
        label->setBuddy(selector);
        settingsGrid->addWidget(label, 0, col);
        settingsGrid->addWidget(selector, 0, col + 1);
        settingsGrid->addWidget(ok, 0, col + 2);
        spacer(col + 3, QSizePolicy::Minimum);
    };

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
    repeatOk = makeOkButton(panelStyle.get(), tr("OK", "repeat OK button"));
    repeatOk->setAccessibleName(tr("OK, repeat number", "accessible name of the repeat OK button"));
    place("Repeat", repeatLabel, repeatSelector, repeatOk, 1);

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
    xfadeOk = makeOkButton(panelStyle.get(), tr("OK", "afade ok button"));
    xfadeOk->setAccessibleName(tr("OK, cross-fade", "accessible name of the xfade OK button"));
    place("Xfade", xfadeLabel, xfadeSelector, xfadeOk, 5);

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
    timeOk = makeOkButton(panelStyle.get(), tr("OK", "ok button scene time"));
    timeOk->setAccessibleName(tr("OK, time", "accessible name of the time OK button"));
    place("Time", timeLabel, timeSelector, timeOk, 9);

    patternLabel = new SettingsLabel(tr("Pattern Length", "label pattern len"));
    patternLabel->setToolTip(tr("Pattern Length", "tooltip label pattern len"));
    patternSelector = new MySpin(nullptr);
    patternSelector->setRange(0, kMaxLamps);
    patternSelector->setSingleStep(1);
    patternSelector->setValue(1);
    patternSelector->setMinimumWidth(50);
    patternSelector->setToolTip(tr("Pattern Length", "spinbox: no comment"));
    patternOk = makeOkButton(panelStyle.get(), tr("OK", "patter len Ok button"));
    patternOk->setAccessibleName(
        tr("OK, pattern length", "accessible name of the pattern OK button"));
    place("Pattern", patternLabel, patternSelector, patternOk, 13);

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
    connect(lastStepBox, &QCheckBox::clicked, this, &Scene::lastStepStateChanged);
    settingsGrid->addWidget(lastStepBox, 0, 20);
    spacer(21, QSizePolicy::Expanding);

    for (QLabel *l : {repeatLabel, xfadeLabel, timeLabel, patternLabel, directionLabel})
        minimal(l);
}

void Scene::setMode(Mode value)
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
    quietly([&] { timeSelector->setValue(value / 1000.0); });
}

void Scene::setScenexFade(int value)
{
    quietly([&] { xfadeSelector->setValue(value); });
}

void Scene::setRepeat(int value)
{
    quietly([&] { repeatSelector->setValue(value); });
}

void Scene::setPatternLen(int value)
{
    quietly([&] { patternSelector->setValue(value); });
}

void Scene::setDirection(int value)
{
    // 1 Left, 2 Right; anything else leaves no item chosen (and value - 1 must not overflow).
    quietly([&] { directionSelector->setCurrentIndex(value >= 1 && value <= 2 ? value - 1 : -1); });
}

void Scene::setLastStep(int value)
{
    quietly([&] { lastStepBox->setChecked(value != 0); });
}

void Scene::connectFieldEdits()
{
    auto report = [this](lm740::Field field, auto read) {
        return [this, field, read] {
            if (m_loading == 0)
                emit fieldEdited(field, read());
        };
    };
    connect(timeSelector, &QDoubleSpinBox::valueChanged, this,
            report(lm740::Field::Time, [this] { return getSceneTime(); }));
    connect(xfadeSelector, &QSpinBox::valueChanged, this,
            report(lm740::Field::Xfade, [this] { return getScenexFade(); }));
    connect(repeatSelector, &QSpinBox::valueChanged, this,
            report(lm740::Field::Repeat, [this] { return getRepeat(); }));
    connect(patternSelector, &QSpinBox::valueChanged, this,
            report(lm740::Field::Pattern, [this] { return getPatternLen(); }));
    connect(directionSelector, &QComboBox::currentIndexChanged, this,
            report(lm740::Field::Direction, [this] { return getDirection(); }));
}

void Scene::lastStepStateChanged(bool state)
{
    qCDebug(lcEditor) << "scene  lastStepStateChanged clicked" << state;
    emit lastStepChanged(state);
}

void Scene::setScenesMode()
{
    mode = Mode::Scene;
    setShown({repeatLabel, repeatSelector, repeatOk, patternLabel, patternSelector, patternOk,
              xfadeLabel, xfadeSelector, xfadeOk, directionLabel, directionSelector, lastStepBox},
             false);
    setShown({timeSelector, timeOk, timeLabel}, true);
    setAllEnabled({timeSelector, timeOk, timeLabel}, false);
    setLabel(timeLabel, tr("Scene time", "set scene mode"),
             tr("Scene time", "tooltip set scene mode"));
    showChaserCells(false);
}

void Scene::setChasersMode()
{
    mode = Mode::Chaser;
    setShown({repeatLabel, repeatSelector, repeatOk, patternLabel, patternSelector, patternOk,
              xfadeLabel, xfadeSelector, xfadeOk, timeSelector, timeOk, timeLabel, directionLabel,
              directionSelector},
             true);
    lastStepBox->hide();
    setLabel(xfadeLabel, tr("Chaser Xfade", "set chaser mode"),
             tr("Chaser Xfade", "tooltip set chaser mode"));
    setAllEnabled({timeSelector, timeOk, timeLabel}, true);
    setLabel(timeLabel, tr("Chaser time", "set chaser mode"),
             tr("Chaser time", "tooltip set chaser mode"));
    showChaserCells(true);
}

void Scene::setProgramsMode()
{
    mode = Mode::ProgramStep;
    setShown({repeatLabel, repeatSelector, repeatOk, patternLabel, patternSelector, patternOk,
              directionLabel, directionSelector},
             false);
    setShown({xfadeLabel, xfadeSelector, xfadeOk, timeSelector, timeOk, timeLabel, lastStepBox},
             true);
    setLabel(xfadeLabel, tr("Step Xfade", "set programs mode"),
             tr("Step Xfade", "tooltip set programs mode"));
    setAllEnabled({timeSelector, timeOk, timeLabel}, true);
    setLabel(timeLabel, tr("Step time", "set programs mode"),
             tr("Step time", "tooltip set programs mode"));
    showChaserCells(false);
}
