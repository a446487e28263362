// The main window as a fresh start shows it: actions, menus, tool bar, status bar, item buttons,
// program tabs, size limits and the show's defaults; Help and About.
#include "arthur_style.h"
#include "help.h"
#include "main_window.h"
#include "my_dock_widget.h"
#include "my_frame.h"
#include "my_spin.h"
#include "my_style.h"
#include "recording_prompts.h"
#include "scene.h"
#include "super_rgb.h"
#include "version.h"
#include "window_widgets.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

#include <memory>

class TstMainWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { m_window = std::make_unique<MainWindow>(); }
    void cleanup() { m_window.reset(); }

    void titleAndSizeLimits();
    void actions_data();
    void actions();
    void actionsOutsideMenusAndStates();
    void menusInOrderWithSeparators();
    void toolBarRangesAndValues();
    void statusBarWidgetsInOrder();
    void itemButtonGroups();
    void programTabs();
    void showDefaults();
    void aboutShowsVersionThroughPrompts();
    void helpButtonAndActionOpenTheSameManual();
    void helpTellsWhereTheManualIsWhenItCannotBeShown_data();
    void helpTellsWhereTheManualIsWhenItCannotBeShown();
    void exitDeletesTheWindow();
    void stylesAndCustomWidgets();
    void previewStripDockedAboveAndIdle();
    void lampControlsReachableInAShortWindow();
    void windowBeingDestroyedGetsNoSignals();

private:
    std::unique_ptr<MainWindow> m_window;
};

void TstMainWindow::titleAndSizeLimits()
{
    MainWindow &w = *m_window;
    QCOMPARE(w.windowTitle(), QStringLiteral("Lm740 ver. " LM740_VERSION "[*]"));
    QCOMPARE(w.objectName(), QStringLiteral("MainWindow"));
    w.resize(100, 100);
    QCOMPARE(w.size(), QSize(750, 550));
    w.resize(5000, 5000);
    QCOMPARE(w.size(), QSize(3200, 1200));
    QCOMPARE(w.TabWidget->currentIndex(), 0);
    QCOMPARE(w.TabWidget->count(), 3);
    QCOMPARE(w.TabWidget->tabText(0), QStringLiteral("Scenes"));
    QCOMPARE(w.TabWidget->tabText(1), QStringLiteral("Chasers"));
    QCOMPARE(w.TabWidget->tabText(2), QStringLiteral("Programs"));
    QCOMPARE(w.TabWidget->widget(0), w.TabScenes);
    QCOMPARE(w.TabWidget->widget(2), w.TabPrograms);
    QVERIFY(!w.windowIcon().isNull());
}

