// The window as a desktop program: it hands what it remembers to DesktopState and show files
// opened by name to ShowFiles, offers the recovered show, and confirms the current-item transfers.
#include "desktop_state.h"
#include "item_kinds.h"
#include "logging.h"
#include "main_window.h"
#include "my_dock_widget.h"
#include "my_spin.h"
#include "navigator.h"
#include "prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

using lm740::prompts;
namespace desktop = lm740::desktop;

namespace {

QString app(const char *text)
{
    return QCoreApplication::translate("App", text);
}

} // namespace

void MainWindow::setUpDesktop()
{
    m_desktop = new DesktopState(this, menuFile, statusbar);
    connect(m_desktop, &DesktopState::openRequested, this, &MainWindow::openShowFile);
    // saveState() knows the docks and tool bars by their names.
    dockWidget->setObjectName(QStringLiteral("previewStrip"));
    confirmTransfers();
    connect(m_session, &ControllerSession::confirmed, m_desktop, &DesktopState::confirm);
}

void MainWindow::confirmTransfers()
{
    // The current-item commands return -1 after their own error box; offline (no controller
    // found by the last poll) they move nothing and say so here.
    using Command = int (MainWindow::*)(bool);
    auto wire = [this](QAction *action, Command command, bool write, bool wholeProgram) {
        disconnect(action, &QAction::triggered, this, command);
        connect(action, &QAction::triggered, this, [=, this] {
            const bool connected = m_session->answered();
            if ((this->*command)(false) == -1)
                return;
            if (!connected) {
                m_desktop->confirm(
                    write ? app(QT_TRANSLATE_NOOP("App", "Nothing written: no Lm740 is "
                                                         "connected"))
                          : app(QT_TRANSLATE_NOOP("App", "Nothing read: no Lm740 is "
                                                         "connected")));
                return;
            }
            m_desktop->confirm((write ? app(QT_TRANSLATE_NOOP("App", "%1 written to the Lm740"))
                                      : app(QT_TRANSLATE_NOOP("App", "%1 read from the Lm740")))
                                   .arg(currentItemName(wholeProgram)));
        });
    };
    wire(actionWrite_Settings, &MainWindow::UsbWriteActualSetting, true, false);
    wire(actionRead_Settings, &MainWindow::UsbReadActualSetting, false, false);
    wire(actionWrite_Current_Program, &MainWindow::UsbWriteActualProgram, true, true);
    wire(actionRead_Current_Program, &MainWindow::UsbReadActualProgram, false, true);

    connect(actionRun_Program, &QAction::triggered, this, [this] {
        m_desktop->confirm(app(QT_TRANSLATE_NOOP("App", "Program %1 playing on the preview strip"))
                               .arg(document.show().actualProgramNumber + 1));
    });
    connect(actionStop_Program, &QAction::triggered, this,
            [this] { m_desktop->confirm(app(QT_TRANSLATE_NOOP("App", "Program stopped"))); });
}

QString MainWindow::currentItemName(bool wholeProgram) const
{
    if (wholeProgram)
        return app(QT_TRANSLATE_NOOP("App", "Program %1"))
            .arg(document.chosen(lm740::ItemKind::ProgramStep).number + 1);
    const lm740::Item item = document.current();
    return lm740::kindRow(item.kind).name(item);
}

void MainWindow::offerRecovery()
{
    const std::optional<lm740::Show> recovered = m_recovery->takeLeft(this);
    if (!recovered)
        return;
    const lm740::Item shown = lm740::Item::current(*recovered, document.current().kind);
    {
        const Navigator::Hold hold(*navigator);
        document.change(tr("Restore the recovered show"), document.current(),
                        [&](lm740::Show &show) {
                            show.sceneColors = recovered->sceneColors;
                            show.chasers = recovered->chasers;
                            show.programs = recovered->programs;
                            document.setGlobals(recovered->ledsNumber, recovered->sceneTime);
                        });
        navigator->loadPanel();
    }
    showItem(shown);
}
