// The editor panel: what it builds, its setters and getters, the three modes, adding and removing
// lamps with progress, scrolling, and the chaser preview row as the user edits.
#include "scene.h"

#include "color_arrays.h"
#include "color_slider.h"
#include "my_frame.h"
#include "super_rgb.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStyle>
#include <QtTest>

#include <climits>
#include <memory>

using testcolors::ColorArray;
using testcolors::colorsOf;

namespace {

QList<int> progressValues(const QSignalSpy &spy)
{
    QList<int> v;
    for (const QList<QVariant> &args : spy)
        v << args.at(0).toInt();
    return v;
}

ColorSlider *slider(SuperRGB *lamp, const char *name)
{
    return lamp->findChild<ColorSlider *>(name);
}

template <typename T> T *part(Scene &s, const char *name)
{
    T *w = s.contentWidget()->findChild<T *>(name);
    if (!w)
        qFatal("no widget %s", name);
    return w;
}

void sendMouse(QWidget *w, QEvent::Type type, Qt::MouseButton button = Qt::LeftButton)
{
    const QPointF p(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent e(type, p, w->mapToGlobal(p), button,
                  type == QEvent::MouseMove ? Qt::NoButton : button, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// The viewport of a panel that is not on screen: resize it and deliver the resize at once.
void resizeViewport(Scene &s, int width)
{
    QWidget *f = s.centralFrame();
    const QSize old = f->size();
    f->resize(width, 430);
    QResizeEvent e(f->size(), old);
    QApplication::sendEvent(f, &e);
}

QList<QColor> chaserRow(const Scene &s)
{
    QList<QColor> row;
    for (int i = 0; i < s.lampCount(); ++i)
        row << s.chaserCell(i)->frameColor();
    return row;
}

} // namespace

class TstScenePanel : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void constructionBuildsStripCellsAndControls();
    void contentWidgetGoesWithThePanelOrItsParent();
    void timingRowUsesASmallFontInPointsOrPixels();
    void settersAndGetters_data();
    void settersAndGetters();
    void lastStepOnlySignalsUserClicks();
    void modeTable_data();
    void modeTable();
    void addLampsReportsProgressAndNumbersCells();
    void removeLampsStopsAtAnEmptyStrip();
    void lampCountNeverExceeds170();
    void lampsKeepTheirColoursAcrossAddAndRemove();
    void setAndGetColorsStayInsideTheStrip();
    void offscreenLampsLoadLaterButNeverLate();
    void aFocusedLampOutOfViewKeepsWhatIsTyped();
    void lampsOutOfViewAreBuiltLaterInTheirTabPlace();
    void heldLampsFollowTheWindowsFirstPaint();
    void heldLampsComeUpInTheLayoutTheyMake();
    void scrollingNumbers();
    void emptyPanelScrollsSafely();
    void chaserPreviewFollowsEdits();
    void chaserPreviewOutsideChaserMode();
};

void TstScenePanel::constructionBuildsStripCellsAndControls()
{
    QWidget window;
    ColorArray colors = testcolors::numberedColors();
    Scene s(&window, 3, colors.data());

    QCOMPARE(s.objectName(), QString("Scene"));
    QCOMPARE(s.contentWidget()->objectName(), QString("Scene w"));
    QCOMPARE(s.contentWidget()->parentWidget(), &window);
    QVERIFY(s.contentWidget()->findChild<QScrollBar *>("Scroll"));
    QCOMPARE(s.lampCount(), 3);
    QCOMPARE(s.getMode(), Scene::Mode::Scene);
    QCOMPARE(s.getSelectionFlags(), quint8(0));
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(s.lamp(i)->lampColor(), colors[i]);
        QCOMPARE(s.colorCell(i)->frameColor(), colors[i]);
        QCOMPARE(s.chaserCell(i)->frameColor(), colors[i]);
        QCOMPARE(s.colorCell(i)->objectName(), QString("Frame1"));
        QCOMPARE(s.chaserCell(i)->objectName(), QString("Framechaser1"));
        QCOMPARE(s.colorCell(i)->toolTip(), QString("Move to LED number %1").arg(i + 1));
        QCOMPARE(s.chaserCell(i)->toolTip(), QString("Move to LED number %1").arg(i + 1));
        QVERIFY(s.chaserCell(i)->isHidden()); // the preview row belongs to chaser mode
        QVERIFY(!s.colorCell(i)->isHidden());
    }
    QVERIFY(!s.lamp(3));
    QVERIFY(!s.colorCell(-1));
    // The strip is as wide as its lamps and at least 80.
    QCOMPARE(s.lampStrip()->width(), 3 * 77);
    QCOMPARE(s.lampStrip()->height(), s.centralFrame()->height());

    // Defaults of the timing controls, through the getters the window reads back.
    QCOMPARE(s.getRepeat(), 1);
    QCOMPARE(s.getScenexFade(), 0);
    QCOMPARE(s.getSceneTime(), 1000);
    QCOMPARE(s.getPatternLen(), 1);
    QCOMPARE(s.getDirection(), 1);
    QCOMPARE(s.getLastStep(), 0);
    auto *repeat = part<QSpinBox>(s, "RepeatSpin");
    QCOMPARE(repeat->minimum(), 1);
    QCOMPARE(repeat->maximum(), 170);
    QCOMPARE(repeat->toolTip(), QString("Numbers of repeating chaser pattern"));
    auto *xfade = part<QSpinBox>(s, "XfadeSpin");
    QCOMPARE(xfade->suffix(), QString("%"));
    QCOMPARE(xfade->statusTip(),
             QString("Time in percent of scene time to smoothly set new color"));
    auto *time = part<QDoubleSpinBox>(s, "TimeSpin");
    QCOMPARE(time->maximum(), 60.0);
    QCOMPARE(time->singleStep(), 0.1);
    QCOMPARE(time->suffix(), QString("s"));
    QCOMPARE(part<QSpinBox>(s, "PatternSpin")->minimum(), 0);
    auto *direction = part<QComboBox>(s, "DirectionCombo");
    QCOMPARE(direction->count(), 2);
    QCOMPARE(direction->itemText(1), QString("Right"));
    QCOMPARE(part<QLabel>(s, "DirectionLabel")->toolTip(), QString("Chaser Direction"));
    QCOMPARE(part<QCheckBox>(s, "LastStepCheck")->toolTip(),
             QString("If chceked program return to first scene"));
    // Inside the black-based settings frame these two keep the application's colours.
    QCOMPARE(part<MyFrame>(s, "FrameSettings")->palette().color(QPalette::Base), QColor(Qt::black));
    for (const char *name : {"LastStepCheck", "DirectionCombo"}) {
        const QPalette p = part<QWidget>(s, name)->palette();
        QCOMPARE(p.color(QPalette::Base), QApplication::palette().color(QPalette::Base));
        QCOMPARE(p.color(QPalette::Text), QApplication::palette().color(QPalette::Text));
    }
    QCOMPARE(part<QPushButton>(s, "RepeatOK")->text(), QString("OK"));
    QCOMPARE(part<QLabel>(s, "TimeLabel")->text(), QString("Speed"));
    QCOMPARE(part<MyFrame>(s, "FrameLeft")->toolTip(), QString("Move mouse to Scroll LEDs"));
    QVERIFY(part<MyFrame>(s, "FrameRight")->hasMouseTracking());

    // One style object for the lamps, the cells and the OK buttons; it gives the sliders the
    // hover events that the Shift sweep over them needs.
    QStyle *panelStyle = s.colorCell(0)->style();
    QVERIFY(panelStyle != QApplication::style());
    QCOMPARE(s.chaserCell(2)->style(), panelStyle);
    QCOMPARE(part<QPushButton>(s, "TimeOK")->style(), panelStyle);
    ColorSlider *red = slider(s.lamp(1), "SliderRed");
    QCOMPARE(red->style(), panelStyle);
    red->ensurePolished();
    QVERIFY(red->testAttribute(Qt::WA_Hover));
}

void TstScenePanel::contentWidgetGoesWithThePanelOrItsParent()
{
    // The panel destroys its content...
    QWidget window;
    QPointer<QWidget> content;
    {
        Scene s(&window, 2, nullptr);
        content = s.contentWidget();
        QVERIFY(content);
    }
    QVERIFY(!content);

    // ...and a window that goes first takes the content with it, without a second delete later.
    auto owner = std::make_unique<QWidget>();
    auto s = std::make_unique<Scene>(owner.get(), 2, nullptr);
    content = s->contentWidget();
    owner.reset();
    QVERIFY(!content);
    s.reset();

    // So also while colours still wait for lamps out of view: nothing loads the lamps afterwards.
    owner = std::make_unique<QWidget>();
    ColorArray colors = testcolors::numberedColors();
    s = std::make_unique<Scene>(owner.get(), 170, colors.data());
    s->setColors(colors.data(), 170);
    QVERIFY(s->lampsWaiting() > 0);
    owner.reset();
    QCoreApplication::processEvents();
    QCOMPARE(s->lampsWaiting(), 0);
    QCOMPARE(s->lampCount(), 0);
    s.reset();
}

void TstScenePanel::timingRowUsesASmallFontInPointsOrPixels()
{
    const QFont appFont = QApplication::font();
    QFont big = appFont;
    big.setPointSize(12);
    QApplication::setFont(big);
    {
        Scene s(nullptr, 1, nullptr);
        QCOMPARE(part<QWidget>(s, "TimeSpin")->font().pointSizeF(), 7.0);
    }
    // A desktop that gives its font in pixels: the row gets small too, and no point size of -1.
    big.setPixelSize(16);
    QApplication::setFont(big);
    QTest::failOnWarning(QRegularExpression("Point size"));
    {
        Scene s(nullptr, 1, nullptr);
        QCOMPARE(part<QWidget>(s, "TimeSpin")->font().pixelSize(), 9);
    }
    QApplication::setFont(appFont);
}

enum class Field { Time, Xfade, Repeat, Pattern, Direction, LastStep };
Q_DECLARE_METATYPE(Field)

void TstScenePanel::settersAndGetters_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<int>("in");
    QTest::addColumn<int>("out");

