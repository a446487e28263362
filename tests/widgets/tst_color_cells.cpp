// Colour cells and frames: carrying colours between lamps by drag and drop, the colour dialog,
// and the overview cells' clicks, moves and scrolling.
#include "my_frame.h"
#include "scripted_widget_hooks.h"
#include "super_rgb.h"
#include "widget_retirement.h"

#include <QDialog>
#include <QSignalSpy>
#include <QtTest>

class TstColorCells : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void previewDragCopiesColourToAnotherLamp();
    void pressStartsACopyDragOfTheBaseColourOnly();
    void valueFieldPressDragsItsChannelAndStillTakesFocus();
    void dropsWithoutAUsableColourAreRefused();
    void valueFieldsAndSlidersRefuseDrops();
    void doubleClickOpensColourDialog();
    void otherButtonsStartNoDrag();
    void lampMayGoAwayWhileADragOrDialogRuns();
    void retiredFieldOutlivesTheDialogItOpened();
    void frameClickReportsItsIndex();
    void frameMovesAndScrolls();
    void frameReportsMovesResizesAndColourDrags();
};

void TstColorCells::previewDragCopiesColourToAnotherLamp()
{
    ScriptedWidgetHooks hooks;
    QWidget strip;
    QList<SuperRGB *> lamps;
    for (int i = 0; i < 8; ++i)
        lamps << new SuperRGB(&strip, quint8(i * 30), quint8(255 - i * 30), quint8(i), quint16(i));
    const QColor lamp3 = lamps[3]->lampColor();
    QSignalSpy changed7(lamps[7], &SuperRGB::colorChanged);

    hooks.dropTarget = lamps[7]->EditColor;
    QTest::mousePress(lamps[3]->EditColor, Qt::LeftButton);
    QCOMPARE(hooks.drags.size(), 1);

    QCOMPARE(lamps[7]->lampColor(), lamp3);
    QCOMPARE(lamps[7]->SliderRed->value(), lamp3.red());
    QCOMPARE(lamps[7]->SliderGreen->value(), lamp3.green());
    QCOMPARE(lamps[7]->SliderBlue->value(), lamp3.blue());
    QCOMPARE(lamps[7]->EditGreen->text(), QString::number(lamp3.green()).rightJustified(3, '0'));
    QCOMPARE(lamps[7]->EditColor->palette().color(QPalette::Base), lamp3);
    QVERIFY(changed7.count() > 0);
    QCOMPARE(changed7.last().at(0).value<QColor>(), lamp3);
    QCOMPARE(lamps[3]->lampColor(), lamp3);
}

void TstColorCells::pressStartsACopyDragOfTheBaseColourOnly()
{
    ScriptedWidgetHooks hooks;
    SuperRGB lamp(nullptr, 12, 34, 56, 0);
    QTest::mousePress(lamp.EditColor, Qt::LeftButton);
    QCOMPARE(hooks.drags.size(), 1);
    const auto &d = hooks.drags.first();
    QCOMPARE(d.formats, QStringList{"application/x-color"});
    QCOMPARE(d.color, QColor(12, 34, 56));
    QCOMPARE(d.actions, Qt::DropActions(Qt::CopyAction));
    QCOMPARE(d.source, static_cast<QObject *>(lamp.EditColor));
}

void TstColorCells::valueFieldPressDragsItsChannelAndStillTakesFocus()
{
    ScriptedWidgetHooks hooks;
    SuperRGB lamp(nullptr, 200, 100, 50, 0);
    lamp.show();
    QVERIFY(QTest::qWaitForWindowExposed(&lamp));
    lamp.activateWindow();
    QTest::mouseClick(lamp.EditRed, Qt::LeftButton);
    QCOMPARE(hooks.drags.size(), 1);
    QCOMPARE(hooks.drags.first().color, QColor(200, 0, 0));
    QVERIFY(lamp.EditRed->hasFocus());
    // The press never placed a cursor or changed the text; typing still edits the value. The
    // field is full (three digits), so the click must leave the value ready to be typed over.
    QCOMPARE(lamp.EditRed->text(), QString("200"));
    QTest::keyClicks(lamp.EditRed, "9");
    QCOMPARE(lamp.SliderRed->value(), 9);
    QCOMPARE(lamp.EditRed->text(), QString("9"));

    // The same for a field reached by a click from another field.
    QTest::mouseClick(lamp.EditBlue, Qt::LeftButton);
    QVERIFY(lamp.EditBlue->hasFocus());
    QTest::keyClicks(lamp.EditBlue, "17");
    QCOMPARE(lamp.lampColor(), QColor(9, 100, 17));
}

