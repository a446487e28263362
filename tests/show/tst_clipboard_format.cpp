// The clipboard's channel bytes: their order on copy, and on paste the mapping by position with a
// short payload repeated and a long one cut.
#include "clipboard_format.h"

#include <QtTest>

#include <vector>

using namespace lm740;

namespace {

// Three lamps with distinct channels; `sel` gives each lamp's selected channels.
std::vector<LampChannels> lamps(std::initializer_list<quint8> sel)
{
    std::vector<LampChannels> out;
    int i = 0;
    for (quint8 s : sel) {
        out.push_back({QColor(10 + i, 20 + i, 30 + i), s});
        ++i;
    }
    return out;
}

} // namespace

class TstClipboardFormat : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void packsSelectedChannelsInLampOrder();
    void unpack_data();
    void unpack();
};

void TstClipboardFormat::packsSelectedChannelsInLampOrder()
{
    QCOMPARE(packSelectedChannels(lamps({0x07, 0, BlueChannel})), QByteArray("\x0a\x14\x1e\x20"));
    QCOMPARE(packSelectedChannels(lamps({0, 0})), QByteArray());
    // Values above 127 stay unsigned bytes.
    const std::vector<LampChannels> bright{{QColor(255, 128, 0), GreenChannel | RedChannel}};
    QCOMPARE(packSelectedChannels(bright), QByteArray("\xff\x80"));
}

void TstClipboardFormat::unpack_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<int>("written");
    QTest::addColumn<QList<QColor>>("after");
    // Selected: all of lamp 0, none of lamp 1, blue and red of lamp 2.
    QTest::newRow("short payload repeats")
        << QByteArray("\x01\x02", 2) << 5
        << QList<QColor>{QColor(1, 2, 1), QColor(11, 21, 31), QColor(2, 22, 1)};
    QTest::newRow("long payload is cut")
        << QByteArray("\xf0\xf1\xf2\xf3\xf4\xf5\xf6", 7) << 5
        << QList<QColor>{QColor(240, 241, 242), QColor(11, 21, 31), QColor(243, 22, 244)};
    QTest::newRow("empty payload writes nothing")
        << QByteArray() << 0
        << QList<QColor>{QColor(10, 20, 30), QColor(11, 21, 31), QColor(12, 22, 32)};
}

void TstClipboardFormat::unpack()
{
    QFETCH(QByteArray, payload);
    QFETCH(int, written);
    QFETCH(QList<QColor>, after);
    std::vector<LampChannels> target = lamps({0x07, 0, BlueChannel | RedChannel});
    QCOMPARE(unpackIntoSelectedChannels(payload, target), written);
    QList<QColor> got;
    for (const LampChannels &l : target)
        got << l.color;
    QCOMPARE(got, after);
}

QTEST_APPLESS_MAIN(TstClipboardFormat)
#include "tst_clipboard_format.moc"
