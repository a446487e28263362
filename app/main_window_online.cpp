// Online mode, which keeps the controller playing what the editor shows.
#include "main_window.h"

#include "busy_cursor.h"
#include "item_kinds.h"
#include "logging.h"
#include "my_dock_widget.h"
#include "my_spin.h"
#include "navigator.h"
#include "prompts.h"

#include <QCoreApplication>
#include <QLabel>

using lm740::BusyCursor;
using lm740::Item;

namespace {

void readError(const char *text)
{
    lm740::prompts().information(nullptr, QCoreApplication::translate("App", "Read error"),
                                 QCoreApplication::translate("App", text), QMessageBox::Ok);
}

} // namespace

void MainWindow::UsbSetOnline(bool t)
{
    qCDebug(lcUsb) << "t: " << t;
    USBCheckStatus();
    if (!t) {
        m_session->setOnline(false);
        actionOnline->setEnabled(true);
        return;
    }
    if (m_session->answered()) {
        // The controller's copy of the item shown, its lamp count and its scene time replace the
        // window's. Over edits of them that were not kept that is the question every read over
        // edits asks; otherwise the one that says what going online does.
        const std::vector<Item> replaced{document.current()};
        bool goOn = false;
        if (m_files->editsUnkept(replaced, ShowFiles::Globals::Replaced)) {
            goOn = m_files->keepOrDiscardEdits(replaced, ShowFiles::Globals::Replaced);
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
    m_session->setOnline(true);
    actionOnline->setEnabled(true);
    // Without the controller the window waits, online, until a poll finds it again.
    if (m_session->answered())
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
    lamps = std::max(lamps, lm740::kMinLamps);
    const int time = UsbGetGlobalSceneTime();
    if (time == -1) {
        readError(QT_TRANSLATE_NOOP("App", "Nie mozna pobrac czasu sceny z Lm740"));
        return;
    }
    qCDebug(lcUsb) << "Lm740 GlobalSceneTime" << time;
    const Item item = document.current();
    const auto read = std::make_unique<lm740::Show>(document.show());
    const int r = readOnlineItem(item, lamps, *read);
    // The question said it: what the window shows gives way to the controller's show, so the
    // count is applied to the records as they stand and nothing goes back to the controller. What
    // the controller gave is one step, and counts as kept.
    const Navigator::Hold hold(*navigator);
    document.change(stepName, item, [&](lm740::Show &show) {
        document.setGlobals(lamps, time);
        lm740::kindRow(item.kind).copy(*read, show, item);
    });
    actionOnline->setChecked(true);
    navigator->loadPanel();
    document.keepGlobals();
    if (r == 0)
        document.keep(item);
}

int MainWindow::readOnlineItem(Item item, int lamps, lm740::Show &into)
{
    const lm740::ItemKindRow &row = lm740::kindRow(item.kind);
    if (row.pollBeforeOnlineRead && !USBCheckStatus())
        return -1;
    qCDebug(lcUsb) << "USB_ONLINE: start reading" << row.name(item);
    BusyCursor busy;
    const int r = fetchItem(item, lamps, into);
    qCDebug(lcUsb) << "USB_ONLINE: stop reading" << row.name(item);
    runItem(item);
    return r;
}
