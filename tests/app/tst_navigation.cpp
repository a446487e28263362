// Moving through the show: every switch offline and online with the exact requests the simulated
// controller received, the panel written back into the item left and loaded from the item
// entered, the lamp count box keeping edits, and a transfer failing at a chosen byte.
#include "my_dock_widget.h"
#include "my_spin.h"
#include "super_rgb.h"
#include "window_rig.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

using namespace lm740;
using layout::chaserAddresses;
using layout::programStepAddresses;
using layout::sceneAddresses;

namespace {

enum Action {
    ToChasers,
    ToPrograms,
    ToScenes,
    Scene3,
    Chaser2,
    Step5,
    Step5AfterLast,
    Program2Tab,
    Lamps40,
    Lamps20,
    SceneTime5,
    LastStep
};

QStringList W(const std::vector<int> &a)
{
    return WindowRig::runs('W', a);
}
QStringList R(const std::vector<int> &a)
{
    return WindowRig::runs('R', a);
}
const QStringList id{QStringLiteral("id")};

// Brings the window to where the action starts (tab changes with the same online state).
void prepare(MainWindow &w, Action action)
{
    if (action == ToPrograms || action == Chaser2)
        w.TabWidget->setCurrentIndex(1);
    if (action == ToScenes || action == Step5 || action == Step5AfterLast ||
        action == Program2Tab || action == LastStep)
        w.TabWidget->setCurrentIndex(2);
    if (action == Step5AfterLast)
        w.findChild<QCheckBox *>("LastStepCheck")->click();
}

void act(MainWindow &w, Action action)
{
    switch (action) {
    case ToChasers:
        w.TabWidget->setCurrentIndex(1);
        break;
    case ToPrograms:
        w.TabWidget->setCurrentIndex(2);
        break;
    case ToScenes:
        w.TabWidget->setCurrentIndex(0);
        break;
    case Scene3:
        w.widgets().sceneButtons->button(3)->click();
        break;
    case Chaser2:
        w.widgets().chaserButtons->button(2)->click();
        break;
    case Step5:
    case Step5AfterLast:
        w.widgets().programSteps(0)->button(5)->click();
        break;
    case Program2Tab:
        w.widgets().TabProgramProgram->setCurrentIndex(1);
        break;
    case Lamps40:
    case Lamps20:
        w.widgets().LedsNumberSpin->setValue(action == Lamps40 ? 40 : 20);
        emit w.widgets().LedsNumberSpin->editingFinished();
        break;
    case SceneTime5:
        w.widgets().ScenesTimeSpin->setValue(5);
        break;
    case LastStep:
        w.scene()->lastStepStateChanged(true);
        break;
    }
}

QColor rgb(const SuperRGB *lamp)
{
    return lamp->lampColor();
}

} // namespace

class TstNavigation : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void switchesTalkToTheControllerOnlyOnline_data();
    void switchesTalkToTheControllerOnlyOnline();
    void switchesWriteBackAndLoad();
    void lampCountKeepsEdits_data();
    void lampCountKeepsEdits();
    void lampCountLeftByAClickOnALampThatGoes_data();
    void lampCountLeftByAClickOnALampThatGoes();
    void failureAtAChosenByte_data();
    void failureAtAChosenByte();
    void tabsSetActionStatesAndStopSimulations();
    void okAppliesWhatItsBoxHolds();
};

