// The passes over the whole controller: the memory copy with its bounded retries (a failed block
// is sent again while the controller can be found; never once it is gone), the backup made before
// a write, and the upgrade sequence's halves and read-back.
#include "memory_backup.h"
#include "memory_copy.h"
#include "sim_rig.h"
#include "upgrade.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace lm740;

namespace {

QByteArray pattern(int seed)
{
    QByteArray bytes(layout::kImageSize, '\0');
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char((i * 7 + i / 256 + seed) & 0xFF);
    return bytes;
}

void fill(SimController &controller, const QByteArray &bytes)
{
    controller.memory().assign(bytes.begin(), bytes.end());
}

QByteArray memoryOf(const SimController &controller)
{
    return QByteArray(reinterpret_cast<const char *>(controller.memory().data()),
                      layout::kImageSize);
}

int countOf(const SimController &controller, quint8 request)
{
    int n = 0;
    for (const auto &r : controller.requests())
        n += r.request == request;
    return n;
}

} // namespace

class TstMemoryPasses : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void failedRequestsAreRetried_data();
    void failedRequestsAreRetried();
    void flakyLinkStillCopiesExactly();
    void wrongSizedImageSendsNothing();
    void backupIsSavedOnlyWhole();
    void backupNamesNeverReplaceAFile();
    void upgradeSendsWholeHalvesAndChecksTheReadBack();
};

void TstMemoryPasses::failedRequestsAreRetried_data()
{
    QTest::addColumn<bool>("write");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("count"); // of the fault
    QTest::addColumn<int>("bytes"); // moved; 131072 is a complete pass
    QTest::addColumn<int>("retries");
    QTest::addColumn<bool>("released");
    const int all = layout::kImageSize;
    const int last = MemoryCopy::kAttempts - 1;
    QTest::newRow("read, block 100 fails once") << false << "block" << 1 << all << 1 << true;
    QTest::newRow("write, block 100 fails once") << true << "block" << 1 << all << 1 << true;
    QTest::newRow("read, block 100 succeeds at the last try")
        << false << "block" << last << all << last << true;
    QTest::newRow("write, block 100 fails every try")
        << true << "block" << MemoryCopy::kAttempts << 6400 << last << false;
    QTest::newRow("read, answers short every try")
        << false << "short" << MemoryCopy::kAttempts << 0 << last << false;
    QTest::newRow("read, end of pass fails once") << false << "end" << 1 << all << 1 << true;
    QTest::newRow("write, end of pass never answered")
        << true << "end" << MemoryCopy::kAttempts << all << last << false;
    // Gone: the search after the failure does not find it, so nothing is sent again.
    QTest::newRow("read, unplugged at block 100") << false << "unplug" << 0 << 6400 << 0 << false;
    QTest::newRow("write, no controller") << true << "absent" << 0 << 0 << 0 << false;
    QTest::newRow("read, identifies as another device after a failed block")
        << false << "other" << 1 << 6400 << 0 << false;
    // Still on the bus: a lost identification is a lost answer like any other.
    QTest::newRow("write, identification lost after a failed block")
        << true << "mute" << 1 << all << 1 << true;
}

void TstMemoryPasses::failedRequestsAreRetried()
{
    QFETCH(bool, write);
    QFETCH(QString, fault);
    QFETCH(int, count);
    QFETCH(int, bytes);
    QFETCH(int, retries);
    QFETCH(bool, released);
    SimRig rig;
    SimController &sim = rig.controller;
    fill(sim, pattern(1));
    const quint8 block = write ? usb::WRITE_BLOCK_REQUEST : usb::READ_MEMORY_REQUEST;
    if (fault == "block")
        sim.failRequests(block, count, 100);
    if (fault == "short")
        sim.answerShortRequests(block, count);
    if (fault == "end")
        sim.failRequests(usb::END_PASS_REQUEST, count);
    if (fault == "unplug")
        sim.setUnplugSchedule(100, 5);
    if (fault == "absent")
        rig.bus.unplug(sim);
    if (fault == "other")
        sim.failRequests(block, 1, 100);

    MemoryCopyCallbacks callbacks;
    callbacks.blockMoved = [&](int, int, int moved) {
        if (fault == "other" && moved == 6400)
            sim.setIdentification(741);
        if (fault == "mute" && moved == 6400) // block 100, then every identification of a search
            sim.failNext(1 + UsbDevice::kIdentifyAttempts);
    };
    QByteArray read;
    const MemoryCopyResult r = write ? MemoryCopy::write(rig.link, pattern(2), callbacks)
                                     : MemoryCopy::read(rig.link, &read, callbacks);
    QCOMPARE(r.bytes, bytes);
    QCOMPARE(r.retries, retries);
    QCOMPARE(r.mainLoopReleased, released);
    const bool complete = bytes == layout::kImageSize;
    QCOMPARE(r.outcome, complete ? MemoryCopyResult::Outcome::Complete
                                 : MemoryCopyResult::Outcome::BlockFailed);
    if (!complete) {
        QCOMPARE(r.page * 256 + r.offset, bytes);
        QCOMPARE(countOf(sim, usb::END_PASS_REQUEST), 0); // the controller waits
    }
    // Whatever moved, moved exactly.
    if (write)
        QCOMPARE(memoryOf(sim), pattern(2).left(bytes) + pattern(1).mid(bytes));
    else
        QCOMPARE(read, pattern(1).left(bytes));
}

