// One lamp control: its form, the way sliders, value fields and the colour agree, and the
// panel-wide editing of selected sliders across several lamps.
#include "super_rgb.h"

#include <QProxyStyle>
#include <QSignalSpy>
#include <QValidator>
#include <QtTest>

#include <memory>

class TstSuperRGB : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void titleAndAddressesFollowTheIndex_data();
    void titleAndAddressesFollowTheIndex();
    void constructionShowsChannelsAndColours();
    void formHasTheNamedWidgetsAndTabOrder();
    void slidersTakeTheHeightThereIs();
    void validatorAcceptsOnlyValuesUpTo255_data();
    void validatorAcceptsOnlyValuesUpTo255();
    void typedValueMovesSliderAndKeepsTheTypedText();
    void directChannelWriteMovesSliderAndField();
    void outOfRangeChannelWriteStaysConsistent();
    void buttonsAndSlotsStepWithinRange();
    void setRGBRunsTheWholeChain();
    void percentStepActsOnSelectedChannelsOnly();
    void selectionSlots();
    void dragOfSelectedSliderMovesEverySelectedSlider();
    void applyStyleReachesEveryWidgetInTheGroupBox();
};

namespace {

QColor baseOf(const QWidget *w)
{
    return w->palette().color(QPalette::Base);
}

// Wires lamps as the panel does: a move of a selected slider is offered to every lamp.
class Relay : public QObject
{
    Q_OBJECT
public:
    void add(SuperRGB *lamp)
    {
        connect(lamp, &SuperRGB::selectedSliderValueChange, this, &Relay::setSelected);
        connect(this, &Relay::setSelectedSlidersValues, lamp, &SuperRGB::setValueIfSelected);
    }
Q_SIGNALS:
    void setSelectedSlidersValues(int value);
public Q_SLOTS:
    void setSelected(int value) { emit setSelectedSlidersValues(value); }
};

} // namespace

void TstSuperRGB::titleAndAddressesFollowTheIndex_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("addresses");
    QTest::newRow("first") << 0 << "L: 1" << QStringList{"1", "2", "3"};
    QTest::newRow("tenth") << 9 << "L: 10" << QStringList{"28", "29", "30"};
    QTest::newRow("last") << 169 << "L: 170" << QStringList{"508", "509", "510"};
}

void TstSuperRGB::titleAndAddressesFollowTheIndex()
{
    QFETCH(int, index);
    QFETCH(QString, title);
    QFETCH(QStringList, addresses);
    SuperRGB lamp(nullptr, 0, 0, 0, quint16(index));
    QCOMPARE(lamp.LampGroupBox->title(), title);
    QCOMPARE(lamp.LabelAddress1->text(), addresses[0]);
    QCOMPARE(lamp.LabelAddress2->text(), addresses[1]);
    QCOMPARE(lamp.LabelAddress3->text(), addresses[2]);
}

void TstSuperRGB::constructionShowsChannelsAndColours()
{
    SuperRGB lamp(nullptr, 255, 0, 16, 0);
    QCOMPARE(lamp.EditRed->text(), QString("255"));
    QCOMPARE(lamp.EditGreen->text(), QString("000"));
    QCOMPARE(lamp.EditBlue->text(), QString("016"));
    QCOMPARE(baseOf(lamp.EditRed), QColor(255, 0, 0));
    QCOMPARE(baseOf(lamp.EditGreen), QColor(0, 0, 0));
    QCOMPARE(baseOf(lamp.EditBlue), QColor(0, 0, 16));
    QCOMPARE(lamp.EditRed->palette().color(QPalette::Text), QColor(Qt::white));
    QCOMPARE(baseOf(lamp.EditColor), QColor(255, 0, 16));
    QCOMPARE(lamp.lampColor(), QColor(255, 0, 16, 255));
    QCOMPARE(lamp.SliderRed->value(), 255);
    QCOMPARE(lamp.SliderGreen->value(), 0);
    QCOMPARE(lamp.SliderBlue->value(), 16);
    QVERIFY(!lamp.isRedSelected() && !lamp.isGreenSelected() && !lamp.isBlueSelected());

    // A white lamp still sets its cell's colour explicitly, so a palette change of the
    // application cannot repaint it.
    SuperRGB white(nullptr, 255, 255, 255, 1);
    QVERIFY(white.EditColor->palette().isBrushSet(QPalette::Active, QPalette::Base));
}

