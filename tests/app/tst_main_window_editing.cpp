// The editor panel inside the window, and the window's keyboard commands on it: selection
// toggles, copy and paste with their status texts, percent steps and set-all-selected, also when
// the key is typed into a field of the panel.
#include "main_window.h"
#include "recording_prompts.h"
#include "window_widgets.h"

#include "color_slider.h"
#include "my_frame.h"
#include "super_rgb.h"

#include <QClipboard>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

#include <memory>

namespace {

QStringList selection(const Scene &s, int lamps)
{
    QStringList out;
    for (int i = 0; i < lamps; ++i) {
        const SuperRGB *l = s.lamp(i);
        QString x;
        if (l->isRedSelected())
            x += 'r';
        if (l->isGreenSelected())
            x += 'g';
        if (l->isBlueSelected())
            x += 'b';
        out << (x.isEmpty() ? "-" : x);
    }
    return out;
}

} // namespace

class TstMainWindowEditing : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_prompts = std::make_unique<RecordingPrompts>();
        m_window = std::make_unique<MainWindow>();
    }
    void cleanup()
    {
        m_window.reset();
        m_prompts.reset();
    }

    void panelSitsInSceneFrameWithSceneOne();
    void panelProgressDrivesTheProgressBar();
    void selectionKeys_data();
    void selectionKeys();
    void copyAndPasteShowTheirCounts();
    void valueKeys();
    void keysTypedIntoPanelFieldsReachTheWindow();
    void toolBarBoxesKeepTheirEditingKeys_data();
    void toolBarBoxesKeepTheirEditingKeys();

private:
    std::unique_ptr<RecordingPrompts> m_prompts;
    std::unique_ptr<MainWindow> m_window;
};

void TstMainWindowEditing::panelSitsInSceneFrameWithSceneOne()
{
    MainWindow &w = *m_window;
    QVERIFY(w.scene());
    QCOMPARE(w.scene()->contentWidget()->parentWidget(), w.widgets().SceneFrame);
    QVERIFY(w.widgets().sceneFrameLayout->indexOf(w.scene()->contentWidget()) >= 0);
    QCOMPARE(w.widgets().sceneFrameLayout->contentsMargins(), QMargins(3, 3, 3, 3));
    QCOMPARE(w.scene()->lampCount(), 30);
    // Scene 1 is black: the panel was given its colours, not left to pick random ones.
    for (int i = 0; i < 30; ++i)
        QCOMPARE(w.scene()->lamp(i)->lampColor(), QColor(0, 0, 0));
}

void TstMainWindowEditing::panelProgressDrivesTheProgressBar()
{
    MainWindow &w = *m_window;
    QSignalSpy bar(w.widgets().progressBar, &QProgressBar::valueChanged);
    w.scene()->addLamps(4, nullptr);
    QList<int> seen;
    for (const QList<QVariant> &a : bar)
        seen << a.at(0).toInt();
    QCOMPARE(seen, (QList<int>{25, 50, 75, 100, 0}));
    QCOMPARE(w.widgets().progressBar->value(), 0);
}

void TstMainWindowEditing::selectionKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QStringList>("after");

    const QStringList none(3, "-");
    const QStringList all(3, "rgb");
    QTest::newRow("Ctrl+A") << int(Qt::Key_A) << int(Qt::ControlModifier) << all;
    QTest::newRow("Shift+A") << int(Qt::Key_A) << int(Qt::ShiftModifier) << all;
    QTest::newRow("Alt+A") << int(Qt::Key_A) << int(Qt::AltModifier) << all;
    QTest::newRow("A alone") << int(Qt::Key_A) << int(Qt::NoModifier) << none;
    QTest::newRow("Ctrl+R") << int(Qt::Key_R) << int(Qt::ControlModifier) << QStringList(3, "r");
    QTest::newRow("Ctrl+G") << int(Qt::Key_G) << int(Qt::ControlModifier) << QStringList(3, "g");
    QTest::newRow("Meta+B") << int(Qt::Key_B) << int(Qt::MetaModifier) << QStringList(3, "b");
    QTest::newRow("R alone") << int(Qt::Key_R) << int(Qt::NoModifier) << none;
    QTest::newRow("Ctrl+X") << int(Qt::Key_X) << int(Qt::ControlModifier) << none;
}

