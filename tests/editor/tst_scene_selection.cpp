// Panel-wide slider selection: the channel toggles, dragging and setting all selected sliders,
// percent steps, and copy and paste of selected channel values through the system clipboard.
#include "scene.h"

#include "color_arrays.h"
#include "color_slider.h"
#include "my_frame.h"
#include "super_rgb.h"

#include <QClipboard>
#include <QMimeData>
#include <QSignalSpy>
#include <QtTest>

using testcolors::ColorArray;

namespace {

ColorSlider *red(const Scene &s, int i)
{
    return s.lamp(i)->findChild<ColorSlider *>("SliderRed");
}
ColorSlider *green(const Scene &s, int i)
{
    return s.lamp(i)->findChild<ColorSlider *>("SliderGreen");
}
ColorSlider *blue(const Scene &s, int i)
{
    return s.lamp(i)->findChild<ColorSlider *>("SliderBlue");
}
// Channel 0 red, 1 green, 2 blue.
ColorSlider *channel(const Scene &s, int i, int ch)
{
    return ch == 0 ? red(s, i) : ch == 1 ? green(s, i) : blue(s, i);
}
int value(const QColor &c, int ch)
{
    return ch == 0 ? c.red() : ch == 1 ? c.green() : c.blue();
}

// "rgb" letters per lamp for the sliders that are selected, "-" for none.
QStringList selection(const Scene &s)
{
    QStringList out;
    for (int i = 0; i < s.lampCount(); ++i) {
        QString l;
        if (red(s, i)->isSelected())
            l += 'r';
        if (green(s, i)->isSelected())
            l += 'g';
        if (blue(s, i)->isSelected())
            l += 'b';
        out << (l.isEmpty() ? "-" : l);
    }
    return out;
}

void putOnClipboard(const char *format, const QByteArray &bytes)
{
    auto *mime = new QMimeData;
    mime->setData(format, bytes);
    QApplication::clipboard()->setMimeData(mime);
}

QByteArray clipboardBytes(const char *format)
{
    const QMimeData *m = QApplication::clipboard()->mimeData();
    return m ? m->data(format) : QByteArray();
}

} // namespace

class TstSceneSelection : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void selectAllTogglesOnTheFlags();
    void channelTogglesIgnoreHandSelection();
    void setAllLeavesTheFlags();
    void draggingOneSelectedSliderMovesAllSelected_data();
    void draggingOneSelectedSliderMovesAllSelected();
    void setSelectedAndPercentTouchOnlySelected();
    void copyPutsSelectedChannelsInLampOrder();
    void copyWithNothingSelectedClearsTheClipboard();
    void pasteRepeatsOrCutsThePayload();
    void pasteMapsByPositionNotByColour();
    void pasteIgnoresForeignOrEmptyData();
    void pasteInChaserModeUpdatesThePreview();
};

void TstSceneSelection::selectAllTogglesOnTheFlags()
{
    Scene s(nullptr, 3, nullptr);
    s.selectRed();
    QCOMPARE(s.getSelectionFlags(), quint8(1));
    QCOMPARE(selection(s), (QStringList{"r", "r", "r"}));

    // One bit set is enough for select-all to deselect everything.
    s.selectAll();
    QCOMPARE(s.getSelectionFlags(), quint8(0));
    QCOMPARE(selection(s), (QStringList{"-", "-", "-"}));
    s.selectAll();
    QCOMPARE(s.getSelectionFlags(), quint8(7));
    QCOMPARE(selection(s), (QStringList{"rgb", "rgb", "rgb"}));
    s.selectAll();
    QCOMPARE(selection(s), (QStringList{"-", "-", "-"}));
}

void TstSceneSelection::channelTogglesIgnoreHandSelection()
{
    Scene s(nullptr, 3, nullptr);
    red(s, 1)->setSelected(true); // by hand: the flags do not know
    blue(s, 2)->setSelected(true);
    QCOMPARE(s.getSelectionFlags(), quint8(0));

    s.selectRed();
    QCOMPARE(selection(s), (QStringList{"r", "r", "rb"}));
    s.selectRed();
    QCOMPARE(selection(s), (QStringList{"-", "-", "b"}));
    s.selectGreen();
    QCOMPARE(s.getSelectionFlags(), quint8(2));
    s.selectBlue();
    QCOMPARE(s.getSelectionFlags(), quint8(6));
    QCOMPARE(selection(s), (QStringList{"gb", "gb", "gb"}));
    s.selectGreen();
    QCOMPARE(s.getSelectionFlags(), quint8(4));
    QCOMPARE(selection(s), (QStringList{"b", "b", "b"}));
}

void TstSceneSelection::setAllLeavesTheFlags()
{
    Scene s(nullptr, 2, nullptr);
    s.setAll(true);
    QCOMPARE(selection(s), (QStringList{"rgb", "rgb"}));
    QCOMPARE(s.getSelectionFlags(), quint8(0));
    // So select-all, seeing no flag, selects (again) rather than deselects.
    s.selectAll();
    QCOMPARE(selection(s), (QStringList{"rgb", "rgb"}));
    s.setAll(false);
    QCOMPARE(s.getSelectionFlags(), quint8(7));
    QCOMPARE(selection(s), (QStringList{"-", "-"}));

    // New lamps come unselected whatever the flags say.
    s.selectAll();
    s.selectAll();
    s.addLamps(1, nullptr);
    QCOMPARE(selection(s).last(), QString("-"));
}