// Low, every part of the control is still in it; tall, the sliders get the room.
void TstSuperRGB::slidersTakeTheHeightThereIs()
{
    SuperRGB lamp(nullptr, 1, 2, 3, 0);
    const int lowest = lamp.minimumSizeHint().height();
    QVERIFY2(lowest < 330, qPrintable(QString::number(lowest)));
    int sliderAtLowest = 0;
    lamp.show();
    for (const int height : {lowest, 420, 900}) {
        lamp.resize(120, height);
        const QRect whole = lamp.rect();
        for (QWidget *part : lamp.LampGroupBox->findChildren<QWidget *>()) {
            const QRect at(part->mapTo(&lamp, QPoint()), part->size());
            QVERIFY2(whole.contains(at), qPrintable(part->objectName()));
        }
        const int slider = lamp.SliderRed->height();
        if (height == lowest)
            sliderAtLowest = slider;
        QVERIFY(slider >= 80);
        // Nearly all the height the control gains goes to its sliders.
        QVERIFY2(slider - sliderAtLowest >= (height - lowest) * 9 / 10,
                 qPrintable(QStringLiteral("%1 at %2").arg(slider).arg(height)));
        QCOMPARE(lamp.SliderBlue->height(), slider);
    }
}

void TstSuperRGB::formHasTheNamedWidgetsAndTabOrder()
{
    SuperRGB lamp(nullptr, 1, 2, 3, 0);
    QCOMPARE(lamp.objectName(), QString("Lamp"));
    QCOMPARE(lamp.size(), QSize(120, 420));
    QCOMPARE(lamp.SliderRed->maximum(), 255);
    QCOMPARE(lamp.SliderRed->orientation(), Qt::Vertical);
    QCOMPARE(lamp.EditRed->maxLength(), 3);
    QCOMPARE(lamp.EditColor->maxLength(), 0);
    QVERIFY(lamp.EditColor->acceptDrops());
    QVERIFY(!lamp.EditRed->acceptDrops());
    QCOMPARE(lamp.EditColor->focusPolicy(), Qt::NoFocus);
    QCOMPARE(lamp.SliderRed->focusPolicy(), Qt::NoFocus);
    QCOMPARE(lamp.ButtonRPlus->focusPolicy(), Qt::NoFocus);
    QVERIFY(lamp.ButtonGMinus->autoRepeat());
    QCOMPARE(lamp.EditRed->toolTip(), QString("Value of red color <0-255> "));
    QVERIFY(lamp.SliderGreen->toolTip().startsWith("Green Slider\nCTRL+click to select\n"));
    QCOMPARE(lamp.LabelAddress2->toolTip(), QString("DMX addres"));

    // The value fields are the only stops of the keyboard's tab chain.
    lamp.show();
    lamp.EditRed->setFocus();
    QCOMPARE(lamp.EditRed->nextInFocusChain()->objectName(), QString("EditGreen"));
    QCOMPARE(lamp.EditGreen->nextInFocusChain()->objectName(), QString("EditBlue"));

    // One validator, shared by the three fields.
    QVERIFY(lamp.EditRed->validator());
    QCOMPARE(lamp.EditRed->validator(), lamp.EditGreen->validator());
    QCOMPARE(lamp.EditRed->validator(), lamp.EditBlue->validator());
}

void TstSuperRGB::validatorAcceptsOnlyValuesUpTo255_data()
{
    // Intermediate lets a key through, Invalid refuses it: an emptied field must take digits,
    // and a digit that would pass 255 or a fourth one must not go in.
    QTest::addColumn<QString>("text");
    QTest::addColumn<QValidator::State>("state");
    const auto ok = QValidator::Acceptable;
    const auto no = QValidator::Invalid;
    QTest::newRow("empty") << "" << QValidator::Intermediate;
    QTest::newRow("0") << "0" << ok;
    QTest::newRow("07") << "07" << ok;
    QTest::newRow("99") << "99" << ok;
    QTest::newRow("007") << "007" << ok;
    QTest::newRow("199") << "199" << ok;
    QTest::newRow("249") << "249" << ok;
    QTest::newRow("255") << "255" << ok;
    QTest::newRow("256") << "256" << no;
    QTest::newRow("260") << "260" << no;
    QTest::newRow("300") << "300" << no;
    QTest::newRow("four digits") << "0255" << no;
    QTest::newRow("negative") << "-1" << no;
    QTest::newRow("letters") << "1a" << no;
    QTest::newRow("space") << " 1" << no;
    QTest::newRow("Arabic-Indic one") << QString(QChar(0x0661)) << no;
}

