// The session's copy of the controller's whole settings memory to a .set file and back
// (USB > Read Settings, Write Settings). MemoryCopy moves the blocks; these commands ask for the
// file, show the progress and every message. A read replaces the chosen file only when it is
// complete, and whole: a cancelled or failed read leaves it as it was. A write first saves what the
// controller holds as a dated backup, and writes nothing unless that backup is whole.
#include "controller_session.h"

#include "logging.h"
#include "memory_backup.h"
#include "memory_copy.h"
#include "pass_dialog.h"
#include "prompts.h"
#include "safe_file.h"
#include "save_name.h"
#include "settings_image.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>

namespace {

QString app(const char *text)
{
    return QCoreApplication::translate("App", text);
}

void inform(const char *title, const QString &text)
{
    lm740::prompts().information(nullptr, app(title), text, QMessageBox::Ok);
}

// A whole-memory pass under its progress dialog, which is gone when this returns: the label names
// the page, the bar the pages done.
lm740::MemoryCopyResult
withDialog(const QString &title, const QString &label,
           const std::function<QString(int page)> &pageLabel,
           const std::function<lm740::MemoryCopyResult(const lm740::MemoryCopyCallbacks &)> &pass)
{
    lm740::PassDialog dialog(title, label, lm740::layout::kPageCount);
    lm740::MemoryCopyCallbacks callbacks;
    callbacks.goOn = [&dialog] {
        if (dialog.goOn())
            return true;
        dialog.reset();
        return false;
    };
    callbacks.blockMoved = [&dialog, pageLabel](int page, int, int bytes) {
        if (dialog.showsAgain(bytes == lm740::layout::kImageSize)) {
            dialog.setLabelText(pageLabel(page + 1));
            dialog.setValue(bytes / lm740::layout::kPageSize);
        }
    };
    const lm740::MemoryCopyResult result = pass(callbacks);
    dialog.reset();
    QCoreApplication::processEvents();
    return result;
}

// The end of a pass that moved no failed block: whether the controller answered the request that
// releases its main loop, and whether the user cancelled. True when cancelled.
bool reportEndOfPass(const lm740::MemoryCopyResult &result, const char *lockedText)
{
    if (!result.mainLoopReleased)
        inform(QT_TRANSLATE_NOOP("App", "Lm740 MainLoop() Lock"), app(lockedText));
    if (result.outcome != lm740::MemoryCopyResult::Outcome::Cancelled)
        return false;
    inform(QT_TRANSLATE_NOOP("App", "Canceled"),
           app(QT_TRANSLATE_NOOP("App", "Operation interrupted by user")));
    return true;
}

// What a cancelled read got so far goes to "error.set" in the working folder; false with the
// system's reason when it could not be written there.
bool saveErrorFile(const QByteArray &bytes, QString *why)
{
    return lm740::files::writeFileSafely(QStringLiteral("error.set"), bytes, why);
}

} // namespace

