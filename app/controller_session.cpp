// The session's link work: settings memory bytes, Connect, Disconnect, Get Lm ID, the one-second
// status poll with its once-per-run firmware check, online mode, the controller parameters, the
// record transfers and the run commands.
#include "controller_session.h"

#include "controller_chooser.h"
#include "item_kinds.h"
#include "logging.h"
#include "pass_dialog.h"
#include "prompts.h"
#include "release.h"
#include "settings_layout.h"
#include "show_document.h"
#include "usb_requests.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

#include <algorithm>

namespace {

// The parameter slots' error box; the texts are marked for translation where they are defined.
void showError(const char *text)
{
    lm740::prompts().information(nullptr, QCoreApplication::translate("App", "Error"),
                                 QCoreApplication::translate("App", text), QMessageBox::Ok);
}

// One of the controller's parameters in the settings header: its address, whether its byte is
// signed, its name in the trace, and the texts of its error boxes (null: a failure shows nothing).
struct ParameterInfo
{
    int address;
    bool isSigned;
    const char *traceName;
    const char *readError;
    const char *writeError;
};

// In the order of ControllerSession::Parameter.
constexpr ParameterInfo kParameters[] = {
    {lm740::layout::kColorMode, false, "Color_mode", QT_TRANSLATE_NOOP("App", "Get Color  Mode"),
     QT_TRANSLATE_NOOP("App", "Set Color Mode")},
    {lm740::layout::kInSceneTime, true, "inSceneTime",
     QT_TRANSLATE_NOOP("App", "Get GlobalSceneTime"),
     QT_TRANSLATE_NOOP("App", "Set GlobalSceneTime")},
    {lm740::layout::kLampsNumber, false, "lamps_number",
     QT_TRANSLATE_NOOP("App", "Get LampsNumber"), QT_TRANSLATE_NOOP("App", "Set LampsNumber")},
    {lm740::layout::kNumberNow, true, "number_now", nullptr, nullptr}};

void traceParameter(const ParameterInfo &p, char value)
{
    qCDebug(lcUsb, "%s address: %x value: %d", p.traceName, p.address, int(qint8(value)));
}

void setLabel(QLabel *label, const QString &text, const QColor &color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    label->setText(text);
}

void versionWarning(const QString &text)
{
    lm740::prompts().warning(nullptr, QCoreApplication::translate("App", "VXL Lm740"), text,
                             QMessageBox::Ok);
}

} // namespace

ControllerSession::ControllerSession(lm740::ShowDocument &document, QMenu *usbMenu,
                                     const Indicators &indicators, QWidget *window)
    : QObject(window), m_document(document), m_window(window), m_indicators(indicators)
{
    m_device.setIds(lm740::usb::kVendorId, lm740::usb::kProductId);
    m_chooser =
        new ControllerChooser(m_device, usbMenu, qEnvironmentVariable("LM740_DEVICE"), this);
    // Another controller chosen is another firmware: its release is checked as the first one's was.
    connect(m_chooser, &ControllerChooser::chosen, this, [this] {
        m_releaseUnchecked = true;
        poll();
    });
}

ControllerSession::~ControllerSession() = default;

void ControllerSession::startPoll()
{
    m_pollTimer = new QTimer(this);
    m_pollTimer->setObjectName(QStringLiteral("statusTimer"));
    m_pollTimer->setInterval(1000);
    m_pollTimer->start();
    connect(m_pollTimer, &QTimer::timeout, this, &ControllerSession::poll);
    poll();
}

char ControllerSession::getByte(unsigned short page, unsigned short offset)
{
    char value = 0;
    m_link.getByte(page, offset, &value);
    return value;
}

int ControllerSession::getBytes(int address, char *dest, int length)
{
    return m_link.getBytes(address, dest, length);
}

int ControllerSession::setByte(int address, unsigned char byte)
{
    return m_link.setByte(address, byte);
}

void ControllerSession::openDevice()
{
    m_device.setIds(lm740::usb::kVendorId, lm740::usb::kProductId);
    QLabel *label = m_indicators.deviceMessage;
    QPalette palette = label->palette();
    if (m_device.open() != -1) {
        palette.setColor(QPalette::Window, QColor(0, 0, 255));
        palette.setColor(QPalette::WindowText, QColor(255, 255, 0));
        palette.setColor(QPalette::Base, QColor(0, 255, 255));
        label->setPalette(palette);
        label->setText(QCoreApplication::translate("MainWindow", "Lm740 Connected"));
    } else {
        // The status poll tells within a second that the controller is missing.
        palette.setColor(QPalette::Text, QColor(255, 0, 0));
        label->setPalette(palette);
    }
}