void TstSuperRGB::validatorAcceptsOnlyValuesUpTo255()
{
    QFETCH(QString, text);
    QFETCH(QValidator::State, state);
    SuperRGB lamp(nullptr, 0, 0, 0, 0);
    int pos = 0;
    QCOMPARE(lamp.EditGreen->validator()->validate(text, pos), state);
}

void TstSuperRGB::typedValueMovesSliderAndKeepsTheTypedText()
{
    SuperRGB lamp(nullptr, 0, 0, 0, 0);
    QSignalSpy colors(&lamp, &SuperRGB::colorChanged);
    lamp.EditRed->setText("7");
    QCOMPARE(lamp.SliderRed->value(), 7);
    QCOMPARE(lamp.EditRed->text(), QString("7"));
    QCOMPARE(lamp.lampColor(), QColor(7, 0, 0));
    QCOMPARE(baseOf(lamp.EditRed), QColor(7, 0, 0));
    QCOMPARE(colors.last().at(0).value<QColor>(), QColor(7, 0, 0));

    // Same value typed again with a leading zero: the slider does not echo, text stays.
    lamp.EditRed->setText("07");
    QCOMPARE(lamp.EditRed->text(), QString("07"));
    QCOMPARE(lamp.SliderRed->value(), 7);

    // Emptying the field leaves the channel as it was.
    lamp.EditRed->setText("");
    QCOMPARE(lamp.SliderRed->value(), 7);
    QCOMPARE(lamp.lampColor(), QColor(7, 0, 0));

    // Moving the slider writes three digits again.
    lamp.SliderRed->setValue(42);
    QCOMPARE(lamp.EditRed->text(), QString("042"));

    // Real typing goes through the validator: 9 9 9 stops at 99.
    lamp.show();
    lamp.EditBlue->setFocus();
    lamp.EditBlue->selectAll();
    QTest::keyClicks(lamp.EditBlue, "999");
    QCOMPARE(lamp.EditBlue->text(), QString("99"));
    QCOMPARE(lamp.SliderBlue->value(), 99);
}

void TstSuperRGB::directChannelWriteMovesSliderAndField()
{
    SuperRGB lamp(nullptr, 0, 0, 0, 0);
    QSignalSpy colors(&lamp, &SuperRGB::colorChanged);
    lamp.setGreenColor(200);
    QCOMPARE(lamp.SliderGreen->value(), 200);
    QCOMPARE(lamp.EditGreen->text(), QString("200"));
    QCOMPARE(lamp.lampColor(), QColor(0, 200, 0));
    QCOMPARE(baseOf(lamp.EditColor), QColor(0, 200, 0));
    QVERIFY(colors.count() >= 1);
    QCOMPARE(colors.last().at(0).value<QColor>(), QColor(0, 200, 0));
}

void TstSuperRGB::outOfRangeChannelWriteStaysConsistent()
{
    // A channel takes a value modulo 256; slider, field and colour must all show that byte.
    SuperRGB lamp(nullptr, 0, 0, 0, 0);
    lamp.setRedColor(300);
    QCOMPARE(lamp.lampColor().red(), 44);
    QCOMPARE(lamp.SliderRed->value(), 44);
    QCOMPARE(lamp.EditRed->text(), QString("044"));
    QCOMPARE(baseOf(lamp.EditRed), QColor(44, 0, 0));
    lamp.setBlueColor(-1);
    QCOMPARE(lamp.lampColor().blue(), 255);
    QCOMPARE(lamp.SliderBlue->value(), 255);
    QCOMPARE(lamp.EditBlue->text(), QString("255"));
}

void TstSuperRGB::buttonsAndSlotsStepWithinRange()
{
    SuperRGB lamp(nullptr, 254, 1, 10, 0);
    QTest::mouseClick(lamp.ButtonRPlus, Qt::LeftButton);
    QTest::mouseClick(lamp.ButtonRPlus, Qt::LeftButton);
    QCOMPARE(lamp.SliderRed->value(), 255);
    QCOMPARE(lamp.EditRed->text(), QString("255"));
    QTest::mouseClick(lamp.ButtonGMinus, Qt::LeftButton);
    QTest::mouseClick(lamp.ButtonGMinus, Qt::LeftButton);
    QCOMPARE(lamp.SliderGreen->value(), 0);
    lamp.bluePlusPlus();
    QCOMPARE(lamp.lampColor(), QColor(255, 0, 11));
    lamp.blueMinusMinus();
    lamp.blueMinusMinus();
    QCOMPARE(lamp.lampColor(), QColor(255, 0, 9));
}

