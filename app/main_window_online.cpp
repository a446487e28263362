// Online mode, which keeps the controller playing what the editor shows, and the run commands and
// blackout that it and the navigation use.
#include "main_window.h"

#include "busy_cursor.h"
#include "logging.h"
#include "my_dock_widget.h"
#include "my_spin.h"
#include "prompts.h"

#include <QCoreApplication>
#include <QLabel>
#include <QTabWidget>

using lm740::BusyCursor;
using lm740::Item;
using lm740::ItemKind;

namespace {

void setLabel(QLabel *label, const QString &text, const QColor &color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    label->setText(text);
}

void readError(const char *text)
{
    lm740::prompts().information(nullptr, QCoreApplication::translate("App", "Read error"),
                                 QCoreApplication::translate("App", text), QMessageBox::Ok);
}

} // namespace

int MainWindow::UsbRunScene(int scene)
{
    return controllerLink.runScene(scene);
}

int MainWindow::UsbRunChaser(int chaser)
{
    return controllerLink.runChaser(chaser);
}

int MainWindow::UsbRunProgram(int program)
{
    return controllerLink.runProgram(program);
}

void MainWindow::Blackout(bool)
{
    const int r = controllerLink.blackout();
    qCDebug(lcUsb) << "USB_RUN_BLACKOUT r: " << r;
    confirm(r == -1
                ? QCoreApplication::translate("App", "Blackout not sent: the Lm740 did not answer")
                : QCoreApplication::translate("App", "Blackout sent"));
}

void MainWindow::UsbSetOnline(bool t)
{
    qCDebug(lcUsb) << "t: " << t;
    USBCheckStatus();
    if (!t) {
        onlineFlag = false;
        setLabel(onlineLabel, tr("Offline"), QColor(255, 0, 0));
        actionOnline->setEnabled(true);
        return;
    }
    if (connectedFlag) {
        // The controller's copy of the item shown, its lamp count and its scene time replace the
        // window's. Over edits of them that were not kept that is the question every read over
        // edits asks; otherwise the one that says what going online does.
        const std::vector<Item> replaced{
            Item::current(document.show(), ItemKind(TabWidget->currentIndex()))};
        bool goOn = false;
        if (editsUnkept(replaced, Globals::Replaced)) {
            goOn = keepOrDiscardEdits(replaced, Globals::Replaced);
        } else {
            const QMessageBox::StandardButton answer = lm740::prompts().warning(
                this, tr("MainWindow"),
                tr("Actual scene, chaser or program step settings in apllication will be "
                   "overwritten.\nDo you want enter in online mode?"),
                QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
            qCDebug(lcUsb) << Qt::hex << int(answer);
            goOn = answer == QMessageBox::Yes;
        }
        if (!goOn) {
            actionOnline->setChecked(false);
            return;
        }
    }
    onlineFlag = true;
    setLabel(onlineLabel, tr("Online"), QColor(30, 160, 30));
    actionOnline->setEnabled(true);
    // Without the controller the window waits, online, until a poll finds it again.
    if (connectedFlag)
        followController(tr("Go online"));
}

void MainWindow::followController(const QString &stepName)
{
    int lamps = UsbGetLampsNumber();
    if (lamps == -1) {
        readError(QT_TRANSLATE_NOOP("App", "Nie mozna pobrac liczby lamp z Lm740"));
        return;
    }
    qCDebug(lcUsb) << "Lm740 Lamps Number:" << lamps;
    if (lamps > lm740::kMaxLamps)
        lamps = lm740::kDefaultLamps;
    const int time = UsbGetGlobalSceneTime();
    if (time == -1) {
        readError(QT_TRANSLATE_NOOP("App", "Nie mozna pobrac czasu sceny z Lm740"));
        return;
    }
    qCDebug(lcUsb) << "Lm740 GlobalSceneTime" << time;
    // The question said it: what the window shows gives way to the controller's show, so the
    // count is applied to the records as they stand and nothing goes back to the controller. What
    // the controller gave is one step, and counts as kept.
    int read = -1;
    const PanelHold hold(panelHeld);
    document.change(stepName, panelItem, [&](lm740::Show &show) {
        show.sceneTime = time;
        {
            const QSignalBlocker quiet(ScenesTimeSpin);
            ScenesTimeSpin->setValue(time);
        }
        applyLampCount(lamps);
        actionOnline->setChecked(true);
        read = readOnlineItem();
    });
    document.keepGlobals();
    if (read == 0)
        document.keep(panelItem);
}

int MainWindow::readOnlineItem()
{
    const int sceneTimeMs = document.show().sceneTime * 1000;
    int r = -1;
    switch (ItemKind(TabWidget->currentIndex())) {
    case ItemKind::Scene: {
        qCDebug(lcUsb) << "USB_ONLINE: start reading scenes";
        BusyCursor busy;
        r = UsbReadScene(sceneColors[actualSceneNumber].data(), actualSceneNumber, ledsNumber);
        qCDebug(lcUsb) << "USB_ONLINE: stop reading scenes";
        scene->setSceneTime(sceneTimeMs);
        scene->setColors(sceneColors[actualSceneNumber].data(), uint(ledsNumber));
        startPreview(sceneTimeMs, 100, sceneColors[actualSceneNumber]);
        UsbRunScene(actualSceneNumber);
        break;
    }
    case ItemKind::Chaser:
        if (USBCheckStatus()) {
            BusyCursor busy;
            r = UsbReadChaser(&chasers[actualChaserNumber], actualChaserNumber, ledsNumber);
            UsbRunChaser(actualChaserNumber);
        }
        loadPanel(ItemKind::Chaser);
        break;
    case ItemKind::ProgramStep: {
        BusyCursor busy;
        r = UsbReadProgramScene(&programs[actualProgramNumber], actualProgramNumber,
                                actualProgramSceneNumber, ledsNumber);
        // The whole step as read, time, cross-fade and mark too.
        loadProgramStepIntoPanel();
        panelItem = Item::current(document.show(), ItemKind::ProgramStep);
        UsbRunProgram(actualProgramNumber);
        startPreview(sceneTimeMs, 100,
                     programs[actualProgramNumber].scenes[actualProgramSceneNumber].colors);
        break;
    }
    }
    return r;
}