void TstMainWindow::actions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("icon");
    QTest::newRow("actionExit") << QStringLiteral("actionExit") << QStringLiteral("Exit")
                                << QStringLiteral("");
    QTest::newRow("actionLoad_Scene")
        << QStringLiteral("actionLoad_Scene") << QStringLiteral("Load Scene...")
        << QStringLiteral("open.png");
    QTest::newRow("actionSave_Scene")
        << QStringLiteral("actionSave_Scene") << QStringLiteral("Save Scene...")
        << QStringLiteral("save.png");
    QTest::newRow("actionLoad_Scenes")
        << QStringLiteral("actionLoad_Scenes") << QStringLiteral("Load Scenes...")
        << QStringLiteral("open.png");
    QTest::newRow("actionSave_Scenes")
        << QStringLiteral("actionSave_Scenes") << QStringLiteral("Save Scenes...")
        << QStringLiteral("save.png");
    QTest::newRow("actionLEDs_Number")
        << QStringLiteral("actionLEDs_Number") << QStringLiteral("LEDs Number")
        << QStringLiteral("open.png");
    QTest::newRow("actionLoad_Program")
        << QStringLiteral("actionLoad_Program") << QStringLiteral("Load Program ...")
        << QStringLiteral("open.png");
    QTest::newRow("actionSave_Program")
        << QStringLiteral("actionSave_Program") << QStringLiteral("Save Program ...")
        << QStringLiteral("save.png");
    QTest::newRow("actionLoad_Programs")
        << QStringLiteral("actionLoad_Programs") << QStringLiteral("Load Programs ...")
        << QStringLiteral("open.png");
    QTest::newRow("actionSave_Programs")
        << QStringLiteral("actionSave_Programs") << QStringLiteral("Save Programs ...")
        << QStringLiteral("save.png");
    QTest::newRow("actionLoad_Chaser")
        << QStringLiteral("actionLoad_Chaser") << QStringLiteral("Load Chaser ...")
        << QStringLiteral("open.png");
    QTest::newRow("actionSave_Chaser")
        << QStringLiteral("actionSave_Chaser") << QStringLiteral("Save Chaser ...")
        << QStringLiteral("save.png");
    QTest::newRow("actionLoad_Chasers")
        << QStringLiteral("actionLoad_Chasers") << QStringLiteral("Load Chasers ...")
        << QStringLiteral("open.png");
    QTest::newRow("actionSave_Chasers")
        << QStringLiteral("actionSave_Chasers") << QStringLiteral("Save Chasers ...")
        << QStringLiteral("save.png");
    QTest::newRow("actionRun_Program")
        << QStringLiteral("actionRun_Program") << QStringLiteral("Run Program")
        << QStringLiteral("player_play.png");
    QTest::newRow("actionStop_Program")
        << QStringLiteral("actionStop_Program") << QStringLiteral("Stop Program")
        << QStringLiteral("player_stop.png");
    QTest::newRow("actionRun_Chaser")
        << QStringLiteral("actionRun_Chaser") << QStringLiteral("Run Chaser")
        << QStringLiteral("player_play.png");
    QTest::newRow("actionStop_Chaser")
        << QStringLiteral("actionStop_Chaser") << QStringLiteral("Stop Chaser")
        << QStringLiteral("player_stop.png");
    QTest::newRow("actionGenerate_set_file")
        << QStringLiteral("actionGenerate_set_file") << QStringLiteral("Generate_set_file")
        << QStringLiteral("new.png");
    QTest::newRow("actionPolski") << QStringLiteral("actionPolski") << QStringLiteral("Polski")
                                  << QStringLiteral("");
    QTest::newRow("actionEnglish")
        << QStringLiteral("actionEnglish") << QStringLiteral("English") << QStringLiteral("");
    QTest::newRow("actionAbout") << QStringLiteral("actionAbout") << QStringLiteral("About")
                                 << QStringLiteral("info.png");
    QTest::newRow("actionUsbConnect")
        << QStringLiteral("actionUsbConnect") << QStringLiteral("Connect") << QStringLiteral("");
    QTest::newRow("actionUsbDisconnect") << QStringLiteral("actionUsbDisconnect")
                                         << QStringLiteral("Disconnect") << QStringLiteral("");
    QTest::newRow("actionUsbGetLmId")
        << QStringLiteral("actionUsbGetLmId") << QStringLiteral("Get Lm ID") << QStringLiteral("");
    QTest::newRow("actionReadDataFlash")
        << QStringLiteral("actionReadDataFlash") << QStringLiteral("Read Settings")
        << QStringLiteral("read.png");
    QTest::newRow("actionWriteDataFlash")
        << QStringLiteral("actionWriteDataFlash") << QStringLiteral("Write Settings")
        << QStringLiteral("write.png");
    QTest::newRow("actionUpgradeLm740")
        << QStringLiteral("actionUpgradeLm740") << QStringLiteral("Upgrade Lm740")
        << QStringLiteral("write.png");
    QTest::newRow("actionGet_Settings") << QStringLiteral("actionGet_Settings")
                                        << QStringLiteral("Read Settings") << QStringLiteral("");
    QTest::newRow("actionWrite_Settings")
        << QStringLiteral("actionWrite_Settings")
        << QStringLiteral("Write current Scene, Chaser or Program Settings To Lm740")
        << QStringLiteral("synchro_red.png");
    QTest::newRow("actionRead_Settings")
        << QStringLiteral("actionRead_Settings")
        << QStringLiteral("Read current Scene, Chaser or ProgramSettings From Lm740")
        << QStringLiteral("synchro_green.png");
    QTest::newRow("actionBlackout") << QStringLiteral("actionBlackout")
                                    << QStringLiteral("Blackout") << QStringLiteral("blackout.png");
    QTest::newRow("actionOnline") << QStringLiteral("actionOnline") << QStringLiteral("Online")
                                  << QStringLiteral("USB green 64x64.png");
    QTest::newRow("actionGetColorMode") << QStringLiteral("actionGetColorMode")
                                        << QStringLiteral("GetColorMode") << QStringLiteral("");
    QTest::newRow("actionSetColorMode") << QStringLiteral("actionSetColorMode")
                                        << QStringLiteral("SetColorMode") << QStringLiteral("");
    QTest::newRow("actionGetLampsNumber") << QStringLiteral("actionGetLampsNumber")
                                          << QStringLiteral("GetLampsNumber") << QStringLiteral("");
    QTest::newRow("actionSetLampsNumber") << QStringLiteral("actionSetLampsNumber")
                                          << QStringLiteral("SetLampsNumber") << QStringLiteral("");
    QTest::newRow("actionGetGlobalSceneTime")
        << QStringLiteral("actionGetGlobalSceneTime") << QStringLiteral("GetGlobalSceneTime")
        << QStringLiteral("");
    QTest::newRow("actionSetGlobalSceneTime")
        << QStringLiteral("actionSetGlobalSceneTime") << QStringLiteral("SetGlobalSceneTime")
        << QStringLiteral("");
    QTest::newRow("actionGetNumberNow") << QStringLiteral("actionGetNumberNow")
                                        << QStringLiteral("GetNumberNow") << QStringLiteral("");
    QTest::newRow("actionHelp") << QStringLiteral("actionHelp") << QStringLiteral("Help")
                                << QStringLiteral("help.png");
    QTest::newRow("actionSave") << QStringLiteral("actionSave") << QStringLiteral("Save...")
                                << QStringLiteral("save.png");
    QTest::newRow("actionLoad") << QStringLiteral("actionLoad") << QStringLiteral("Load...")
                                << QStringLiteral("open.png");
    QTest::newRow("actionWrite_Current_Program")
        << QStringLiteral("actionWrite_Current_Program")
        << QStringLiteral("Write current Program to Lm740") << QStringLiteral("synchro_red.png");
    QTest::newRow("actionRead_Current_Program")
        << QStringLiteral("actionRead_Current_Program")
        << QStringLiteral("Read current Program from Lm740") << QStringLiteral("synchro_green.png");
}