void TstSuperRGB::setRGBRunsTheWholeChain()
{
    SuperRGB lamp(nullptr, 0, 0, 0, 0);
    QSignalSpy colors(&lamp, &SuperRGB::colorChanged);
    lamp.setRGB(1, 2, 3);
    QCOMPARE(colors.size(), 1); // once for the three channels
    QCOMPARE(lamp.lampColor(), QColor(1, 2, 3));
    QCOMPARE(lamp.EditBlue->text(), QString("003"));
    QCOMPARE(colors.last().at(0).value<QColor>(), QColor(1, 2, 3));
    lamp.setRGB(4000000000u, 300, 0);
    QCOMPARE(lamp.lampColor(), QColor(255, 255, 0));
}

void TstSuperRGB::percentStepActsOnSelectedChannelsOnly()
{
    SuperRGB lamp(nullptr, 50, 100, 60, 0);
    lamp.selectGreen(true);
    lamp.changePercentifSelected(10);
    QCOMPARE(lamp.lampColor(), QColor(50, 115, 60));
    QCOMPARE(lamp.EditGreen->text(), QString("115"));
}

void TstSuperRGB::selectionSlots()
{
    SuperRGB lamp(nullptr, 0, 0, 0, 0);
    lamp.setAll(true);
    QVERIFY(lamp.isRedSelected() && lamp.isGreenSelected() && lamp.isBlueSelected());
    lamp.selectGreen(false);
    QVERIFY(lamp.isRedSelected() && !lamp.isGreenSelected() && lamp.isBlueSelected());
    lamp.setAll(false);
    lamp.selectBlue(true);
    QVERIFY(!lamp.isRedSelected() && !lamp.isGreenSelected() && lamp.isBlueSelected());
    lamp.setValueIfSelected(77);
    QCOMPARE(lamp.lampColor(), QColor(0, 0, 77));
}

void TstSuperRGB::dragOfSelectedSliderMovesEverySelectedSlider()
{
    QWidget strip;
    Relay relay;
    QList<SuperRGB *> lamps;
    for (int i = 0; i < 4; ++i) {
        auto *lamp = new SuperRGB(&strip, 10, 20, 30, quint16(i));
        lamp->move(i * 80, 0);
        relay.add(lamp);
        lamps << lamp;
    }
    strip.resize(320, 420);
    strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    lamps[1]->selectRed(true);
    lamps[3]->selectRed(true);
    lamps[2]->selectBlue(true);

    ColorSlider *dragged = lamps[1]->SliderRed;
    const int span = dragged->height() - 13; // the thumb is 13 pixels long at most
    const QPoint thumb(dragged->width() / 2, dragged->height() - 1 - 10 * span / 255 - 4);
    QTest::mousePress(dragged, Qt::LeftButton, Qt::NoModifier, thumb);
    QTest::mouseMove(dragged, thumb - QPoint(0, 90));
    QTest::mouseRelease(dragged, Qt::LeftButton, Qt::NoModifier, thumb - QPoint(0, 90));
    const int v = dragged->value();
    QVERIFY(v > 20);

    QCOMPARE(lamps[3]->lampColor(), QColor(v, 20, 30));
    QCOMPARE(lamps[2]->lampColor(), QColor(10, 20, v));
    QCOMPARE(lamps[1]->lampColor(), QColor(v, 20, 30));
    QCOMPARE(lamps[0]->lampColor(), QColor(10, 20, 30));
    QCOMPARE(lamps[3]->EditRed->text(), QString::number(v).rightJustified(3, '0'));

    // A page step on the groove moves only that slider.
    QTest::mouseClick(dragged, Qt::LeftButton, Qt::NoModifier, QPoint(dragged->width() / 2, 3));
    QVERIFY(dragged->value() != v);
    QCOMPARE(lamps[3]->lampColor().red(), v);
}

void TstSuperRGB::applyStyleReachesEveryWidgetInTheGroupBox()
{
    SuperRGB lamp(nullptr, 0, 0, 0, 0);
    QProxyStyle style;
    lamp.applyStyle(&style);
    QCOMPARE(lamp.LampGroupBox->style(), &style);
    const QList<QWidget *> inside = lamp.LampGroupBox->findChildren<QWidget *>();
    QVERIFY(inside.size() >= 17);
    for (QWidget *w : inside)
        QVERIFY2(w->style() == &style, qPrintable(w->objectName()));
}

QTEST_MAIN(TstSuperRGB)
#include "tst_super_rgb.moc"
