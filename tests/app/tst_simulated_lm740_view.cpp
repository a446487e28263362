// The dock "Simulated Lm740" on a window whose commands reach the simulated controller, with its
// tick driven by hand: its LCD after the window's commands, its lamps from the controller's own
// memory, the same picture as the preview strip for the same chaser, the bus state, the request
// list, and that it paints nothing while nothing changes or while it is hidden.
#include "color_arrays.h"
#include "my_dock_widget.h"
#include "paint_counter.h"
#include "playback.h"
#include "simulated_lm740_view.h"
#include "window_rig.h"

#include <QAbstractItemModel>
#include <QAccessible>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QTranslator>
#include <QTreeView>
#include <QtTest>

using namespace lm740;
using testcolors::numberedColors;

namespace {

struct ViewRig : WindowRig
{
    SimulatedLm740View *view = nullptr;

    explicit ViewRig(const SimOptions &faults = {})
    {
        window->showSimulatedController(controller, faults);
        view = window->widgets().simulatorView;
    }
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            view->tick();
    }
    void showWindow()
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCoreApplication::processEvents();
    }
    QString cell(int row, int column) const
    {
        const QAbstractItemModel *m = view->requestModel();
        return m->data(m->index(row, column)).toString();
    }
};

enum class Command { Online, RunScene, ChaserTab, RunProgram, Blackout, Upgrade, WritePass };

} // namespace

class TstSimulatedLm740View : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void onlyWithTheSimulator();
    void lcdShowsWhatTheCommandsDid_data();
    void lcdShowsWhatTheCommandsDid();
    void lampsComeFromTheControllersMemory_data();
    void lampsComeFromTheControllersMemory();
    void playsAChaserAsThePreviewDoes();
    void busState();
    void requestList();
    void paintsNothingIdleOrHidden();
    void watchesOneOfSeveral();
};

void TstSimulatedLm740View::onlyWithTheSimulator()
{
    {
        WindowRig plain;
        QVERIFY(!plain.window->widgets().simulatorView);
        QVERIFY(!plain.window->findChild<SimulatedLm740View *>());
        QVERIFY(!plain.window->findChild<QAction *>("actionSimulatedLm740"));
    }
    ViewRig rig;
    QAction *toggle = rig.window->findChild<QAction *>("actionSimulatedLm740");
    QVERIFY(toggle);
    QVERIFY(rig.window->menuUSB->actions().contains(toggle));
    rig.showWindow();
    QVERIFY(rig.view->isVisible());
    QVERIFY(toggle->isChecked());
    rig.window->UsbRunChaser(0);
    QVERIFY(rig.view->tickTimer->isActive()); // a chaser needs its clock
    toggle->trigger();
    QVERIFY(!rig.view->isVisible());
    QVERIFY(!rig.view->tickTimer->isActive());
    toggle->trigger();
    QVERIFY(rig.view->isVisible());
    QVERIFY(rig.view->tickTimer->isActive());
}

void TstSimulatedLm740View::lcdShowsWhatTheCommandsDid_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QStringList>("lcd");
    const QString release = "rel_0_16";
    QTest::newRow("online on Scenes") << Command::Online << 1 << QStringList{"Scene 1", release};
    QTest::newRow("run scene 3") << Command::RunScene << 1 << QStringList{"Scene 3", release};
    QTest::newRow("Chasers page online")
        << Command::ChaserTab << 1 << QStringList{"Chaser 1", release};
    QTest::newRow("program 2 at once")
        << Command::RunProgram << 1 << QStringList{"Program 2 step 1", release};
    QTest::newRow("program 2, three steps on")
        << Command::RunProgram << 3 * 34 << QStringList{"Program 2 step 4", release};
    QTest::newRow("blackout") << Command::Blackout << 5 << QStringList{"Blackout", release};
    QTest::newRow("upgrade") << Command::Upgrade << 1 << QStringList{"Upgrade mode", "Block 5"};
    QTest::newRow("write pass") << Command::WritePass << 1 << QStringList{"USB transfer", release};
}

