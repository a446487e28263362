// The window's side of the device link: settings memory bytes, Connect, Disconnect, Get Lm ID,
// the one-second status poll with its once-per-run firmware check, and the controller parameters.
// The link does the work; these slots show the results and the messages.
#include "main_window.h"

#include "controller_chooser.h"
#include "logging.h"
#include "prompts.h"
#include "release.h"
#include "settings_layout.h"
#include "simulated_lm740_view.h"
#include "usb_requests.h"

#include <QCoreApplication>
#include <QLabel>
#include <QTimer>

namespace {

// The parameter slots' error box; the texts are marked for translation where they are defined.
void showError(const char *text)
{
    lm740::prompts().information(nullptr, QCoreApplication::translate("App", "Error"),
                                 QCoreApplication::translate("App", text), QMessageBox::Ok);
}

// One of the controller's parameters in the settings header: its address, whether its byte is
// signed, its name in the trace, and the texts of its error boxes (null: a failure shows nothing).
struct Parameter
{
    int address;
    bool isSigned;
    const char *traceName;
    const char *readError;
    const char *writeError;
};

constexpr Parameter kColorMode{lm740::layout::kColorMode, false, "Color_mode",
                               QT_TRANSLATE_NOOP("App", "Get Color  Mode"),
                               QT_TRANSLATE_NOOP("App", "Set Color Mode")};
constexpr Parameter kGlobalSceneTime{lm740::layout::kInSceneTime, true, "inSceneTime",
                                     QT_TRANSLATE_NOOP("App", "Get GlobalSceneTime"),
                                     QT_TRANSLATE_NOOP("App", "Set GlobalSceneTime")};
constexpr Parameter kLampsNumber{lm740::layout::kLampsNumber, false, "lamps_number",
                                 QT_TRANSLATE_NOOP("App", "Get LampsNumber"),
                                 QT_TRANSLATE_NOOP("App", "Set LampsNumber")};
constexpr Parameter kNumberNow{lm740::layout::kNumberNow, true, "number_now", nullptr, nullptr};

void traceParameter(const Parameter &p, char value)
{
    qCDebug(lcUsb, "%s address: %x value: %d", p.traceName, p.address, int(qint8(value)));
}

// The parameter's value, or -1 after its error box.
int readParameter(lm740::ControllerLink &link, const Parameter &p)
{
    char byte = 0;
    const int r = link.getBytes(p.address, &byte, 1);
    traceParameter(p, byte);
    if (r == -1) {
        if (p.readError)
            showError(p.readError);
        return -1;
    }
    return p.isSigned ? int(qint8(byte)) : int(quint8(byte));
}

// 1, or -1 after its error box.
int writeParameter(lm740::ControllerLink &link, const Parameter &p, char value)
{
    const int r = link.setByte(p.address, quint8(value));
    traceParameter(p, value);
    if (r == -1) {
        if (p.writeError)
            showError(p.writeError);
        return -1;
    }
    return 1;
}

} // namespace

void MainWindow::setUpDeviceLink()
{
    usbDevice.setIds(lm740::usb::kVendorId, lm740::usb::kProductId);
    controllerChooser =
        new ControllerChooser(usbDevice, menuUSB, qEnvironmentVariable("LM740_DEVICE"), this);
    // Another controller chosen is another firmware: its release is checked as the first one's was.
    connect(controllerChooser, &ControllerChooser::chosen, this, [this] {
        firstStatusCheck = true;
        USBCheckStatus();
    });

    connect(actionUsbConnect, &QAction::triggered, this, &MainWindow::UsbConnect);
    connect(actionUsbDisconnect, &QAction::triggered, this, &MainWindow::UsbDisconnect);
    connect(actionUsbGetLmId, &QAction::triggered, this, &MainWindow::UsbGetLmId);
    connect(actionGetColorMode, &QAction::triggered, this, &MainWindow::GetColorMode);
    connect(actionGetGlobalSceneTime, &QAction::triggered, this, &MainWindow::GetGlobalSceneTime);
    connect(actionGetLampsNumber, &QAction::triggered, this, &MainWindow::GetLampsNumber);
    connect(actionGetNumberNow, &QAction::triggered, this, &MainWindow::GetNumberNow);
}

void MainWindow::startStatusPoll()
{
    statusTimer = new QTimer(this);
    statusTimer->setObjectName(QStringLiteral("statusTimer"));
    statusTimer->setInterval(1000);
    statusTimer->start();
    connect(statusTimer, &QTimer::timeout, this, &MainWindow::USBCheckStatus);
    USBCheckStatus();
}

char MainWindow::UsbGetByte(unsigned short page, unsigned short offset)
{
    char value = 0;
    controllerLink.getByte(page, offset, &value);
    return value;
}

int MainWindow::UsbGetBytes(int AVR_mem_address, char *dest, int length)
{
    return controllerLink.getBytes(AVR_mem_address, dest, length);
}

int MainWindow::UsbSetByte(int AVR_mem_address, unsigned char byte)
{
    return controllerLink.setByte(AVR_mem_address, byte);
}

