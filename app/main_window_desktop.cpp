// The window as a desktop program: show files opened by name (from the command line and from the
// recent shows), File > Recent Shows, the window's size, place and docks kept between runs, and
// the status line that says, for a few seconds, that a command has been done.
#include "desktop_state.h"
#include "item_kinds.h"
#include "logging.h"
#include "main_window.h"
#include "my_dock_widget.h"
#include "prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>

using lm740::prompts;
namespace desktop = lm740::desktop;

namespace {

const QString kRecentKey = QStringLiteral("recentShows");
const QString kGeometryKey = QStringLiteral("window/geometry");
const QString kStateKey = QStringLiteral("window/state");
constexpr int kConfirmationMs = 5000;

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
    // Its own label, after the others: a message of the status bar's own would hide the
    // connection and online labels while it shows.
    confirmationLabel = new QLabel;
    confirmationLabel->setObjectName(QStringLiteral("confirmationLabel"));
    confirmationLabel->setContentsMargins(8, 0, 4, 0);
    statusbar->addWidget(confirmationLabel, 200);
    confirmationTimer = new QTimer(this);
    confirmationTimer->setSingleShot(true);
    confirmationTimer->setInterval(kConfirmationMs);
    connect(confirmationTimer, &QTimer::timeout, confirmationLabel, &QLabel::clear);

    // saveState() knows the docks and tool bars by their names.
    dockWidget->setObjectName(QStringLiteral("previewStrip"));

    menuFile->addSeparator();
    recentShowsMenu = menuFile->addMenu(app(QT_TRANSLATE_NOOP("App", "&Recent Shows")));
    recentShowsMenu->setObjectName(QStringLiteral("recentShowsMenu"));
    recentShowsMenu->setToolTipsVisible(true);
    if (const auto state = desktop::openState())
        recentFiles = state->value(kRecentKey).toStringList().mid(0, desktop::kRecentShows);
    // Another run of the program may have changed the list meanwhile.
    connect(recentShowsMenu, &QMenu::aboutToShow, this, [this] {
        if (const auto state = desktop::openState())
            recentFiles = state->value(kRecentKey).toStringList().mid(0, desktop::kRecentShows);
        fillRecentShows();
    });
    fillRecentShows();

    confirmTransfers();
}

void MainWindow::confirm(const QString &text)
{
    confirmationLabel->setText(text);
    confirmationTimer->start();
}

void MainWindow::keepRecentShows()
{
    if (const auto state = desktop::openState())
        state->setValue(kRecentKey, recentFiles);
    fillRecentShows();
}

void MainWindow::fillRecentShows()
{
    recentShowsMenu->clear();
    for (int i = 0; i < recentFiles.size(); ++i) {
        const QString path = recentFiles[i];
        QString name = QFileInfo(path).fileName();
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction *a = recentShowsMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
        a->setObjectName(QStringLiteral("recentShow%1").arg(i + 1));
        // The whole path shows as the entry's tip; a status tip would hide the status line's
        // labels while the menu is open.
        a->setToolTip(QDir::toNativeSeparators(path));
        connect(a, &QAction::triggered, this, [this, path] { openRecentShow(path); });
    }
    if (recentFiles.isEmpty())
        recentShowsMenu->addAction(app(QT_TRANSLATE_NOOP("App", "No recent shows")))
            ->setEnabled(false);
    recentShowsMenu->addSeparator();
    QAction *clear = recentShowsMenu->addAction(app(QT_TRANSLATE_NOOP("App", "&Clear List")));
    clear->setObjectName(QStringLiteral("clearRecentShows"));
    clear->setEnabled(!recentFiles.isEmpty());
    connect(clear, &QAction::triggered, this, [this] {
        recentFiles.clear();
        keepRecentShows();
        confirm(app(QT_TRANSLATE_NOOP("App", "Recent shows cleared")));
    });
}

