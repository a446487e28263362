// The window's device slots against the simulated controller: the status poll with its labels,
// colours and once-per-run firmware check, Connect, Disconnect, byte access and the controller
// parameters with their messages, all seen through the prompts seam.
#include "main_window.h"
#include "recording_prompts.h"
#include "sim_rig.h"
#include "window_widgets.h"

#include <QLabel>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace lm740;

class TstMainWindowDevice : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void constructionStartsTheOneSecondPoll();
    void pollShowsTheControllerComingAndGoing();
    void firmwareIsCheckedOnceAtTheFirstPollThatFindsIt();
    void firmwareIsCheckedOnceAtTheFirstPollThatFindsIt_data();
    void firmwareCheckWaitsForTheController();
    void controllerWithoutPermissionIsToldOnce();
    void connectAndDisconnect();
    void getLmIdTalksToTheController();
    void byteAccessGoesToSettingsMemory();
    void parametersReadSignedOrUnsigned();
    void parametersWriteTheirBytes();
    void parameterFailuresShowTheirMessage();
    void parameterFailuresShowTheirMessage_data();
    void parameterActionsAreWired();

private:
    void makeWindow();
    QColor textColor(const QLabel *label) const
    {
        return label->palette().color(QPalette::WindowText);
    }

    std::unique_ptr<SimRig> m_rig;
    std::unique_ptr<RecordingPrompts> m_prompts;
    std::unique_ptr<MainWindow> m_window;
};

void TstMainWindowDevice::init()
{
    m_rig = std::make_unique<SimRig>(SimRig::Start::Plugged);
    m_rig->makeDefaultBus();
    m_prompts = std::make_unique<RecordingPrompts>();
}

void TstMainWindowDevice::cleanup()
{
    m_window.reset();
    m_prompts.reset();
    m_rig.reset();
}

void TstMainWindowDevice::makeWindow()
{
    m_window = std::make_unique<MainWindow>();
}

void TstMainWindowDevice::constructionStartsTheOneSecondPoll()
{
    makeWindow();
    MainWindow &w = *m_window;
    QVERIFY(w.session().pollTimer());
    QCOMPARE(w.session().pollTimer()->interval(), 1000);
    QVERIFY(w.session().pollTimer()->isActive());
    QVERIFY(!w.session().pollTimer()->isSingleShot());
    // The poll at the end of construction found the controller; release 16 needs no message.
    QVERIFY(w.session().answered());
    QCOMPARE(w.widgets().connectionLabel->text(), QStringLiteral("Lm740 Connected"));
    QCOMPARE(textColor(w.widgets().connectionLabel), QColor(30, 160, 30));
    QVERIFY(m_prompts->calls.isEmpty());
    const auto &log = m_rig->controller.requests();
    QCOMPARE(log.size(), 2);
    QCOMPARE(log[1].request, quint8(4));
    QCOMPARE(log[1].length, quint16(32));

    // The timer drives the poll: each tick searches and identifies again.
    QSignalSpy ticks(w.session().pollTimer(), &QTimer::timeout);
    QMetaObject::invokeMethod(w.session().pollTimer(), "timeout", Qt::DirectConnection);
    QCOMPARE(ticks.size(), 1);
    QCOMPARE(m_rig->controller.requests().size(), 3);
    QCOMPARE(m_rig->controller.requests().last().request, quint8(0xFF));
    m_rig->bus.unplug(m_rig->controller);
    QMetaObject::invokeMethod(w.session().pollTimer(), "timeout", Qt::DirectConnection);
    QCOMPARE(w.widgets().connectionLabel->text(), QStringLiteral("Lm740 Not connected"));
}

void TstMainWindowDevice::pollShowsTheControllerComingAndGoing()
{
    m_rig->bus.unplug(m_rig->controller);
    makeWindow();
    MainWindow &w = *m_window;
    QVERIFY(!w.session().answered());
    QCOMPARE(w.widgets().connectionLabel->text(), QStringLiteral("Lm740 Not connected"));
    QCOMPARE(textColor(w.widgets().connectionLabel), QColor(255, 0, 0));

    m_rig->bus.plug(m_rig->controller);
    QVERIFY(w.USBCheckStatus());
    QVERIFY(w.session().answered());
    QCOMPARE(w.widgets().connectionLabel->text(), QStringLiteral("Lm740 Connected"));
    QCOMPARE(textColor(w.widgets().connectionLabel), QColor(30, 160, 30));

    // A controller that answers as something else is not connected either.
    m_rig->controller.setIdentification(741);
    QVERIFY(!w.USBCheckStatus());
    QVERIFY(!w.session().answered());
    QCOMPARE(w.widgets().connectionLabel->text(), QStringLiteral("Lm740 Not connected"));
    QVERIFY(m_prompts->calls.isEmpty());
}

