// Upgrade files: the checksum over the whole file and its 50000-byte limit, the header's name and
// release lines and the zero byte that ends it, and our own files and images.
#include "upgrade_file.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace lm740;

class TstUpgradeFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void checksum_data();
    void checksum();
    void header_data();
    void header();
    void ownImagesNameTheirRelease();
};

void TstUpgradeFile::checksum_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("right");
    const QByteArray good = upgrade::makeFile("fw_1_05", upgrade::makeImage("fw_1_05", 300));
    QTest::newRow("ours") << good << true;
    QByteArray flipped = good;
    flipped[40] = char(flipped[40] ^ 0x01);
    QTest::newRow("one bit changed") << flipped << false;
    QTest::newRow("checksum big-endian")
        << good.left(good.size() - 2) + good.right(1) + good.mid(good.size() - 2, 1) << false;
    QTest::newRow("one byte") << QByteArray(1, 'x') << false;
    // qChecksum's CRC-16 of nothing is 0x0000.
    QTest::newRow("nothing but a checksum") << QByteArray(2, '\0') << true;
    const int room = int(upgrade::kMaxFileSize) - 17; // header 15, checksum 2
    QTest::newRow("50000 bytes") << upgrade::makeFile("fw_1_05", QByteArray(room, 'a')) << true;
    QTest::newRow("50000 bytes and more")
        << upgrade::makeFile("fw_1_05", QByteArray(room, 'a')) + 'a' << false;
    // Refused for its size alone.
    QTest::newRow("50001 bytes, checksum right")
        << upgrade::makeFile("fw_1_05", QByteArray(room + 1, 'a')) << false;
}

void TstUpgradeFile::checksum()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, right);
    QCOMPARE(upgrade::checksumIsRight(file), right);
    QTemporaryDir dir;
    QFile f(dir.filePath("x.upg"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(file);
    f.close();
    QCOMPARE(upgrade::checkFile(f.fileName()), right);
    QVERIFY(!upgrade::checkFile(dir.filePath("missing.upg")));
}

void TstUpgradeFile::header_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("release");
    QTest::addColumn<int>("imageOffset");
    QTest::addColumn<int>("padding"); // image bytes added at the end
    using E = upgrade::HeaderError;
    const int whole = int(upgrade::kMinImageSize);
    QTest::newRow("fw_1_05") << QByteArray("Lm740\nfw_1_05\n\0img", 18) << int(E::None) << 105 << 15
                             << whole;
    QTest::newRow("two-digit run first")
        << QByteArray("xLm740\nfw12_1_05\nmore\0i", 23) << int(E::None) << 112 << 22 << whole;
    // Lines end after 10 and 20 bytes without a line feed; the last byte read is dropped.
    QTest::newRow("long lines") << QByteArray("Lm740abcdefw_1_05xxxxxxxxxxxxxq\0", 32)
                                << int(E::None) << 105 << 32 << whole;
    QTest::newRow("not ours") << QByteArray("XYZ\nfw_1_05\n\0i", 14) << int(E::NotForLm740) << -1
                              << 0 << whole;
    QTest::newRow("name past 10 bytes") << QByteArray("0123456789Lm740\nfw_1_05\n\0", 25)
                                        << int(E::NotForLm740) << -1 << 0 << whole;
    QTest::newRow("no release") << QByteArray("Lm740\nfirmware\n\0i", 17) << int(E::WrongVersion)
                                << -1 << 0 << whole;
    QTest::newRow("no end of header")
        << QByteArray("Lm740\nfw_1_05\nimage") << int(E::NoImage) << -1 << 0 << whole;
    // The image counts its two checksum bytes; an empty one is nothing but them.
    const QByteArray header("Lm740\nfw_1_05\n\0", 15);
    QTest::newRow("empty image") << header << int(E::ShortImage) << 105 << 15 << 2;
    QTest::newRow("one byte short") << header << int(E::ShortImage) << 105 << 15 << whole - 1;
    QTest::newRow("smallest image") << header << int(E::None) << 105 << 15 << whole;
}

void TstUpgradeFile::header()
{
    QFETCH(QByteArray, file);
    QFETCH(int, error);
    QFETCH(int, release);
    QFETCH(int, imageOffset);
    QFETCH(int, padding);
    upgrade::Header h;
    QCOMPARE(int(upgrade::readHeader(file + QByteArray(padding, 'i'), &h)), error);
    QCOMPARE(h.release, release);
    QCOMPARE(int(h.imageOffset), imageOffset);
}

void TstUpgradeFile::ownImagesNameTheirRelease()
{
    const QByteArray image = upgrade::makeImage("fw_0_17", 1000);
    QCOMPARE(image.size(), 1000);
    QCOMPARE(upgrade::imageRelease(image), QByteArray("fw_0_17"));
    QCOMPARE(upgrade::imageRelease(QByteArray(1000, '\x55')), QByteArray());
    // The record's zero byte ends it, and the pattern has none: a block out of place shows.
    QCOMPARE(image.indexOf('\0'), 999);
    const QByteArray file = upgrade::makeFile("fw_0_17", image);
    QCOMPARE(upgrade::imageOf(file), image + file.right(2));
}

QTEST_GUILESS_MAIN(TstUpgradeFile)
#include "tst_upgrade_file.moc"
