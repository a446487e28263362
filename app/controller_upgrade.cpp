// The session's firmware upgrade (USB > Upgrade Lm740): the guide to upgrade mode, the
// file and its check, the release question, the progress of sending and verifying, and every
// message. The upgrade sequence itself lives in device/upgrade, the file format in
// show/upgrade_file. The status poll is held while the upgrade talks to the controller and comes
// back when the command ends, whatever the outcome.
#include "controller_session.h"

#include "logging.h"
#include "pass_dialog.h"
#include "prompts.h"
#include "safe_file.h"
#include "upgrade.h"
#include "upgrade_file.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTimer>

namespace {

QString app(const char *text)
{
    return QCoreApplication::translate("App", text);
}

const char *const kTitle = QT_TRANSLATE_NOOP("App", "VXL Lm740");
const char *const kBadFileText = QT_TRANSLATE_NOOP("App", "Error in upgrade file.\n"
                                                          "                                        "
                                                          "Please use correct file.");

void critical(const char *text)
{
    lm740::prompts().critical(nullptr, app(kTitle), app(text), QMessageBox::Ok);
}

void warning(const char *text)
{
    lm740::prompts().warning(nullptr, app(kTitle), app(text), QMessageBox::Ok);
}

QByteArray readWhole(const QString &fileName, bool *ok)
{
    QByteArray bytes;
    *ok = lm740::files::readRegularFile(fileName, lm740::upgrade::kMaxFileSize + 1, &bytes);
    return bytes;
}

lm740::upgrade::Callbacks passCallbacks(lm740::PassDialog &dialog)
{
    return {[&dialog] { return dialog.goOn(); },
            [&dialog](int done) {
                if (dialog.showsAgain(done >= dialog.maximum()))
                    dialog.setValue(done);
            }};
}

// The controller's answer before an upgrade, as the user is told of it; true when it may go on.
bool reportIdentity(const lm740::upgrade::Identity &identity)
{
    using State = lm740::upgrade::Identity::State;
    switch (identity.state) {
    case State::Ready:
        return true;
    case State::NotDetected:
        critical(QT_TRANSLATE_NOOP("App", "Lm740 not detected!\n                                "
                                          "Check windows driver and USB cable."));
        break;
    case State::NotIdentified:
        warning(QT_TRANSLATE_NOOP("App", "Connected, but can not identify VXL device.\n"
                                         "                                           "
                                         "Check windows driver and USB cable."));
        break;
    case State::OtherDevice:
        warning(QT_TRANSLATE_NOOP("App", "Connect to another Lm device.\n"
                                         "                                            "
                                         "Upgrade is possible only for Lm740"));
        break;
    case State::NoVersion:
        warning(QT_TRANSLATE_NOOP("App", "Can not get version from Lm740 device."));
        break;
    case State::UnknownVersion:
        warning(QT_TRANSLATE_NOOP("App", "Unknown firmware version in Lm740 device."));
        break;
    }
    return false;
}

} // namespace

void ControllerSession::upgrade()
{
    m_pollTimer->stop();
    const Upgrade outcome = upgradeFirmware();
    m_device.close();
    if (outcome == Upgrade::Done)
        lm740::prompts().information(
            nullptr, app(QT_TRANSLATE_NOOP("App", "Lm740 Upgrade")),
            app(QT_TRANSLATE_NOOP("App", "Upgrade sucessfull\nUnplug and next plug USB cable to "
                                         "device")),
            QMessageBox::Ok);
    else if (outcome == Upgrade::Failed)
        lm740::prompts().critical(nullptr, app(QT_TRANSLATE_NOOP("App", "Lm740 Upgrade")),
                                  app(QT_TRANSLATE_NOOP("App", "Upgrade failed")), QMessageBox::Ok);
    m_pollTimer->start();
}