void TstMainWindow::actions()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, icon);
    auto *action = m_window->findChild<QAction *>(name, Qt::FindDirectChildrenOnly);
    QVERIFY(action);
    // The texts as shown, without their mnemonic marks.
    QCOMPARE(QString(action->text()).remove(QLatin1Char('&')), text);
    QCOMPARE(action->parent(), m_window.get());
    // Every named icon is a real image of ours; actions without one have none.
    QCOMPARE(action->icon().isNull(), icon.isEmpty());
    if (!icon.isEmpty())
        QVERIFY2(!QPixmap(QStringLiteral(":/res/images/") + icon).isNull(), qPrintable(icon));
}

void TstMainWindow::actionsOutsideMenusAndStates()
{
    MainWindow &w = *m_window;
    const auto all = w.findChildren<QAction *>(QString(), Qt::FindDirectChildrenOnly);
    int named = 0;
    for (QAction *a : all)
        named += a->objectName().startsWith(QLatin1String("action"));
    QCOMPARE(named, 45);

    QVERIFY(!w.actionRun_Chaser->isVisible());
    QVERIFY(!w.actionRun_Chaser->isEnabled());
    QVERIFY(!w.actionStop_Chaser->isVisible());
    QVERIFY(!w.actionStop_Chaser->isEnabled());
    QVERIFY(w.actionOnline->isCheckable());
    QVERIFY(!w.actionOnline->isChecked());
    QVERIFY(w.actionOnline->isEnabled());
    QVERIFY(!w.actionUsbConnect->isCheckable());

    // These exist but no menu offers them.
    for (QAction *a :
         {w.actionLEDs_Number, w.actionGenerate_set_file, w.actionPolski, w.actionEnglish,
          w.actionUsbConnect, w.actionUsbDisconnect, w.actionUsbGetLmId, w.actionGet_Settings,
          w.actionGetColorMode, w.actionSetColorMode, w.actionGetLampsNumber,
          w.actionSetLampsNumber, w.actionGetGlobalSceneTime, w.actionSetGlobalSceneTime,
          w.actionGetNumberNow})
        QVERIFY2(a->associatedObjects().size() == 0 ||
                     std::none_of(a->associatedObjects().cbegin(), a->associatedObjects().cend(),
                                  [](QObject *o) { return qobject_cast<QMenu *>(o); }),
                 qPrintable(a->objectName()));
}

