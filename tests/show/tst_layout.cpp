// The layout: each ready-made kind at odd and even sizes, lamps past the grid, placing by hand,
// the file and its broken forms, and the law of baking: every lamp takes its cell's colour.
#include "layout.h"
#include "pattern_bake.h"
#include "safe_file.h"

#include <QtTest>
#include <rapidcheck.h>

using namespace lm740;

namespace {

// "3x2|0,0 1,0 -": the grid, then each lamp's cell or "-" for none.
QString describe(const Layout &layout, int lamps)
{
    QStringList cells;
    for (int lamp = 0; lamp < lamps; ++lamp) {
        const auto cell = layout.cellOf(lamp);
        cells << (cell ? QStringLiteral("%1,%2").arg(cell->x()).arg(cell->y()) : "-");
    }
    return QStringLiteral("%1x%2|").arg(layout.width()).arg(layout.height()) + cells.join(' ');
}

// Any layout the program can make: a ready-made one, with some lamps then placed by hand.
rc::Gen<Layout> anyLayout()
{
    return rc::gen::exec([] {
        const int w = *rc::gen::inRange(1, 24), h = *rc::gen::inRange(1, 12);
        const QString shapes[] = {
            QStringLiteral("strip"),
            QStringLiteral("grid:%1x%2").arg(w).arg(h),
            QStringLiteral("grid:%1x%2:serpentine").arg(w).arg(h),
            QStringLiteral("grid:%1x%2:columns").arg(w).arg(h),
            QStringLiteral("ring:%1").arg(*rc::gen::inRange(1, kMaxLamps + 1)),
            QStringLiteral("free:%1x%2").arg(w).arg(h)};
        Layout layout = *Layout::fromShape(shapes[*rc::gen::inRange(0, 6)],
                                           *rc::gen::inRange(1, kMaxLamps + 1));
        for (int i = *rc::gen::inRange(0, 8); i > 0; --i)
            layout.place(*rc::gen::inRange(0, kMaxLamps),
                         QPoint(*rc::gen::inRange(0, layout.width()),
                                *rc::gen::inRange(0, layout.height())));
        return layout;
    });
}

} // namespace

class TstLayout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        qputenv("RC_PARAMS", qgetenv("RC_PARAMS").isEmpty() ? "seed=740" : qgetenv("RC_PARAMS"));
    }
    void readyMade_data();
    void readyMade();
    void placingByHand();
    void fileKeepsEveryLayout();
    void brokenFiles_data();
    void brokenFiles();
    void bakedLampsTakeTheirCellsColour();
};

void TstLayout::readyMade_data()
{
    QTest::addColumn<QString>("shape");
    QTest::addColumn<int>("lamps");
    QTest::addColumn<QString>("expected"); // describe(), or "error"

    QTest::newRow("strip") << "strip" << 4 << "4x1|0,0 1,0 2,0 3,0";
    QTest::newRow("rows, odd width, lamps past the grid")
        << "grid:3x2" << 8 << "3x2|0,0 1,0 2,0 0,1 1,1 2,1 - -";
    QTest::newRow("rows, even width") << "grid:2x2" << 4 << "2x2|0,0 1,0 0,1 1,1";
    QTest::newRow("serpentine, odd")
        << "grid:3x3:serpentine" << 9 << "3x3|0,0 1,0 2,0 2,1 1,1 0,1 0,2 1,2 2,2";
    QTest::newRow("serpentine, even, fewer lamps than cells")
        << "grid:2x4:serpentine" << 5 << "2x4|0,0 1,0 1,1 0,1 0,2";
    QTest::newRow("columns, odd") << "grid:2x3:columns" << 7 << "2x3|0,0 0,1 0,2 1,0 1,1 1,2 -";
    QTest::newRow("columns, even") << "grid:2x2:columns" << 4 << "2x2|0,0 0,1 1,0 1,1";
    QTest::newRow("ring of one") << "ring:1" << 2 << "1x1|0,0 -";
    QTest::newRow("ring of four, clockwise from the top")
        << "ring:4" << 5 << "3x3|1,0 2,1 1,2 0,1 -";
    QTest::newRow("free places nobody") << "free:3x2" << 2 << "3x2|- -";
    for (const char *bad : {"grid:0x3", "grid:3x", "grid:257x1", "hex:3", "ring:0", "ring:171",
                            "free:2x2:columns", "strip:4", ""})
        QTest::newRow(bad) << bad << 4 << "error";
}

void TstLayout::readyMade()
{
    QFETCH(QString, shape);
    QFETCH(int, lamps);
    QFETCH(QString, expected);
    QString error;
    const auto layout = Layout::fromShape(shape, lamps, &error);
    QCOMPARE(layout ? describe(*layout, lamps) : QStringLiteral("error"), expected);
    QCOMPARE(error.isEmpty(), bool(layout));
    if (layout) {
        QCOMPARE(layout->shape(), shape);
        for (int lamp = 0; lamp < lamps; ++lamp)
            if (const auto cell = layout->cellOf(lamp))
                QCOMPARE(layout->lampAt(*cell), lamp);
    }
}

