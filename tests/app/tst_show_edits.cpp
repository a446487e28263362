// The show document in the window: values the panel cannot show survive every save untouched,
// each kind of step undoes and redoes (and an undo shows its item, online too), and every way out
// over unkept edits asks Save / Discard / Cancel and does what was answered.
#include "my_dock_widget.h"
#include "my_spin.h"
#include "settings_image.h"
#include "super_rgb.h"
#include "window_rig.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QtTest>

#include <functional>

using namespace lm740;

namespace {

using Act = std::function<void(WindowRig &)>;
using Slot = void (MainWindow::*)(bool);

void key(MainWindow &w, int k, Qt::KeyboardModifiers mods = Qt::ControlModifier)
{
    QKeyEvent press(QEvent::KeyPress, k, mods);
    QApplication::sendEvent(&w, &press);
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    if (!files::writeWholeFile(path, bytes))
        return {};
    return path;
}

} // namespace

Q_DECLARE_METATYPE(Act)
Q_DECLARE_METATYPE(Slot)

class TstShowEdits : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void untouchedValuesSurviveSaves_data();
    void untouchedValuesSurviveSaves();
    void eachKindOfStepUndoesAndRedoes_data();
    void eachKindOfStepUndoesAndRedoes();
    void onlineUndoReachesTheController();
    void aKeyThatEndsAValueEndsItsStep_data();
    void aKeyThatEndsAValueEndsItsStep();
    void previewFollowsEdits();
    void everyWayOutAsks_data();
    void everyWayOutAsks();

private:
    QTemporaryDir m_dir;
};

void TstShowEdits::untouchedValuesSurviveSaves_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<Act>("set");
    const auto chaser = [](std::function<void(t_chaser &)> f) {
        return Act([f](WindowRig &r) { f(r.window->document().show().chasers[0]); });
    };
    QTest::newRow("chaser time 75 s")
        << int(files::Format::Chaser) << chaser([](t_chaser &c) { c.time = 75000; });
    QTest::newRow("direction 3") << int(files::Format::Chaser)
                                 << chaser([](t_chaser &c) { c.direction = 3; });
    QTest::newRow("pattern length 255")
        << int(files::Format::Chaser) << chaser([](t_chaser &c) { c.pattern_len = 255; });
    QTest::newRow("repeat 255") << int(files::Format::Chaser)
                                << chaser([](t_chaser &c) { c.repeat_number = 255; });
    QTest::newRow("program step of 75 s") << int(files::Format::Program) << Act([](WindowRig &r) {
        r.window->document().show().programs[0].scenes[0].scene_time = 75000;
    });
}

