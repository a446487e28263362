// The whole show as one settings image file (.set): File > Save..., File > Load... and the
// generator of images with the plainer header.
#include "logging.h"
#include "main_window.h"
#include "my_spin.h"
#include "navigator.h"
#include "prompts.h"
#include "save_name.h"
#include "settings_image.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

using lm740::prompts;

bool MainWindow::saveSettingsImage(bool generated)
{
    qCDebug(lcFiles) << "sizeof(t_AVR_memory): " << lm740::layout::kImageSize;
    QString name = prompts().getSaveFileName(
        nullptr,
        QCoreApplication::translate("App", "Choose a file to save settings",
                                    "dataflash settings seve"),
        QStringLiteral("./"),
        QCoreApplication::translate("App", "Settings (*.set)", "translate only  Settings"));
    name = lm740::saveName(name, QStringLiteral(".set"));
    if (name.isEmpty())
        return false;
    // The panel's edits are in the show already; an edit still gathering is closed first.
    document.closeEdit();
    const lm740::Show &show = document.show();
    const QByteArray image = lm740::image::packShow(show, show.ledsNumber, show.sceneTime,
                                                    generated ? lm740::image::HeaderStyle::Generate
                                                              : lm740::image::HeaderStyle::Save);
    QString error;
    const lm740::KeptFiles::Saving saving(keptFiles, {});
    if (!lm740::image::writeSettingsFile(name, image, &error)) {
        reportSaveFailure(error);
        return false;
    }
    // Every value of the show is in the file now.
    document.keepAll();
    keptFiles.keptIn(name);
    m_desktop->fileDone(name, false);
    return true;
}

void MainWindow::Save(bool)
{
    if (saveSettingsImage(false))
        qCDebug(lcFiles) << "Save all";
}

void MainWindow::Generate_set_file(bool)
{
    saveSettingsImage(true);
}

void MainWindow::Load(bool)
{
    qCDebug(lcFiles) << "sizeof(t_AVR_memory): " << lm740::layout::kImageSize;
    if (!keepOrDiscardEdits())
        return;
    const QString name = prompts().getOpenFileName(
        nullptr,
        QCoreApplication::translate("App", "Choose a file with settings - Lm740", "scenes load"),
        QStringLiteral("./"),
        QCoreApplication::translate("App", "settings (*.set)", "translate only Scenes"));
    if (name.isEmpty())
        return;
    qCDebug(lcFiles) << name;

    QByteArray image;
    QString error;
    if (!lm740::image::readSettingsFile(name, &image, &error)) {
        qCDebug(lcFiles) << error;
        const QFileInfo info(name);
        const QString text =
            info.isFile() && info.size() != lm740::layout::kImageSize
                ? QCoreApplication::translate("App", "%1 is not a settings file: it holds %2 "
                                                     "bytes, a settings file holds %3.")
                      .arg(QDir::toNativeSeparators(name))
                      .arg(info.size())
                      .arg(lm740::layout::kImageSize)
                : QCoreApplication::translate("App", "The file could not be read:\n%1").arg(error);
        prompts().warning(nullptr, QCoreApplication::translate("App", "Error", "error"), text);
        return;
    }

    const int sceneTimeBefore = document.show().sceneTime;
    lm740::image::HeaderValues header;
    {
        const Navigator::Hold hold(*navigator);
        document.change(tr("Load %1").arg(QFileInfo(name).fileName()), document.current(),
                        [&](lm740::Show &show) {
                            lm740::image::unpackShow(image, show, &header);
                            // The scene time box has always cut a file's scene time to its
                            // range.
                            document.setGlobals(header.lamps,
                                                std::clamp(header.sceneTime, lm740::kMinSceneTime,
                                                           lm740::kMaxSceneTime));
                        });
        navigator->loadPanel();
    }
    // What was loaded is what the file holds.
    document.keepAll();
    // Online, the file's scene time and lamp count go to the controller too.
    if (document.show().sceneTime != sceneTimeBefore && deviceReady())
        UsbSetGlobalSceneTime(char(document.show().sceneTime));
    keptFiles.keptIn(name);
    lampCountLoaded();
    m_desktop->fileDone(name, true, lm740::image::headerChanges(header));
    qCDebug(lcFiles) << "Load all";
}

void MainWindow::lampCountLoaded()
{
    if (deviceReady() && UsbSetLampsNumber(char(ledsNumber)) != -1)
        document.keepGlobals();
}