void TstSimulatedLm740View::lcdShowsWhatTheCommandsDid()
{
    QFETCH(Command, command);
    QFETCH(int, ticks);
    QFETCH(QStringList, lcd);
    ViewRig rig;
    MainWindow &w = *rig.window;
    rig.controller.setByteAt(layout::kLampsNumber, 30);
    QByteArray block(usb::kMaxControlPayload, '\x01');
    const auto *data = reinterpret_cast<const unsigned char *>(block.constData());
    switch (command) {
    case Command::Online:
        w.UsbRunChaser(2); // online mode runs what the editor shows
        rig.goOnline();
        break;
    case Command::RunScene:
        w.UsbRunScene(2);
        break;
    case Command::ChaserTab:
        rig.goOnline();
        w.TabWidget->setCurrentIndex(1);
        break;
    case Command::RunProgram:
        w.UsbRunProgram(1);
        break;
    case Command::Blackout:
        w.actionBlackout->trigger();
        break;
    case Command::Upgrade:
        rig.controller.setUpgradeMode(true);
        for (quint16 half = 0; half < 2; ++half)
            w.session().link().device().controlOut(usb::UPGRADE_DATA_REQUEST, half, 0, data,
                                                   quint16(block.size()));
        w.session().link().device().controlOut(usb::UPGRADE_WRITE_REQUEST, 5 * 128, 0, nullptr, 0);
        break;
    case Command::WritePass:
        w.session().link().writeBlock(0x50, 0, data);
        break;
    }
    rig.ticks(ticks);
    QCOMPARE(rig.view->lcdLines(), lcd);
    QCOMPARE(QAccessible::queryAccessibleInterface(rig.view->findChild<QWidget *>("lcd"))
                 ->text(QAccessible::Name),
             lcd.join('\n'));
    // Drawn as the controller draws them: a character a cell, lit where the line has one. The
    // cells are the runs between the display's background along the middle of each line.
    const QImage drawn = rig.view->findChild<QWidget *>("lcd")->grab().toImage();
    const QColor background(24, 48, 24), lit(140, 240, 110);
    for (int row = 0; row < 2; ++row) {
        const int top = row * drawn.height() / 2, bottom = (row + 1) * drawn.height() / 2;
        const int middle = (top + bottom) / 2;
        QList<QPair<int, int>> cells;
        for (int x = 0; x < drawn.width(); ++x) {
            if (drawn.pixelColor(x, middle) == background)
                continue;
            if (cells.isEmpty() || cells.last().second != x - 1)
                cells.append({x, x});
            cells.last().second = x;
        }
        QCOMPARE(cells.size(), 16);
        QCOMPARE(cells.first().first, drawn.width() - 1 - cells.last().second); // an even frame
        for (int column = 0; column < 16; ++column) {
            bool shows = false;
            for (int y = top; y < bottom && !shows; ++y)
                for (int x = cells[column].first; x <= cells[column].second && !shows; ++x)
                    shows = drawn.pixelColor(x, y) == lit;
            QCOMPARE(shows, column < lcd[row].size() && lcd[row][column] != ' ');
        }
    }
}

void TstSimulatedLm740View::lampsComeFromTheControllersMemory_data()
{
    QTest::addColumn<int>("stored"); // the lamp count byte in the memory
    QTest::addColumn<int>("lamps");  // the lamps the view plays
    QTest::newRow("12") << 12 << 12;
    QTest::newRow("170, the most") << 170 << 170;
    QTest::newRow("171, beyond: the default") << 171 << lm740::kDefaultLamps;
}

void TstSimulatedLm740View::lampsComeFromTheControllersMemory()
{
    QFETCH(int, stored);
    QFETCH(int, lamps);
    ViewRig rig;
    // Not through the window's show: straight into the controller's memory.
    const ColorArray colors = numberedColors(3);
    layout::packScene(rig.controller.memory(), 4, colors, kMaxLamps);
    rig.controller.setByteAt(layout::kLampsNumber, quint8(stored));
    rig.window->UsbRunScene(4);
    rig.ticks(int(playback::ticksUntilEnd(1000)));
    rig.showWindow();
    const QImage row = rig.view->lampRow()->grab().toImage();
    const int w = row.width();
    QVERIFY(w >= 2 * lamps);
    for (int i = 0; i < lamps; ++i)
        QCOMPARE(row.pixelColor((2 * i + 1) * w / (2 * lamps), row.height() / 2), colors[i]);
    // The cells fill the row.
    QCOMPARE(row.pixelColor(w - 1, 0), colors[lamps - 1]);
}