void TstShowEdits::untouchedValuesSurviveSaves()
{
    QFETCH(int, format);
    QFETCH(Act, set);
    const auto f = files::Format(format);
    const bool isChaser = f == files::Format::Chaser;
    const QString suffix = isChaser ? ".chr" : ".pgm";
    // The file, as our own writer makes it from a show that holds the value.
    // And the file expected back after one lamp was edited. (One rig at a time: each installs
    // its prompts.)
    QByteArray original;
    QByteArray edited;
    Show expected;
    {
        WindowRig maker;
        set(maker);
        Show &show = maker.window->document().show();
        original = files::writeTextFile(f, show, 2);
        show.chasers[0].colors[1] = QColor(1, 2, 3);
        show.programs[0].scenes[0].colors[1] = QColor(1, 2, 3);
        edited = files::writeTextFile(f, show, 2);
        expected = show;
    }
    const QString source = writeFile(m_dir, QTest::currentDataTag() + suffix, original);

    WindowRig rig;
    MainWindow &w = *rig.window;
    rig.prompts.fileNames << source;
    rig.prompts.answers << QMessageBox::Yes; // 2 lamps are fewer than 30
    (w.*(isChaser ? &MainWindow::Load_Chaser : &MainWindow::Load_Program))(false);
    // Looked at, left and come back to: nothing is written back from the panel.
    w.TabWidget->setCurrentIndex(0);
    w.TabWidget->setCurrentIndex(isChaser ? 1 : 2);
    w.scene()->lamp(1)->setRGB(1, 2, 3); // an edit elsewhere in the item

    const QString saved = m_dir.filePath(QStringLiteral("saved-") + QTest::currentDataTag());
    rig.prompts.fileNames << saved;
    (w.*(isChaser ? &MainWindow::Save_Chaser : &MainWindow::Save_Program))(false);
    QByteArray again;
    QVERIFY(files::readWholeFile(saved + suffix, &again));
    QCOMPARE(again, edited);
    QVERIFY(again != original);

    rig.prompts.fileNames << saved + ".set";
    w.Save(false);
    QByteArray image;
    QVERIFY(image::readSettingsFile(saved + ".set", &image));
    Show back;
    back.setShowDefaults();
    QVERIFY(image::unpackShow(image, back, nullptr));
    QCOMPARE(back.chasers[0].time, expected.chasers[0].time);
    QCOMPARE(back.chasers[0].direction, expected.chasers[0].direction);
    QCOMPARE(back.chasers[0].pattern_len, expected.chasers[0].pattern_len);
    QCOMPARE(back.chasers[0].repeat_number, expected.chasers[0].repeat_number);
    QCOMPARE(back.programs[0].scenes[0].scene_time, expected.programs[0].scenes[0].scene_time);
}

