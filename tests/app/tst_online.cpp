// Online mode with its question, labels and start-up reads; the run commands and blackout; and the
// four commands on the current item, with the wait cursor restored on every way out and the
// program commands leaving another page's panel alone.
#include "my_dock_widget.h"
#include "my_spin.h"
#include "settings_image.h"
#include "super_rgb.h"
#include "text_files.h"
#include "window_rig.h"

#include <QButtonGroup>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace lm740;

Q_DECLARE_METATYPE(QMessageBox::StandardButton)

namespace {

// 30 lamps and the global scene time in the controller; the addresses of lamp 1 of scene 1,
// chaser 1 and step 1 of program 1, by tab.
std::array<int, 3> setUpController(SimController &controller, int sceneTime)
{
    controller.setByteAt(layout::kLampsNumber, 30);
    controller.setByteAt(layout::kInSceneTime, quint8(sceneTime));
    return {layout::sceneLampAddress(0, 0), layout::chaserLampAddress(0, 0),
            layout::programStepLampAddress(0, 0, 0)};
}

} // namespace

class TstOnline : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void goingOnline_data();
    void goingOnline();
    void onlineStartReadsTheItemShown_data();
    void onlineStartReadsTheItemShown();
    void runCommandsAndBlackout();
    void currentItemCommands_data();
    void currentItemCommands();
    void writeSettingsFollowsTheController_data();
    void writeSettingsFollowsTheController();
    void loadChasersOnlineKeepsTheFile();
    void programCommandsOnAnotherPage();
    void onlineSessionEndsInTheFile_data();
    void onlineSessionEndsInTheFile();
};

void TstOnline::goingOnline_data()
{
    QTest::addColumn<bool>("plugged");
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<int>("failingRead"); // -1 none, else the read request that fails
    QTest::addColumn<int>("lampsByte");
    QTest::addColumn<bool>("online");
    QTest::addColumn<int>("lamps");
    QTest::addColumn<QStringList>("boxes");
    const QString question = "Actual scene, chaser or program step settings in apllication will "
                             "be overwritten.\nDo you want enter in online mode?";
    QTest::newRow("no controller")
        << false << QMessageBox::Yes << -1 << 45 << true << 30 << QStringList();
    QTest::newRow("declined") << true << QMessageBox::No << -1 << 45 << false << 30
                              << QStringList{question};
    QTest::newRow("accepted") << true << QMessageBox::Yes << -1 << 45 << true << 45
                              << QStringList{question};
    QTest::newRow("170 lamps") << true << QMessageBox::Yes << -1 << 170 << true << 170
                               << QStringList{question};
    QTest::newRow("200 lamps are 30")
        << true << QMessageBox::Yes << -1 << 200 << true << 30 << QStringList{question};
    QTest::newRow("lamp count unreadable")
        << true << QMessageBox::Yes << 0 << 45 << true << 30
        << QStringList{question, "Get LampsNumber", "Nie mozna pobrac liczby lamp z Lm740"};
    QTest::newRow("scene time unreadable")
        << true << QMessageBox::Yes << 1 << 45 << true << 30
        << QStringList{question, "Get GlobalSceneTime", "Nie mozna pobrac czasu sceny z Lm740"};
}

