// Keys typed into the spin boxes and the lamp's fields reach the window first, exactly once,
// and are then applied by the field itself.
#include "color_line_edit.h"
#include "my_double_spin.h"
#include "my_spin.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QVBoxLayout>
#include <QtTest>

namespace {

// Stands in for the main window: records the keys that reach it and, like the window, accepts
// every key it is given.
class KeyWindow : public QWidget
{
public:
    QList<QPair<int, Qt::KeyboardModifiers>> keys;
    std::function<void(int)> onKey;

protected:
    void keyPressEvent(QKeyEvent *e) override
    {
        // QTest presses the modifier keys themselves too; they are no commands.
        if (e->key() == Qt::Key_Control || e->key() == Qt::Key_Shift)
            return;
        keys.append({e->key(), e->modifiers()});
        if (onKey)
            onKey(e->key());
    }
};

} // namespace

class TstSpinBoxes : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fieldsAreWhite();
    void commandKeyReachesWindowAndSpinBox();
    void digitIsTypedAndOfferedOnce();
    void keyTheFieldIgnoresReachesWindowOnlyOnce_data();
    void keyTheFieldIgnoresReachesWindowOnlyOnce();
    void windowMayDeleteTheFieldWhileHandlingItsKey_data();
    void windowMayDeleteTheFieldWhileHandlingItsKey();
    void windowCopyIsNotOverwrittenByTheFieldsText_data();
    void windowCopyIsNotOverwrittenByTheFieldsText();
    void pasteOfColoursLeavesTheFieldsText_data();
    void pasteOfColoursLeavesTheFieldsText();
    void fieldWithoutParentStillWorks();
    void timeBoxTakesEitherDecimalPoint_data();
    void timeBoxTakesEitherDecimalPoint();
};

void TstSpinBoxes::fieldsAreWhite()
{
    MySpin spin;
    MyDoubleSpin dspin;
    QCOMPARE(spin.palette().color(QPalette::Base), QColor(Qt::white));
    QCOMPARE(dspin.palette().color(QPalette::Base), QColor(Qt::white));
}

void TstSpinBoxes::commandKeyReachesWindowAndSpinBox()
{
    KeyWindow window;
    auto *container = new QWidget(&window); // keys travel on up through plain widgets
    auto *spin = new MySpin(container);
    auto *dspin = new MyDoubleSpin(container);
    auto *layout = new QVBoxLayout(container);
    layout->addWidget(spin);
    layout->addWidget(dspin);
    spin->setRange(0, 170);
    spin->setValue(10);
    dspin->setRange(0, 60);
    dspin->setSingleStep(0.1);
    dspin->setValue(1.0);
    window.show();

    QTest::keyClick(spin, Qt::Key_Up, Qt::KeypadModifier);
    QCOMPARE(window.keys.size(), 1);
    QCOMPARE(window.keys[0].first, int(Qt::Key_Up));
    QCOMPARE(spin->value(), 11);

    QTest::keyClick(dspin, Qt::Key_Down, Qt::KeypadModifier);
    QCOMPARE(window.keys.size(), 2);
    QCOMPARE(dspin->value(), 0.9);
}

void TstSpinBoxes::digitIsTypedAndOfferedOnce()
{
    KeyWindow window;
    auto *spin = new MySpin(&window);
    spin->setRange(0, 999);
    spin->setValue(0);
    window.show();
    spin->selectAll();
    QTest::keyClicks(spin, "42");
    QCOMPARE(spin->value(), 42);
    QCOMPARE(window.keys.size(), 2);
}

void TstSpinBoxes::keyTheFieldIgnoresReachesWindowOnlyOnce_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("MySpin") << 0;
    QTest::newRow("MyDoubleSpin") << 1;
    QTest::newRow("ColorLineEdit") << 2;
}

void TstSpinBoxes::keyTheFieldIgnoresReachesWindowOnlyOnce()
{
    // Ctrl+R toggles the red channel in the window: were it delivered twice, the second toggle
    // would undo the first.
    QFETCH(int, kind);
    KeyWindow window;
    QWidget *field = nullptr;
    if (kind == 0)
        field = new MySpin(&window);
    else if (kind == 1)
        field = new MyDoubleSpin(&window);
    else
        field = new ColorLineEdit(&window);
    window.show();
    QTest::keyClick(field, Qt::Key_R, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_F5);
    QCOMPARE(window.keys.size(), 2);
    QCOMPARE(window.keys[0].first, int(Qt::Key_R));
    QCOMPARE(window.keys[0].second, Qt::KeyboardModifiers(Qt::ControlModifier));
    // Select All is the field's own (the window's would select every slider).
    auto *line = kind == 2 ? qobject_cast<QLineEdit *>(field) : field->findChild<QLineEdit *>();
    line->setText("143");
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(window.keys.size(), 2);
    QCOMPARE(line->selectedText(), QString("143"));
}

void TstSpinBoxes::windowMayDeleteTheFieldWhileHandlingItsKey_data()
{
    keyTheFieldIgnoresReachesWindowOnlyOnce_data();
}

void TstSpinBoxes::windowMayDeleteTheFieldWhileHandlingItsKey()
{
    // A window command may rebuild the lamps, destroying the field the key was typed in.
    QFETCH(int, kind);
    KeyWindow window;
    QPointer<QWidget> field;
    if (kind == 0)
        field = new MySpin(&window);
    else if (kind == 1)
        field = new MyDoubleSpin(&window);
    else
        field = new ColorLineEdit(&window);
    window.onKey = [&](int) { delete field.data(); };
    window.show();
    // One press only: the release would have no field left to go to.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Up, Qt::ControlModifier);
    QCoreApplication::sendEvent(field.data(), &press);
    QVERIFY(field.isNull());
    QCOMPARE(window.keys.size(), 1);
}