    QTest::newRow("time 1500 ms") << Field::Time << 1500 << 1500;
    QTest::newRow("time 0") << Field::Time << 0 << 0;
    QTest::newRow("time clamped at 60 s") << Field::Time << 75000 << 60000;
    QTest::newRow("time below 0") << Field::Time << -400 << 0;
    // 2.01 and 32.3 are a hair below in binary; a cut instead of a rounding loses a millisecond.
    QTest::newRow("time 2.01 s") << Field::Time << 2010 << 2010;
    QTest::newRow("time 32.3 s") << Field::Time << 32300 << 32300;
    QTest::newRow("time 1.25 s kept") << Field::Time << 1250 << 1250;
    QTest::newRow("time to hundredths") << Field::Time << 1234 << 1230;
    QTest::newRow("xfade") << Field::Xfade << 35 << 35;
    QTest::newRow("xfade clamped") << Field::Xfade << 180 << 100;
    QTest::newRow("repeat 0 shows 1") << Field::Repeat << 0 << 1;
    QTest::newRow("repeat 170") << Field::Repeat << 170 << 170;
    QTest::newRow("pattern 0") << Field::Pattern << 0 << 0;
    QTest::newRow("pattern clamped") << Field::Pattern << 255 << 170;
    QTest::newRow("direction right") << Field::Direction << 2 << 2;
    QTest::newRow("direction left") << Field::Direction << 1 << 1;
    QTest::newRow("direction 3 leaves none") << Field::Direction << 3 << 0;
    QTest::newRow("direction 0 leaves none") << Field::Direction << 0 << 0;
    QTest::newRow("direction INT_MIN leaves none") << Field::Direction << INT_MIN << 0;
    QTest::newRow("time INT_MIN") << Field::Time << INT_MIN << 0;
    QTest::newRow("repeat INT_MAX") << Field::Repeat << INT_MAX << 170;
    QTest::newRow("last step 7") << Field::LastStep << 7 << 1;
    QTest::newRow("last step 0") << Field::LastStep << 0 << 0;
}