void ControllerSession::closeDevice()
{
    m_device.close();
}

void ControllerSession::readId()
{
    const int id = m_link.readId();
    if (id == lm740::usb::kLm740Id)
        qCDebug(lcUsb) << id;
    else if (id != -1)
        qCDebug(lcUsb) << "USB_LM740_ID error";
}

bool ControllerSession::poll()
{
    const bool present = m_chooser->poll();
    m_answered = present;

    // The label first: a firmware message below waits for the user, and meanwhile the polls it
    // lets through keep the label current.
    setLabel(m_indicators.connection, m_chooser->statusText(present),
             present ? QColor(30, 160, 30) : QColor(255, 0, 0));
    Q_EMIT polled(present);

    if (!present && !m_permissionNoticeShown &&
        m_device.lastSearchResult() == lm740::UsbDevice::SearchResult::NoPermission) {
        m_permissionNoticeShown = true;
        lm740::prompts().warning(
            nullptr, QCoreApplication::translate("App", "VXL Lm740"),
            QCoreApplication::translate(
                "App", "The Lm740 is connected, but this user may not use it.\n"
                       "Install the udev rule 70-lm740.rules in /usr/lib/udev/rules.d, then run\n"
                       "sudo udevadm control --reload-rules\n"
                       "and plug the Lm740 in again."),
            QMessageBox::Ok);
    }

    if (!m_releaseUnchecked || !present)
        return present;
    m_releaseUnchecked = false;
    QByteArray text;
    if (m_link.readVersion(&text) != lm740::usb::kVersionLength) {
        versionWarning(QCoreApplication::translate(
            "App", "Can not get version from Lm740 device.\nUpgrade Lm740 to version 13",
            "first checkstatus"));
        return present;
    }
    qCDebug(lcUsb) << text;
    const int release = lm740::releaseNumber(QString::fromLatin1(text));
    qCDebug(lcUsb) << "release in device: " << release;
    if (release == -1)
        versionWarning(
            QCoreApplication::translate("App", "Unknown firmware version in Lm740 device."));
    else if (release != lm740::kRequiredRelease)
        versionWarning(QCoreApplication::translate("App", "Plase upgrade device to version %1")
                           .arg(lm740::kRequiredRelease));
    return present;
}

void ControllerSession::setOnline(bool online)
{
    m_online = online;
    if (online)
        setLabel(m_indicators.online, QCoreApplication::translate("MainWindow", "Online"),
                 QColor(30, 160, 30));
    else
        setLabel(m_indicators.online, QCoreApplication::translate("MainWindow", "Offline"),
                 QColor(255, 0, 0));
}

bool ControllerSession::ready()
{
    // A pass over the whole controller may run meanwhile: its dialog takes the focus from a box
    // of the window, which then reports the end of an edit. The controller hears only the pass.
    return m_online && !lm740::PassDialog::running() && poll();
}

int ControllerSession::readParameter(Parameter parameter)
{
    const ParameterInfo &p = kParameters[int(parameter)];
    char byte = 0;
    const int r = m_link.getBytes(p.address, &byte, 1);
    traceParameter(p, byte);
    if (r == -1) {
        if (p.readError)
            showError(p.readError);
        return -1;
    }
    return p.isSigned ? int(qint8(byte)) : int(quint8(byte));
}

int ControllerSession::writeParameter(Parameter parameter, char value)
{
    const ParameterInfo &p = kParameters[int(parameter)];
    const int r = m_link.setByte(p.address, quint8(value));
    traceParameter(p, value);
    if (r == -1) {
        if (p.writeError)
            showError(p.writeError);
        return -1;
    }
    return 1;
}

void ControllerSession::sendGlobals()
{
    const lm740::Show &show = m_document.show();
    const bool sent = writeParameter(Parameter::SceneTime, char(show.sceneTime)) != -1;
    if (writeParameter(Parameter::LampCount, char(show.ledsNumber)) != -1 && sent)
        m_document.keepGlobals();
}

// ---- the record transfers ------------------------------------------------------------------

std::function<void(int)> ControllerSession::progressBar()
{
    return [bar = m_indicators.progress](int percent) { bar->setValue(percent); };
}