void TstOnline::goingOnline()
{
    QFETCH(bool, plugged);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(int, failingRead);
    QFETCH(int, lampsByte);
    QFETCH(bool, online);
    QFETCH(int, lamps);
    QFETCH(QStringList, boxes);
    WindowRig rig;
    MainWindow &w = *rig.window;
    rig.controller.setByteAt(layout::kLampsNumber, quint8(lampsByte));
    rig.controller.setByteAt(layout::kInSceneTime, 4);
    if (!plugged)
        rig.bus.unplug(rig.controller);
    if (failingRead >= 0)
        rig.controller.failRequests(usb::READ_MEMORY_REQUEST, ControllerLink::kAttempts,
                                    failingRead);
    rig.prompts.answers << answer;
    w.actionOnline->trigger();

    QCOMPARE(rig.prompts.texts(), boxes);
    if (!boxes.isEmpty()) {
        const PromptCall &q = rig.prompts.calls[0];
        QCOMPARE(q.kind, QStringLiteral("warning"));
        QVERIFY(q.hasParent);
        QCOMPARE(q.title, QStringLiteral("MainWindow"));
        QCOMPARE(q.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(q.defaultButton, QMessageBox::No);
    }
    QCOMPARE(w.session().online(), online);
    QCOMPARE(w.actionOnline->isChecked(), online);
    QCOMPARE(w.widgets().onlineLabel->text(),
             online ? QStringLiteral("Online") : QStringLiteral("Offline"));
    QCOMPARE(w.widgets().onlineLabel->palette().color(QPalette::WindowText),
             online ? QColor(30, 160, 30) : QColor(255, 0, 0));
    QCOMPARE(w.document().show().ledsNumber, lamps);
    QCOMPARE(w.scene()->lampCount(), lamps);
    QCOMPARE(w.widgets().ScenesTimeSpin->value(), online && plugged && failingRead < 0 ? 4 : 1);
    QVERIFY(!QApplication::overrideCursor());

    // Leaving is always possible and needs no question.
    rig.prompts.calls.clear();
    w.UsbSetOnline(false);
    QVERIFY(!w.session().online());
    QCOMPARE(w.widgets().onlineLabel->text(), QStringLiteral("Offline"));
    QVERIFY(rig.prompts.calls.isEmpty());
}

void TstOnline::onlineStartReadsTheItemShown_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QStringList>("expected");
    const QStringList start{"id", "R 2", "R d"};
    QTest::newRow("scenes") << 0
                            << start + WindowRig::runs('R', layout::sceneAddresses(0, 30)) +
                                   QStringList{"scene 0"};
    QTest::newRow("chasers") << 1
                             << start + QStringList{"id"} +
                                    WindowRig::runs('R', layout::chaserAddresses(0, 30)) +
                                    QStringList{"chaser 0"};
    QTest::newRow("programs") << 2
                              << start +
                                     WindowRig::runs('R', layout::programStepAddresses(0, 0, 30)) +
                                     QStringList{"program 0"};
}

void TstOnline::onlineStartReadsTheItemShown()
{
    QFETCH(int, tab);
    QFETCH(QStringList, expected);
    WindowRig rig;
    MainWindow &w = *rig.window;
    w.TabWidget->setCurrentIndex(tab);
    const std::array<int, 3> lamp0 = setUpController(rig.controller, 2);
    rig.controller.setByteAt(lamp0[tab], 123);
    rig.controller.setByteAt(layout::chaserAddress(0), 25);
    rig.controller.setByteAt(layout::programStepTimeAddress(0, 0), 25);
    rig.controller.clearRequests();
    rig.prompts.answers << QMessageBox::Yes;
    w.actionOnline->trigger();
    QCOMPARE(rig.log(), expected);
    QCOMPARE(w.scene()->lamp(0)->lampColor(), QColor(123, 0, 0));
    // The whole item as read reaches the panel, its time too, so the next switch keeps it.
    QCOMPARE(w.scene()->getSceneTime(), tab == 0 ? 2000 : 2500);
    QCOMPARE(w.widgets().dockWidget->targetColors[0], QColor(123, 0, 0));
    // The item a switch reads is what the controller holds: it counts as kept.
    rig.controller.setByteAt(lamp0[(tab + 1) % 3], 77);
    w.TabWidget->setCurrentIndex((tab + 1) % 3);
    QCOMPARE(w.scene()->lamp(0)->lampColor(), QColor(77, 0, 0));
    QVERIFY(!w.document().isModified(w.document().current()));
}

void TstOnline::runCommandsAndBlackout()
{
    WindowRig rig;
    MainWindow &w = *rig.window;
    QCOMPARE(w.UsbRunScene(3), 0);
    QCOMPARE(w.UsbRunChaser(2), 0);
    QCOMPARE(w.UsbRunProgram(1), 0);
    w.actionBlackout->trigger();
    const auto &log = rig.controller.requests();
    QCOMPARE(log.size(), 4);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(log[i].requestType, usb::kRequestTypeOut);
        QCOMPARE(log[i].request, quint8(16 + i));
        QCOMPARE(log[i].value, quint16(i < 3 ? 3 - i : 0));
        QCOMPARE(log[i].index, quint16(0));
        QCOMPARE(log[i].length, quint16(0));
    }
    QCOMPARE(rig.controller.playing(), SimController::Playing::Blackout);
    rig.bus.unplug(rig.controller);
    QCOMPARE(w.UsbRunScene(3), -1);
    w.Blackout(false);
    QVERIFY(rig.prompts.calls.isEmpty());
}