void TstNavigation::switchesTalkToTheControllerOnlyOnline_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<QStringList>("expected");
    const std::vector<int> step00 = programStepAddresses(0, 0, 30);
    const QList<QPair<const char *, QPair<Action, QStringList>>> rows{
        {"scenes to chasers",
         {ToChasers, id + W(sceneAddresses(0, 30)) + id + R(chaserAddresses(0, 30)) +
                         QStringList{"chaser 0"}}},
        {"chasers to programs",
         {ToPrograms, id + W(chaserAddresses(0, 30)) + id + R(step00) + QStringList{"program 0"}}},
        {"programs to scenes",
         {ToScenes, id + W(step00) + id + R(sceneAddresses(0, 30)) + QStringList{"scene 0"}}},
        {"scene 4",
         {Scene3,
          id + W(sceneAddresses(0, 30)) + R(sceneAddresses(3, 30)) + QStringList{"scene 3"}}},
        {"chaser 3",
         {Chaser2,
          id + W(chaserAddresses(0, 30)) + R(chaserAddresses(2, 30)) + QStringList{"chaser 2"}}},
        {"step 6",
         {Step5, id + W(step00) + R(programStepAddresses(0, 5, 30)) + QStringList{"program 0"}}},
        {"step 6 after a last step",
         {Step5AfterLast, id + QStringList{"W 705e-707b"} + W(step00) +
                              R(programStepAddresses(0, 5, 30)) + QStringList{"program 0"}}},
        {"program 2",
         {Program2Tab,
          id + W(step00) + R(programStepAddresses(1, 0, 30)) + QStringList{"program 1"}}},
        {"lamps 30 to 40",
         {Lamps40, id + W(sceneAddresses(0, 30)) + R(sceneAddresses(0, 40)) +
                       QStringList{"W 2", "scene 0"}}},
        {"lamps 30 to 20",
         {Lamps20, id + W(sceneAddresses(0, 30)) + QStringList{"W 2", "scene 0"}}},
        {"global scene time", {SceneTime5, id + QStringList{"W d"}}},
        {"last step mark", {LastStep, {}}},
    };
    for (const auto &row : rows) {
        QTest::addRow("offline, %s", row.first) << int(row.second.first) << QStringList();
        QTest::addRow("online, %s", row.first) << int(row.second.first) << row.second.second;
    }
}

void TstNavigation::switchesTalkToTheControllerOnlyOnline()
{
    QFETCH(int, action);
    QFETCH(QStringList, expected);
    WindowRig rig;
    const bool online = QString::fromLatin1(QTest::currentDataTag()).startsWith("online");
    if (online)
        rig.goOnline();
    prepare(*rig.window, Action(action));
    rig.controller.clearRequests();
    act(*rig.window, Action(action));
    QCOMPARE(rig.log(), expected);
    QVERIFY(rig.prompts.calls.isEmpty());
    QVERIFY(!QApplication::overrideCursor());
}

