// The colour slider's selection gestures and its value steps.
#include "color_slider.h"

#include <QHBoxLayout>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

class TstColorSlider : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void modifierPressTogglesSelectionWithoutMovingValue_data();
    void modifierPressTogglesSelectionWithoutMovingValue();
    void plainPressMovesValueAndKeepsSelection();
    void shiftDuringDragSelectsAndFreezesValue();
    void dragOfSelectedSliderReportsMoves();
    void hoverSweepSelectsOrDeselectsARow_data();
    void hoverSweepSelectsOrDeselectsARow();
    void percentStep_data();
    void percentStep();
    void percentStepLeavesUnselectedAlone();
    void plusAndMinusStopAtTheEnds();
    void valueIfSelected();
};

namespace {

std::unique_ptr<ColorSlider> makeSlider(int value)
{
    auto s = std::make_unique<ColorSlider>(Qt::Vertical);
    s->resize(25, 256);
    s->setValue(value);
    return s;
}

// A point on the groove well away from the thumb at `value`, so a plain press there page-steps.
QPoint farFromThumb(const ColorSlider &s)
{
    return s.value() > 127 ? QPoint(12, s.height() - 5) : QPoint(12, 5);
}

} // namespace

void TstColorSlider::modifierPressTogglesSelectionWithoutMovingValue_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("ctrl left") << int(Qt::LeftButton) << int(Qt::ControlModifier);
    QTest::newRow("ctrl right") << int(Qt::RightButton) << int(Qt::ControlModifier);
    QTest::newRow("ctrl shift left")
        << int(Qt::LeftButton) << int(Qt::ControlModifier | Qt::ShiftModifier);
    QTest::newRow("shift left") << int(Qt::LeftButton) << int(Qt::ShiftModifier);
}

void TstColorSlider::modifierPressTogglesSelectionWithoutMovingValue()
{
    QFETCH(int, button);
    QFETCH(int, modifiers);
    auto s = makeSlider(100);
    QSignalSpy changed(s.get(), &QSlider::valueChanged);
    const auto b = Qt::MouseButton(button);
    const auto m = Qt::KeyboardModifiers(modifiers);

    QTest::mouseClick(s.get(), b, m, farFromThumb(*s));
    QVERIFY(s->isSelected());
    QTest::mouseClick(s.get(), b, m, farFromThumb(*s));
    QVERIFY(!s->isSelected());
    QCOMPARE(s->value(), 100);
    QCOMPARE(changed.count(), 0);
}

void TstColorSlider::plainPressMovesValueAndKeepsSelection()
{
    auto s = makeSlider(100);
    QTest::mouseClick(s.get(), Qt::LeftButton, Qt::ShiftModifier, farFromThumb(*s));
    QVERIFY(s->isSelected());
    // Shift with another button is no gesture: an ordinary press.
    QTest::mouseClick(s.get(), Qt::RightButton, Qt::ShiftModifier, farFromThumb(*s));
    QVERIFY(s->isSelected());
    QTest::mouseClick(s.get(), Qt::LeftButton, Qt::NoModifier, farFromThumb(*s));
    QVERIFY(s->isSelected());
    QVERIFY(s->value() != 100);
}

void TstColorSlider::shiftDuringDragSelectsAndFreezesValue()
{
    auto s = makeSlider(0);
    s->show();
    QVERIFY(QTest::qWaitForWindowExposed(s.get()));
    const QPoint thumb(12, s->height() - 6); // value 0 sits at the bottom
    QTest::mousePress(s.get(), Qt::LeftButton, Qt::NoModifier, thumb);
    QTest::mouseMove(s.get(), thumb - QPoint(0, 60));
    const int dragged = s->value();
    QVERIFY(dragged > 0);
    QVERIFY(!s->isSelected());

    QTest::mouseEvent(QTest::MouseMove, s.get(), Qt::NoButton, Qt::ShiftModifier,
                      thumb - QPoint(0, 120));
    QVERIFY(s->isSelected());
    QCOMPARE(s->value(), dragged);

    QTest::mouseEvent(QTest::MouseMove, s.get(), Qt::NoButton, Qt::NoModifier,
                      thumb - QPoint(0, 150));
    QVERIFY(s->value() > dragged);
    QTest::mouseRelease(s.get(), Qt::LeftButton, Qt::NoModifier, thumb - QPoint(0, 150));
}

void TstColorSlider::dragOfSelectedSliderReportsMoves()
{
    auto s = makeSlider(0);
    s->setSelected(true);
    s->show();
    QVERIFY(QTest::qWaitForWindowExposed(s.get()));
    QSignalSpy moved(s.get(), &QSlider::sliderMoved);
    const QPoint thumb(12, s->height() - 6);
    QTest::mousePress(s.get(), Qt::LeftButton, Qt::NoModifier, thumb);
    QTest::mouseMove(s.get(), thumb - QPoint(0, 100));
    QTest::mouseRelease(s.get(), Qt::LeftButton, Qt::NoModifier, thumb - QPoint(0, 100));
    QVERIFY(moved.count() > 0);
    QCOMPARE(moved.last().at(0).toInt(), s->value());
    QVERIFY(s->isSelected());
}

