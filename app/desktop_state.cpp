#include "desktop_state.h"

#include "logging.h"
#include "my_dock_widget.h"
#include "prompts.h"
#include "text_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>

namespace lm740::desktop {

namespace {
QString g_stateFile;
} // namespace

QString defaultStateFile(bool simulator)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           (simulator ? QStringLiteral("/lm740/simulator.conf")
                      : QStringLiteral("/lm740/lm740.conf"));
}

void setStateFile(const QString &path)
{
    g_stateFile = path;
}

std::unique_ptr<QSettings> openState()
{
    if (g_stateFile.isEmpty())
        return nullptr;
    return std::make_unique<QSettings>(g_stateFile, QSettings::IniFormat);
}

QStringList withRecent(QStringList list, const QString &path)
{
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    list.removeAll(clean);
    list.prepend(clean);
    while (list.size() > kRecentShows)
        list.removeLast();
    return list;
}

} // namespace lm740::desktop

namespace desktop = lm740::desktop;

namespace {

const QString kRecentKey = QStringLiteral("recentShows");
const QString kGeometryKey = QStringLiteral("window/geometry");
const QString kStateKey = QStringLiteral("window/state");
constexpr int kConfirmationMs = 5000;

QString app(const char *text)
{
    return QCoreApplication::translate("App", text);
}

QStringList keptRecentFiles()
{
    if (const auto state = desktop::openState())
        return state->value(kRecentKey).toStringList().mid(0, desktop::kRecentShows);
    return {};
}

} // namespace

DesktopState::DesktopState(QMainWindow *window, QMenu *fileMenu, QStatusBar *statusBar)
    : QObject(window), m_window(window)
{
    // Its own label, after the others: a message of the status bar's own would hide the
    // connection and online labels while it shows.
    m_confirmationLabel = new QLabel;
    m_confirmationLabel->setObjectName(QStringLiteral("confirmationLabel"));
    m_confirmationLabel->setContentsMargins(8, 0, 4, 0);
    statusBar->addWidget(m_confirmationLabel, 200);
    m_confirmationTimer = new QTimer(this);
    m_confirmationTimer->setSingleShot(true);
    m_confirmationTimer->setInterval(kConfirmationMs);
    connect(m_confirmationTimer, &QTimer::timeout, m_confirmationLabel, &QLabel::clear);

    fileMenu->addSeparator();
    m_recentShowsMenu = fileMenu->addMenu(app(QT_TRANSLATE_NOOP("App", "&Recent Shows")));
    m_recentShowsMenu->setObjectName(QStringLiteral("recentShowsMenu"));
    m_recentShowsMenu->setToolTipsVisible(true);
    m_recentFiles = keptRecentFiles();
    // Another run of the program may have changed the list meanwhile.
    connect(m_recentShowsMenu, &QMenu::aboutToShow, this, [this] {
        if (desktop::openState())
            m_recentFiles = keptRecentFiles();
        fillRecentShows();
    });
    fillRecentShows();
}

void DesktopState::confirm(const QString &text)
{
    m_confirmationLabel->setText(text);
    m_confirmationTimer->start();
}

QString DesktopState::confirmation() const
{
    return m_confirmationLabel->text();
}

void DesktopState::keepRecentShows()
{
    if (const auto state = desktop::openState())
        state->setValue(kRecentKey, m_recentFiles);
    fillRecentShows();
}

void DesktopState::fillRecentShows()
{
    m_recentShowsMenu->clear();
    for (int i = 0; i < m_recentFiles.size(); ++i) {
        const QString path = m_recentFiles[i];
        QString name = QFileInfo(path).fileName();
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction *a = m_recentShowsMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
        a->setObjectName(QStringLiteral("recentShow%1").arg(i + 1));
        // The whole path shows as the entry's tip; a status tip would hide the status line's
        // labels while the menu is open.
        a->setToolTip(QDir::toNativeSeparators(path));
        connect(a, &QAction::triggered, this, [this, path] { openRecentShow(path); });
    }
    if (m_recentFiles.isEmpty())
        m_recentShowsMenu->addAction(app(QT_TRANSLATE_NOOP("App", "No recent shows")))
            ->setEnabled(false);
    m_recentShowsMenu->addSeparator();
    QAction *clear = m_recentShowsMenu->addAction(app(QT_TRANSLATE_NOOP("App", "&Clear List")));
    clear->setObjectName(QStringLiteral("clearRecentShows"));
    clear->setEnabled(!m_recentFiles.isEmpty());
    connect(clear, &QAction::triggered, this, [this] {
        m_recentFiles.clear();
        keepRecentShows();
        confirm(app(QT_TRANSLATE_NOOP("App", "Recent shows cleared")));
    });
}

void DesktopState::openRecentShow(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        m_recentFiles.removeAll(path);
        keepRecentShows();
        lm740::prompts().warning(m_window, app(QT_TRANSLATE_NOOP("App", "Recent Shows")),
                                 app(QT_TRANSLATE_NOOP("App", "%1 is no longer there: it has been "
                                                              "taken off the recent shows."))
                                     .arg(QDir::toNativeSeparators(path)));
        return;
    }
    Q_EMIT openRequested(path);
}

void DesktopState::fileDone(const QString &fileName, bool loaded, const QStringList &changed)
{
    m_recentFiles = desktop::withRecent(m_recentFiles, fileName);
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

bool DesktopState::restoreWindowPlace()
{
    const auto state = desktop::openState();
    if (!state || !m_window->restoreGeometry(state->value(kGeometryKey).toByteArray()))
        return false;
    m_window->restoreState(state->value(kStateKey).toByteArray());
    // The preview strip is as tall as the open show's layout needs, not as the last run's was.
    if (auto *strip = m_window->findChild<MyDockWidget *>())
        strip->fitHeight();
    return true;
}

void DesktopState::keepWindowPlace()
{
    if (const auto state = desktop::openState()) {
        state->setValue(kGeometryKey, m_window->saveGeometry());
        state->setValue(kStateKey, m_window->saveState());
    }
}
