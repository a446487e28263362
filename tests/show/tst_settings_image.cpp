// The whole show as a settings image: the two writers' headers, where the records land, and that
// loading gives back what was saved with times in whole 100 ms.
#include "settings_image.h"

#include <QtTest>

#include <memory>

using namespace lm740;
using namespace lm740::image;

class TstSettingsImage : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void headersOfTheTwoWriters_data();
    void headersOfTheTwoWriters();
    void showRoundTripsWithTimesIn100ms();
    void filesOfTheWrongSizeAreRefused();
};

void TstSettingsImage::headersOfTheTwoWriters_data()
{
    QTest::addColumn<HeaderStyle>("style");
    QTest::addColumn<int>("lamps");
    QTest::addColumn<QByteArray>("header");
    QTest::newRow("save, 30 lamps")
        << HeaderStyle::Save << 30 << QByteArray::fromHex("00001e5a000000020200000c0007");
    QTest::newRow("save, 170 lamps")
        << HeaderStyle::Save << 170 << QByteArray::fromHex("0000aafe010000020200000c0007");
    QTest::newRow("generate, 30 lamps")
        << HeaderStyle::Generate << 30 << QByteArray::fromHex("00011e0000000000000000000107");
}

void TstSettingsImage::headersOfTheTwoWriters()
{
    QFETCH(HeaderStyle, style);
    QFETCH(int, lamps);
    QFETCH(QByteArray, header);
    auto show = std::make_unique<Show>();
    show->setShowDefaults();
    const QByteArray image = packShow(*show, lamps, 7, style);
    QCOMPARE(image.size(), layout::kImageSize);
    QCOMPARE(image.left(layout::kHeaderSize).toHex(), header.toHex());
}

void TstSettingsImage::showRoundTripsWithTimesIn100ms()
{
    auto show = std::make_unique<Show>();
    show->setShowDefaults();
    show->sceneColors[1][2] = QColor(1, 2, 3);
    show->sceneColors[9][169] = QColor(250, 251, 252);
    show->chasers[3] = {show->chasers[3].colors, 1550, 40, 2, 170, 9};
    show->programs[3].scenes[30].colors[169] = QColor(7, 8, 9);
    show->programs[2].scenes[5] = {show->programs[2].scenes[5].colors, 60000, 33, 1};
    const QByteArray image = packShow(*show, 12, 60, HeaderStyle::Save);
    QCOMPARE(quint8(image[0x5206]), 3);            // blue of lamp 2 of scene 1
    QCOMPARE(quint8(image[0x168F7]), 9);           // the last byte of the program area
    QCOMPARE(quint8(image[0x6400 + 3 * 516]), 15); // 1550 ms stored as 15

    // Header bytes other than the lamp count and scene time do not matter to a loader.
    QByteArray other = image;
    for (const int i : {0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12})
        other[i] = char(0xA5);
    auto back = std::make_unique<Show>();
    HeaderValues header;
    QVERIFY(unpackShow(other, *back, &header));
    QCOMPARE(header.lamps, 12);
    QCOMPARE(header.sceneTime, 60);
    show->chasers[3].time = 1500;
    QVERIFY(back->sceneColors == show->sceneColors);
    QVERIFY(back->chasers == show->chasers);
    QVERIFY(back->programs == show->programs);
    QVERIFY(!unpackShow(image.left(1000), *back, &header));
}

void TstSettingsImage::filesOfTheWrongSizeAreRefused()
{
    QTemporaryDir dir;
    QByteArray image(layout::kImageSize, '\x11');
    QVERIFY(writeSettingsFile(dir.filePath("good.set"), image));
    for (const int size : {0, 1000, layout::kImageSize - 1, layout::kImageSize + 1}) {
        QFile file(dir.filePath("other.set"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(size, '\x22'));
        file.close();
        QString error;
        QVERIFY(!readSettingsFile(file.fileName(), &image, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(image, QByteArray(layout::kImageSize, '\x11'));
    }
}

QTEST_GUILESS_MAIN(TstSettingsImage)
#include "tst_settings_image.moc"