void TstOnline::currentItemCommands_data()
{
    QTest::addColumn<int>("command"); // 0 write setting, 1 read setting, 2 write program, 3 read
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("failAfter"); // requests that go through before every try fails; -1 none
    QTest::addColumn<QString>("message");
    const char *writes[] = {"USB Write Scene Error", "USB Write Chaser Error",
                            "USB Write Program Error"};
    const char *reads[] = {"USB Read Scene Error", "USB Read Chaser Error",
                           "USB Read Program Error"};
    for (int tab = 0; tab < 3; ++tab) {
        for (bool fail : {false, true}) {
            QTest::addRow("write setting, tab %d%s", tab, fail ? ", failing" : "")
                << 0 << tab << (fail ? 5 : -1) << (fail ? writes[tab] : "");
            QTest::addRow("read setting, tab %d%s", tab, fail ? ", failing" : "")
                << 1 << tab << (fail ? 10 : -1) << (fail ? reads[tab] : "");
        }
    }
    // The scene time is the first byte read: the command fails before the box changes.
    QTest::newRow("read setting, scene time unreadable") << 1 << 0 << 0 << "Get GlobalSceneTime";
    QTest::newRow("write program") << 2 << 2 << -1 << "";
    QTest::newRow("write program, failing") << 2 << 2 << 5 << "USB Write Program Error";
    QTest::newRow("read program") << 3 << 2 << -1 << "";
    QTest::newRow("read program, failing") << 3 << 2 << 10 << "USB Read Program Error";
}

void TstOnline::currentItemCommands()
{
    QFETCH(int, command);
    QFETCH(int, tab);
    QFETCH(int, failAfter);
    QFETCH(QString, message);
    const bool fail = failAfter >= 0;
    WindowRig rig;
    MainWindow &w = *rig.window;
    w.TabWidget->setCurrentIndex(tab);
    const std::array<int, 3> lamp0 = setUpController(rig.controller, 5);
    rig.controller.setByteAt(lamp0[tab] + 1, 66);
    w.scene()->lamp(0)->setRGB(200, 0, 0);
    if (fail)
        rig.controller.failRequests(command % 2 ? usb::READ_MEMORY_REQUEST
                                                : usb::WRITE_BYTE_REQUEST,
                                    ControllerLink::kAttempts, failAfter);
    const bool read = command % 2;
    // A read replaces the edited item: the user is asked first, and discards the edit.
    if (read)
        rig.prompts.answers << QMessageBox::Discard;
    if (command == 1) {
        QCOMPARE(w.UsbReadActualSetting(false), fail ? -1 : 0);
    } else {
        QAction *actions[] = {w.actionWrite_Settings, w.actionRead_Settings,
                              w.actionWrite_Current_Program, w.actionRead_Current_Program};
        actions[command]->trigger();
    }
    QVERIFY(!QApplication::overrideCursor());
    if (command != 1) // the menu commands confirm what went through, and only that
        QCOMPARE(w.desktop().confirmation().isEmpty(), fail);
    QStringList texts = rig.prompts.texts();
    if (read)
        QVERIFY(texts.takeFirst().contains("neither saved to a file nor sent"));
    QCOMPARE(texts, message.isEmpty() ? QStringList() : QStringList{message});
    if (read) {
        QCOMPARE(w.widgets().ScenesTimeSpin->value(), failAfter == 0 ? 1 : 5);
        // A failed read leaves the panel alone.
        QCOMPARE(w.scene()->lamp(0)->lampColor(), fail ? QColor(200, 0, 0) : QColor(0, 66, 0));
    } else {
        // The globals follow only a write that went through, and a failed write leaves the
        // item unkept.
        QCOMPARE(rig.controller.byteAt(layout::kInSceneTime), quint8(fail ? 5 : 1));
        if (command == 0)
            QCOMPARE(w.document().isModified(w.document().current()), fail);
        if (!fail)
            QCOMPARE(rig.controller.byteAt(lamp0[tab]), quint8(200));
    }
}

// Online, a whole-memory write is followed as going online is: the lamp count, the scene time and
// the current item come from the controller, so that nothing of the old show goes back over the
// new memory at the next switch. Offline the window keeps its show.
void TstOnline::writeSettingsFollowsTheController_data()
{
    QTest::addColumn<bool>("online");
    QTest::newRow("online") << true;
    QTest::newRow("offline") << false;
}