void TstSceneSelection::draggingOneSelectedSliderMovesAllSelected_data()
{
    QTest::addColumn<int>("grabbed"); // 0 red, 1 green, 2 blue
    QTest::newRow("red") << 0;
    QTest::newRow("green") << 1;
    QTest::newRow("blue") << 2;
}

void TstSceneSelection::draggingOneSelectedSliderMovesAllSelected()
{
    QFETCH(int, grabbed);
    const int other = (grabbed + 1) % 3;
    ColorArray c = testcolors::numberedColors();
    Scene s(nullptr, 4, c.data());
    channel(s, 0, grabbed)->setSelected(true);
    channel(s, 2, grabbed)->setSelected(true); // the same channel of another lamp
    channel(s, 3, other)->setSelected(true);

    ColorSlider *slider = channel(s, 0, grabbed);
    slider->setSliderDown(true);
    slider->setSliderPosition(200);
    slider->setSliderDown(false);
    for (auto [lamp, ch] : {std::pair{0, grabbed}, {2, grabbed}, {3, other}}) {
        QCOMPARE(value(s.lamp(lamp)->lampColor(), ch), 200);
        QCOMPARE(value(s.colorCell(lamp)->frameColor(), ch), 200);
    }
    // Unselected channels and lamps stay.
    QCOMPARE(s.lamp(1)->lampColor(), c[1]);
    QCOMPARE(value(s.lamp(2)->lampColor(), other), value(c[2], other));

    // A drag of an unselected slider moves only that slider.
    ColorSlider *plain = channel(s, 1, grabbed);
    plain->setSliderDown(true);
    plain->setSliderPosition(17);
    plain->setSliderDown(false);
    QCOMPARE(value(s.lamp(1)->lampColor(), grabbed), 17);
    QCOMPARE(value(s.lamp(2)->lampColor(), grabbed), 200);
}

void TstSceneSelection::setSelectedAndPercentTouchOnlySelected()
{
    ColorArray c;
    c.fill(QColor(0, 0, 0));
    c[0] = QColor(0, 100, 250);
    c[1] = QColor(3, 100, 0);
    Scene s(nullptr, 2, c.data());
    s.setAll(true);
    green(s, 1)->setSelected(false);

    s.changePercentifSelected(5);
    QCOMPARE(s.lamp(0)->lampColor(), QColor(5, 110, 255));
    QCOMPARE(s.lamp(1)->lampColor(), QColor(8, 100, 5));
    s.changePercentifSelected(-5);
    s.changePercentifSelected(-5);
    QCOMPARE(s.lamp(0)->lampColor(), QColor(0, 90, 222));
    QCOMPARE(s.lamp(1)->lampColor(), QColor(0, 100, 0));

    // Each lamp that follows is reported once, in its new colour, however many of its channels
    // moved; a lamp that did not change is not reported at all.
    QSignalSpy edited(&s, &Scene::lampEdited);
    s.setSelected(255);
    QCOMPARE(s.lamp(0)->lampColor(), QColor(255, 255, 255));
    QCOMPARE(s.lamp(1)->lampColor(), QColor(255, 100, 255));
    QCOMPARE(s.colorCell(1)->frameColor(), QColor(255, 100, 255));
    QCOMPARE(edited, (QList<QVariantList>{{0, QColor(255, 255, 255)}, {1, QColor(255, 100, 255)}}));
    s.setSelected(0);
    QCOMPARE(s.lamp(1)->lampColor(), QColor(0, 100, 0));
    edited.clear();
    s.setSelected(0);
    s.changePercentifSelected(-5);
    QCOMPARE(edited.size(), 0);
    s.changePercentifSelected(5);
    QCOMPARE(edited, (QList<QVariantList>{{0, QColor(5, 5, 5)}, {1, QColor(5, 100, 5)}}));
}

void TstSceneSelection::copyPutsSelectedChannelsInLampOrder()
{
    ColorArray c = testcolors::numberedColors();
    Scene s(nullptr, 3, c.data());
    s.lamp(0)->setAll(true);
    blue(s, 2)->setSelected(true);

    QCOMPARE(s.copySelected(), 4);
    const QMimeData *m = QApplication::clipboard()->mimeData();
    QVERIFY(m->hasFormat("color_array"));
    QVERIFY(!m->hasFormat("no_data"));
    QByteArray expected;
    for (int v : {c[0].red(), c[0].green(), c[0].blue(), c[2].blue()})
        expected.append(char(v));
    QCOMPARE(clipboardBytes("color_array"), expected);
    // Copying leaves the selection as it was.
    QCOMPARE(selection(s), (QStringList{"rgb", "-", "b"}));

    // Values above 127 go out as unsigned bytes and come back so.
    s.setSelected(250);
    QCOMPARE(s.copySelected(), 4);
    QCOMPARE(clipboardBytes("color_array"), QByteArray(4, char(250)));

    // A full strip is 510 bytes.
    Scene full(nullptr, 170, nullptr);
    full.setAll(true);
    QCOMPARE(full.copySelected(), 510);
    QCOMPARE(clipboardBytes("color_array").size(), 510);
}

