// USB > Upgrade Lm740 against the simulated controller in its upgrade mode: the file checks, the
// controller's identity and release with the question, the blocks and their halves, the readiness
// poll, the read-back, every message, and the status poll coming back whatever the outcome.
#include "dialog_hook.h"
#include "main_window.h"
#include "recording_prompts.h"
#include "sim_rig.h"
#include "upgrade_file.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace lm740;

class TstMainWindowUpgrade : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void upgrade_data();
    void upgrade();
    void shortImageGoesAsThreeBlocks();

private:
    QString fileWith(const QByteArray &bytes)
    {
        const QString name = m_dir.filePath("fw.upg");
        QFile f(name);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return name;
    }
    QStringList shownAfterTheFileDialog() const
    {
        QStringList shown;
        for (const PromptCall &c : m_prompts->calls.mid(2))
            shown << c.kind + '|' + c.title + '|' + c.text;
        return shown;
    }

    std::unique_ptr<SimRig> m_rig;
    std::unique_ptr<RecordingPrompts> m_prompts;
    std::unique_ptr<MainWindow> m_window;
    QTemporaryDir m_dir;
};

void TstMainWindowUpgrade::init()
{
    m_rig = std::make_unique<SimRig>(SimRig::Start::Plugged);
    m_rig->makeDefaultBus();
    m_rig->controller.setUpgradeMode(true);
    m_prompts = std::make_unique<RecordingPrompts>();
    m_window = std::make_unique<MainWindow>();
    m_rig->controller.clearRequests();
}

void TstMainWindowUpgrade::cleanup()
{
    m_window.reset();
    m_prompts.reset();
    m_rig.reset();
}

void TstMainWindowUpgrade::upgrade_data()
{
    QTest::addColumn<QByteArray>("file"); // none: the file dialog is cancelled
    QTest::addColumn<QByteArray>("device");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("blocks"); // programmed
    QTest::addColumn<QStringList>("shown");
    const QByteArray image = upgrade::makeImage("fw_1_05", 1000);
    const QByteArray good = upgrade::makeFile("fw_1_05", image);
    QByteArray corrupt = good;
    corrupt[500] = char(corrupt[500] ^ 0x40);
    const QString failed = "critical|Lm740 Upgrade|Upgrade failed";
    const QString done =
        "information|Lm740 Upgrade|Upgrade sucessfull\nUnplug and next plug USB cable to device";
    const QString question = "question|VXL Lm740|Version in device: rel_1_05\nUpgrade version: "
                             "fw_1_05\nAre you sure to upgrade?";
    const QString badFile = "critical|VXL Lm740|Error in upgrade file.\n" + QString(40, ' ') +
                            "Please use correct file.";
    QTest::newRow("file dialog cancelled")
        << QByteArray() << QByteArray("rel_0_16") << "" << 0 << QStringList();
    QTest::newRow("newer file, no question")
        << good << QByteArray("rel_0_16") << "" << 8 << QStringList{done};
    QTest::newRow("same release, No")
        << good << QByteArray("rel_1_05") << "No" << 0 << QStringList{question};
    QTest::newRow("same release, Yes")
        << good << QByteArray("rel_1_05") << "Yes" << 8 << QStringList{question, done};
    QTest::newRow("ready after 3 failed polls")
        << good << QByteArray("rel_0_16") << "3 polls" << 8 << QStringList{done};
    QTest::newRow("not ready after 10 polls")
        << good << QByteArray("rel_0_16") << "10 polls" << 1 << QStringList{failed};
    // Each attempt asks once, also as the search that opens the link again after a failed one.
    QTest::newRow("ready after 9 failing polls")
        << good << QByteArray("rel_0_16") << "9 failing" << 8 << QStringList{done};
    QTest::newRow("not ready after 10 failing polls")
        << good << QByteArray("rel_0_16") << "10 failing" << 1 << QStringList{failed};
    QTest::newRow("cancelled while sending")
        << good << QByteArray("rel_0_16") << "cancel" << 2 << QStringList{failed};
    QTest::newRow("verification mismatch")
        << good << QByteArray("rel_0_16") << "mismatch" << 8
        << QStringList{"critical|VXL Lm740|Verification failed", failed};
    QTest::newRow("read-back refused")
        << good << QByteArray("rel_0_16") << "refuse read" << 8
        << QStringList{"critical|VXL Lm740|Verification failed", failed};
    QTest::newRow("checksum wrong")
        << corrupt << QByteArray("rel_0_16") << "" << 0 << QStringList{badFile, failed};
    // Its first 50000 bytes check out, but what follows them would go unchecked.
    QTest::newRow("longer than 50000 bytes")
        << upgrade::makeFile("fw_1_05", upgrade::makeImage("fw_1_05", 49983)) + "more"
        << QByteArray("rel_0_16") << "" << 0 << QStringList{badFile, failed};
    QTest::newRow("not for the Lm740")
        << upgrade::makeFile("fw_1_05", image, "XYZ") << QByteArray("rel_0_16") << "" << 0
        << QStringList{"critical|VXL Lm740|Upgrade file is not for VXL Lm740 device.", failed};
    QTest::newRow("no release in the file")
        << upgrade::makeFile("firmware", image) << QByteArray("rel_0_16") << "" << 0
        << QStringList{"critical|VXL Lm740|Wrong firmware version in file.", failed};
    QTest::newRow("no controller")
        << good << QByteArray("rel_0_16") << "unplug" << 0
        << QStringList{"critical|VXL Lm740|Lm740 not detected!\n" + QString(32, ' ') +
                           "Check windows driver and USB cable.",
                       failed};
    QTest::newRow("identification fails")
        << good << QByteArray("rel_0_16") << "no id" << 0
        << QStringList{"warning|VXL Lm740|Connected, but can not identify VXL device.\n" +
                           QString(43, ' ') + "Check windows driver and USB cable.",
                       failed};
    QTest::newRow("no version") << good << QByteArray("rel_0_16") << "no version" << 0
                                << QStringList{"warning|VXL Lm740|Can not get version from Lm740 "
                                               "device.",
                                               failed};
    QTest::newRow("unknown version")
        << good << QByteArray("Lm740") << "" << 0
        << QStringList{"warning|VXL Lm740|Unknown firmware version in Lm740 device.", failed};
}