void TstOnline::writeSettingsFollowsTheController()
{
    QFETCH(bool, online);
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", dir.filePath("data").toLocal8Bit());
    WindowRig rig;
    MainWindow &w = *rig.window;
    if (online)
        rig.goOnline();
    auto show = std::make_unique<Show>();
    show->setShowDefaults();
    show->sceneColors[0][3] = QColor(1, 2, 3);
    const QString file = dir.filePath("twelve.set");
    QVERIFY(
        image::writeSettingsFile(file, image::packShow(*show, 12, 7, image::HeaderStyle::Save)));
    rig.prompts.fileNames << file;
    rig.prompts.answers << QMessageBox::Yes;
    w.File_Write_Settings(false);
    QCOMPARE(rig.prompts.calls.last().text, QString("Settings succesfully load\n"));
    QCOMPARE(w.document().show().ledsNumber, online ? 12 : 30);
    QCOMPARE(w.scene()->lampCount(), online ? 12 : 30);
    QCOMPARE(w.widgets().ScenesTimeSpin->value(), online ? 7 : 1);
    QCOMPARE(w.scene()->lamp(3)->lampColor(), online ? QColor(1, 2, 3) : QColor(0, 0, 0));
    if (online)
        QCOMPARE(rig.controller.playing(), SimController::Playing::Scene);

    // The next write of the current scene leaves the new memory's count and colours as they are.
    rig.controller.clearRequests();
    w.actionWrite_Settings->trigger();
    QCOMPARE(rig.controller.byteAt(layout::kLampsNumber), quint8(online ? 12 : 30));
    QCOMPARE(rig.controller.byteAt(layout::sceneLampAddress(0, 3)), quint8(online ? 1 : 0));
    qunsetenv("XDG_DATA_HOME");
}