// Each block is tried again while the controller answers; at one failed request in twenty, every
// pass of a handful of seeds completes exactly (the benchmark runs a hundred).
void TstMemoryPasses::flakyLinkStillCopiesExactly()
{
    for (quint32 seed = 1; seed <= 3; ++seed) {
        SimRig rig;
        rig.quiet();
        fill(rig.controller, pattern(1));
        rig.controller.setFailureProbability(0.05, seed);
        QByteArray read;
        const MemoryCopyResult backup = MemoryCopy::read(rig.link, &read);
        QCOMPARE(backup.outcome, MemoryCopyResult::Outcome::Complete);
        QVERIFY(backup.mainLoopReleased);
        QVERIFY(backup.retries > 50);
        QCOMPARE(read, pattern(1));
        const MemoryCopyResult restore = MemoryCopy::write(rig.link, pattern(seed));
        QCOMPARE(restore.outcome, MemoryCopyResult::Outcome::Complete);
        QVERIFY(restore.mainLoopReleased);
        QCOMPARE(memoryOf(rig.controller), pattern(seed));
    }
}

void TstMemoryPasses::wrongSizedImageSendsNothing()
{
    for (const int size : {layout::kImageSize - 1, layout::kImageSize + 1, 0}) {
        SimRig rig;
        const MemoryCopyResult r = MemoryCopy::write(rig.link, QByteArray(size, '\x5A'));
        QCOMPARE(r.outcome, MemoryCopyResult::Outcome::BlockFailed);
        QCOMPARE(r.bytes, 0);
        QVERIFY(rig.controller.requests().isEmpty());
    }
}

// A backup is written only when the whole memory came; a broken-off read leaves no file.
void TstMemoryPasses::backupIsSavedOnlyWhole()
{
    QTemporaryDir dir;
    const QString name = dir.filePath("new/folder/b.set");
    SimRig rig;
    fill(rig.controller, pattern(3));
    rig.controller.failRequests(usb::READ_MEMORY_REQUEST, MemoryCopy::kAttempts, 10);
    backup::Result r = backup::save(rig.link, name);
    QVERIFY(!r.saved);
    QVERIFY(!QFileInfo::exists(name));
    r = backup::save(rig.link, name);
    QVERIFY2(r.saved, qPrintable(r.error));
    QFile file(name);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), pattern(3));
    // A folder that cannot be made is said, with no pass lost on it being ignored.
    QVERIFY(QFile(dir.filePath("plain")).open(QIODevice::WriteOnly));
    r = backup::save(rig.link, dir.filePath("plain/b.set"));
    QVERIFY(!r.saved);
    QVERIFY(r.error.contains("plain"));
}

void TstMemoryPasses::backupNamesNeverReplaceAFile()
{
    QTemporaryDir dir;
    const QDateTime when(QDate(2026, 12, 7), QTime(15, 5, 9));
    const QString first = backup::newFileName(dir.path(), when);
    QCOMPARE(first, dir.filePath("lm740-backup-2026-12-07-150509.set"));
    QVERIFY(QFile(first).open(QIODevice::WriteOnly));
    const QString second = backup::newFileName(dir.path(), when);
    QCOMPARE(second, dir.filePath("lm740-backup-2026-12-07-150509-2.set"));
    QVERIFY(QFile::link("nowhere", second)); // a dangling link takes its name too
    QCOMPARE(backup::newFileName(dir.path(), when),
             dir.filePath("lm740-backup-2026-12-07-150509-3.set"));
    QCOMPARE(backup::newFileName(dir.path(), when, "1-4.2"),
             dir.filePath("lm740-backup-2026-12-07-150509-1-4.2.set"));
    QVERIFY(backup::folder().endsWith("/lm740/backups"));

    // Two restores that chose one name at once: the second backup goes to the next free name.
    SimRig a;
    SimRig b;
    fill(a.controller, pattern(1));
    fill(b.controller, pattern(2));
    const QString name = backup::newFileName(dir.path(), when, "1-1");
    QCOMPARE(backup::save(a.link, name).fileName, name);
    QCOMPARE(backup::save(b.link, name).fileName, name.chopped(4) + "-2.set");
    QFile kept(name);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), pattern(1));
}

void TstMemoryPasses::upgradeSendsWholeHalvesAndChecksTheReadBack()
{
    SimRig rig;
    rig.controller.setUpgradeMode(true);
    QByteArray image(192, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = char(i * 3 + 1);
    // 192 bytes: a whole block and one half, never a half of padding.
    QCOMPARE(upgrade::sendImage(rig.link, image).state, upgrade::SendResult::State::Sent);
    QCOMPARE(countOf(rig.controller, usb::UPGRADE_DATA_REQUEST), 3);
    QCOMPARE(upgrade::verifyImage(rig.link, image), upgrade::VerifyResult::Same);
    // A read-back answer a byte short is no answer, whatever the bytes it did bring.
    rig.controller.answerShortRequests(usb::UPGRADE_READ_REQUEST, 1);
    QCOMPARE(upgrade::verifyImage(rig.link, image), upgrade::VerifyResult::ReadFailed);
    rig.controller.firmware()[100] ^= 1;
    QCOMPARE(upgrade::verifyImage(rig.link, image), upgrade::VerifyResult::Different);
}

QTEST_GUILESS_MAIN(TstMemoryPasses)
#include "tst_memory_passes.moc"