void TstScenePanel::settersAndGetters()
{
    QFETCH(Field, field);
    QFETCH(int, in);
    QFETCH(int, out);

    Scene s(nullptr, 1, nullptr);
    // Start from a value different from the expected one so a setter that does nothing fails.
    s.setSceneTime(9900);
    s.setScenexFade(1);
    s.setRepeat(9);
    s.setPatternLen(9);
    s.setDirection(out == 1 ? 2 : 1);
    s.setLastStep(out ? 0 : 1);
    switch (field) {
    case Field::Time:
        s.setSceneTime(in);
        QCOMPARE(s.getSceneTime(), out);
        break;
    case Field::Xfade:
        s.setScenexFade(in);
        QCOMPARE(s.getScenexFade(), out);
        break;
    case Field::Repeat:
        s.setRepeat(in);
        QCOMPARE(s.getRepeat(), out);
        break;
    case Field::Pattern:
        s.setPatternLen(in);
        QCOMPARE(s.getPatternLen(), out);
        break;
    case Field::Direction:
        s.setDirection(in);
        QCOMPARE(s.getDirection(), out);
        break;
    case Field::LastStep:
        s.setLastStep(in);
        QCOMPARE(s.getLastStep(), out);
        break;
    }
}

void TstScenePanel::lastStepOnlySignalsUserClicks()
{
    Scene s(nullptr, 1, nullptr);
    s.setProgramsMode();
    QSignalSpy spy(&s, &Scene::lastStepChanged);
    s.setLastStep(1); // loading a step must not look like a click
    QCOMPARE(spy.count(), 0);
    part<QCheckBox>(s, "LastStepCheck")->click();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toBool(), false);
    QCOMPARE(s.getLastStep(), 0);
    part<QCheckBox>(s, "LastStepCheck")->click();
    QCOMPARE(spy.at(1).at(0).toBool(), true);
}

void TstScenePanel::modeTable_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("hidden");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("timeText");
    QTest::addColumn<QString>("xfadeText");
    QTest::addColumn<bool>("timeEnabled");

    const QStringList chaserOnly{"RepeatLabel", "RepeatSpin", "RepeatOK",       "PatternLabel",
                                 "PatternSpin", "PatternOK",  "DirectionLabel", "DirectionCombo"};
    const QStringList xfade{"XfadeLabel", "XfadeSpin", "XfadeOK"};
    const QStringList time{"TimeLabel", "TimeSpin", "TimeOK"};

    QTest::newRow("scenes") << 0 << (chaserOnly + xfade + QStringList{"LastStepCheck"}) << time
                            << "Scene time"
                            << "Scene Xfade" << false;
    QTest::newRow("chasers") << 1 << QStringList{"LastStepCheck"} << (chaserOnly + xfade + time)
                             << "Chaser time"
                             << "Chaser Xfade" << true;
    QTest::newRow("programs") << 2 << chaserOnly << (xfade + time + QStringList{"LastStepCheck"})
                              << "Step time"
                              << "Step Xfade" << true;
}