void TstShowEdits::eachKindOfStepUndoesAndRedoes_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<Act>("act");
    QTest::addColumn<QString>("undoText");
    QTest::addColumn<bool>("kept"); // a load or read leaves what the file or controller holds
    const auto lamp = [](WindowRig &r, int i) { return r.window->scene()->lamp(i); };
    QTest::newRow("slider drag") << 0 << Act([lamp](WindowRig &r) {
        QMouseEvent press(QEvent::MouseButtonPress, {}, {}, Qt::LeftButton, Qt::LeftButton, {});
        QApplication::sendEvent(lamp(r, 2)->SliderRed, &press);
        for (int v = 10; v <= 200; v += 10) {
            lamp(r, 2)->SliderRed->setValue(v);
            QCoreApplication::processEvents();
        }
    }) << "&Undo Change lamp 3" << false;
    QTest::newRow("typed value") << 1 << Act([lamp](WindowRig &r) {
        lamp(r, 0)->EditGreen->setText("1");
        QCoreApplication::processEvents();
        lamp(r, 0)->EditGreen->setText("12");
        QCoreApplication::processEvents();
    }) << "&Undo Change lamp 1" << false;
    QTest::newRow("plus") << 2 << Act([lamp](WindowRig &r) { lamp(r, 4)->ButtonBPlus->click(); })
                          << "&Undo Change lamp 5" << false;
    QTest::newRow("paste") << 0 << Act([](WindowRig &r) {
        MainWindow &w = *r.window;
        w.scene()->lamp(0)->setRGB(1, 2, 3);
        w.scene()->lamp(29)->setRGB(4, 5, 6);
        key(w, Qt::Key_A);
        key(w, Qt::Key_C);
        w.widgets().sceneButtons->button(1)->click();
        key(w, Qt::Key_V);
    }) << "&Undo Paste 2 lamps"
                           << false;
    QTest::newRow("selected sliders") << 1 << Act([](WindowRig &r) {
        key(*r.window, Qt::Key_R);
        key(*r.window, Qt::Key_PageUp);
    }) << "&Undo Change 30 lamps" << false;
    QTest::newRow("lamp count") << 2 << Act([](WindowRig &r) {
        r.window->widgets().LedsNumberSpin->setValue(12);
        emit r.window->widgets().LedsNumberSpin->editingFinished();
    }) << "&Undo Change lamp count to 12"
                                << false;
    QTest::newRow("scene time") << 0 << Act([](WindowRig &r) {
        r.window->widgets().ScenesTimeSpin->setValue(9);
    }) << "&Undo Change scene time to 9 s"
                                << false;
    QTest::newRow("last step") << 2 << Act([](WindowRig &r) {
        r.window->findChild<QCheckBox *>("LastStepCheck")->click();
    }) << "&Undo Mark last step"
                               << false;
    QTest::newRow("chaser time") << 1 << Act([](WindowRig &r) {
        r.window->findChild<QDoubleSpinBox *>("TimeSpin")->setValue(4.5);
    }) << "&Undo Change time" << false;
    QTest::newRow("step time") << 2 << Act([](WindowRig &r) {
        r.window->findChild<QDoubleSpinBox *>("TimeSpin")->setValue(4.5);
    }) << "&Undo Change time" << false;
    QTest::newRow("file load") << 0 << Act([](WindowRig &r) {
        Show show;
        show.setShowDefaults();
        show.sceneColors[0].fill(QColor(9, 9, 9));
        QTemporaryDir dir;
        const QString name = dir.filePath("nine.scn");
        QVERIFY(files::writeWholeFile(name, files::writeTextFile(files::Format::Scene, show, 30)));
        r.prompts.fileNames << name;
        r.window->Load_Scene(false);
    }) << "&Undo Load nine.scn" << true;
    QTest::newRow("controller read") << 1 << Act([](WindowRig &r) {
        r.controller.setByteAt(layout::chaserLampAddress(0, 3), 99);
        r.window->actionRead_Settings->trigger();
    }) << "&Undo Read from Lm740" << true;
    QTest::newRow("going online") << 2 << Act([](WindowRig &r) {
        r.controller.setByteAt(layout::programStepLampAddress(0, 0, 3), 99);
        r.goOnline();
        r.window->actionOnline->trigger(); // offline again
    }) << "&Undo Go online" << true;
    QTest::newRow("whole-memory write online") << 0 << Act([this](WindowRig &r) {
        r.goOnline();
        Show show;
        show.setShowDefaults();
        show.sceneColors[0][3] = QColor(1, 2, 3);
        const QString file = m_dir.filePath("written.set");
        QVERIFY(
            image::writeSettingsFile(file, image::packShow(show, 30, 1, image::HeaderStyle::Save)));
        qputenv("XDG_DATA_HOME", m_dir.filePath("data").toLocal8Bit()); // the backup
        r.prompts.fileNames << file;
        r.prompts.answers << QMessageBox::Yes;
        r.window->File_Write_Settings(false);
        qunsetenv("XDG_DATA_HOME");
        r.window->actionOnline->trigger(); // offline again
    }) << "&Undo Read from Lm740" << true;
}

void TstShowEdits::eachKindOfStepUndoesAndRedoes()
{
    QFETCH(int, tab);
    QFETCH(Act, act);
    QFETCH(QString, undoText);
    QFETCH(bool, kept);
    WindowRig rig;
    MainWindow &w = *rig.window;
    w.TabWidget->setCurrentIndex(tab);
    if (tab == 0)
        w.widgets().sceneButtons->button(0)->click();
    const Show before = w.document().show();
    const std::vector<QColor> panelBefore = [&] {
        std::vector<QColor> c(kColorSlots);
        w.scene()->getColors(c.data(), uint(w.document().show().ledsNumber));
        return c;
    }();
    act(rig);
    w.document().closeEdit();
    const Show after = w.document().show();
    QVERIFY(!sameRecords(before, after));
    QCOMPARE(w.widgets().actionUndo->text(), undoText);
    QCOMPARE(w.isWindowModified(), !kept);
    const int steps = w.document().undoStack().count();

    // Away to another item, which is no step; the undo brings the changed item back.
    w.TabWidget->setCurrentIndex((tab + 1) % 3);
    QCOMPARE(w.document().undoStack().count(), steps);
    w.widgets().actionUndo->trigger();
    if (steps == 1) {
        QVERIFY(sameRecords(w.document().show(), before));
        std::vector<QColor> panel(kColorSlots);
        w.scene()->getColors(panel.data(), uint(w.document().show().ledsNumber));
        QVERIFY(panel == panelBefore);
    }
    QCOMPARE(w.TabWidget->currentIndex(), tab);
    QCOMPARE(w.isWindowModified(), kept || steps > 1);
    QVERIFY(w.widgets().actionRedo->isEnabled());
    w.widgets().actionRedo->trigger();
    QVERIFY(sameRecords(w.document().show(), after));
    QCOMPARE(w.scene()->lampCount(), w.document().show().ledsNumber);
    QCOMPARE(w.widgets().LedsNumberSpin->value(), w.document().show().ledsNumber);
    QCOMPARE(w.widgets().ScenesTimeSpin->value(), w.document().show().sceneTime);
}

