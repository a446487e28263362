// Help and About.
#include "main_window.h"

#include "prompts.h"
#include "version.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace {

#ifdef Q_OS_WIN
const char *const kHelpViewer = "hh.exe";
#else
// The desktop's default handler opens the manual in whatever the user reads HTML with.
const char *const kHelpViewer = "xdg-open";
#endif

} // namespace

QString MainWindow::helpFile()
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
    const QStringList arguments{helpFile()};
    if (startDetached)
        startDetached(QString::fromLatin1(kHelpViewer), arguments);
    else
        QProcess::startDetached(QString::fromLatin1(kHelpViewer), arguments);
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