void TstNavigation::switchesWriteBackAndLoad()
{
    WindowRig rig;
    MainWindow &w = *rig.window;
    // A scene's edit goes into its record when another scene is chosen, and comes back with it.
    w.scene()->lamp(0)->setRGB(200, 0, 0);
    w.widgets().sceneButtons->button(1)->click();
    QCOMPARE(w.document().show().sceneColors[0][0], QColor(200, 0, 0));
    QCOMPARE(rgb(w.scene()->lamp(0)), QColor(0, 0, 0));
    QCOMPARE(w.widgets().dockWidget->targetColors[0], QColor(0, 0, 0));
    w.widgets().sceneButtons->button(0)->click();
    QCOMPARE(rgb(w.scene()->lamp(0)), QColor(200, 0, 0));
    QCOMPARE(w.widgets().dockWidget->targetColors[0], QColor(200, 0, 0));
    QCOMPARE(w.widgets().dockWidget->totalTime, 1000u);

    // A chaser's timing survives a visit to the Scenes tab.
    w.TabWidget->setCurrentIndex(1);
    QCOMPARE(w.scene()->getMode(), Scene::Mode::Chaser);
    // Edited as the user edits them, through the panel's controls.
    w.findChild<QDoubleSpinBox *>("TimeSpin")->setValue(2.5);
    w.findChild<QComboBox *>("DirectionCombo")->setCurrentIndex(1);
    w.findChild<QSpinBox *>("PatternSpin")->setValue(3);
    w.findChild<QSpinBox *>("XfadeSpin")->setValue(40);
    w.TabWidget->setCurrentIndex(0);
    QCOMPARE(w.scene()->getMode(), Scene::Mode::Scene);
    QCOMPARE(w.scene()->getSceneTime(), 1000);
    w.TabWidget->setCurrentIndex(1);
    QCOMPARE(w.scene()->getSceneTime(), 2500);
    QCOMPARE(w.scene()->getDirection(), 2);
    QCOMPARE(w.scene()->getPatternLen(), 3);
    QCOMPARE(w.scene()->getScenexFade(), 40);
    QCOMPARE(w.document().show().chasers[0].time, 2500u);

    // Program steps, and the last-step mark moving from one step to another.
    w.TabWidget->setCurrentIndex(2);
    QCOMPARE(w.scene()->getMode(), Scene::Mode::ProgramStep);
    w.scene()->lamp(1)->setRGB(0, 9, 0);
    w.scene()->lastStepStateChanged(true);
    w.widgets().programSteps(0)->button(4)->click();
    QCOMPARE(w.document().show().programs[0].scenes[0].colors[1], QColor(0, 9, 0));
    QCOMPARE(w.document().current().step, 4);
    w.scene()->setLastStep(1);
    w.scene()->lastStepStateChanged(true);
    w.widgets().programSteps(0)->button(0)->click();
    QCOMPARE(w.document().show().programs[0].scenes[0].scene_laststep, quint8(0));
    QCOMPARE(w.document().show().programs[0].scenes[4].scene_laststep, quint8(1));
    QVERIFY(!w.scene()->getLastStep());

    // The global scene time reaches the panel only on the Scenes tab.
    w.widgets().ScenesTimeSpin->setValue(7);
    QCOMPARE(w.scene()->getSceneTime(), 1000);
    w.TabWidget->setCurrentIndex(0);
    QCOMPARE(w.scene()->getSceneTime(), 7000);
    w.widgets().ScenesTimeSpin->setValue(9);
    QCOMPARE(w.scene()->getSceneTime(), 9000);

    // A step button clicked while another page shows leaves the steps as they were: the panel
    // holds the scene shown, which is no step's.
    const t_program before = w.document().show().programs[0];
    w.scene()->lamp(0)->setRGB(1, 2, 3);
    w.widgets().programSteps(0)->button(6)->click();
    QVERIFY(w.document().show().programs[0] == before);
    QCOMPARE(rgb(w.scene()->lamp(0)), QColor(1, 2, 3));
}

void TstNavigation::lampCountKeepsEdits_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<bool>("online");
    for (int tab = 0; tab < 3; ++tab)
        for (bool online : {false, true})
            QTest::addRow("tab %d, %s", tab, online ? "online" : "offline") << tab << online;
}

void TstNavigation::lampCountKeepsEdits()
{
    QFETCH(int, tab);
    QFETCH(bool, online);
    WindowRig rig;
    MainWindow &w = *rig.window;
    // What the controller holds for lamp 36 of each item, which only a read can bring.
    const int lamp36[] = {layout::sceneLampAddress(0, 35), layout::chaserLampAddress(0, 35),
                          layout::programStepLampAddress(0, 0, 35)};
    rig.controller.setByteAt(lamp36[tab] + 2, 77);
    if (online)
        rig.goOnline();
    w.TabWidget->setCurrentIndex(tab);
    w.scene()->lamp(0)->setRGB(10, 20, 30);
    w.scene()->lamp(29)->setRGB(1, 2, 3);

    // Only touched: the edits stay, in the panel and in the record.
    emit w.widgets().LedsNumberSpin->editingFinished();
    QCOMPARE(rgb(w.scene()->lamp(0)), QColor(10, 20, 30));
    w.widgets().LedsNumberSpin->setValue(20);
    emit w.widgets().LedsNumberSpin->editingFinished();
    QCOMPARE(w.scene()->lampCount(), 20);
    QCOMPARE(w.document().show().ledsNumber, 20);
    w.widgets().LedsNumberSpin->setValue(40);
    emit w.widgets().LedsNumberSpin->editingFinished();
    QCOMPARE(w.scene()->lampCount(), 40);
    QCOMPARE(rgb(w.scene()->lamp(0)), QColor(10, 20, 30));
    // Lamp 30 was hidden, not lost; lamp 36 comes from the controller only online.
    QCOMPARE(rgb(w.scene()->lamp(29)), QColor(1, 2, 3));
    QCOMPARE(rgb(w.scene()->lamp(35)), online ? QColor(0, 0, 77) : QColor(0, 0, 0));
    QCOMPARE(rig.controller.byteAt(lamp36[tab] - 105), quint8(online ? 10 : 0));
    QVERIFY(rig.prompts.calls.isEmpty());
}