void ControllerSession::readMemoryToFile()
{
    QString fileName = lm740::prompts().getSaveFileName(
        nullptr, app(QT_TRANSLATE_NOOP("App", "Chose a file to save VXL - Lm740 settings")),
        QStringLiteral("./"), app(QT_TRANSLATE_NOOP("App", "Settings (*.set)")));
    fileName = lm740::saveName(fileName, QStringLiteral(".set"));
    if (fileName.isEmpty())
        return;
    // Asked before the long read rather than after it: a file that cannot be written, or that the
    // user keeps (the show's own), is not read for.
    QString why;
    const auto notSaved = [&] {
        qCDebug(lcFiles) << why;
        inform(
            QT_TRANSLATE_NOOP("App", "Error"),
            app(QT_TRANSLATE_NOOP("App", "Settings could not be saved in file\n%1")).arg(fileName) +
                QLatin1Char('\n') + why);
    };
    if (!lm740::files::canWriteFileSafely(fileName, &why))
        return notSaved();

    QByteArray image;
    const lm740::MemoryCopyResult result = withDialog(
        QCoreApplication::translate("MainWindow", "Lm740 Dataflash reading..."),
        QCoreApplication::translate("MainWindow", "Saveing..."),
        [](int p) {
            return QCoreApplication::translate(
                       "MainWindow", "Please wait... \nReading dataflash...\nPage: %1/512")
                .arg(p);
        },
        [&](const lm740::MemoryCopyCallbacks &callbacks) {
            return lm740::MemoryCopy::read(m_link, &image, callbacks);
        });

    if (result.outcome == lm740::MemoryCopyResult::Outcome::BlockFailed) {
        inform(QT_TRANSLATE_NOOP("App", "Error"), app(QT_TRANSLATE_NOOP("App", "Read Error")));
        return;
    }
    if (reportEndOfPass(result, QT_TRANSLATE_NOOP("App", "Please reset device\n            Unplug "
                                                         "and next plug power connector"))) {
        if (saveErrorFile(image, &why))
            inform(QT_TRANSLATE_NOOP("App", "Error"),
                   app(QT_TRANSLATE_NOOP("App",
                                         "Reading error...\nOnly %1 bytes saved in \"error.set\" "
                                         "file"))
                       .arg(image.size()));
        else
            inform(QT_TRANSLATE_NOOP("App", "Error"),
                   app(QT_TRANSLATE_NOOP("App", "Reading error...\nThe %1 bytes read could not be "
                                                "saved in \"error.set\" file"))
                           .arg(image.size()) +
                       QLatin1Char('\n') + why);
        return;
    }
    if (!lm740::files::writeFileSafely(fileName, image, &why))
        return notSaved();
    inform(QT_TRANSLATE_NOOP("App", "OK"),
           app(QT_TRANSLATE_NOOP("App", "Settings succesfully saved in file\n")) + fileName);
}