void TstScenePanel::modeTable()
{
    QFETCH(int, mode);
    QFETCH(QStringList, hidden);
    QFETCH(QStringList, shown);
    QFETCH(QString, timeText);
    QFETCH(QString, xfadeText);
    QFETCH(bool, timeEnabled);

    Scene s(nullptr, 4, nullptr);
    // Arrive from each other mode, so that a slot that forgets to show or hide something fails.
    for (int from : {0, 1, 2}) {
        switch (from) {
        case 0:
            s.setScenesMode();
            break;
        case 1:
            s.setChasersMode();
            break;
        default:
            s.setProgramsMode();
            break;
        }
        switch (mode) {
        case 0:
            s.setScenesMode();
            break;
        case 1:
            s.setChasersMode();
            break;
        default:
            s.setProgramsMode();
            break;
        }
        QCOMPARE(int(s.getMode()), mode);
        for (const QString &n : hidden)
            QVERIFY2(part<QWidget>(s, qPrintable(n))->isHidden(), qPrintable(n));
        for (const QString &n : shown)
            QVERIFY2(!part<QWidget>(s, qPrintable(n))->isHidden(), qPrintable(n));
        QCOMPARE(part<QLabel>(s, "TimeLabel")->text(), timeText);
        QCOMPARE(part<QLabel>(s, "TimeLabel")->toolTip(), timeText);
        QCOMPARE(part<QWidget>(s, "TimeLabel")->isEnabled(), timeEnabled);
        QCOMPARE(part<QWidget>(s, "TimeSpin")->isEnabled(), timeEnabled);
        QCOMPARE(part<QWidget>(s, "TimeOK")->isEnabled(), timeEnabled);
        if (mode != 0) { // scene mode leaves the hidden xfade label's text as it was
            QCOMPARE(part<QLabel>(s, "XfadeLabel")->text(), xfadeText);
            QCOMPARE(part<QLabel>(s, "XfadeLabel")->toolTip(), xfadeText);
        }
        for (int i = 0; i < s.lampCount(); ++i)
            QCOMPARE(s.chaserCell(i)->isHidden(), mode != 1);
    }
    // setMode only stores the mode.
    const auto other = mode == 0 ? Scene::Mode::Chaser : Scene::Mode::Scene;
    s.setMode(other);
    QCOMPARE(s.getMode(), other);
    QCOMPARE(part<QLabel>(s, "TimeLabel")->text(), timeText);
}