ControllerSession::Upgrade ControllerSession::upgradeFirmware()
{
    lm740::prompts().warning(
        nullptr, app(QT_TRANSLATE_NOOP("App", "VXL Lm740 - Upgrade process")),
        app(QT_TRANSLATE_NOOP("App", "Please do the following:\n"
                                     "                                "
                                     "1. Unplug the USB and power cable from the Lm740.\n"
                                     "                                "
                                     "2. Connect the USB cable to the Lm740 and PC.\n\t"
                                     "                                "
                                     "3. Press the Lm740 keyboard key - 'previous'.\n"
                                     "                                "
                                     "4. Connect the power cable to the Lm740.\n"
                                     "                                "
                                     "(when the 'previous' key is pressed)\n"
                                     "                                "
                                     "5. Wait for \"Upgrade mode\" string on the Lm740 LCD.\n\t"
                                     "                                "
                                     "6. Click OK and choose the file to upgrade.")),
        QMessageBox::Ok);
    const QString fileName = lm740::prompts().getOpenFileName(
        nullptr, app(QT_TRANSLATE_NOOP("App", "Chose a file to upgrade VXL - Lm740")),
        QStringLiteral("./"), app(QT_TRANSLATE_NOOP("App", "Upgrade (*.upg)")));
    if (fileName.isEmpty())
        return Upgrade::NotStarted;
    if (!QFileInfo::exists(fileName))
        return Upgrade::Failed;
    if (checkUpgradeFile(fileName) == -1) {
        critical(kBadFileText);
        return Upgrade::Failed;
    }

    bool readable = false;
    const QByteArray bytes = readWhole(fileName, &readable);
    if (!readable)
        return Upgrade::Failed;
    lm740::upgrade::Header header;
    switch (lm740::upgrade::readHeader(bytes, &header)) {
    case lm740::upgrade::HeaderError::None:
        break;
    case lm740::upgrade::HeaderError::NotForLm740:
        critical(QT_TRANSLATE_NOOP("App", "Upgrade file is not for VXL Lm740 device."));
        return Upgrade::Failed;
    case lm740::upgrade::HeaderError::WrongVersion:
        critical(QT_TRANSLATE_NOOP("App", "Wrong firmware version in file."));
        return Upgrade::Failed;
    case lm740::upgrade::HeaderError::NoImage:
    case lm740::upgrade::HeaderError::ShortImage:
        critical(kBadFileText);
        return Upgrade::Failed;
    }

    const lm740::upgrade::Identity identity = lm740::upgrade::identify(m_link);
    if (!reportIdentity(identity))
        return Upgrade::Failed;
    if (identity.release >= header.release &&
        lm740::prompts().question(
            nullptr, app(kTitle),
            app(QT_TRANSLATE_NOOP("App", "Version in device: %1\nUpgrade version: %2\nAre you "
                                         "sure to upgrade?"))
                .arg(QString::fromLatin1(identity.versionText), header.releaseText),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::No)
        return Upgrade::NotStarted;

    lm740::upgrade::SendResult sent;
    {
        lm740::PassDialog dialog(app(QT_TRANSLATE_NOOP("App", "VXL Lm740 - Upgrade process")),
                                 app(QT_TRANSLATE_NOOP("App", "Please wait...\n Upgrade is "
                                                              "running.")),
                                 lm740::upgrade::blocksOf(bytes.size()));
        sent = lm740::upgrade::sendImage(m_link, QByteArrayView(bytes).sliced(header.imageOffset),
                                         passCallbacks(dialog));
        dialog.reset();
    }
    qCDebug(lcUpgrade) << "blocks sent:" << sent.blocksSent << "state:" << int(sent.state);
    if (sent.state != lm740::upgrade::SendResult::State::Sent)
        return Upgrade::Failed;
    if (verifyUpgrade(fileName) == -1) {
        critical(QT_TRANSLATE_NOOP("App", "Verification failed"));
        return Upgrade::Failed;
    }
    return Upgrade::Done;
}

int ControllerSession::checkUpgradeFile(const QString &fileName)
{
    return lm740::upgrade::checkFile(fileName) ? 0 : -1;
}

int ControllerSession::verifyUpgrade(const QString &fileName)
{
    bool readable = false;
    const QByteArray image = lm740::upgrade::imageOf(readWhole(fileName, &readable));
    if (image.isEmpty())
        return -1;
    lm740::PassDialog dialog(app(QT_TRANSLATE_NOOP("App", "VXL Lm740 - Upgrade process")),
                             app(QT_TRANSLATE_NOOP("App", "Verify")),
                             lm740::upgrade::halvesOf(image.size()));
    const lm740::upgrade::VerifyResult result =
        lm740::upgrade::verifyImage(m_link, image, passCallbacks(dialog));
    dialog.reset();
    return result == lm740::upgrade::VerifyResult::Same ? 0 : -1;
}