bool ControllerSession::writeFileToMemory()
{
    const QString fileName = lm740::prompts().getOpenFileName(
        nullptr, app(QT_TRANSLATE_NOOP("App", "Choose a file with settings - Lm740")),
        QStringLiteral("./"), app(QT_TRANSLATE_NOOP("App", "Settings (*.set)")));
    if (fileName.isEmpty())
        return false;
    QString backupName = QDir::toNativeSeparators(lm740::backup::newFileName(
        lm740::backup::folder(), QDateTime::currentDateTime(), m_link.device().openPort()));
    const QMessageBox::StandardButton answer = lm740::prompts().warning(
        m_window, app(QT_TRANSLATE_NOOP("App", "Warning")),
        app(QT_TRANSLATE_NOOP(
            "App", "All data in Lm740 will be destroyed.\nDo you want write settings?")) +
            QStringLiteral("\n\n") +
            app(QT_TRANSLATE_NOOP("App", "What the Lm740 holds now is first saved in\n%1"))
                .arg(backupName),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    qCDebug(lcUsb, "%x", unsigned(answer));
    if (answer == QMessageBox::No)
        return false;

    // One byte more than an image tells a longer file; what is not a regular file is not read.
    QByteArray image;
    qint64 size = 0;
    QString why;
    if (!lm740::files::readRegularFile(fileName, lm740::layout::kImageSize + 1, &image, &size,
                                       &why)) {
        qCDebug(lcFiles) << why;
        inform(QT_TRANSLATE_NOOP("App", "Error"),
               app(QT_TRANSLATE_NOOP("App", "Cannot read file\n%1")).arg(fileName) +
                   QLatin1Char('\n') + why);
        return false;
    }
    if (image.size() != lm740::layout::kImageSize || size != lm740::layout::kImageSize) {
        inform(QT_TRANSLATE_NOOP("App", "Error"),
               app(QT_TRANSLATE_NOOP("App", "Wrong size of file\n%1 Bytes")).arg(size));
        return false;
    }

    const auto readingLabel = [](int p) {
        return QCoreApplication::translate("MainWindow",
                                           "Please wait... \nReading dataflash...\nPage: %1/512")
            .arg(p);
    };
    const QString nothingWritten =
        app(QT_TRANSLATE_NOOP("App", "Nothing was written to the Lm740."));
    lm740::backup::Result saved;
    withDialog(QCoreApplication::translate("MainWindow", "Lm740 Dataflash reading..."),
               QCoreApplication::translate("MainWindow", "Saving a backup..."), readingLabel,
               [&](const lm740::MemoryCopyCallbacks &callbacks) {
                   saved = lm740::backup::save(m_link, backupName, callbacks);
                   return saved.copy;
               });
    if (saved.copy.outcome == lm740::MemoryCopyResult::Outcome::Cancelled) {
        inform(QT_TRANSLATE_NOOP("App", "Canceled"),
               app(QT_TRANSLATE_NOOP("App", "Operation interrupted by user")) +
                   QStringLiteral("\n") + nothingWritten);
        return false;
    }
    if (!saved.saved) {
        const QString why =
            saved.copy.outcome == lm740::MemoryCopyResult::Outcome::BlockFailed
                ? app(QT_TRANSLATE_NOOP("App", "The Lm740's memory could not be read for a "
                                               "backup."))
                : app(QT_TRANSLATE_NOOP("App", "The backup could not be saved in\n%1\n%2"))
                      .arg(backupName, saved.error);
        inform(QT_TRANSLATE_NOOP("App", "Error"), why + QStringLiteral("\n") + nothingWritten);
        return false;
    }
    // Another backup may have taken the name meanwhile: this one went to the next free one.
    backupName = QDir::toNativeSeparators(saved.fileName);

    const lm740::MemoryCopyResult result = withDialog(
        QCoreApplication::translate("MainWindow", "Lm740 Dataflash writing..."), QString(),
        [](int p) {
            return QCoreApplication::translate("MainWindow",
                                               "Please wait... \n                    Writing "
                                               "dataflash...                   "
                                               " "
                                               "\nPage:%1/512")
                .arg(p);
        },
        [&](const lm740::MemoryCopyCallbacks &callbacks) {
            return lm740::MemoryCopy::write(m_link, image, callbacks);
        });

    // A write that did not end leaves the controller with the start of the file and the rest of
    // what it held: the backup puts that back.
    const QString leftBehind =
        QStringLiteral("\n\n") +
        (result.bytes == 0
             ? nothingWritten
             : app(QT_TRANSLATE_NOOP("App", "The Lm740 now holds the first %1 bytes of\n%2\nand "
                                            "what it held before after them. Write Settings of "
                                            "the backup\n%3\nputs back what it held."))
                   .arg(result.bytes)
                   .arg(fileName, backupName));
    if (result.outcome == lm740::MemoryCopyResult::Outcome::BlockFailed) {
        lm740::prompts().critical(
            nullptr, app(QT_TRANSLATE_NOOP("App", "Read Error")),
            app(QT_TRANSLATE_NOOP("App", "Saved %1 bytes\nPage:%2 \nOffset: %3"))
                    .arg(result.bytes)
                    .arg(result.page)
                    .arg(result.offset) +
                leftBehind,
            QMessageBox::Ok);
        return false;
    }
    if (reportEndOfPass(result, QT_TRANSLATE_NOOP("App", "Please reset device\n        Unplug and "
                                                         "next plug power connector"))) {
        inform(QT_TRANSLATE_NOOP("App", "Error"),
               app(QT_TRANSLATE_NOOP("App", "Writing error...\nOnly %1 bytes transfered"))
                       .arg(result.bytes) +
                   leftBehind);
        return false;
    }
    inform(QT_TRANSLATE_NOOP("App", "OK"),
           app(QT_TRANSLATE_NOOP("App", "Settings succesfully load\n")));
    return true;
}