void TstColorSlider::hoverSweepSelectsOrDeselectsARow_data()
{
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("startSelected");
    QTest::addColumn<bool>("endSelected");
    QTest::newRow("shift selects") << int(Qt::ShiftModifier) << false << true;
    QTest::newRow("shift ctrl deselects")
        << int(Qt::ShiftModifier | Qt::ControlModifier) << true << false;
    QTest::newRow("no modifier leaves unselected") << int(Qt::NoModifier) << false << false;
    QTest::newRow("no modifier leaves selected") << int(Qt::NoModifier) << true << true;
    QTest::newRow("ctrl alone leaves selected") << int(Qt::ControlModifier) << true << true;
}

void TstColorSlider::hoverSweepSelectsOrDeselectsARow()
{
    QFETCH(int, modifiers);
    QFETCH(bool, startSelected);
    QFETCH(bool, endSelected);

    QWidget row;
    auto *layout = new QHBoxLayout(&row);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(4);
    QList<ColorSlider *> sliders;
    for (int i = 0; i < 10; ++i) {
        auto *s = new ColorSlider(Qt::Vertical, &row);
        s->setFixedSize(25, 100);
        s->setAttribute(Qt::WA_Hover); // what the widget style gives every slider
        s->setSelected(startSelected);
        layout->addWidget(s);
        sliders << s;
    }
    row.show();
    QVERIFY(QTest::qWaitForWindowExposed(&row));
    QWindow *win = row.windowHandle();
    const auto m = Qt::KeyboardModifiers(modifiers);

    // Sweep with no button down, right across the row and out of it again.
    QTest::mouseEvent(QTest::MouseMove, win, Qt::NoButton, m, QPoint(2, 50));
    for (ColorSlider *s : sliders)
        QTest::mouseEvent(QTest::MouseMove, win, Qt::NoButton, m, s->geometry().center());
    QTest::mouseEvent(QTest::MouseMove, win, Qt::NoButton, m, QPoint(row.width() - 2, 50));

    for (int i = 0; i < sliders.size(); ++i)
        QVERIFY2(sliders[i]->isSelected() == endSelected, qPrintable(QString::number(i)));
    for (ColorSlider *s : sliders)
        QCOMPARE(s->value(), 0);
}

void TstColorSlider::percentStep_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("percent");
    QTest::addColumn<int>("expected");
    QTest::newRow("+5 at 0") << 0 << 5 << 5;
    QTest::newRow("+5 at 100") << 100 << 5 << 110;
    QTest::newRow("+5 at 250") << 250 << 5 << 255;
    QTest::newRow("-5 at 0") << 0 << -5 << 0;
    QTest::newRow("-5 at 3") << 3 << -5 << 0;
    QTest::newRow("-5 at 100") << 100 << -5 << 90;
    QTest::newRow("0 counts as down") << 100 << 0 << 95;
    QTest::newRow("+10 at 19") << 19 << 10 << 25;
    QTest::newRow("huge percent clamps") << 200 << std::numeric_limits<int>::max() << 255;
    QTest::newRow("huge negative clamps") << 200 << std::numeric_limits<int>::min() << 0;
}

void TstColorSlider::percentStep()
{
    QFETCH(int, value);
    QFETCH(int, percent);
    QFETCH(int, expected);
    auto s = makeSlider(value);
    s->setSelected(true);
    s->changePercentifSelected(percent);
    QCOMPARE(s->value(), expected);
}

void TstColorSlider::percentStepLeavesUnselectedAlone()
{
    auto s = makeSlider(100);
    QSignalSpy changed(s.get(), &QSlider::valueChanged);
    s->changePercentifSelected(5);
    s->changePercentifSelected(-5);
    QCOMPARE(s->value(), 100);
    QCOMPARE(changed.count(), 0);
}

void TstColorSlider::plusAndMinusStopAtTheEnds()
{
    auto s = makeSlider(255);
    QSignalSpy changed(s.get(), &QSlider::valueChanged);
    s->plus();
    QCOMPARE(s->value(), 255);
    s->setValue(0);
    changed.clear();
    s->minus();
    QCOMPARE(s->value(), 0);
    QCOMPARE(changed.count(), 0);
    s->plus();
    QCOMPARE(s->value(), 1);
    QCOMPARE(changed.count(), 1);
}

void TstColorSlider::valueIfSelected()
{
    auto s = makeSlider(10);
    s->setValueIfSelected(200);
    QCOMPARE(s->value(), 10);
    s->setSelected(true);
    s->setValueIfSelected(300);
    QCOMPARE(s->value(), 255);
    QCOMPARE(s->property("selected").toBool(), true); // what the style reads
}

QTEST_MAIN(TstColorSlider)
#include "tst_color_slider.moc"