void TstScenePanel::addLampsReportsProgressAndNumbersCells()
{
    Scene s(nullptr, 0, nullptr);
    QCOMPARE(s.lampCount(), 0);
    QSignalSpy spy(&s, &Scene::progress);
    s.addLamps(3, nullptr);
    QCOMPARE(progressValues(spy), (QList<int>{33, 33, 66, 66, 100, 100, 0}));
    QCOMPARE(s.lampCount(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(s.colorCell(i)->toolTip(), QString("Move to LED number %1").arg(i + 1));
        QCOMPARE(s.colorCell(i)->frameColor(), s.lamp(i)->lampColor());
        QCOMPARE(s.lamp(i)->lampColor().alpha(), 255);
    }

    // Lamps added in chaser mode show their preview cell at once.
    s.setChasersMode();
    ColorArray colors = testcolors::numberedColors();
    s.addLamps(2, colors.data() + 3);
    QVERIFY(!s.chaserCell(4)->isHidden());
    QCOMPARE(s.lamp(4)->lampColor(), colors[4]);
    QCOMPARE(s.lampStrip()->width(), 5 * 77);
}

void TstScenePanel::removeLampsStopsAtAnEmptyStrip()
{
    Scene s(nullptr, 2, nullptr);
    QPointer<SuperRGB> lamp0 = s.lamp(0);
    QPointer<MyFrame> cell1 = s.chaserCell(1);
    QSignalSpy spy(&s, &Scene::progress);
    s.removeLamps(5);
    QCOMPARE(progressValues(spy), (QList<int>{20, 40, 0}));
    QCOMPARE(s.lampCount(), 0);
    QCOMPARE(s.lampStrip()->width(), 80);
    // An event may still be on its way to a removed lamp (a click that moved the focus and so
    // changed the count): it stays until the event loop is done with it, hidden and cut off from
    // the panel both ways.
    QVERIFY(lamp0 && cell1);
    QVERIFY(lamp0->parentWidget()->isHidden() && cell1->isHidden());
    QSignalSpy edited(&s, &Scene::lampEdited);
    lamp0->selectRed(true);
    const QColor before = lamp0->lampColor();
    s.setSelected(before.red() ^ 1);
    QCOMPARE(lamp0->lampColor(), before);
    lamp0->setRedColor(before.red() ^ 1);
    QCOMPARE(edited.size(), 0);
    QTRY_VERIFY(!lamp0 && !cell1);

    spy.clear();
    s.removeLamps(0);
    QCOMPARE(progressValues(spy), (QList<int>{0}));
    // A count far beyond the strip must not run billions of empty passes either.
    s.removeLamps(0xFFFFFFFFu);
    QCOMPARE(s.lampCount(), 0);
}

void TstScenePanel::lampCountNeverExceeds170()
{
    // The colour arrays hold 171 slots: a panel asked for more must not read or make more.
    ColorArray colors = testcolors::numberedColors();
    Scene s(nullptr, 200, colors.data());
    QCOMPARE(s.lampCount(), 170);
    QCOMPARE(s.lamp(169)->lampColor(), colors[169]);

    s.removeLamps(2);
    QSignalSpy spy(&s, &Scene::progress);
    s.addLamps(5, colors.data() + 168);
    QCOMPARE(s.lampCount(), 170);
    QCOMPARE(progressValues(spy), (QList<int>{50, 50, 100, 100, 0}));
    QCOMPARE(s.lamp(168)->lampColor(), colors[168]);
    QCOMPARE(s.lamp(169)->lampColor(), colors[169]);

    spy.clear();
    s.addLamps(1, colors.data());
    QCOMPARE(s.lampCount(), 170);
    QCOMPARE(progressValues(spy), (QList<int>{0}));

    Scene negative(nullptr, -1, colors.data());
    QCOMPARE(negative.lampCount(), 0);
}

void TstScenePanel::lampsKeepTheirColoursAcrossAddAndRemove()
{
    ColorArray colors = testcolors::numberedColors();
    Scene s(nullptr, 5, colors.data());
    s.removeLamps(2);
    QCOMPARE(s.lampCount(), 3);
    QCOMPARE(s.lamp(2)->lampColor(), colors[2]);

    ColorArray other;
    other.fill(QColor(9, 8, 7));
    s.addLamps(2, other.data());
    QCOMPARE(s.lamp(0)->lampColor(), colors[0]);
    QCOMPARE(s.lamp(3)->lampColor(), QColor(9, 8, 7));
    QCOMPARE(s.colorCell(4)->frameColor(), QColor(9, 8, 7));
}

void TstScenePanel::setAndGetColorsStayInsideTheStrip()
{
    Scene s(nullptr, 4, nullptr);
    ColorArray in = testcolors::numberedColors();
    in[1] = QColor(); // an unset slot reads as black
    s.setColors(in.data(), 4);
    for (int i = 0; i < 4; ++i) {
        const QColor expected = i == 1 ? QColor(0, 0, 0) : in[i];
        QCOMPARE(s.lamp(i)->lampColor(), expected);
        QCOMPARE(s.colorCell(i)->frameColor(), expected);
        QCOMPARE(slider(s.lamp(i), "SliderGreen")->value(), expected.green());
    }

    // A length beyond the strip touches only the lamps there are, in both directions.
    ColorArray out;
    out.fill(QColor(1, 2, 3));
    s.getColors(out.data(), 171);
    QCOMPARE(out[3], in[3]);
    QCOMPARE(out[4], QColor(1, 2, 3));
    s.setColors(in.data(), 171);
    QCOMPARE(s.lampCount(), 4);
    s.setColors(nullptr, 4);
    s.getColors(nullptr, 4);
}

// The lamp control as it stands, without loading a colour that waits for it; null while the
// control is not built. A removed lamp's control, hidden until Qt deletes it, is not one.
SuperRGB *rawLamp(const Scene &s, int i)
{
    for (SuperRGB *l : s.lampStrip()->findChildren<SuperRGB *>())
        if (!l->parentWidget()->isHidden() &&
            l->LampGroupBox->title() == QStringLiteral("L: %1").arg(i + 1))
            return l;
    return nullptr;
}

void TstScenePanel::offscreenLampsLoadLaterButNeverLate()
{
    ColorArray before = testcolors::numberedColors();
    Scene s(nullptr, 170, before.data());
    resizeViewport(s, 400);
    ColorArray after;
    for (int i = 0; i < 171; ++i)
        after[i] = QColor(200 - i, i, 77);

    s.setColors(after.data(), 170);
    // The overview and the read-back show the new colours at once...
    QCOMPARE(s.colorCell(150)->frameColor(), after[150]);
    ColorArray out;
    s.getColors(out.data(), 170);
    for (int i = 0; i < 170; ++i)
        QCOMPARE(out[i], after[i]);
    // ...the lamps in view have them, the others wait for the event loop.
    QCOMPARE(rawLamp(s, 0)->lampColor(), after[0]);
    QCOMPARE(rawLamp(s, 5)->lampColor(), after[5]);
    QVERIFY(s.lampsWaiting() > 100);
    QVERIFY(!rawLamp(s, 150));
    // Asking for a lamp loads it.
    QCOMPARE(s.lamp(150)->lampColor(), after[150]);
    QCOMPARE(rawLamp(s, 150)->findChild<QLineEdit *>("EditRed")->text(),
             QString::asprintf("%03d", after[150].red()));
    // Scrolling brings the lamps in view up to date.
    s.scrollBar()->setValue(100 * 77);
    QCOMPARE(rawLamp(s, 102)->lampColor(), after[102]);
    for (int turns = 0; s.lampsWaiting() > 0 && turns < 100; ++turns)
        QCoreApplication::processEvents();
    QCOMPARE(s.lampsWaiting(), 0);
    QCOMPARE(rawLamp(s, 169)->lampColor(), after[169]);

    // An edit made right after a load is never overwritten by a colour that was still waiting.
    s.setColors(before.data(), 170);
    QVERIFY(s.lampsWaiting() > 0);
    s.setAll(true);
    s.setSelected(10);
    for (int turns = 0; turns < 20; ++turns)
        QCoreApplication::processEvents();
    for (int i : {0, 80, 169})
        QCOMPARE(rawLamp(s, i)->lampColor(), QColor(10, 10, 10));
    s.getColors(out.data(), 170);
    QCOMPARE(out[120], QColor(10, 10, 10));

    // Copy sees waiting colours; removed lamps take nothing stale with them.
    s.setColors(after.data(), 170);
    QCOMPARE(s.copySelected(), 510);
    QCOMPARE(quint8(QApplication::clipboard()->mimeData()->data("color_array").at(3 * 160)),
             quint8(after[160].red()));
    s.setColors(before.data(), 170);
    s.removeLamps(100);
    QCOMPARE(s.lampsWaiting() <= 70, true);
    s.addLamps(100, after.data() + 70);
    for (int turns = 0; s.lampsWaiting() > 0 && turns < 100; ++turns)
        QCoreApplication::processEvents();
    QCOMPARE(s.lampsWaiting(), 0);
    QCOMPARE(rawLamp(s, 150)->lampColor(), after[150]);
    QCOMPARE(rawLamp(s, 60)->lampColor(), before[60]);
}

void TstScenePanel::lampsOutOfViewAreBuiltLaterInTheirTabPlace()
{
    ColorArray colors = testcolors::numberedColors();
    QWidget window;
    auto *box = new QHBoxLayout(&window);
    Scene s(nullptr, 40, colors.data());
    box->addWidget(s.contentWidget());
    resizeViewport(s, 400);
    // Only the lamps in view have a control before the event loop runs; the others are places.
    QCOMPARE(s.lampsBuilt(), 6);
    QVERIFY(!rawLamp(s, 6));
    ColorArray out;
    s.getColors(out.data(), 40);
    QCOMPARE(out[39], colors[39]);
    QCOMPARE(s.colorCell(39)->frameColor(), colors[39]);

    // Built out of order (asked for, scrolled to), then the rest from the event loop...
    QCOMPARE(s.lamp(30)->lampColor(), colors[30]);
    s.scrollBar()->setValue(20 * 77);
    QVERIFY(rawLamp(s, 22));
    QVERIFY(!rawLamp(s, 12));
    for (int turns = 0; s.lampsWaiting() > 0 && turns < 100; ++turns)
        QCoreApplication::processEvents();
    QCOMPARE(s.lampsBuilt(), 40);
    // ...every lamp has its colour and its signals: a moved slider reaches its overview cell.
    QCOMPARE(rawLamp(s, 12)->lampColor(), colors[12]);
    rawLamp(s, 35)->SliderGreen->setValue(201);
    QCOMPARE(s.colorCell(35)->frameColor().green(), 201);

    // Tab walks the value fields lamp after lamp, whichever was built first.
    QList<int> lampOrder;
    QWidget *start = rawLamp(s, 0)->EditRed;
    QWidget *w = start;
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            for (QWidget *p = w; p; p = p->parentWidget())
                if (auto *l = qobject_cast<SuperRGB *>(p)) {
                    const int i = l->LampGroupBox->title().mid(3).toInt() - 1;
                    if (lampOrder.isEmpty() || lampOrder.last() != i)
                        lampOrder << i;
                    break;
                }
        w = w->nextInFocusChain();
    } while (w != start);
    QCOMPARE(lampOrder.size(), 40);
    for (int i = 0; i < 40; ++i)
        QCOMPARE(lampOrder[i], i);
}