void MainWindow::openRecentShow(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        recentFiles.removeAll(path);
        keepRecentShows();
        prompts().warning(this, app(QT_TRANSLATE_NOOP("App", "Recent Shows")),
                          app(QT_TRANSLATE_NOOP("App", "%1 is no longer there: it has been taken "
                                                       "off the recent shows."))
                              .arg(QDir::toNativeSeparators(path)));
        return;
    }
    openShowFile(path);
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

void MainWindow::showFileDone(const QString &fileName, bool loaded, const QStringList &changed)
{
    recentFiles = desktop::withRecent(recentFiles, fileName);
    keepRecentShows();
    const QString name = QFileInfo(fileName).fileName();
    if (!changed.isEmpty()) {
        qCInfo(lcFiles).noquote() << fileName << changed.join(QStringLiteral("; "));
        const int n = int(changed.size());
        confirm((n == 1 ? app(QT_TRANSLATE_NOOP("App", "%1 loaded; 1 value changed: %2"))
                        : QCoreApplication::translate("App", "%1 loaded; %n values changed: %2",
                                                      nullptr, n))
                    .arg(name, lm740::files::namedChanges(changed)));
        return;
    }
    confirm(loaded ? app(QT_TRANSLATE_NOOP("App", "%1 loaded")).arg(name)
                   : app(QT_TRANSLATE_NOOP("App", "%1 saved")).arg(name));
}

bool MainWindow::restoreWindowPlace()
{
    const auto state = desktop::openState();
    if (!state || !restoreGeometry(state->value(kGeometryKey).toByteArray()))
        return false;
    restoreState(state->value(kStateKey).toByteArray());
    return true;
}

void MainWindow::keepWindowPlace()
{
    if (const auto state = desktop::openState()) {
        state->setValue(kGeometryKey, saveGeometry());
        state->setValue(kStateKey, saveState());
    }
}

void MainWindow::confirmTransfers()
{
    // The current-item commands return -1 after their own error box; offline (no controller
    // found by the last poll) they move nothing and say so here.
    using Command = int (MainWindow::*)(bool);
    auto wire = [this](QAction *action, Command command, bool write, bool wholeProgram) {
        disconnect(action, &QAction::triggered, this, command);
        connect(action, &QAction::triggered, this, [=, this] {
            const bool connected = connectedFlag;
            if ((this->*command)(false) == -1)
                return;
            if (!connected) {
                confirm(write ? app(QT_TRANSLATE_NOOP("App", "Nothing written: no Lm740 is "
                                                             "connected"))
                              : app(QT_TRANSLATE_NOOP("App", "Nothing read: no Lm740 is "
                                                             "connected")));
                return;
            }
            confirm((write ? app(QT_TRANSLATE_NOOP("App", "%1 written to the Lm740"))
                           : app(QT_TRANSLATE_NOOP("App", "%1 read from the Lm740")))
                        .arg(currentItemName(wholeProgram)));
        });
    };
    wire(actionWrite_Settings, &MainWindow::UsbWriteActualSetting, true, false);
    wire(actionRead_Settings, &MainWindow::UsbReadActualSetting, false, false);
    wire(actionWrite_Current_Program, &MainWindow::UsbWriteActualProgram, true, true);
    wire(actionRead_Current_Program, &MainWindow::UsbReadActualProgram, false, true);

    connect(actionRun_Program, &QAction::triggered, this, [this] {
        confirm(app(QT_TRANSLATE_NOOP("App", "Program %1 playing on the preview strip"))
                    .arg(actualProgramNumber + 1));
    });
    connect(actionStop_Program, &QAction::triggered, this,
            [this] { confirm(app(QT_TRANSLATE_NOOP("App", "Program stopped"))); });
}

QString MainWindow::currentItemName(bool wholeProgram) const
{
    if (wholeProgram)
        return app(QT_TRANSLATE_NOOP("App", "Program %1"))
            .arg(document.chosen(lm740::ItemKind::ProgramStep).number + 1);
    const lm740::Item item = document.current();
    return lm740::kindRow(item.kind).name(item);
}