void TstMainWindow::menusInOrderWithSeparators()
{
    MainWindow &w = *m_window;
    QStringList titles;
    for (QAction *a : w.menubar->actions())
        titles << QString(a->text()).remove(QLatin1Char('&'));
    QCOMPARE(titles,
             (QStringList{"File", "Edit", "Scenes", "Chasers", "Programs", "USB", "About"}));
    QCOMPARE(w.menubar->geometry().size().width() > 0, true);

    auto names = [](QMenu *menu) {
        QStringList n;
        for (QAction *a : menu->actions())
            n << (a->isSeparator() ? QStringLiteral("-")
                  : a->menu()      ? a->menu()->objectName()
                                   : a->objectName());
        return n;
    };
    QCOMPARE(names(w.menuFile),
             (QStringList{"actionExit", "actionLoad", "actionSave", "-", "recentShowsMenu"}));
    QCOMPARE(names(w.menuScenes), (QStringList{"actionLoad_Scene", "actionSave_Scene", "-",
                                               "actionLoad_Scenes", "actionSave_Scenes"}));
    QCOMPARE(names(w.menuChasers),
             (QStringList{"actionLoad_Chaser", "actionSave_Chaser", "-", "actionLoad_Chasers",
                          "actionSave_Chasers", "-", "actionRun_Chaser", "actionStop_Chaser"}));
    QCOMPARE(names(w.menuPrograms),
             (QStringList{"actionLoad_Program", "actionSave_Program", "-", "actionLoad_Programs",
                          "actionSave_Programs", "-", "actionRun_Program", "actionStop_Program"}));
    // The Controller submenu and its separator come first, out of sight with one controller.
    QCOMPARE(names(w.menuUSB).mid(0, 2), (QStringList{"menuController", "-"}));
    QVERIFY(!w.menuUSB->actions()[0]->isVisible() && !w.menuUSB->actions()[1]->isVisible());
    QCOMPARE(
        names(w.menuUSB).mid(2),
        (QStringList{"actionReadDataFlash", "actionWriteDataFlash", "actionWrite_Settings",
                     "actionRead_Settings", "actionBlackout", "actionOnline", "actionUpgradeLm740",
                     "actionWrite_Current_Program", "actionRead_Current_Program"}));
    QCOMPARE(names(w.menuAbout), (QStringList{"actionAbout", "actionHelp"}));
}