// The window's lamps wait for its first paint; one that is needed earlier is built at once.
void TstScenePanel::heldLampsFollowTheWindowsFirstPaint()
{
    ColorArray colors = testcolors::numberedColors();
    QWidget window;
    auto *box = new QHBoxLayout(&window);
    Scene s(nullptr, 0, nullptr);
    s.holdLampsUntilShown();
    s.addLamps(40, colors.data());
    box->addWidget(s.contentWidget());
    resizeViewport(s, 400);
    for (int turns = 0; turns < 10; ++turns)
        QCoreApplication::processEvents();
    QCOMPARE(s.lampsBuilt(), 0);
    QCOMPARE(s.lamp(3)->lampColor(), colors[3]);
    QCOMPARE(s.lampsBuilt(), 1);

    window.resize(600, 500);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE(s.lampsBuilt(), 40);
    QCOMPARE(rawLamp(s, 39)->lampColor(), colors[39]);
}

// The first lamp built gives the panel its lowest height; that reaches every layout above the panel
// in the turn that builds the lamps in view, so they are painted once, in place.
void TstScenePanel::heldLampsComeUpInTheLayoutTheyMake()
{
    QWidget window;
    auto *column = new QVBoxLayout(&window);
    auto *above = new QLabel("takes the room the panel leaves");
    above->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    column->addWidget(above);
    auto *holder = new QWidget;
    column->addWidget(holder);
    Scene s(nullptr, 0, nullptr);
    s.holdLampsUntilShown();
    s.addLamps(30, nullptr);
    (new QHBoxLayout(holder))->addWidget(s.contentWidget());
    window.resize(600, 500);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect unsettled = above->geometry();
    for (int turns = 0; turns < 100 && s.lampsBuilt() == 0; ++turns)
        QCoreApplication::processEvents();
    const QRect settled = above->geometry();
    QTRY_COMPARE(s.lampsWaiting(), 0);
    QCOMPARE(above->geometry(), settled);
    QVERIFY(settled != unsettled);
}