void TstColorCells::dropsWithoutAUsableColourAreRefused()
{
    SuperRGB lamp(nullptr, 1, 2, 3, 0);
    QSignalSpy red(lamp.EditColor, &ColorLineEdit::redChanged);

    QMimeData text;
    text.setText("255,0,0");
    QCOMPARE(ScriptedWidgetHooks::deliverDrop(lamp.EditColor, &text, Qt::CopyAction),
             Qt::IgnoreAction);

    // Colour data that does not hold a valid colour must not turn the lamp black.
    QMimeData broken;
    broken.setColorData(QColor());
    QCOMPARE(ScriptedWidgetHooks::deliverDrop(lamp.EditColor, &broken, Qt::CopyAction),
             Qt::IgnoreAction);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &broken, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(lamp.EditColor, &drop);

    QCOMPARE(red.count(), 0);
    QCOMPARE(lamp.lampColor(), QColor(1, 2, 3));
    QCOMPARE(lamp.EditColor->palette().color(QPalette::Base), QColor(1, 2, 3));

    QMimeData good;
    good.setColorData(QColor(9, 8, 7));
    QCOMPARE(ScriptedWidgetHooks::deliverDrop(lamp.EditColor, &good, Qt::CopyAction),
             Qt::CopyAction);
    QCOMPARE(lamp.lampColor(), QColor(9, 8, 7));

    // A translucent colour of the lamp's own channels changes no slider; the cell must still
    // show the lamp opaque.
    QMimeData clear;
    clear.setColorData(QColor(9, 8, 7, 0));
    ScriptedWidgetHooks::deliverDrop(lamp.EditColor, &clear, Qt::CopyAction);
    QCOMPARE(lamp.EditColor->palette().color(QPalette::Base), QColor(9, 8, 7, 255));
}

void TstColorCells::valueFieldsAndSlidersRefuseDrops()
{
    SuperRGB lamp(nullptr, 1, 2, 3, 0);
    QMimeData good;
    good.setColorData(QColor(9, 8, 7));
    for (QWidget *w : std::initializer_list<QWidget *>{lamp.EditRed, lamp.EditGreen, lamp.EditBlue,
                                                       lamp.SliderRed})
        QCOMPARE(ScriptedWidgetHooks::deliverDrop(w, &good, Qt::CopyAction), Qt::IgnoreAction);
    QCOMPARE(lamp.lampColor(), QColor(1, 2, 3));
}

void TstColorCells::doubleClickOpensColourDialog()
{
    ScriptedWidgetHooks hooks;
    SuperRGB lamp(nullptr, 10, 20, 30, 0);
    QSignalSpy colors(&lamp, &SuperRGB::colorChanged);

    QTest::mouseDClick(lamp.EditColor, Qt::LeftButton); // cancelled
    QCOMPARE(hooks.dialogInitials, QList<QColor>{QColor(10, 20, 30)});
    QCOMPARE(hooks.dialogsWithParent, 1);
    QCOMPARE(lamp.lampColor(), QColor(10, 20, 30));
    QCOMPARE(colors.count(), 0);

    hooks.colorAnswers << QColor(255, 255, 0);
    QTest::mouseDClick(lamp.EditColor, Qt::LeftButton);
    QCOMPARE(lamp.lampColor(), QColor(255, 255, 0));
    QCOMPARE(lamp.SliderRed->value(), 255);
    QCOMPARE(lamp.SliderGreen->value(), 255);
    QCOMPARE(lamp.SliderBlue->value(), 0);
    QCOMPARE(lamp.EditBlue->text(), QString("000"));
}

void TstColorCells::otherButtonsStartNoDrag()
{
    ScriptedWidgetHooks hooks;
    SuperRGB lamp(nullptr, 10, 20, 30, 0);
    QTest::mousePress(lamp.EditColor, Qt::RightButton);
    QTest::mousePress(lamp.EditColor, Qt::MiddleButton);
    QVERIFY(hooks.drags.isEmpty());
}

void TstColorCells::lampMayGoAwayWhileADragOrDialogRuns()
{
    // Both run nested event loops in which the window may rebuild its lamps.
    struct Destroying : ScriptedWidgetHooks
    {
        QPointer<SuperRGB> victim;
        QColor getColor(const QColor &, QWidget *) override
        {
            delete victim.data();
            return QColor(1, 2, 3);
        }
        Qt::DropAction execDrag(QDrag *drag, Qt::DropActions) override
        {
            delete drag;
            delete victim.data();
            return Qt::IgnoreAction;
        }
    } hooks;
    hooks.victim = new SuperRGB(nullptr, 10, 20, 30, 0);
    ColorLineEdit *cell = hooks.victim->EditColor;
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 3), QPointF(3, 3), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(cell, &press);
    QVERIFY(hooks.victim.isNull());

    hooks.victim = new SuperRGB(nullptr, 10, 20, 30, 0);
    cell = hooks.victim->EditColor;
    QMouseEvent dclick(QEvent::MouseButtonDblClick, QPointF(3, 3), QPointF(3, 3), Qt::LeftButton,
                       Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(cell, &dclick);
    QVERIFY(hooks.victim.isNull());
}