void TstMainWindow::toolBarRangesAndValues()
{
    MainWindow &w = *m_window;
    QCOMPARE(w.widgets().globalsToolBar->windowTitle(), QStringLiteral("Globals"));
    QVERIFY(w.widgets().globalsToolBar->isMovable());
    QCOMPARE(w.toolBarArea(w.widgets().globalsToolBar), Qt::TopToolBarArea);
    QCOMPARE(w.widgets().LedsNumberLabel->text(), QStringLiteral("RGB Lamps Number"));
    QCOMPARE(w.widgets().LedsNumberSpin->minimum(), 1);
    QCOMPARE(w.widgets().LedsNumberSpin->maximum(), 170);
    QCOMPARE(w.widgets().LedsNumberSpin->value(), 30);
    QCOMPARE(w.widgets().LedsNumberSpin->toolTip(), QStringLiteral("Number of RGB lamps"));
    QCOMPARE(w.widgets().LedsNumberButton->text(), QStringLiteral("OK"));
    QCOMPARE(w.widgets().ScenesTimeLabel->text(), QStringLiteral("Scenes Time"));
    QCOMPARE(w.widgets().ScenesTimeSpin->minimum(), 1);
    QCOMPARE(w.widgets().ScenesTimeSpin->maximum(), 60);
    QCOMPARE(w.widgets().ScenesTimeSpin->singleStep(), 1);
    QCOMPARE(w.widgets().ScenesTimeSpin->suffix(), QStringLiteral("s"));
    QCOMPARE(w.widgets().ScenesTimeSpin->value(), 1);
    QCOMPARE(w.widgets().ScenesTimeSpin->toolTip(), QStringLiteral("Global Scene Time"));

    // The tool bar holds its six widgets in this order.
    QList<QWidget *> order;
    for (QAction *a : w.widgets().globalsToolBar->actions())
        order << w.widgets().globalsToolBar->widgetForAction(a);
    QCOMPARE(order, (QList<QWidget *>{w.widgets().LedsNumberLabel, w.widgets().LedsNumberSpin,
                                      w.widgets().LedsNumberButton, w.widgets().ScenesTimeLabel,
                                      w.widgets().ScenesTimeSpin, w.widgets().ScenesTimeButton}));
}

void TstMainWindow::statusBarWidgetsInOrder()
{
    MainWindow &w = *m_window;
    QCOMPARE(w.widgets().onlineLabel->text(), QStringLiteral("Offline"));
    QVERIFY(w.widgets().onlineLabel->font().bold());
    QVERIFY(w.widgets().connectionLabel->font().bold());
    QCOMPARE(w.widgets().onlineLabel->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(w.widgets().progressBar->minimum(), 0);
    QCOMPARE(w.widgets().progressBar->maximum(), 100);
    QCOMPARE(w.widgets().progressBar->value(), 0);
    QCOMPARE(w.widgets().helpButton->toolTip(), QStringLiteral("Help"));
    QVERIFY(!w.widgets().helpButton->icon().isNull());

    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // Left to right as added.
    const QList<QWidget *> order{w.widgets().connectionLabel, w.widgets().onlineLabel,
                                 w.widgets().progressBar, w.widgets().helpButton,
                                 w.widgets().deviceMessageLabel};
    for (int i = 0; i + 1 < order.size(); ++i)
        QVERIFY2(order[i]->x() < order[i + 1]->x(), qPrintable(order[i + 1]->objectName()));
    for (QWidget *widget : order)
        QCOMPARE(widget->parentWidget(), static_cast<QWidget *>(w.statusbar));
}

void TstMainWindow::itemButtonGroups()
{
    MainWindow &w = *m_window;
    QCOMPARE(w.widgets().sceneButtons->buttons().size(), 10);
    QVERIFY(w.widgets().sceneButtons->exclusive());
    for (int i = 0; i < 10; ++i) {
        QAbstractButton *b = w.widgets().sceneButtons->button(i);
        QVERIFY(b);
        QCOMPARE(b->text(), QStringLiteral("Scene %1").arg(i + 1));
        QVERIFY(b->isCheckable());
        QCOMPARE(b->parentWidget(), w.TabScenes);
    }
    QCOMPARE(w.widgets().sceneButtons->checkedId(), 0);

    QCOMPARE(w.widgets().chaserButtons->buttons().size(), 4);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(w.widgets().chaserButtons->button(i)->text(),
                 QStringLiteral("Chaser %1").arg(i + 1));
        QCOMPARE(w.widgets().chaserButtons->button(i)->parentWidget(), w.TabChasers);
    }
    QCOMPARE(w.widgets().chaserButtons->checkedId(), 0);

    // Exclusive: a click moves the check.
    w.widgets().sceneButtons->button(3)->click();
    QCOMPARE(w.widgets().sceneButtons->checkedId(), 3);
}