void TstMainWindowUpgrade::upgrade()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, device);
    QFETCH(QString, fault);
    QFETCH(int, blocks);
    QFETCH(QStringList, shown);
    SimController &sim = m_rig->controller;
    sim.setVersionText(device);
    if (!file.isNull())
        m_prompts->fileNames << fileWith(file);
    if (fault == "No" || fault == "Yes")
        m_prompts->answers << QMessageBox::Ok
                           << (fault == "No" ? QMessageBox::No : QMessageBox::Yes);
    if (fault.endsWith("polls"))
        sim.setProgrammingPolls(fault.section(' ', 0, 0).toInt());
    if (fault.endsWith("failing")) // after the search, the identity and block 0's own request
        sim.failRequests(usb::LM_ID_REQUEST, fault.section(' ', 0, 0).toInt(), 3);
    if (fault == "unplug")
        m_rig->bus.unplug(sim);
    if (fault == "no id")
        sim.failRequests(usb::LM_ID_REQUEST, 1, 1); // after the one of the search
    if (fault == "refuse read")
        sim.failRequests(usb::UPGRADE_READ_REQUEST, 1000);
    if (fault == "no version")
        sim.answerShortRequests(usb::VERSION_REQUEST, 1);
    ProgressDialogHook hook([&](QProgressDialog *d) {
        if (fault == "cancel" && sim.blocksProgrammed() == 2)
            d->cancel();
        if (fault == "mismatch" && d->labelText() == "Verify")
            sim.firmware()[100] = 0; // the pattern has no zero byte
    });
    m_window->UpgradeLm740(false);

    QCOMPARE(m_prompts->calls.first().title, QString("VXL Lm740 - Upgrade process"));
    QCOMPARE(shownAfterTheFileDialog(), shown);
    QCOMPARE(sim.blocksProgrammed(), blocks);
    QVERIFY(m_window->session().pollTimer()->isActive()); // back, whatever the outcome
    if (fault == "unplug")
        return;
    // A refused file reaches the controller not at all; a whole image names its new release.
    const bool refused = file.isNull() || !upgrade::checksumIsRight(file) ||
                         upgrade::readHeader(file, nullptr) != upgrade::HeaderError::None;
    QCOMPARE(sim.requests().isEmpty(), refused);
    QByteArray version;
    m_rig->link.readVersion(&version);
    QCOMPARE(version, blocks == 8 ? QByteArray("fw_1_05") : device);
}

void TstMainWindowUpgrade::shortImageGoesAsThreeBlocks()
{
    const QByteArray image = upgrade::makeImage("fw_1_05", 298);
    const QByteArray file = upgrade::makeFile("fw_1_05", image); // 300 image bytes with the sum
    m_prompts->fileNames << fileWith(file);
    QList<int> maxima;
    ProgressDialogHook hook([&](QProgressDialog *d) {
        if (!maxima.contains(d->maximum()))
            maxima << d->maximum();
    });
    m_window->UpgradeLm740(false);
    QCOMPARE(m_prompts->calls.last().kind, QString("information"));
    QCOMPARE(maxima, QList<int>({3, 5})); // the whole file's blocks, the image's halves

    QStringList log;
    QByteArray lastHalf;
    for (const SimController::Request &r : m_rig->controller.requests()) {
        log << QString("%1 %2 %3").arg(r.request).arg(r.value).arg(r.index);
        if (r.request == usb::UPGRADE_DATA_REQUEST)
            lastHalf = r.data;
    }
    const QStringList block0 = {"1 0 0", "1 1 0", "255 1 0", "2 0 0", "255 0 0"};
    const QStringList block1 = {"1 0 0", "1 1 0", "255 1 0", "2 128 0", "255 128 0"};
    const QStringList block2 = {"1 0 0", "255 0 0", "2 256 0", "255 256 0"};
    const QStringList verify = {"5 0 0", "5 0 1", "5 128 0", "5 128 1", "5 256 0", "5 256 1"};
    QCOMPARE(log, QStringList({"255 0 0", "255 0 0", "4 0 0"}) + block0 + block1 + block2 + verify);
    QCOMPARE(lastHalf, file.right(44) + QByteArray(20, '\xFF'));
}

QTEST_MAIN(TstMainWindowUpgrade)
#include "tst_main_window_upgrade.moc"