void TstShowEdits::onlineUndoReachesTheController()
{
    WindowRig rig;
    MainWindow &w = *rig.window;
    rig.goOnline();
    const int lamp0 = layout::sceneLampAddress(0, 0);
    w.scene()->lamp(0)->setRGB(200, 0, 0);
    w.widgets().sceneButtons->button(1)->click(); // the edit goes to the controller
    QCOMPARE(rig.controller.byteAt(lamp0), quint8(200));
    w.widgets().actionUndo->trigger(); // back on scene 1, with the edit undone
    QCOMPARE(w.document().show().actualSceneNumber, 0);
    QCOMPARE(w.scene()->lamp(0)->lampColor(), QColor(0, 0, 0));
    w.widgets().sceneButtons->button(1)->click(); // and the undone value follows
    QCOMPARE(rig.controller.byteAt(lamp0), quint8(0));
    QVERIFY(!w.isWindowModified());
    // A lamp count and a scene time reach the controller at once, and so do their undos.
    w.widgets().LedsNumberSpin->setValue(12);
    emit w.widgets().LedsNumberSpin->editingFinished();
    w.widgets().ScenesTimeSpin->setValue(9);
    QCOMPARE(rig.controller.byteAt(layout::kLampsNumber), quint8(12));
    QCOMPARE(rig.controller.byteAt(layout::kInSceneTime), quint8(9));
    w.widgets().actionUndo->trigger();
    QCOMPARE(rig.controller.byteAt(layout::kInSceneTime), quint8(1));
    QCOMPARE(rig.controller.byteAt(layout::kLampsNumber), quint8(12));
    w.widgets().actionUndo->trigger();
    QCOMPARE(rig.controller.byteAt(layout::kLampsNumber), quint8(30));
    QVERIFY(!w.isWindowModified());

    // Scene 2's copy in the controller changes outside the program. The read that shows it when
    // an undo comes back to scene 2 is no step: the undo undoes the edit, and the redo stays.
    w.scene()->lamp(1)->setRGB(0, 50, 0);
    w.widgets().sceneButtons->button(0)->click();
    rig.controller.setByteAt(layout::sceneLampAddress(1, 2), 66);
    w.widgets().actionUndo->trigger();
    QCOMPARE(w.document().show().actualSceneNumber, 1);
    QCOMPARE(w.scene()->lamp(1)->lampColor(), QColor(0, 0, 0));
    QCOMPARE(w.scene()->lamp(2)->lampColor(), QColor(66, 0, 0));
    QCOMPARE(w.widgets().actionRedo->text(), QString("&Redo Change lamp 2"));
    w.widgets().actionRedo->trigger();
    QCOMPARE(w.scene()->lamp(1)->lampColor(), QColor(0, 50, 0));
    QCOMPARE(w.scene()->lamp(2)->lampColor(), QColor(66, 0, 0));
}