void TstScenePanel::aFocusedLampOutOfViewKeepsWhatIsTyped()
{
    ColorArray before = testcolors::numberedColors();
    ColorArray after;
    for (int i = 0; i < 171; ++i)
        after[i] = QColor(200 - i, i, 77);
    QWidget window;
    auto *box = new QHBoxLayout(&window);
    Scene s(nullptr, 170, before.data());
    box->addWidget(s.contentWidget());
    window.resize(850, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    // The user left the focus in a field and scrolled away from it; then another item comes in.
    QLineEdit *field = s.lamp(100)->EditRed;
    field->setFocus();
    s.setColors(after.data(), 170);
    QVERIFY(s.lampsWaiting() > 0);
    QCOMPARE(rawLamp(s, 100)->lampColor(), after[100]);
    // Typed before the event loop came round to the lamp: the value stays and mixes with the
    // lamp's new colour, not its old one.
    field->selectAll();
    QTest::keyClicks(field, "7");
    for (int turns = 0; s.lampsWaiting() > 0 && turns < 100; ++turns)
        QCoreApplication::processEvents();
    const QColor typed(7, after[100].green(), after[100].blue());
    QCOMPARE(rawLamp(s, 100)->lampColor(), typed);
    QCOMPARE(s.colorCell(100)->frameColor(), typed);
    ColorArray out;
    s.getColors(out.data(), 170);
    QCOMPARE(out[100], typed);

    // Moving the focus into a lamp that still waits (Tab) loads it there and then.
    s.setColors(before.data(), 170);
    QCOMPARE(rawLamp(s, 120)->lampColor(), after[120]);
    rawLamp(s, 120)->EditBlue->setFocus();
    QCOMPARE(rawLamp(s, 120)->lampColor(), before[120]);

    // The strip follows the focus, so that the field being typed in is in view.
    const int viewport = s.lampStrip()->parentWidget()->width();
    auto inView = [&](int lamp) {
        const int x = s.scrollBar()->value();
        return lamp * 77 >= x && (lamp + 1) * 77 <= x + viewport;
    };
    QVERIFY(inView(120));
    rawLamp(s, 2)->EditGreen->setFocus();
    QVERIFY(inView(2));
    rawLamp(s, 169)->EditRed->setFocus();
    QVERIFY(inView(169));
    QCOMPARE(s.lampStrip()->x(), -s.scrollBar()->value());
}

void TstScenePanel::scrollingNumbers()
{
    Scene s(nullptr, 20, nullptr);
    QCOMPARE(s.lampStrip()->width(), 1540);
    resizeViewport(s, 400); // the viewport's resize recomputes the bar
    QScrollBar *bar = s.scrollBar();
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 1140);
    QCOMPARE(bar->pageStep(), 370);

    // Clicking overview cell 10 brings lamp 10 to the left edge.
    sendMouse(s.colorCell(10), QEvent::MouseButtonPress);
    QCOMPARE(bar->value(), 770);
    QCOMPARE(s.lampStrip()->x(), -770);
    // A preview cell does the same; the last lamp is clamped to the range.
    sendMouse(s.chaserCell(19), QEvent::MouseButtonPress);
    QCOMPARE(bar->value(), 1140);

    // Each mouse movement over an edge frame moves a quarter page.
    bar->setValue(0);
    sendMouse(s.rightFrame(), QEvent::MouseMove);
    QCOMPARE(bar->value(), 92);
    QCOMPARE(s.lampStrip()->x(), -92);
    sendMouse(s.rightFrame(), QEvent::MouseMove);
    QCOMPARE(bar->value(), 184);
    sendMouse(s.leftFrame(), QEvent::MouseMove);
    QCOMPARE(bar->value(), 92);
    sendMouse(s.leftFrame(), QEvent::MouseMove);
    sendMouse(s.leftFrame(), QEvent::MouseMove);
    QCOMPARE(bar->value(), 0);

    // Shrinking the strip pulls the bar back into range and the strip with it.
    bar->setValue(1140);
    s.removeLamps(15);
    QCOMPARE(bar->maximum(), 0);
    QCOMPARE(bar->value(), 0);
    QCOMPARE(s.lampStrip()->x(), 0);
    // Growing it again keeps the strip where the bar says.
    bar->setValue(0);
    s.addLamps(10, nullptr);
    QCOMPARE(bar->maximum(), 15 * 77 - 400);
    QCOMPARE(s.lampStrip()->x(), -bar->value());
}