void TstSceneSelection::copyWithNothingSelectedClearsTheClipboard()
{
    putOnClipboard("color_array", "abc");
    Scene s(nullptr, 3, nullptr);
    QCOMPARE(s.copySelected(), 0);
    const QMimeData *m = QApplication::clipboard()->mimeData();
    QVERIFY(m->hasFormat("no_data"));
    QVERIFY(!m->hasFormat("color_array"));
    QVERIFY(m->data("no_data").isEmpty());
    s.setAll(true);
    QCOMPARE(s.pasteSelected(), 0);
}

void TstSceneSelection::pasteRepeatsOrCutsThePayload()
{
    ColorArray c = testcolors::numberedColors();
    Scene s(nullptr, 12, c.data());
    s.lamp(0)->setAll(true);
    QCOMPARE(s.copySelected(), 3);
    s.setAll(false);

    // One lamp's colour into ten fully selected lamps: 30 values, each lamp takes the colour.
    for (int i = 1; i <= 10; ++i)
        s.lamp(i)->setAll(true);
    QCOMPARE(s.pasteSelected(), 30);
    for (int i = 1; i <= 10; ++i)
        QCOMPARE(s.lamp(i)->lampColor(), c[0]);
    QCOMPARE(s.lamp(11)->lampColor(), c[11]);
    QCOMPARE(s.colorCell(10)->frameColor(), c[0]);

    // A payload longer than the selection is cut.
    s.setAll(false);
    green(s, 11)->setSelected(true);
    putOnClipboard("color_array", QByteArray("\x07\x08\x09", 3));
    QCOMPARE(s.pasteSelected(), 1);
    QCOMPARE(s.lamp(11)->lampColor(), QColor(c[11].red(), 7, c[11].blue()));
}

void TstSceneSelection::pasteMapsByPositionNotByColour()
{
    ColorArray c = testcolors::numberedColors();
    Scene s(nullptr, 15, c.data());
    for (int i = 0; i <= 4; ++i)
        red(s, i)->setSelected(true);
    QCOMPARE(s.copySelected(), 5);
    s.setAll(false);
    for (int i = 10; i <= 14; ++i)
        blue(s, i)->setSelected(true);
    QCOMPARE(s.pasteSelected(), 5);
    for (int i = 10; i <= 14; ++i) {
        QCOMPARE(s.lamp(i)->lampColor().blue(), c[i - 10].red());
        QCOMPARE(s.lamp(i)->lampColor().red(), c[i].red());
    }
}

void TstSceneSelection::pasteIgnoresForeignOrEmptyData()
{
    ColorArray c = testcolors::numberedColors();
    Scene s(nullptr, 2, c.data());
    s.setAll(true);

    QApplication::clipboard()->setText("255 255 255");
    QCOMPARE(s.pasteSelected(), 0);
    putOnClipboard("color_array", QByteArray());
    QCOMPARE(s.pasteSelected(), 0);
    QApplication::clipboard()->clear();
    QCOMPARE(s.pasteSelected(), 0);
    QCOMPARE(s.lamp(0)->lampColor(), c[0]);
    QCOMPARE(s.lamp(1)->lampColor(), c[1]);

    // Any program may put colour bytes there; one byte fills every selected channel.
    putOnClipboard("color_array", QByteArray(1, char(0xC8)));
    QCOMPARE(s.pasteSelected(), 6);
    QCOMPARE(s.lamp(1)->lampColor(), QColor(200, 200, 200));
}

void TstSceneSelection::pasteInChaserModeUpdatesThePreview()
{
    ColorArray c = testcolors::numberedColors();
    Scene s(nullptr, 6, c.data());
    s.setPatternLen(2);
    s.setRepeat(3);
    s.setChasersMode();
    s.setMode(Scene::Mode::Chaser);
    s.chaser_calculate(0);
    QCOMPARE(s.chaserCell(4)->frameColor(), c[0]);

    putOnClipboard("color_array", QByteArray("\x01\x02\x03", 3));
    s.lamp(0)->setAll(true);
    QCOMPARE(s.pasteSelected(), 3);
    for (int i : {0, 2, 4})
        QCOMPARE(s.chaserCell(i)->frameColor(), QColor(1, 2, 3));
    QCOMPARE(s.chaserCell(5)->frameColor(), c[1]);

    // So do set-all-selected and percent steps.
    s.setSelected(90);
    QCOMPARE(s.chaserCell(2)->frameColor(), QColor(90, 90, 90));
    s.changePercentifSelected(5);
    QCOMPARE(s.chaserCell(4)->frameColor(), QColor(99, 99, 99));
}

QTEST_MAIN(TstSceneSelection)
#include "tst_scene_selection.moc"