void TstMainWindow::programTabs()
{
    MainWindow &w = *m_window;
    QCOMPARE(w.widgets().TabProgramProgram->count(), 4);
    QCOMPARE(w.widgets().TabProgramProgram->parentWidget(), w.TabPrograms);
    // A program's steps are made when its tab is first shown, and shown with it.
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.TabWidget->setCurrentWidget(w.TabPrograms);
    w.widgets().TabProgramProgram->setCurrentIndex(2);
    for (int p = 0; p < 4; ++p) {
        QWidget *page = w.widgets().programPage(p);
        QButtonGroup *steps = w.widgets().stepGroup(p);
        QCOMPARE(w.widgets().TabProgramProgram->tabText(p),
                 QStringLiteral("Program %1").arg(p + 1));
        QCOMPARE(w.widgets().TabProgramProgram->widget(p), page);
        QCOMPARE(steps->parent(), page);
        const bool shown = p == 0 || p == 2;
        QCOMPARE(steps->buttons().size(), shown ? 31 : 0);
        QCOMPARE(w.widgets().programSteps(p)->checkedId(), 0);
        QCOMPARE(page->layout()->count(), 31);
        for (int s = 0; s < 31; ++s) {
            QAbstractButton *b = steps->button(s);
            QCOMPARE(b->text(), QString::number(s + 1));
            QVERIFY(b->isCheckable());
            QCOMPARE(b->isVisible(), p == 2);
        }
    }
}

void TstMainWindow::showDefaults()
{
    MainWindow &w = *m_window;
    QCOMPARE(w.document().show().ledsNumber, 30);
    QCOMPARE(w.document().show().actualSceneNumber, 0);
    QVERIFY(!w.session().online());
    QCOMPARE(w.document().show().sceneColors[9][169], QColor(0, 0, 0));
    QVERIFY(!w.document().show().sceneColors[9][170].isValid());
    QCOMPARE(w.document().show().chasers[3].time, 1000u);
    QCOMPARE(w.document().show().programs[3].scenes[30].scene_xfade, quint8(100));
    QCOMPARE(w.document().show().programs[0].scenes[0].colors[0], QColor(0, 0, 0));
}