void TstMainWindowDevice::firmwareIsCheckedOnceAtTheFirstPollThatFindsIt_data()
{
    QTest::addColumn<QByteArray>("version");
    QTest::addColumn<bool>("shortReply");
    QTest::addColumn<QString>("message");
    QTest::newRow("release 16") << QByteArray("rel_0_16") << false << QString();
    QTest::newRow("release 15") << QByteArray("rel_0_15") << false
                                << "Plase upgrade device to version 16";
    QTest::newRow("release 17") << QByteArray("rel_0_17") << false
                                << "Plase upgrade device to version 16";
    QTest::newRow("release 1.05") << QByteArray("rel_1_05") << false
                                  << "Plase upgrade device to version 16";
    QTest::newRow("no release in the text")
        << QByteArray("Lm740") << false << "Unknown firmware version in Lm740 device.";
    QTest::newRow("31-byte reply") << QByteArray("rel_0_16") << true
                                   << "Can not get version from Lm740 device.\n"
                                      "Upgrade Lm740 to version 13";
}

void TstMainWindowDevice::firmwareIsCheckedOnceAtTheFirstPollThatFindsIt()
{
    QFETCH(QByteArray, version);
    QFETCH(bool, shortReply);
    QFETCH(QString, message);
    m_rig->controller.setVersionText(version);
    if (shortReply)
        m_rig->controller.answerShortRequests(usb::VERSION_REQUEST, 1);
    makeWindow();

    if (message.isEmpty()) {
        QVERIFY(m_prompts->calls.isEmpty());
    } else {
        QCOMPARE(m_prompts->calls.size(), 1);
        const PromptCall &c = m_prompts->calls.first();
        QCOMPARE(c.kind, QStringLiteral("warning"));
        QVERIFY(!c.hasParent);
        QCOMPARE(c.title, QStringLiteral("VXL Lm740"));
        QCOMPARE(c.text, message);
        QCOMPARE(c.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(c.defaultButton, QMessageBox::NoButton);
    }
    // The label shows the controller whatever its firmware.
    QCOMPARE(m_window->widgets().connectionLabel->text(), QStringLiteral("Lm740 Connected"));

    // Later polls, and a controller unplugged and plugged again, are not checked again.
    m_rig->bus.unplug(m_rig->controller);
    m_window->USBCheckStatus();
    m_rig->bus.plug(m_rig->controller);
    m_rig->controller.clearRequests();
    for (int i = 0; i < 3; ++i)
        QVERIFY(m_window->USBCheckStatus());
    QCOMPARE(m_prompts->calls.size(), message.isEmpty() ? 0 : 1);
    for (const auto &r : m_rig->controller.requests())
        QCOMPARE(r.request, quint8(0xFF));
}

void TstMainWindowDevice::firmwareCheckWaitsForTheController()
{
    m_rig->controller.setRelease(0, 15);
    m_rig->bus.unplug(m_rig->controller);
    makeWindow();
    QVERIFY(!m_window->USBCheckStatus());
    QVERIFY(m_prompts->calls.isEmpty());
    m_rig->bus.plug(m_rig->controller);
    QVERIFY(m_window->USBCheckStatus());
    QCOMPARE(m_prompts->texts(), QStringList{"Plase upgrade device to version 16"});
}

void TstMainWindowDevice::controllerWithoutPermissionIsToldOnce()
{
    m_rig->controller.openError = UsbBus::ErrorAccess;
    makeWindow();
    QVERIFY(!m_window->session().answered());
    QCOMPARE(m_prompts->calls.size(), 1);
    QCOMPARE(m_prompts->calls[0].kind, QStringLiteral("warning"));
    QVERIFY(m_prompts->calls[0].text.contains("70-lm740.rules"));
    QVERIFY(m_prompts->calls[0].text.contains("udevadm control --reload-rules"));
    m_window->USBCheckStatus();
    m_window->USBCheckStatus();
    QCOMPARE(m_prompts->calls.size(), 1);
    m_rig->controller.openError = 0;
    QVERIFY(m_window->USBCheckStatus());
}

void TstMainWindowDevice::connectAndDisconnect()
{
    makeWindow();
    MainWindow &w = *m_window;
    w.UsbDisconnect(false);
    QCOMPARE(w.session().device().isOpen(), -1);
    QVERIFY(w.widgets().deviceMessageLabel->text().isEmpty());

    w.UsbConnect(false);
    QCOMPARE(w.session().device().isOpen(), 0);
    QCOMPARE(w.widgets().deviceMessageLabel->text(), QStringLiteral("Lm740 Connected"));
    const QPalette p = w.widgets().deviceMessageLabel->palette();
    QCOMPARE(p.color(QPalette::Window), QColor(0, 0, 255));
    QCOMPARE(p.color(QPalette::WindowText), QColor(255, 255, 0));
    QCOMPARE(p.color(QPalette::Base), QColor(0, 255, 255));

    // A failed Connect only turns the text role red; the poll reports the missing controller.
    m_rig->bus.unplug(m_rig->controller);
    w.UsbConnect(false);
    QCOMPARE(w.session().device().isOpen(), -1);
    QCOMPARE(w.widgets().deviceMessageLabel->text(), QStringLiteral("Lm740 Connected"));
    QCOMPARE(w.widgets().deviceMessageLabel->palette().color(QPalette::Text), QColor(255, 0, 0));
    QVERIFY(m_prompts->calls.isEmpty());

    // The menu actions reach the slots; the next poll reopens a disconnected controller.
    m_rig->bus.plug(m_rig->controller);
    w.actionUsbConnect->trigger();
    QCOMPARE(w.session().device().isOpen(), 0);
    w.actionUsbDisconnect->trigger();
    QCOMPARE(w.session().device().isOpen(), -1);
    QVERIFY(w.USBCheckStatus());
    QCOMPARE(w.session().device().isOpen(), 0);
}

void TstMainWindowDevice::getLmIdTalksToTheController()
{
    makeWindow();
    m_rig->controller.clearRequests();
    m_window->actionUsbGetLmId->trigger();
    QCOMPARE(m_rig->controller.requests().size(), 1);
    const auto r = m_rig->controller.requests().first();
    QCOMPARE(r.request, quint8(0xFF));
    QCOMPARE(r.length, quint16(2));
    QVERIFY(m_prompts->calls.isEmpty()); // nothing is shown, whatever the answer
    m_rig->controller.setIdentification(1);
    m_window->UsbGetLmId(false);
    QVERIFY(m_prompts->calls.isEmpty());
}

void TstMainWindowDevice::byteAccessGoesToSettingsMemory()
{
    makeWindow();
    MainWindow &w = *m_window;
    m_rig->controller.setByteAt(300, 200);
    QCOMPARE(w.UsbGetByte(1, 44), char(-56));
    m_rig->controller.failRequests(usb::READ_MEMORY_REQUEST, 1);
    QCOMPARE(w.UsbGetByte(1, 44), char(0)); // one attempt only

    m_rig->controller.failRequests(usb::READ_MEMORY_REQUEST, 99);
    char byte = 0;
    QCOMPARE(w.UsbGetBytes(300, &byte, 1), 1);
    QCOMPARE(quint8(byte), quint8(200));

    char five[5] = {'a', 'b', 'c', 'd', 'e'};
    m_rig->controller.setByteAt(301, 7);
    m_rig->controller.failRequests(usb::READ_MEMORY_REQUEST, 100, 2);
    QCOMPARE(w.UsbGetBytes(300, five, 5), -1);
    QCOMPARE(QByteArray(five, 5), QByteArray("\xc8\x07"
                                             "cde"));

    QCOMPARE(w.UsbSetByte(0x1FFFF, 0xAB), 1);
    QCOMPARE(m_rig->controller.byteAt(0x1FFFF), quint8(0xAB));
    QCOMPARE(m_rig->controller.requests().last().value, quint16(0x1FF));
    QCOMPARE(m_rig->controller.requests().last().index, quint16(0xFF));
    m_rig->controller.failRequests(usb::WRITE_BYTE_REQUEST, 100);
    QCOMPARE(w.UsbSetByte(0x100, 1), -1);
    QCOMPARE(w.release2int("rel_1_05"), 105);
}

void TstMainWindowDevice::parametersReadSignedOrUnsigned()
{
    makeWindow();
    MainWindow &w = *m_window;
    m_rig->controller.setByteAt(2, 150);
    m_rig->controller.setByteAt(8, 200);
    m_rig->controller.setByteAt(12, 200);
    m_rig->controller.setByteAt(13, 200);
    QCOMPARE(w.UsbGetLampsNumber(), 150);
    QCOMPARE(w.UsbGetColorMode(), 200);
    QCOMPARE(w.UsbGetGlobalSceneTime(), -56);
    QCOMPARE(w.UsbGetNumberNow(), -56);
    m_rig->controller.setByteAt(13, 5);
    QCOMPARE(w.UsbGetGlobalSceneTime(), 5);
    QVERIFY(m_prompts->calls.isEmpty());
}

void TstMainWindowDevice::parametersWriteTheirBytes()
{
    makeWindow();
    MainWindow &w = *m_window;
    QCOMPARE(w.UsbSetLampsNumber(char(170)), 1);
    QCOMPARE(m_rig->controller.byteAt(2), quint8(170));
    QCOMPARE(w.UsbSetGlobalSceneTime(char(60)), 1);
    QCOMPARE(m_rig->controller.byteAt(13), quint8(60));
    QCOMPARE(w.UsbSetColorMode(char(255)), 1);
    QCOMPARE(m_rig->controller.byteAt(12), quint8(255));
    QCOMPARE(w.UsbGetLampsNumber(), 170);
    QVERIFY(m_prompts->calls.isEmpty());
}

void TstMainWindowDevice::parameterFailuresShowTheirMessage_data()
{
    QTest::addColumn<QString>("slot");
    QTest::addColumn<QString>("message");
    QTest::newRow("UsbGetColorMode") << "UsbGetColorMode"
                                     << "Get Color  Mode";
    QTest::newRow("UsbSetColorMode") << "UsbSetColorMode"
                                     << "Set Color Mode";
    QTest::newRow("UsbGetGlobalSceneTime") << "UsbGetGlobalSceneTime"
                                           << "Get GlobalSceneTime";
    QTest::newRow("UsbSetGlobalSceneTime") << "UsbSetGlobalSceneTime"
                                           << "Set GlobalSceneTime";
    QTest::newRow("UsbGetLampsNumber") << "UsbGetLampsNumber"
                                       << "Get LampsNumber";
    QTest::newRow("UsbSetLampsNumber") << "UsbSetLampsNumber"
                                       << "Set LampsNumber";
    QTest::newRow("UsbGetNumberNow") << "UsbGetNumberNow" << QString();
}

void TstMainWindowDevice::parameterFailuresShowTheirMessage()
{
    QFETCH(QString, slot);
    QFETCH(QString, message);
    m_rig->bus.unplug(m_rig->controller);
    makeWindow();
    MainWindow &w = *m_window;
    QVERIFY(!w.session().answered());
    int result = 0;
    bool invoked = false;
    if (slot.startsWith("UsbSet"))
        invoked = QMetaObject::invokeMethod(&w, slot.toLatin1(), Qt::DirectConnection,
                                            Q_RETURN_ARG(int, result), Q_ARG(char, 3));
    else
        invoked = QMetaObject::invokeMethod(&w, slot.toLatin1(), Qt::DirectConnection,
                                            Q_RETURN_ARG(int, result));
    QVERIFY(invoked);
    QCOMPARE(result, -1);
    if (message.isEmpty()) {
        QVERIFY(m_prompts->calls.isEmpty());
        return;
    }
    QCOMPARE(m_prompts->calls.size(), 1);
    const PromptCall &c = m_prompts->calls.first();
    QCOMPARE(c.kind, QStringLiteral("information"));
    QVERIFY(!c.hasParent);
    QCOMPARE(c.title, QStringLiteral("Error"));
    QCOMPARE(c.text, message);
    QCOMPARE(c.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void TstMainWindowDevice::parameterActionsAreWired()
{
    m_rig->bus.unplug(m_rig->controller);
    makeWindow();
    MainWindow &w = *m_window;
    w.actionGetColorMode->trigger();
    w.actionGetGlobalSceneTime->trigger();
    w.actionGetLampsNumber->trigger();
    w.actionGetNumberNow->trigger();
    QCOMPARE(m_prompts->texts(),
             QStringList({"Get Color  Mode", "Get GlobalSceneTime", "Get LampsNumber"}));

    // With the controller there, the actions read and show nothing.
    m_rig->bus.plug(m_rig->controller);
    m_prompts->calls.clear();
    m_rig->controller.clearRequests();
    w.actionGetLampsNumber->trigger();
    QVERIFY(m_prompts->calls.isEmpty());
    QCOMPARE(m_rig->controller.requests().last().request, quint8(7));
    QCOMPARE(m_rig->controller.requests().last().index, quint16(2));
}

QTEST_MAIN(TstMainWindowDevice)
#include "tst_main_window_device.moc"