int ControllerSession::transferResult(int result, const char *errorText)
{
    if (result < 0) {
        lm740::prompts().information(nullptr, QCoreApplication::translate("App", "Error"),
                                     QCoreApplication::translate("App", errorText),
                                     QMessageBox::Ok);
        return -1;
    }
    m_indicators.progress->reset();
    return 0;
}

int ControllerSession::writeScene(const QColor *colors, int scene, int lamps)
{
    if (!colors)
        return -1;
    lm740::ColorArray record;
    std::copy_n(colors, lm740::boundedLampCount(lamps), record.begin());
    return transferResult(m_link.writeScene(record, scene, lamps, progressBar()),
                          QT_TRANSLATE_NOOP("App", "USB Write Scene Error"));
}

int ControllerSession::readScene(QColor *colors, int scene, int lamps)
{
    if (!colors)
        return -1;
    lm740::ColorArray read;
    std::copy_n(colors, lm740::boundedLampCount(lamps), read.begin());
    const int r = m_link.readScene(read, scene, lamps, progressBar());
    if (r == 0)
        std::copy_n(read.begin(), lm740::boundedLampCount(lamps), colors);
    return transferResult(r, QT_TRANSLATE_NOOP("App", "USB Read Scene Error"));
}

int ControllerSession::writeChaser(const t_chaser *chaser, int number, int lamps)
{
    if (!chaser)
        return -1;
    return transferResult(m_link.writeChaser(*chaser, number, lamps, progressBar()),
                          QT_TRANSLATE_NOOP("App", "USB Write Chaser Error"));
}

int ControllerSession::readChaser(t_chaser *chaser, int number, int lamps)
{
    if (!chaser)
        return -1;
    return transferResult(m_link.readChaser(*chaser, number, lamps, progressBar()),
                          QT_TRANSLATE_NOOP("App", "USB Read Chaser Error"));
}

int ControllerSession::writeProgramStep(const t_program *program, int number, int step, int lamps)
{
    if (!program)
        return -1;
    return transferResult(m_link.writeProgramScene(*program, number, step, lamps, progressBar()),
                          QT_TRANSLATE_NOOP("App", "USB Write Program Error"));
}

int ControllerSession::readProgramStep(t_program *program, int number, int step, int lamps)
{
    if (!program)
        return -1;
    return transferResult(m_link.readProgramScene(*program, number, step, lamps, progressBar()),
                          QT_TRANSLATE_NOOP("App", "USB Read Program Error"));
}

int ControllerSession::writeProgram(const t_program *program, int number, int lamps)
{
    if (!program)
        return -1;
    return transferResult(m_link.writeProgram(*program, number, lamps, progressBar()),
                          QT_TRANSLATE_NOOP("App", "USB Write Program Error"));
}

int ControllerSession::readProgram(t_program *program, int number, int lamps)
{
    if (!program)
        return -1;
    return transferResult(m_link.readProgram(*program, number, lamps, progressBar()),
                          QT_TRANSLATE_NOOP("App", "USB Read Program Error"));
}

int ControllerSession::writeRecord(const lm740::Show &show, lm740::Item item, int lamps)
{
    const lm740::ItemKindRow &row = lm740::kindRow(item.kind);
    return transferResult(row.write(m_link, show, item, lamps, progressBar()), row.writeError);
}

int ControllerSession::readRecord(lm740::Show &into, lm740::Item item, int lamps)
{
    const lm740::ItemKindRow &row = lm740::kindRow(item.kind);
    return transferResult(row.read(m_link, into, item, lamps, progressBar()), row.readError);
}

int ControllerSession::run(lm740::Item item)
{
    return lm740::kindRow(item.kind).run(m_link, item);
}

int ControllerSession::runScene(int scene)
{
    return m_link.runScene(scene);
}

int ControllerSession::runChaser(int chaser)
{
    return m_link.runChaser(chaser);
}

int ControllerSession::runProgram(int program)
{
    return m_link.runProgram(program);
}

void ControllerSession::blackout()
{
    const int r = m_link.blackout();
    qCDebug(lcUsb) << "USB_RUN_BLACKOUT r: " << r;
    Q_EMIT confirmed(
        r == -1 ? QCoreApplication::translate("App", "Blackout not sent: the Lm740 did not answer")
                : QCoreApplication::translate("App", "Blackout sent"));
}