void TstMainWindow::aboutShowsVersionThroughPrompts()
{
    RecordingPrompts prompts;
    m_window->actionAbout->trigger();
    QCOMPARE(prompts.calls.size(), 1);
    const PromptCall &c = prompts.calls.first();
    QCOMPARE(c.kind, QStringLiteral("information"));
    QVERIFY(!c.hasParent);
    QCOMPARE(c.title, QStringLiteral("VXL S.C. Lm740 - About"));
    QVERIFY(c.text.startsWith(
        QStringLiteral("LM740 ver. " LM740_VERSION "\nControl software for Lm740.")));
    QCOMPARE(c.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(c.defaultButton, QMessageBox::NoButton);
}

namespace {
// Lets the help viewer that Help started run to its end, and its end be handled.
void finishHelpViewer()
{
    auto *viewer = QCoreApplication::instance()->findChild<QProcess *>(QStringLiteral("helpViewer"),
                                                                       Qt::FindDirectChildrenOnly);
    if (viewer) {
        viewer->waitForFinished(30000); // false for a viewer that did not start
        QCOMPARE(viewer->state(), QProcess::NotRunning);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
} // namespace

void TstMainWindow::helpButtonAndActionOpenTheSameManual()
{
    RecordingPrompts prompts;
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("started"));
    // A viewer that notes the manual it was given.
    m_window->setHelpViewer({"/bin/sh", "-c", "printf '%s\\n' \"$0\" >> '" + log + "'"});
    m_window->widgets().helpButton->click();
    finishHelpViewer();
    m_window->actionHelp->trigger();
    finishHelpViewer();
    QFile file(log);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList started = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(started.size(), 2);
    QCOMPARE(started[0], started[1]);
    QVERIFY(QFileInfo::exists(started[0]));
    QVERIFY(prompts.calls.isEmpty());

    // The help file in the working directory is looked up first.
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QFile chm(QStringLiteral("Lm740_PL.chm"));
    QVERIFY(chm.open(QIODevice::WriteOnly));
    chm.close();
    QCOMPARE(lm740::helpFile(), QStringLiteral("Lm740_PL.chm"));
    QDir::setCurrent(old);
}

void TstMainWindow::helpTellsWhereTheManualIsWhenItCannotBeShown_data()
{
    QTest::addColumn<QStringList>("viewer");
    QTest::addColumn<bool>("told");
    QTest::newRow("shown") << QStringList{"true"} << false;
    QTest::newRow("no viewer") << QStringList{"/nonexistent/xdg-open"} << true;
    QTest::newRow("viewer failed") << QStringList{"false"} << true;
    QTest::newRow("viewer crashed") << QStringList{"sh", "-c", "kill -SEGV $$"} << true;
}

void TstMainWindow::helpTellsWhereTheManualIsWhenItCannotBeShown()
{
    QFETCH(QStringList, viewer);
    QFETCH(bool, told);
    RecordingPrompts prompts;
    m_window->setHelpViewer(viewer);
    m_window->Help(false);
    finishHelpViewer();
    QCOMPARE(prompts.calls.size(), told ? 1 : 0);
    if (told) {
        const PromptCall &c = prompts.calls.first();
        QCOMPARE(c.kind, QStringLiteral("information"));
        QVERIFY(!c.hasParent);
        QVERIFY2(c.text.endsWith(QFileInfo(lm740::helpFile()).absoluteFilePath()),
                 qPrintable(c.text));
    }
}

void TstMainWindow::exitDeletesTheWindow()
{
    QPointer<MainWindow> w = m_window.release();
    w->setAttribute(Qt::WA_DeleteOnClose); // as main() makes it
    w->actionExit->trigger();
    QVERIFY(w); // deferred
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(w.isNull());
}

void TstMainWindow::stylesAndCustomWidgets()
{
    MainWindow &w = *m_window;
    QVERIFY(qobject_cast<ArthurStyle *>(w.widgets().arthurStyle));
    QVERIFY(qobject_cast<MyStyle *>(w.widgets().myStyle));
    QCOMPARE(w.TabWidget->style(), static_cast<QStyle *>(w.widgets().myStyle));
    QCOMPARE(w.widgets().progressBar->style(), static_cast<QStyle *>(w.widgets().arthurStyle));
    QCOMPARE(w.widgets().LedsNumberButton->style(), static_cast<QStyle *>(w.widgets().arthurStyle));
    QCOMPARE(w.widgets().ScenesTimeButton->style(), static_cast<QStyle *>(w.widgets().arthurStyle));
    QCOMPARE(w.widgets().sceneButtons->button(9)->style(),
             static_cast<QStyle *>(w.widgets().arthurStyle));
    QCOMPARE(w.widgets().chaserButtons->button(0)->style(),
             static_cast<QStyle *>(w.widgets().arthurStyle));
    QCOMPARE(w.widgets().programSteps(3)->button(30)->style(),
             static_cast<QStyle *>(w.widgets().arthurStyle));
    // The spin boxes are the program's own, which pass keys to the window first.
    QVERIFY(qobject_cast<MySpin *>(static_cast<QObject *>(w.widgets().LedsNumberSpin)));
    QVERIFY(qobject_cast<MySpin *>(static_cast<QObject *>(w.widgets().ScenesTimeSpin)));
    QVERIFY(qobject_cast<MyFrame *>(static_cast<QObject *>(w.widgets().SceneFrame)));
    QCOMPARE(w.widgets().SceneFrame->frameShape(), QFrame::StyledPanel);
}

void TstMainWindow::previewStripDockedAboveAndIdle()
{
    MainWindow &w = *m_window;
    MyDockWidget *strip = w.widgets().dockWidget;
    QCOMPARE(strip->parent(), static_cast<QObject *>(&w));
    QCOMPARE(w.dockWidgetArea(strip), Qt::TopDockWidgetArea);
    QVERIFY(!strip->isFloating());
    // Construction shows scene 1: the strip fades to it over the global scene time, then rests.
    QVERIFY(strip->tickTimer->isActive());
    QVERIFY(!strip->playMode);
    QCOMPARE(strip->count, 30);
    QCOMPARE(strip->totalTime, 1000u);
    QCOMPARE(strip->targetColors[169], QColor(0, 0, 0));
    QVERIFY(!strip->previousColors[170].isValid());

    // The window's menu of bars offers the tool bar, and no blank entry for the title-less strip.
    std::unique_ptr<QMenu> menu(w.createPopupMenu());
    QVERIFY(menu);
    QStringList entries;
    for (QAction *a : menu->actions()) {
        if (a->isVisible() && !a->isSeparator())
            entries << a->text();
    }
    QCOMPARE(entries, QStringList{QStringLiteral("Globals")});
}

void TstMainWindow::lampControlsReachableInAShortWindow()
{
    // At the smallest size, with the preview strip dragged taller, every control of a lamp can
    // still be scrolled into full view.
    MainWindow &w = *m_window;
    w.resize(750, 550);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.resizeDocks({w.widgets().dockWidget}, {150}, Qt::Vertical);
    // The lamp controls follow the window's first paint; the user meets them laid out.
    QTRY_COMPARE(w.scene()->lampsBuilt(), w.scene()->lampCount());
    QCoreApplication::processEvents();
    SuperRGB *lamp = w.scene()->lamp(0);
    for (const char *name : {"EditColor", "SliderRed", "ButtonBMinus", "LabelAddress2"}) {
        auto *control = lamp->findChild<QWidget *>(name);
        QScrollArea *area = nullptr;
        for (QWidget *p = control; p && !area; p = p->parentWidget())
            area = qobject_cast<QScrollArea *>(p);
        QVERIFY2(area, name);
        // Its top row and its bottom row, each brought into view in its turn, are seen whole.
        for (int y : {0, control->height() - 1}) {
            const QPoint at = control->mapTo(area->widget(), QPoint(0, y));
            area->ensureVisible(at.x(), at.y(), 1, 1);
            const QRect row(0, y, control->width(), 1);
            QVERIFY2(control->visibleRegion().intersected(row) == QRegion(row), name);
        }
    }
}

void TstMainWindow::windowBeingDestroyedGetsNoSignals()
{
    // The lamp count box reports editingFinished when it loses the focus, and it loses it while
    // the window is taken down, after the window's own destructor. Any slot reached then runs on
    // a half-destroyed window; About stands in for one, as its call is easy to see.
    RecordingPrompts prompts;
    MainWindow *w = m_window.release();
    connect(w->widgets().LedsNumberSpin, &QAbstractSpinBox::editingFinished, w,
            [w] { w->About(false); });
    w->show();
    QApplication::setActiveWindow(w);
    w->widgets().LedsNumberSpin->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->widgets().LedsNumberSpin));
    delete w;
    QCOMPARE(prompts.calls.size(), 0);
}

QTEST_MAIN(TstMainWindow)
#include "tst_main_window.moc"