void TstSpinBoxes::windowCopyIsNotOverwrittenByTheFieldsText_data()
{
    keyTheFieldIgnoresReachesWindowOnlyOnce_data();
}

void TstSpinBoxes::windowCopyIsNotOverwrittenByTheFieldsText()
{
    // Ctrl+C copies the selected colours; a field that has its text selected (as it does after
    // Tab or a step) must not then replace them with that text.
    QFETCH(int, kind);
    KeyWindow window;
    window.onKey = [](int key) {
        if (key != Qt::Key_C)
            return;
        auto *mime = new QMimeData;
        mime->setData("color_array", QByteArray("\x01\x02\x03", 3));
        QGuiApplication::clipboard()->setMimeData(mime);
    };
    QWidget *field = nullptr;
    if (kind == 0) {
        auto *spin = new MySpin(&window);
        spin->setValue(30);
        spin->selectAll();
        field = spin;
    } else if (kind == 1) {
        auto *spin = new MyDoubleSpin(&window);
        spin->setValue(1.5);
        spin->selectAll();
        field = spin;
    } else {
        auto *edit = new ColorLineEdit(&window);
        edit->setText("143");
        edit->selectAll();
        field = edit;
    }
    window.show();
    QGuiApplication::clipboard()->setText("before");
    QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(window.keys.size(), 1);
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    QVERIFY(mime);
    QCOMPARE(mime->data("color_array"), QByteArray("\x01\x02\x03", 3));
    QVERIFY(!mime->hasText());

    // Other keys are still the field's own: Ctrl+X still cuts its text.
    if (auto *edit = qobject_cast<QLineEdit *>(field)) {
        edit->selectAll();
        QTest::keyClick(field, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(edit->text(), QString());
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("143"));
    }
}

void TstSpinBoxes::pasteOfColoursLeavesTheFieldsText_data()
{
    keyTheFieldIgnoresReachesWindowOnlyOnce_data();
}

void TstSpinBoxes::pasteOfColoursLeavesTheFieldsText()
{
    // Ctrl+V pastes copied colours in the window. The clipboard then holds no text, and the
    // field's own paste of nothing must not wipe out its selected text.
    QFETCH(int, kind);
    KeyWindow window;
    QLineEdit *line = nullptr;
    QWidget *field = nullptr;
    if (kind == 0) {
        auto *spin = new MySpin(&window);
        spin->setValue(30);
        field = spin;
        line = spin->findChild<QLineEdit *>();
    } else if (kind == 1) {
        auto *spin = new MyDoubleSpin(&window);
        spin->setValue(1.5);
        field = spin;
        line = spin->findChild<QLineEdit *>();
    } else {
        line = new ColorLineEdit(&window);
        line->setText("143");
        field = line;
    }
    QVERIFY(line);
    const QString text = line->text();
    window.show();

    auto *mime = new QMimeData;
    mime->setData("color_array", QByteArray("\x01\x02\x03", 3));
    QGuiApplication::clipboard()->setMimeData(mime);
    line->selectAll();
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(window.keys.size(), 1);
    QCOMPARE(line->text(), text);

    // Text on the clipboard is still pasted into the field as usual.
    QGuiApplication::clipboard()->setText("12");
    line->selectAll();
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(window.keys.size(), 2);
    QVERIFY2(line->text().startsWith("12"), qPrintable(line->text()));
}

void TstSpinBoxes::fieldWithoutParentStillWorks()
{
    MySpin spin;
    spin.setRange(0, 10);
    spin.setValue(3);
    QTest::keyClick(&spin, Qt::Key_Up);
    QCOMPARE(spin.value(), 4);
    ColorLineEdit edit;
    QTest::keyClicks(&edit, "12");
    QCOMPARE(edit.text(), QString("12"));
}

void TstSpinBoxes::timeBoxTakesEitherDecimalPoint_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("value");
    for (const char *language : {"en_US", "pl_PL", "de_DE"}) {
        QTest::addRow("%s, 0.5", language) << language << "0.5" << 0.5;
        QTest::addRow("%s, 0,5", language) << language << "0,5" << 0.5;
        QTest::addRow("%s, 12.25", language) << language << "12.25" << 12.25;
        QTest::addRow("%s, 7", language) << language << "7" << 7.0;
    }
}

void TstSpinBoxes::timeBoxTakesEitherDecimalPoint()
{
    // In Polish "0.5" used to become 5: the point was not the language's, so it was dropped.
    QFETCH(QString, language);
    QFETCH(QString, typed);
    QFETCH(double, value);
    MyDoubleSpin spin;
    spin.setLocale(QLocale(language));
    spin.setRange(0.0, 60.0);
    spin.setSuffix("s");
    spin.setValue(1.0);
    spin.selectAll();
    QTest::keyClicks(&spin, typed);
    QTest::keyClick(&spin, Qt::Key_Return);
    QCOMPARE(spin.value(), value);
    QCOMPARE(spin.text(), QLocale(language).toString(value, 'f', 2) + "s");
}

QTEST_MAIN(TstSpinBoxes)
#include "tst_spin_boxes.moc"