void TstLayout::placingByHand()
{
    Layout layout = *Layout::fromShape("grid:2x2", 4);
    QString error;
    QVERIFY(!layout.place(5, QPoint(1, 1), &error)); // lamp 4 sits there
    QVERIFY(error.contains("Lamp 4"));
    QVERIFY(!layout.place(0, QPoint(2, 0)) && !layout.place(kMaxLamps, std::nullopt));
    QCOMPARE(describe(layout, 5), "2x2|0,0 1,0 0,1 1,1 -");
    QVERIFY(layout.place(0, QPoint(0, 0)) && layout.place(3, std::nullopt));
    QVERIFY(layout.place(9, QPoint(1, 1)));
    QCOMPARE(describe(layout, 10), "2x2|0,0 1,0 0,1 - - - - - - 1,1");
    QCOMPARE(layout.shape(), "free:2x2");
    QCOMPARE(layout.lampAt(QPoint(5, 5)), -1);
}

void TstLayout::fileKeepsEveryLayout()
{
    QVERIFY(rc::check("a layout reads back from its JSON as it was", [] {
        const Layout layout = *anyLayout();
        RC_ASSERT(layoutFromJson(layoutToJson(layout)) == layout);
    }));
    QTemporaryDir dir;
    const QString name = layoutFileName(dir.filePath("show.set"));
    QCOMPARE(name, dir.filePath("show.layout"));
    const Layout serpentine = *Layout::fromShape("grid:10x17:serpentine", 170);
    QVERIFY(writeLayoutFile(name, serpentine));
    const LayoutFile file = readLayoutFile(name, 30);
    QVERIFY(file.status == LayoutFile::Status::Read && file.error.isEmpty());
    QCOMPARE(file.layout, serpentine);
}

void TstLayout::brokenFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    const QByteArray head = R"({"version":1,"width":2,"height":2,"shape":"grid:2x2",)";
    QTest::newRow("cut short") << QByteArray(R"({"version":1,"wid)") << "not JSON";
    QTest::newRow("a list") << QByteArray("[1]") << "no layout version";
    QTest::newRow("newer") << QByteArray(R"({"version":2})") << "version 2";
    QTest::newRow("no height") << QByteArray(R"({"version":1,"width":3,"cells":[]})") << "height";
    QTest::newRow("side of half a cell")
        << QByteArray(R"({"version":1,"width":1.5,"height":2,"cells":[]})") << "height";
    QTest::newRow("cells not a list") << head + R"("cells":{}})"
                                      << "cells";
    QTest::newRow("too many lamps")
        << head + R"("cells":[)" + QByteArray(170, 'x').replace("x", "null,") + "null]}"
        << "cells";
    QTest::newRow("a cell of one number") << head + R"("cells":[[1]]})"
                                          << "lamp 1";
    QTest::newRow("a cell as text") << head + R"("cells":[null,["1",0]]})"
                                    << "lamp 2";
    QTest::newRow("outside the grid") << head + R"("cells":[[2,0]]})"
                                      << "outside";
    QTest::newRow("two lamps in a cell") << head + R"("cells":[[1,1],[1,1]]})"
                                         << "already";
    QTest::newRow("a folder") << QByteArray() << "folder";
    QTest::newRow("missing") << QByteArray() << "no layout";
}

void TstLayout::brokenFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString name = dir.filePath("show.layout");
    if (reason == "folder")
        QVERIFY(QDir().mkdir(name));
    else if (reason != "no layout")
        QVERIFY(files::writeFileSafely(name, bytes));
    const LayoutFile file = readLayoutFile(name, 7);
    QCOMPARE(file.status,
             reason == "no layout" ? LayoutFile::Status::Missing : LayoutFile::Status::Broken);
    QVERIFY2(file.error.contains(reason, Qt::CaseInsensitive) || reason == "folder",
             qPrintable(file.error));
    QVERIFY(file.error.contains("strip") && file.error.contains(name));
    QCOMPARE(file.layout, Layout::strip(7));
}

void TstLayout::bakedLampsTakeTheirCellsColour()
{
    QVERIFY(rc::check("each lamp takes its cell's colour; the rest keep theirs", [] {
        const Layout layout = *anyLayout();
        const int lamps = *rc::gen::inRange(kMinLamps, kMaxLamps + 1);
        PatternFrames frames{layout.width(), layout.height(), 1, {0}, {{}}};
        for (int i = 0; i < layout.width() * layout.height(); ++i)
            frames.frames[0].push_back(qRgb(i % 251, i / 251, 7));
        ColorArray colors;
        colors.fill(QColor(1, 2, 3));
        paintFrame(frames, 0, layout, lamps, {}, colors);
        for (int lamp = 0; lamp < kColorSlots; ++lamp) {
            const auto cell = layout.cellOf(lamp);
            RC_ASSERT(colors[lamp].rgb() ==
                      (cell && lamp < lamps ? frames.at(0, *cell) : qRgb(1, 2, 3)));
        }
    }));
}

QTEST_GUILESS_MAIN(TstLayout)
#include "tst_layout.moc"