void TstNavigation::lampCountLeftByAClickOnALampThatGoes_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("clicked");
    QTest::addColumn<bool>("online");
    QTest::addColumn<bool>("dialog"); // the clicked field has a dialog of its own up meanwhile
    QTest::newRow("1, lamp 2") << "1" << 1 << false << false;
    QTest::newRow("3, lamp 5") << "3" << 4 << false << false;
    QTest::newRow("3, lamp 5, online") << "3" << 4 << true << false;
    QTest::newRow("3, lamp 3 stays") << "3" << 2 << false << false;
    QTest::newRow("3, lamp 5 with a dialog") << "3" << 4 << false << true;
}

void TstNavigation::lampCountLeftByAClickOnALampThatGoes()
{
    // The count is typed and left without Return, by a click on a lamp's field: the focus moving
    // to that field finishes the edit, and the new count takes the lamp away while Qt is still
    // giving it the focus.
    QFETCH(QString, typed);
    QFETCH(int, clicked);
    QFETCH(bool, online);
    QFETCH(bool, dialog);
    WindowRig rig;
    MainWindow &w = *rig.window;
    if (online)
        rig.goOnline();
    w.resize(900, 700);
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.scene()->lamp(29)->setRGB(1, 2, 3);
    w.widgets().LedsNumberSpin->setFocus();
    w.widgets().LedsNumberSpin->selectAll();
    QTest::keyClicks(w.widgets().LedsNumberSpin, typed);
    QPointer<QLineEdit> field = w.scene()->lamp(clicked)->EditRed;
    // A window in front takes the focus from the box, but the user has not left it.
    QPointer<QDialog> own = dialog ? new QDialog(field) : nullptr;
    if (own) {
        own->show();
        QApplication::setActiveWindow(own);
        QCOMPARE(w.scene()->lampCount(), 30);
        QApplication::setActiveWindow(&w);
    }
    QTest::mouseClick(field, Qt::LeftButton);
    QVERIFY(!own || !own->isVisible());

    const int count = typed.toInt();
    QCOMPARE(w.document().show().ledsNumber, count);
    QCOMPARE(w.scene()->lampCount(), count);
    // Only a lamp that is still there keeps the focus; the others go once the click is over.
    QTRY_COMPARE(field.isNull(), clicked >= count);
    if (field)
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(field.data()));
    // The show keeps the lamps beyond the count, and online the controller got the edit.
    QCOMPARE(w.document().show().sceneColors[0][29], QColor(1, 2, 3));
    if (online)
        QCOMPARE(rig.controller.byteAt(layout::sceneLampAddress(0, 29)), quint8(1));
    QVERIFY(rig.prompts.calls.isEmpty());
}

void TstNavigation::failureAtAChosenByte_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("request");
    QTest::addColumn<int>("after");
    QTest::addColumn<QString>("message");
    QTest::newRow("scene write") << int(Scene3) << int(usb::WRITE_BYTE_REQUEST) << 7
                                 << "USB Write Scene Error";
    QTest::newRow("scene read") << int(Scene3) << int(usb::READ_MEMORY_REQUEST) << 5
                                << "USB Read Scene Error";
    QTest::newRow("chaser write") << int(Chaser2) << int(usb::WRITE_BYTE_REQUEST) << 90
                                  << "USB Write Chaser Error";
    QTest::newRow("chaser read") << int(Chaser2) << int(usb::READ_MEMORY_REQUEST) << 0
                                 << "USB Read Chaser Error";
    QTest::newRow("step write") << int(Step5) << int(usb::WRITE_BYTE_REQUEST) << 3
                                << "USB Write Program Error";
    QTest::newRow("step read") << int(Step5) << int(usb::READ_MEMORY_REQUEST) << 50
                               << "USB Read Program Error";
    QTest::newRow("last-step marks")
        << int(Step5AfterLast) << int(usb::WRITE_BYTE_REQUEST) << 4 << "USB Write Last Step";
}