void TstMainWindowEditing::selectionKeys()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QStringList, after);

    MainWindow &w = *m_window;
    QTest::keyClick(&w, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(selection(*w.scene(), 3), after);
    // The same key again toggles back.
    QTest::keyClick(&w, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(selection(*w.scene(), 3), QStringList(3, "-"));
    QVERIFY(w.widgets().deviceMessageLabel->text().isEmpty());
}

void TstMainWindowEditing::copyAndPasteShowTheirCounts()
{
    MainWindow &w = *m_window;
    QTest::keyClick(&w, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(w.widgets().deviceMessageLabel->text(), QString("0 values copied"));
    QVERIFY(QApplication::clipboard()->mimeData()->hasFormat("no_data"));
    QTest::keyClick(&w, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(w.widgets().deviceMessageLabel->text(), QString("0 values pasted"));

    SuperRGB *first = w.scene()->lamp(0);
    first->setRGB(10, 20, 30);
    first->setAll(true);
    QTest::keyClick(&w, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(w.widgets().deviceMessageLabel->text(), QString("3 values copied"));

    first->setAll(false);
    for (int i = 1; i <= 4; ++i)
        w.scene()->lamp(i)->setAll(true);
    QTest::keyClick(&w, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(w.widgets().deviceMessageLabel->text(), QString("12 values pasted"));
    QCOMPARE(w.scene()->lamp(4)->lampColor(), QColor(10, 20, 30));
    QCOMPARE(w.scene()->lamp(5)->lampColor(), QColor(0, 0, 0));

    // C and V without a modifier are no commands.
    w.widgets().deviceMessageLabel->clear();
    QTest::keyClick(&w, Qt::Key_C);
    QTest::keyClick(&w, Qt::Key_V);
    QVERIFY(w.widgets().deviceMessageLabel->text().isEmpty());
}

void TstMainWindowEditing::valueKeys()
{
    MainWindow &w = *m_window;
    SuperRGB *l = w.scene()->lamp(2);
    l->setRGB(100, 0, 40);
    l->selectRed(true);
    l->selectBlue(true);

    QTest::keyClick(&w, Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(l->lampColor(), QColor(110, 0, 47));
    QTest::keyClick(&w, Qt::Key_Down, Qt::KeypadModifier); // keypad arrows carry their flag
    QCOMPARE(l->lampColor(), QColor(100, 0, 40));
    QTest::keyClick(&w, Qt::Key_Up); // no modifier: nothing
    QCOMPARE(l->lampColor(), QColor(100, 0, 40));
    QTest::keyClick(&w, Qt::Key_PageUp, Qt::ShiftModifier);
    QCOMPARE(l->lampColor(), QColor(255, 0, 255));
    QCOMPARE(w.scene()->lamp(1)->lampColor(), QColor(0, 0, 0));
    QTest::keyClick(&w, Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(l->lampColor(), QColor(0, 0, 0));
}

void TstMainWindowEditing::keysTypedIntoPanelFieldsReachTheWindow()
{
    MainWindow &w = *m_window;
    // In a lamp's value field.
    QTest::keyClick(w.scene()->lamp(0)->EditGreen, Qt::Key_G, Qt::ControlModifier);
    QCOMPARE(selection(*w.scene(), 2), QStringList(2, "g"));

    // In the panel's repeat field: the window steps the selected sliders, the field steps too.
    auto *repeat = w.scene()->contentWidget()->findChild<QSpinBox *>("RepeatSpin");
    QVERIFY(repeat);
    SuperRGB *l = w.scene()->lamp(0);
    l->setRGB(0, 100, 0);
    const int before = repeat->value();
    QTest::keyClick(repeat, Qt::Key_Up, Qt::KeypadModifier);
    QCOMPARE(l->lampColor(), QColor(0, 110, 0));
    QCOMPARE(repeat->value(), before + 1);
}

void TstMainWindowEditing::toolBarBoxesKeepTheirEditingKeys_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("command"); // the window's command acts on the panel too
    for (const char *box : {"LedsNumberSpin", "ScenesTimeSpin"}) {
        QTest::addRow("%s, Ctrl+A", box)
            << box << int(Qt::Key_A) << int(Qt::ControlModifier) << false;
        QTest::addRow("%s, keypad Up", box)
            << box << int(Qt::Key_Up) << int(Qt::KeypadModifier) << false;
        QTest::addRow("%s, Ctrl+Page Down", box)
            << box << int(Qt::Key_PageDown) << int(Qt::ControlModifier) << false;
        QTest::addRow("%s, Ctrl+R", box)
            << box << int(Qt::Key_R) << int(Qt::ControlModifier) << true;
    }
}

void TstMainWindowEditing::toolBarBoxesKeepTheirEditingKeys()
{
    // The lamp count and the global scene time are no part of the panel: Ctrl+A there selects
    // the box's text, not every slider, and the step keys step the box only.
    QFETCH(QString, box);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, command);
    MainWindow &w = *m_window;
    auto *spin = w.findChild<QSpinBox *>(box);
    QVERIFY(spin);
    auto *line = spin->findChild<QLineEdit *>();
    SuperRGB *l = w.scene()->lamp(0);
    l->setRGB(0, 100, 0);
    w.scene()->selectGreen();
    const quint8 flags = w.scene()->getSelectionFlags();
    const int value = spin->value();
    line->deselect();
    QTest::keyClick(spin, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(w.scene()->getSelectionFlags() != flags || l->lampColor() != QColor(0, 100, 0),
             command);
    if (key == Qt::Key_A)
        QVERIFY(line->hasSelectedText());
    if (key == Qt::Key_Up)
        QCOMPARE(spin->value(), value + 1);
}

QTEST_MAIN(TstMainWindowEditing)
#include "tst_main_window_editing.moc"