// Loading a chaser file online on the Scenes page brings the Chasers page up with the chaser as
// loaded: the switch of page must not read the controller's copy over it.
void TstOnline::loadChasersOnlineKeepsTheFile()
{
    WindowRig rig;
    MainWindow &w = *rig.window;
    rig.controller.setByteAt(layout::kLampsNumber, 2);
    rig.controller.setByteAt(layout::chaserLampAddress(0, 0), 77);
    rig.goOnline();
    QCOMPARE(w.TabWidget->currentIndex(), 0);
    rig.prompts.fileNames << QStringLiteral(LM740_TEST_DATA_DIR "/chasers_2.chs");
    rig.prompts.answers << QMessageBox::Yes << QMessageBox::Yes;
    w.Load_Chasers(false);
    QCOMPARE(w.TabWidget->currentIndex(), 1);
    files::TextFile loaded;
    QFile f(QStringLiteral(LM740_TEST_DATA_DIR "/chasers_2.chs"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(files::readTextFile(files::Format::Chasers, f.readAll(), &loaded));
    QVERIFY(loaded.chasers[0].colors[0] != QColor(77, 0, 0));
    QCOMPARE(w.document().show().chasers[0].colors[0], loaded.chasers[0].colors[0]);
    QCOMPARE(w.scene()->lamp(0)->lampColor(), loaded.chasers[0].colors[0]);
}

void TstOnline::programCommandsOnAnotherPage()
{
    WindowRig rig;
    MainWindow &w = *rig.window;
    w.document().show().programs[0].scenes[3].colors[2] = QColor(0, 0, 9);
    w.scene()->lamp(0)->setRGB(200, 0, 0);
    w.actionWrite_Current_Program->trigger();
    // The program went as it is in the show; the scene's colours did not become a step's.
    QCOMPARE(rig.controller.byteAt(layout::programStepLampAddress(0, 3, 2) + 2), quint8(9));
    QCOMPARE(rig.controller.byteAt(layout::programStepLampAddress(0, 0, 0)), quint8(0));
    QCOMPARE(w.document().show().programs[0].scenes[0].colors[0], QColor(0, 0, 0));

    rig.controller.setByteAt(layout::kLampsNumber, 30);
    rig.controller.setByteAt(layout::programStepLampAddress(0, 0, 0), 50);
    w.actionRead_Current_Program->trigger();
    QCOMPARE(w.document().show().programs[0].scenes[0].colors[0], QColor(50, 0, 0));
    QCOMPARE(w.scene()->lamp(0)->lampColor(), QColor(200, 0, 0));
    w.widgets().sceneButtons->button(1)->click();
    QCOMPARE(w.document().show().sceneColors[0][0], QColor(200, 0, 0));

    // Offline the Chasers page's edit is in its chaser, and a write sends nothing.
    rig.bus.unplug(rig.controller);
    w.USBCheckStatus();
    w.TabWidget->setCurrentIndex(1);
    w.findChild<QDoubleSpinBox *>("TimeSpin")->setValue(4.2);
    rig.controller.clearRequests();
    QCOMPARE(w.UsbWriteActualSetting(false), 0);
    QCOMPARE(w.document().show().chasers[0].time, 4200u);
    QVERIFY(rig.controller.requests().isEmpty());
    QVERIFY(rig.prompts.calls.isEmpty());
}

void TstOnline::onlineSessionEndsInTheFile_data()
{
    QTest::addColumn<double>("failure");
    QTest::newRow("sound link") << 0.0;
    QTest::newRow("30 % of the requests fail") << 0.3;
}

// What `lm740 --simulator=FILE` does, through the window: online, an edit on each tab followed by
// a switch, then the simulated memory saved to FILE as the program saves it when it ends. Each
// edited record is in FILE at its place, unless its switch told of a failure (an error box, or a
// status poll that lost the controller, which the connection label shows).
void TstOnline::onlineSessionEndsInTheFile()
{
    QFETCH(double, failure);
    WindowRig rig;
    MainWindow &w = *rig.window;
    rig.controller.setFailureProbability(failure, 11);
    rig.prompts.answers << QMessageBox::Yes;
    w.actionOnline->trigger();
    QVERIFY(w.session().online());

    enum Kind { SceneRecord, ChaserRecord, StepRecord };
    struct Edit
    {
        Kind kind;
        int number;
        int lamp;
        bool reported;
    };
    QList<Edit> edits;
    auto edit = [&](Kind kind, int number, int lamp, const std::function<void()> &leave) {
        w.scene()->lamp(lamp)->setRGB(uint(40 + number), uint(lamp), 200);
        if (kind != SceneRecord)
            w.scene()->setSceneTime(1000 + 100 * number);
        const qsizetype boxes = rig.prompts.calls.size();
        rig.controller.clearRequests();
        leave();
        bool lost = false;
        for (const auto &r : rig.controller.requests())
            lost |= r.request == usb::LM_ID_REQUEST && r.result < 0;
        edits << Edit{kind, number, lamp, lost || rig.prompts.calls.size() > boxes};
    };
    edit(SceneRecord, 0, 0, [&] { w.widgets().sceneButtons->button(1)->click(); });
    edit(SceneRecord, 1, 5, [&] { w.TabWidget->setCurrentIndex(1); });
    edit(ChaserRecord, 0, 2, [&] { w.widgets().chaserButtons->button(1)->click(); });
    edit(ChaserRecord, 1, 0, [&] { w.TabWidget->setCurrentIndex(2); });
    edit(StepRecord, 0, 3, [&] { w.widgets().programSteps(0)->button(1)->click(); });
    edit(StepRecord, 1, 29, [&] { w.TabWidget->setCurrentIndex(0); });

    QTemporaryDir dir;
    const QString file = dir.filePath("controller.set");
    QVERIFY(rig.controller.saveSettings(file));
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QCOMPARE(bytes.size(), layout::kImageSize);
    const std::span<const quint8> image(reinterpret_cast<const quint8 *>(bytes.constData()),
                                        std::size_t(bytes.size()));
    int written = 0;
    for (const Edit &e : edits) {
        const ColorArray &record = e.kind == SceneRecord ? w.document().show().sceneColors[e.number]
                                   : e.kind == ChaserRecord
                                       ? w.document().show().chasers[e.number].colors
                                       : w.document().show().programs[0].scenes[e.number].colors;
        QCOMPARE(record[e.lamp], QColor(40 + e.number, e.lamp, 200));
        bool same = false;
        if (e.kind == SceneRecord) {
            ColorArray colors{};
            layout::unpackScene(image, e.number, colors, 30);
            same = std::equal(colors.begin(), colors.begin() + 30,
                              w.document().show().sceneColors[e.number].begin());
        } else if (e.kind == ChaserRecord) {
            t_chaser c = w.document().show().chasers[e.number];
            layout::unpackChaser(image, e.number, c, 30);
            same = c == w.document().show().chasers[e.number];
        } else {
            t_program_scene s = w.document().show().programs[0].scenes[e.number];
            layout::unpackProgramStep(image, 0, e.number, s, 30);
            same = s == w.document().show().programs[0].scenes[e.number];
        }
        QVERIFY2(same || e.reported,
                 qPrintable(
                     QString("record %1 of kind %2 lost silently").arg(e.number).arg(int(e.kind))));
        written += same;
    }
    if (failure == 0.0)
        QCOMPARE(written, edits.size());
    QVERIFY(written > 0);
    qInfo("%d of %lld edited records reached the file", written, qlonglong(edits.size()));
}

QTEST_MAIN(TstOnline)
#include "tst_online.moc"