void TstNavigation::failureAtAChosenByte()
{
    QFETCH(int, action);
    QFETCH(int, request);
    QFETCH(int, after);
    QFETCH(QString, message);
    WindowRig rig;
    MainWindow &w = *rig.window;
    rig.goOnline();
    prepare(w, Action(action));
    // What the item entered holds in the controller; a failed read must not bring half of it.
    rig.controller.setByteAt(layout::sceneLampAddress(3, 29), 99);
    rig.controller.clearRequests();
    rig.controller.failRequests(quint8(request), ControllerLink::kAttempts, after);
    act(w, Action(action));

    QCOMPARE(rig.prompts.calls.size(), 1);
    const PromptCall &box = rig.prompts.calls[0];
    QCOMPARE(box.kind, QStringLiteral("information"));
    QCOMPARE(box.title, QStringLiteral("Error"));
    QCOMPARE(box.text, message);
    QVERIFY(!box.hasParent);
    // The switch went on to its end: the controller was told to play the item entered.
    QVERIFY(rig.log().last().contains(QRegularExpression("^(scene 3|chaser 2|program 0)$")));
    QVERIFY(!QApplication::overrideCursor());
    if (action == Scene3) {
        QCOMPARE(w.document().show().actualSceneNumber, 3);
        const bool readFailed = request == usb::READ_MEMORY_REQUEST;
        QCOMPARE(w.document().show().sceneColors[3][29],
                 readFailed ? QColor(0, 0, 0) : QColor(99, 0, 0));
        // The write stopped at the failing byte.
        if (!readFailed)
            QCOMPARE(rig.log()[1], QStringLiteral("W 5000-5007"));
    }
}

void TstNavigation::tabsSetActionStatesAndStopSimulations()
{
    WindowRig rig;
    MainWindow &w = *rig.window;
    const QList<QList<QAction *>> groups{
        {w.actionLoad_Scene, w.actionSave_Scene, w.actionLoad_Scenes, w.actionSave_Scenes},
        // Run Chaser and Stop Chaser are hidden, and Qt reports a hidden action as disabled.
        {w.actionLoad_Chaser, w.actionSave_Chaser, w.actionLoad_Chasers, w.actionSave_Chasers},
        {w.actionLoad_Program, w.actionSave_Program, w.actionLoad_Programs, w.actionSave_Programs,
         w.actionRun_Program, w.actionStop_Program}};
    for (int tab : {0, 2, 1, 0, 1}) {
        w.TabWidget->setCurrentIndex(tab);
        for (int g = 0; g < 3; ++g)
            for (QAction *a : groups[g])
                QVERIFY2(a->isEnabled() == (g == tab), qPrintable(a->objectName()));
        QCOMPARE(w.widgets().dockWidget->playMode == lm740::ItemKind::Chaser, tab == 1);
        QCOMPARE(int(w.document().current().kind), tab);
    }
    w.TabWidget->setCurrentIndex(2);
    w.actionRun_Program->trigger();
    QCOMPARE(w.widgets().dockWidget->playMode, lm740::ItemKind::ProgramStep);
    w.TabWidget->setCurrentIndex(0);
    QVERIFY(!w.widgets().dockWidget->playMode);
    QVERIFY(!w.actionRun_Chaser->isVisible());
}

QTEST_MAIN(TstNavigation)
void TstNavigation::okAppliesWhatItsBoxHolds()
{
    // The boxes' values not yet applied, as when the focus stays in them: OK applies both.
    WindowRig rig;
    MainWindow &w = *rig.window;
    const std::pair<MySpin *, QPushButton *> boxes[] = {
        {w.widgets().LedsNumberSpin, w.widgets().LedsNumberButton},
        {w.widgets().ScenesTimeSpin, w.widgets().ScenesTimeButton}};
    for (const auto &[box, ok] : boxes) {
        {
            const QSignalBlocker quiet(box);
            box->setValue(12);
        }
        ok->click();
    }
    QCOMPARE(w.scene()->lampCount(), 12);
    QCOMPARE(w.document().show().ledsNumber, 12);
    QCOMPARE(w.document().show().sceneTime, 12);
}

#include "tst_navigation.moc"