void TstScenePanel::emptyPanelScrollsSafely()
{
    Scene s(nullptr, 0, nullptr);
    resizeViewport(s, 50); // the viewport is never narrower than the empty strip
    QCOMPARE(s.lampStrip()->width(), 80);
    QCOMPARE(s.scrollBar()->maximum(), 0);
    s.setScrollAt(3); // no lamp to divide by
    QCOMPARE(s.scrollBar()->value(), 0);
    resizeViewport(s, 400);
    QCOMPARE(s.scrollBar()->maximum(), 0);
}

void TstScenePanel::chaserPreviewFollowsEdits()
{
    ColorArray c = testcolors::numberedColors();
    Scene s(nullptr, 8, c.data());
    s.setMode(Scene::Mode::Scene); // as the window loads a chaser
    s.setPatternLen(3);
    s.setRepeat(2);
    s.setChasersMode();
    s.setMode(Scene::Mode::Chaser);
    s.chaser_calculate(0);
    QCOMPARE(chaserRow(s), colorsOf(c, {0, 1, 2, 0, 1, 2, 6, 7}));

    // A slider move on lamp 1 shows at once everywhere lamp 1 is copied to.
    slider(s.lamp(1), "SliderRed")->setValue(200);
    const QColor moved = s.lamp(1)->lampColor();
    QCOMPARE(moved.red(), 200);
    QCOMPARE(s.colorCell(1)->frameColor(), moved);
    QCOMPARE(s.chaserCell(1)->frameColor(), moved);
    QCOMPARE(s.chaserCell(4)->frameColor(), moved);
    QCOMPARE(s.chaserCell(7)->frameColor(), c[7]);

    // The selectors recompute it; more repeats than lamps are cut at the last lamp.
    s.setRepeat(5);
    c[1] = moved;
    QCOMPARE(chaserRow(s), colorsOf(c, {0, 1, 2, 0, 1, 2, 0, 1}));
    s.setPatternLen(0);
    QCOMPARE(chaserRow(s), colorsOf(c, {0, 1, 2, 3, 4, 5, 6, 7}));
    s.setPatternLen(170);
    QCOMPARE(chaserRow(s), colorsOf(c, {0, 1, 2, 3, 4, 5, 6, 7}));
    s.setPatternLen(1);
    QCOMPARE(chaserRow(s), colorsOf(c, {0, 0, 0, 0, 0, 5, 6, 7}));

    // Loading new colours in chaser mode recomputes the row once they are all in.
    ColorArray next;
    for (int i = 0; i < 8; ++i)
        next[i] = QColor(10 * i, 5, 5);
    s.setColors(next.data(), 8);
    QCOMPARE(chaserRow(s), colorsOf(next, {0, 0, 0, 0, 0, 5, 6, 7}));

    // Left to itself, the row settles on the next turn of the event loop, before it is painted.
    std::vector<MyFrame *> cells;
    for (int i = 0; i < 8; ++i)
        cells.push_back(s.chaserCell(i));
    s.setColors(c.data(), 8);
    QCOMPARE(cells[3]->frameColor(), next[0]); // still owed
    QCoreApplication::processEvents();
    QCOMPARE(cells[3]->frameColor(), c[0]);
    QCOMPARE(cells[4]->frameColor(), c[0]);
    QCOMPARE(cells[6]->frameColor(), c[6]);
}

void TstScenePanel::chaserPreviewOutsideChaserMode()
{
    ColorArray c = testcolors::numberedColors();
    Scene s(nullptr, 6, c.data());
    s.setPatternLen(2);
    s.setRepeat(3);
    s.setScenesMode();
    QCOMPARE(chaserRow(s), colorsOf(c, {0, 1, 0, 1, 0, 1}));

    // A colour change outside chaser mode leaves the hidden row alone...
    slider(s.lamp(0), "SliderBlue")->setValue(3);
    QCOMPARE(s.chaserCell(2)->frameColor(), c[0]);
    ColorArray next;
    next.fill(QColor(50, 60, 70));
    s.setColors(next.data(), 6);
    QCOMPARE(s.chaserCell(3)->frameColor(), c[1]);
    // ...but a selector change recomputes it from the current colours.
    s.setRepeat(1);
    QCOMPARE(chaserRow(s), QList<QColor>(6, QColor(50, 60, 70)));
}

QTEST_MAIN(TstScenePanel)
#include "tst_scene_panel.moc"
