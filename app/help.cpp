// Help and About.
#include "help.h"
#include "main_window.h"

#include "prompts.h"
#include "version.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace {

// Where the manual is, for a user whose desktop could not show it.
void tellWhereTheManualIs(const QString &manual)
{
    const QString path = QDir::toNativeSeparators(QFileInfo(manual).absoluteFilePath());
    lm740::prompts().information(
        nullptr, MainWindow::tr("Help"),
        QFileInfo::exists(manual)
            ? MainWindow::tr("No program could show the manual.\nThe manual is at:\n%1").arg(path)
            : MainWindow::tr("The manual was not found at:\n%1").arg(path),
        QMessageBox::Ok, QMessageBox::NoButton);
}

} // namespace

QStringList lm740::defaultHelpViewer()
{
#ifdef Q_OS_WIN
    return {QStringLiteral("hh.exe")};
#else
    // The desktop's default handler opens the manual in whatever the user reads HTML with.
    return {QStringLiteral("xdg-open")};
#endif
}

QString lm740::helpFile()
{
    const QString chm = QStringLiteral("Lm740_PL.chm");
    if (QFileInfo::exists(chm))
        return chm;

    const QString appDir = QCoreApplication::applicationDirPath();
    const QStringList candidates = {
        appDir + QStringLiteral("/../share/doc/lm740/manual.html"), // installed
        appDir + QStringLiteral("/docs/manual.html"),               // build tree
        QStringLiteral(LM740_SOURCE_DOCS_DIR "/manual.html"),       // source tree
    };
    for (const QString &c : candidates) {
        if (QFileInfo::exists(c))
            return QFileInfo(c).absoluteFilePath();
    }
    return chm; // nothing to open; the viewer reports it, as it would for a missing .chm
}

void MainWindow::Help(bool)
{
    const QString manual = lm740::helpFile();
    if (!QFileInfo::exists(manual) || m_helpViewer.isEmpty()) {
        tellWhereTheManualIs(manual);
        return;
    }
    // The viewer belongs to the application, not to the window: closing the window must not end
    // a viewer that still shows the manual. It is watched only to tell the user where the manual
    // is when it could not be shown: no viewer, or one that failed (xdg-open without a handler for
    // HTML).
    auto *viewer = new QProcess(QCoreApplication::instance());
    viewer->setObjectName(QStringLiteral("helpViewer"));
    viewer->setProgram(m_helpViewer.first());
    viewer->setArguments(m_helpViewer.mid(1) << manual);
    viewer->setProcessChannelMode(QProcess::ForwardedChannels);
    connect(viewer, &QProcess::errorOccurred, viewer, [viewer, manual](QProcess::ProcessError e) {
        if (e != QProcess::FailedToStart)
            return; // the end of a started viewer comes with finished()
        tellWhereTheManualIs(manual);
        viewer->deleteLater();
    });
    connect(viewer, &QProcess::finished, viewer,
            [viewer, manual](int exitCode, QProcess::ExitStatus status) {
                if (status != QProcess::NormalExit || exitCode != 0)
                    tellWhereTheManualIs(manual);
                viewer->deleteLater();
            });
    viewer->start();
}

void MainWindow::About(bool)
{
    const QString text = tr("LM740 ver. ") + QStringLiteral(LM740_VERSION) +
                         tr("\nControl software for Lm740.\n"
                            "VXL S.C.\n"
                            "Poland\n"
                            "Support: through your Lm740 dealer");
    lm740::prompts().information(nullptr, tr("VXL S.C. Lm740 - About"), text, QMessageBox::Ok,
                                 QMessageBox::NoButton);
}