void TstSimulatedLm740View::playsAChaserAsThePreviewDoes()
{
    ViewRig rig;
    MainWindow &w = *rig.window;
    w.document().setGlobals(10, w.document().show().sceneTime);
    t_chaser &chaser = w.document().show().chasers[0];
    chaser.colors = numberedColors(8);
    chaser.time = 300;
    chaser.xfade = 100;
    chaser.direction = 2;
    chaser.pattern_len = 3;
    chaser.repeat_number = 2;
    QCOMPARE(w.UsbWriteChaser(&chaser, 0, 10), 0);
    QCOMPARE(w.UsbSetLampsNumber(10), 1);
    w.TabWidget->setCurrentIndex(1); // the preview's chaser simulation starts
    w.UsbRunChaser(0);
    MyDockWidget &strip = *w.widgets().dockWidget;
    // The first fade starts from whatever each showed before; from the second step on the two
    // must agree at every tick.
    int compared = 0;
    for (int tick = 1; tick <= 60; ++tick) {
        strip.tick();
        rig.view->tick();
        if (tick <= 11)
            continue;
        for (int i = 0; i < 10; ++i)
            QCOMPARE(rig.controller.output(i), strip.shownColor(i));
        ++compared;
    }
    QCOMPARE(compared, 49);
}

void TstSimulatedLm740View::busState()
{
    {
        SimOptions absent;
        absent.absent = true;
        ViewRig rig(absent);
        QCOMPARE(rig.view->busState(), QString("Not on the bus"));
        QVERIFY(rig.view->faultLines().contains("not on the bus at all"));
    }
    ViewRig rig;
    QCOMPARE(rig.view->faultLines(), QStringList{"none"});
    rig.showWindow();
    QCOMPARE(rig.view->busState(), QString("On the bus"));
    rig.controller.setUnplugSchedule(1, 2);
    rig.window->USBCheckStatus(); // its last request before it goes
    QCoreApplication::processEvents();
    QCOMPARE(rig.view->busState(), QString("Off the bus: unplugged"));
    const QLabel *line = nullptr;
    for (const QLabel *l : rig.view->findChildren<QLabel *>())
        if (l->text() == rig.view->busState())
            line = l;
    QVERIFY(line);
    QVERIFY(!line->styleSheet().isEmpty()); // it stands out
    rig.window->USBCheckStatus();
    rig.window->USBCheckStatus();
    QCoreApplication::processEvents();
    QCOMPARE(rig.view->busState(), QString("On the bus"));
    QVERIFY(line->styleSheet().isEmpty());
}

void TstSimulatedLm740View::requestList()
{
    QTranslator polish; // whose headers are longer than the English ones
    QVERIFY(polish.load(QStringLiteral(":/i18n/lm740_pl.qm")));
    QCoreApplication::installTranslator(&polish);
    ViewRig rig;
    QCoreApplication::removeTranslator(&polish);
    const QHeaderView *header = rig.view->findChild<QTreeView *>()->header();
    for (int column = 0; column < 3; ++column)
        QVERIFY(header->sectionSize(column) >= header->sectionSizeHint(column));
    for (int i = 0; i < 150; ++i)
        rig.window->UsbRunScene(i % 10);
    rig.view->tick();
    QCOMPARE(rig.view->requestModel()->rowCount(), SimController::kRecentRequests);
    QCOMPARE(rig.cell(0, 0), QString("Run scene"));
    QCOMPARE(rig.cell(0, 1), QString("9:0"));
    QCOMPARE(rig.cell(1, 1), QString("8:0"));
    QCOMPARE(rig.cell(0, 3), QString("ok"));
    // A failed request, a short answer and a repeated one, each as the list tells it.
    rig.controller.failNext(1);
    rig.window->UsbRunChaser(1);
    rig.view->tick();
    QCOMPARE(QStringList({rig.cell(0, 0), rig.cell(0, 3)}), QStringList({"Run chaser", "failed"}));
    rig.controller.answerShortRequests(usb::READ_MEMORY_REQUEST, 1);
    rig.window->UsbGetLampsNumber(); // retried until one answer is whole
    rig.view->tick();
    QCOMPARE(QStringList({rig.cell(0, 0), rig.cell(0, 1), rig.cell(0, 2), rig.cell(0, 3)}),
             QStringList({"Read memory", "0:2", "1", "ok"}));
    QCOMPARE(rig.cell(1, 3), QString("short: 0"));
    rig.window->UsbGetLampsNumber();
    rig.window->UsbGetLampsNumber();
    rig.view->tick();
    QCOMPARE(rig.cell(0, 0), QString("Read memory (repeated)"));
    const QAbstractItemModel *m = rig.view->requestModel();
    QCOMPARE(m->data(m->index(0, 0), Qt::ToolTipRole).toString(), QString("3 times in a row"));
}

