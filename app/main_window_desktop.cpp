// The window as a desktop program: show files opened by name (from the command line and from the
// recent shows), and the status line's confirmations of the transfers of the current item.
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

// Answers the first open-file dialog with a file chosen beforehand and passes everything else on,
// so that a Load command runs exactly as if the user had picked that file: the same questions, the
// same errors.
class ChosenFile : public lm740::Prompts
{
public:
    ChosenFile(Prompts &next, const QString &fileName) : m_next(next), m_fileName(fileName) {}

    QMessageBox::StandardButton information(QWidget *p, const QString &t, const QString &x,
                                            QMessageBox::StandardButtons b,
                                            QMessageBox::StandardButton d) override
    {
        return m_next.information(p, t, x, b, d);
    }
    QMessageBox::StandardButton warning(QWidget *p, const QString &t, const QString &x,
                                        QMessageBox::StandardButtons b,
                                        QMessageBox::StandardButton d) override
    {
        return m_next.warning(p, t, x, b, d);
    }
    QMessageBox::StandardButton critical(QWidget *p, const QString &t, const QString &x,
                                         QMessageBox::StandardButtons b,
                                         QMessageBox::StandardButton d) override
    {
        return m_next.critical(p, t, x, b, d);
    }
    QMessageBox::StandardButton question(QWidget *p, const QString &t, const QString &x,
                                         QMessageBox::StandardButtons b,
                                         QMessageBox::StandardButton d) override
    {
        return m_next.question(p, t, x, b, d);
    }
    QString getOpenFileName(QWidget *p, const QString &c, const QString &dir,
                            const QString &f) override
    {
        if (m_given)
            return m_next.getOpenFileName(p, c, dir, f);
        m_given = true;
        return m_fileName;
    }
    QString getSaveFileName(QWidget *p, const QString &c, const QString &dir,
                            const QString &f) override
    {
        return m_next.getSaveFileName(p, c, dir, f);
    }

private:
    Prompts &m_next;
    QString m_fileName;
    bool m_given = false;
};

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

void MainWindow::openShowFile(const QString &fileName)
{
    using Load = void (MainWindow::*)(bool);
    static constexpr Load loads[] = {&MainWindow::Load,         &MainWindow::Load_Scene,
                                     &MainWindow::Load_Scenes,  &MainWindow::Load_Chaser,
                                     &MainWindow::Load_Chasers, &MainWindow::Load_Program,
                                     &MainWindow::Load_Programs};
    const QString shown = QDir::toNativeSeparators(fileName);
    const int type = desktop::showFileType(fileName);
    const QString error = app(QT_TRANSLATE_NOOP("App", "Error"));
    if (type < 0) {
        prompts().warning(
            this, error,
            app(QT_TRANSLATE_NOOP("App", "%1 is not a show file. Lm740 opens settings (.set), "
                                         "scene (.scn, .scs), chaser (.chr, .chs) and program "
                                         "(.pgm, .pgs) files."))
                .arg(shown));
        return;
    }
    if (!QFileInfo::exists(fileName)) {
        prompts().warning(
            this, error,
            app(QT_TRANSLATE_NOOP("App", "%1 could not be opened: there is no such file."))
                .arg(shown));
        return;
    }
    lm740::Prompts &previous = prompts();
    ChosenFile chosen(previous, fileName);
    lm740::setPrompts(&chosen);
    (this->*loads[type])(false);
    lm740::setPrompts(&previous);
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
                               .arg(actualProgramNumber + 1));
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

bool MainWindow::replaceKeptFile(const QString &path, QString *error)
{
    const QMessageBox::StandardButton answer = lm740::prompts().question(
        this, tr("Replace the show's file? -- Lm740"),
        tr("%1 holds the open show as it was last kept.\nReplaced, the show is kept nowhere "
           "but in this window until it is saved again.\nReplace it?")
            .arg(QDir::toNativeSeparators(QFileInfo(path).canonicalFilePath())),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes) {
        if (error)
            *error = tr("it holds the open show and was left as it was");
        return false;
    }
    document.keptCopyLost();
    // The window holds the show's only copy now: a recovery copy at once.
    m_recovery->autosave();
    return true;
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