void MainWindow::UsbConnect(bool)
{
    usbDevice.setIds(lm740::usb::kVendorId, lm740::usb::kProductId);
    QPalette palette = deviceMessageLabel->palette();
    if (usbDevice.open() != -1) {
        palette.setColor(QPalette::Window, QColor(0, 0, 255));
        palette.setColor(QPalette::WindowText, QColor(255, 255, 0));
        palette.setColor(QPalette::Base, QColor(0, 255, 255));
        deviceMessageLabel->setPalette(palette);
        deviceMessageLabel->setText(tr("Lm740 Connected"));
    } else {
        // The status poll tells within a second that the controller is missing.
        palette.setColor(QPalette::Text, QColor(255, 0, 0));
        deviceMessageLabel->setPalette(palette);
    }
}

void MainWindow::UsbDisconnect(bool)
{
    usbDevice.close();
}

void MainWindow::UsbGetLmId(bool)
{
    const int id = controllerLink.readId();
    if (id == lm740::usb::kLm740Id)
        qCDebug(lcUsb) << id;
    else if (id != -1)
        qCDebug(lcUsb) << "USB_LM740_ID error";
}

bool MainWindow::USBCheckStatus()
{
    const bool present = controllerChooser->poll();
    connectedFlag = present;

    // The label first: a firmware message below waits for the user, and meanwhile the polls it
    // lets through keep the label current.
    QPalette palette = connectionLabel->palette();
    palette.setColor(QPalette::WindowText, present ? QColor(30, 160, 30) : QColor(255, 0, 0));
    connectionLabel->setPalette(palette);
    connectionLabel->setText(controllerChooser->statusText(present));
    if (simulatorView)
        simulatorView->watch(controllerChooser->chosenPort());

    if (!present && !permissionNoticeShown &&
        usbDevice.lastSearchResult() == lm740::UsbDevice::SearchResult::NoPermission) {
        permissionNoticeShown = true;
        lm740::prompts().warning(
            nullptr, QCoreApplication::translate("App", "VXL Lm740"),
            QCoreApplication::translate(
                "App", "The Lm740 is connected, but this user may not use it.\n"
                       "Install the udev rule 70-lm740.rules in /usr/lib/udev/rules.d, then run\n"
                       "sudo udevadm control --reload-rules\n"
                       "and plug the Lm740 in again."),
            QMessageBox::Ok);
    }

    if (firstStatusCheck && present) {
        firstStatusCheck = false;
        QByteArray text;
        if (controllerLink.readVersion(&text) == lm740::usb::kVersionLength) {
            qCDebug(lcUsb) << text;
            const int release = release2int(QString::fromLatin1(text));
            qCDebug(lcUsb) << "release in device: " << release;
            if (release == -1)
                lm740::prompts().warning(
                    nullptr, QCoreApplication::translate("App", "VXL Lm740"),
                    QCoreApplication::translate("App", "Unknown firmware version in Lm740 device."),
                    QMessageBox::Ok);
            else if (release != lm740::kRequiredRelease)
                lm740::prompts().warning(
                    nullptr, QCoreApplication::translate("App", "VXL Lm740"),
                    QCoreApplication::translate("App", "Plase upgrade device to version %1")
                        .arg(lm740::kRequiredRelease),
                    QMessageBox::Ok);
        } else {
            lm740::prompts().warning(
                nullptr, QCoreApplication::translate("App", "VXL Lm740"),
                QCoreApplication::translate(
                    "App", "Can not get version from Lm740 device.\nUpgrade Lm740 to version 13",
                    "first checkstatus"),
                QMessageBox::Ok);
        }
    }
    return present;
}

int MainWindow::release2int(QString text)
{
    return lm740::releaseNumber(text);
}

int MainWindow::UsbGetColorMode()
{
    return readParameter(controllerLink, kColorMode);
}

int MainWindow::UsbSetColorMode(char value)
{
    return writeParameter(controllerLink, kColorMode, value);
}

int MainWindow::UsbGetGlobalSceneTime()
{
    return readParameter(controllerLink, kGlobalSceneTime);
}

int MainWindow::UsbSetGlobalSceneTime(char value)
{
    return writeParameter(controllerLink, kGlobalSceneTime, value);
}

int MainWindow::UsbGetLampsNumber()
{
    return readParameter(controllerLink, kLampsNumber);
}

int MainWindow::UsbSetLampsNumber(char value)
{
    return writeParameter(controllerLink, kLampsNumber, value);
}

int MainWindow::UsbGetNumberNow()
{
    return readParameter(controllerLink, kNumberNow);
}

void MainWindow::GetColorMode(bool)
{
    UsbGetColorMode();
}

void MainWindow::GetGlobalSceneTime(bool)
{
    UsbGetGlobalSceneTime();
}

void MainWindow::GetLampsNumber(bool)
{
    UsbGetLampsNumber();
}

void MainWindow::GetNumberNow(bool)
{
    UsbGetNumberNow();
}