void TstColorCells::retiredFieldOutlivesTheDialogItOpened()
{
    // A field's colour dialog is its child, on the stack of the field's double-click, and the
    // window's timers run in the dialog's event loop: a lower lamp count may retire the field
    // there. The dialog closes, and the field goes only when control is back in the outermost
    // event loop, however the loops in between look at their deferred deletions.
    QWidget window;
    QPointer<QLineEdit> field = new QLineEdit(&window);
    window.show();
    QApplication::setActiveWindow(&window);
    QEventLoop outer;
    QTimer::singleShot(0, &outer, [&] {
        field->setFocus();
        QDialog dialog(field);
        QTimer::singleShot(0, &dialog, [&] {
            lm740::retireWidget(field);
            QVERIFY(!dialog.isVisible());
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        });
        dialog.exec();
        QVERIFY(field && field->isHidden() && !field->isEnabled() && !field->hasFocus());
        outer.quit();
    });
    outer.exec();
    QTRY_VERIFY(!field);
}

void TstColorCells::frameClickReportsItsIndex()
{
    MyFrame inert(nullptr, Qt::black, -1);
    MyFrame cell(nullptr, Qt::red, 12);
    QSignalSpy inertClicks(&inert, &MyFrame::ClickIndex);
    QSignalSpy clicks(&cell, &MyFrame::ClickIndex);
    QVERIFY(!inert.testAttribute(Qt::WA_SetCursor));
    QCOMPARE(cell.cursor().shape(), Qt::PointingHandCursor);

    QTest::mouseClick(&inert, Qt::LeftButton);
    QTest::mousePress(&cell, Qt::LeftButton);
    QTest::mousePress(&cell, Qt::RightButton);
    QCOMPARE(inertClicks.count(), 0);
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(clicks.at(0).at(0).toInt(), 12);
    QCOMPARE(clicks.at(1).at(0).toInt(), 12);
    QCOMPARE(cell.frameColor(), QColor(Qt::red));
    QCOMPARE(cell.palette().color(QPalette::Base), QColor(Qt::red));
    cell.setColor(QColor(1, 2, 3));
    QCOMPARE(cell.frameColor(), QColor(1, 2, 3));
    QCOMPARE(cell.palette().color(QPalette::Base), QColor(1, 2, 3));
}

void TstColorCells::frameMovesAndScrolls()
{
    QWidget viewport;
    auto *strip = new MyFrame(&viewport, Qt::black, -1);
    strip->setGeometry(7, 9, 500, 40);
    strip->posx(30);
    QCOMPARE(strip->pos(), QPoint(-30, 0));
    QCOMPARE(strip->size(), QSize(500, 40));
    strip->right(true);
    QCOMPARE(strip->pos(), QPoint(-25, 0));
    strip->left(false);
    strip->left(false);
    QCOMPARE(strip->pos(), QPoint(-35, 0));
    strip->refresh(true);
}

void TstColorCells::frameReportsMovesResizesAndColourDrags()
{
    MyFrame edge(nullptr, Qt::black, -1);
    edge.setMouseTracking(true);
    QSignalSpy inside(&edge, &MyFrame::mouseInside);
    QSignalSpy resized(&edge, &MyFrame::frameResized);
    edge.resize(25, 430);
    edge.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edge));
    QVERIFY(resized.count() >= 1);

    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&edge, &move);
    QCOMPARE(inside.count(), 1);

    // A colour drag held over the frame keeps it reporting, so the strip scrolls under it.
    QMimeData color;
    color.setColorData(QColor(Qt::green));
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &color, Qt::LeftButton, Qt::NoModifier);
    enter.ignore();
    QCoreApplication::sendEvent(&edge, &enter);
    QVERIFY(enter.isAccepted());
    QDragMoveEvent over(QPoint(6, 6), Qt::CopyAction, &color, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&edge, &over);
    QCOMPARE(inside.count(), 2);

    QMimeData text;
    text.setText("x");
    QDragEnterEvent textEnter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    textEnter.ignore();
    QCoreApplication::sendEvent(&edge, &textEnter);
    QVERIFY(!textEnter.isAccepted());
}

QTEST_MAIN(TstColorCells)
#include "tst_color_cells.moc"