void TstSimulatedLm740View::paintsNothingIdleOrHidden()
{
    ViewRig rig;
    rig.showWindow();
    rig.window->UsbRunScene(0);
    QVERIFY(rig.view->tickTimer->isActive());
    rig.ticks(40);
    QCoreApplication::processEvents();
    QVERIFY(!rig.view->tickTimer->isActive()); // the scene has faded in: its clock rests
    for (int i = 0; i < 2; ++i) {              // a new entry, which then shows that it repeats
        rig.window->USBCheckStatus();
        QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents(); // the list's delayed layout
    PaintCounter counter;
    const QList<QWidget *> parts = rig.view->findChildren<QWidget *>();
    for (QWidget *part : parts)
        part->installEventFilter(&counter);
    // The window's status poll every second: the same identification again.
    for (int i = 0; i < 3; ++i) {
        rig.window->USBCheckStatus();
        QCoreApplication::processEvents();
    }
    QCOMPARE(counter.paints, 0);
    PaintCounter lampPaints;
    rig.view->lampRow()->installEventFilter(&lampPaints);
    ColorArray colors = numberedColors(0); // written into the scene it plays, its clock at rest
    QCOMPARE(rig.window->UsbWriteScene(colors.data(), 0, kDefaultLamps), 0);
    for (int pass = 0; pass < 5 && lampPaints.paints == 0; ++pass)
        QCoreApplication::processEvents();
    QVERIFY(lampPaints.paints > 0 && rig.controller.output(0) == colors[0]);

    // A request that is not the same again is a new row: the list is drawn again.
    QWidget *list = rig.view->findChild<QTreeView *>()->viewport();
    PaintCounter listPaints;
    list->installEventFilter(&listPaints);
    rig.window->UsbRunScene(1);
    // The refresh comes from the event loop, and its repaint is posted again from there.
    for (int pass = 0; pass < 5 && listPaints.paints == 0; ++pass)
        QCoreApplication::processEvents();
    QVERIFY(listPaints.paints > 0);

    // Hidden, a chaser's steps and the window's requests reach no part of it.
    rig.view->toggleViewAction()->trigger();
    QCoreApplication::processEvents();
    counter.paints = 0;
    rig.window->UsbRunChaser(0);
    rig.window->UsbRunProgram(1);
    QCoreApplication::processEvents();
    QVERIFY(!rig.view->tickTimer->isActive());
    QCOMPARE(counter.paints, 0);
}

// Watched in turn while it shows, a controller is found where its show is: the time it was not
// watched is caught up, and no more.
void TstSimulatedLm740View::watchesOneOfSeveral()
{
    ViewRig rig;
    SimController second;
    second.setRelease(0, 15);
    rig.view->addController(rig.controller, {}, "1-1");
    rig.view->addController(second, {}, "1-2");
    rig.showWindow();
    rig.window->UsbRunProgram(1);
    rig.ticks(3 * 34);
    QCOMPARE(rig.view->lcdLines(), QStringList({"Program 2 step 4", "rel_0_16"}));
    rig.view->watch("1-2");
    QCOMPARE(rig.view->windowTitle(), QString("Simulated Lm740 1-2"));
    QCOMPARE(rig.view->lcdLines(), QStringList({"Scene 1", "rel_0_15"}));
    rig.view->watch("1-1");
    QCOMPARE(rig.view->lcdLines(), QStringList({"Program 2 step 4", "rel_0_16"}));
}

QTEST_MAIN(TstSimulatedLm740View)
#include "tst_simulated_lm740_view.moc"