// Typing into one field is one step until a key ends the value; the next value is the next step.
void TstShowEdits::aKeyThatEndsAValueEndsItsStep_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("steps");
    QTest::newRow("Return") << int(Qt::Key_Return) << 2;
    QTest::newRow("Enter") << int(Qt::Key_Enter) << 2;
    QTest::newRow("Tab") << int(Qt::Key_Tab) << 2;
    QTest::newRow("a letter, which ends nothing") << int(Qt::Key_X) << 1;
}

void TstShowEdits::aKeyThatEndsAValueEndsItsStep()
{
    QFETCH(int, key);
    QFETCH(int, steps);
    WindowRig rig;
    MainWindow &w = *rig.window;
    QLineEdit *field = w.scene()->lamp(0)->EditRed;
    for (const char *value : {"12", "34"}) {
        field->selectAll();
        QTest::keyClicks(field, value);
        QTest::keyClick(field, Qt::Key(key));
        QCoreApplication::processEvents(); // as between a user's keys
    }
    w.document().closeEdit();
    QCOMPARE(w.document().undoStack().count(), steps);
    w.widgets().actionUndo->trigger();
    QCOMPARE(w.scene()->lamp(0)->lampColor().red(), steps == 2 ? 12 : 0);
}

void TstShowEdits::previewFollowsEdits()
{
    WindowRig rig;
    MainWindow &w = *rig.window;
    MyDockWidget &strip = *w.widgets().dockWidget;
    for (int tab : {2, 0}) {
        w.TabWidget->setCurrentIndex(tab);
        while (strip.tickTimer->isActive())
            strip.tick(); // the item's fade ends and the clock rests
        w.scene()->lamp(2)->setRGB(9, 8, 7);
        w.scene()->lamp(3)->setRGB(6, 5, 4);
        QVERIFY(strip.tickTimer->isActive());
        QCOMPARE(strip.shownColor(2), QColor(0, 0, 0)); // at the tick, not at each edit
        strip.tick();
        QCOMPARE(strip.shownColor(2), QColor(9, 8, 7));
        QCOMPARE(strip.shownColor(3), QColor(6, 5, 4));
        QVERIFY(!strip.tickTimer->isActive()); // the picture stopped changing
    }
}

void TstShowEdits::everyWayOutAsks_data()
{
    // 0 close, 1 load show, 2 load scene, 3 read the scene, 4 go online, 5 read the program
    QTest::addColumn<int>("way");
    QTest::addColumn<int>("answer"); // a button, or Save with the save dialog cancelled (-1)
    QTest::addColumn<int>("edit");   // 0 a lamp of scene 1, 1 the scene time, 2 the lamp count
    const char *ways[] = {"close",          "load show", "load scene",
                          "read the scene", "go online", "read the program"};
    const QList<QPair<const char *, int>> answers{{"cancel", QMessageBox::Cancel},
                                                  {"escape", QMessageBox::Escape},
                                                  {"discard", QMessageBox::Discard},
                                                  {"save", QMessageBox::Save},
                                                  {"save dialog cancelled", -1}};
    for (int way = 0; way < 5; ++way)
        for (const auto &a : answers)
            QTest::addRow("%s, %s", ways[way], a.first) << way << a.second << 0;
    // Every read from the controller also replaces the lamp count and the scene time.
    for (int way = 3; way < 6; ++way) {
        QTest::addRow("%s, scene time, cancel", ways[way]) << way << int(QMessageBox::Cancel) << 1;
        QTest::addRow("%s, lamp count, discard", ways[way])
            << way << int(QMessageBox::Discard) << 2;
    }
}

void TstShowEdits::everyWayOutAsks()
{
    QFETCH(int, way);
    QFETCH(int, answer);
    QFETCH(int, edit);
    WindowRig rig;
    MainWindow &w = *rig.window;
    // What each way would bring: a file of scene 1 in grey 9, or 77 from the controller.
    Show other;
    other.setShowDefaults();
    other.sceneColors[0].fill(QColor(9, 9, 9));
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    const QString showFile = m_dir.filePath(tag + ".set");
    QVERIFY(image::writeSettingsFile(showFile,
                                     image::packShow(other, 30, 1, image::HeaderStyle::Save)));
    const QString sceneFile =
        writeFile(m_dir, tag + ".scn", files::writeTextFile(files::Format::Scene, other, 30));
    rig.controller.setByteAt(layout::sceneLampAddress(0, 0), 77);

    if (edit == 0) {
        w.scene()->lamp(0)->setRGB(5, 5, 5);
    } else if (edit == 1) {
        w.widgets().ScenesTimeSpin->setValue(9);
    } else {
        w.widgets().LedsNumberSpin->setValue(12);
        emit w.widgets().LedsNumberSpin->editingFinished();
    }
    w.document().closeEdit();
    const QString savedName = m_dir.filePath(tag + "-saved");
    rig.prompts.answers << (answer == -1 ? QMessageBox::Save : QMessageBox::StandardButton(answer));
    // A scene file is chosen before the question, the show file after it.
    if (way == 2)
        rig.prompts.fileNames << sceneFile;
    if (answer == QMessageBox::Save)
        rig.prompts.fileNames << savedName;
    else if (answer == -1)
        rig.prompts.fileNames << QString();
    if (way == 1)
        rig.prompts.fileNames << showFile;

    bool closed = false;
    switch (way) {
    case 0:
        closed = w.close();
        break;
    case 1:
        w.Load(false);
        break;
    case 2:
        w.Load_Scene(false);
        break;
    case 3:
        w.actionRead_Settings->trigger();
        break;
    case 4:
        w.actionOnline->trigger();
        break;
    case 5:
        w.actionRead_Current_Program->trigger();
        break;
    }

    const PromptCall &question = rig.prompts.calls.value(way == 2 ? 1 : 0);
    QCOMPARE(question.kind, QString("warning"));
    QCOMPARE(question.title, QString("Unsaved changes -- Lm740"));
    QCOMPARE(question.buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    const bool goesOn = answer == QMessageBox::Discard || answer == QMessageBox::Save;
    QCOMPARE(QFileInfo::exists(savedName + ".set"), answer == QMessageBox::Save);
    if (way == 0)
        QCOMPARE(closed, goesOn);
    QCOMPARE(w.session().online(), way == 4 && goesOn);
    QCOMPARE(w.actionOnline->isChecked(), way == 4 && goesOn);
    const QColor expected = goesOn && (way == 3 || way == 4)   ? QColor(77, 0, 0)
                            : goesOn && (way == 1 || way == 2) ? QColor(9, 9, 9)
                            : edit == 0                        ? QColor(5, 5, 5)
                                                               : QColor(0, 0, 0);
    QCOMPARE(w.document().show().sceneColors[0][0], expected);
    QCOMPARE(w.scene()->lamp(0)->lampColor(), expected);
    QCOMPARE(w.widgets().ScenesTimeSpin->value(), edit == 1 && !goesOn ? 9 : 1);
    QCOMPARE(w.document().show().sceneTime, w.widgets().ScenesTimeSpin->value());
    QCOMPARE(w.document().show().ledsNumber, edit == 2 && !goesOn ? 12 : 30);
    // Kept as it was: nothing went to the controller or came from it.
    if (!goesOn)
        QCOMPARE(rig.log().filter(QRegularExpression("^[WR] ")), QStringList());
    // Saved, or replaced by what was loaded or read: nothing left to lose; a discarded edit
    // in a closed window stays what it was.
    QCOMPARE(w.isWindowModified(), !goesOn || (way == 0 && answer == QMessageBox::Discard));
}

QTEST_MAIN(TstShowEdits)
#include "tst_show_edits.moc"
