// Two shows compared: one table of edits, each made to a copy of a fresh show, with the lines a
// user reads for it; every record kind and both header values, and identical shows.
#include "show_diff.h"

#include <QtTest>

#include <functional>
#include <memory>

using namespace lm740;

using Edit = std::function<void(Show &, int &lamps, int &sceneTime)>;
Q_DECLARE_METATYPE(Edit)

class TstShowDiff : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void differences_data();
    void differences();
    void colorNames_data();
    void colorNames();
};

void TstShowDiff::differences_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QStringList>("lines");
    const QColor red(255, 0, 0);
    QTest::newRow("identical") << Edit([](Show &, int &, int &) {}) << QStringList();
    QTest::newRow("a run of lamps, ends included") << Edit([=](Show &s, int &, int &) {
        for (int lamp = 4; lamp <= 8; ++lamp)
            s.sceneColors[2][lamp] = red;
    }) << QStringList{"scene 3: lamps 5-9 red"};
    QTest::newRow("a run split by a lamp that was red already, and by colour")
        << Edit([=](Show &s, int &, int &) {
               s.sceneColors[0][0] = QColor(0, 0, 255);
               s.sceneColors[0][1] = QColor(0, 0, 255);
               s.sceneColors[0][2] = QColor(0, 0, 254);
               s.sceneColors[9][29] = red; // the last lamp of 30
               s.sceneColors[9][30] = red; // past the count: the run ends at 30
           })
        << QStringList{"scene 1: lamps 1-2 blue", "scene 1: lamp 3 #0000fe",
                       "scene 10: lamp 30 red"};
    QTest::newRow("lamps past both counts do not count")
        << Edit([=](Show &s, int &, int &) { s.sceneColors[0][30] = red; }) << QStringList();
    QTest::newRow("lamp count, and the lamps the larger count uses")
        << Edit([=](Show &s, int &lamps, int &) {
               lamps = 12;
               s.chasers[3].colors[20] = red;
           })
        << QStringList{"lamp count 30 -> 12", "chaser 4: lamp 21 red"};
    QTest::newRow("global scene time") << Edit([](Show &, int &, int &t) { t = 60; })
                                       << QStringList{"global scene time 1 -> 60 s"};
    QTest::newRow("every chaser value") << Edit([=](Show &s, int &, int &) {
        t_chaser &c = s.chasers[1];
        c.time = 1500;
        c.xfade = 40;
        c.direction = 2;
        c.pattern_len = 3;
        c.repeat_number = 7;
        c.colors[0] = red;
    }) << QStringList{"chaser 2: time 1000 -> 1500 ms",    "chaser 2: cross-fade 100 -> 40 %",
                      "chaser 2: direction left -> right", "chaser 2: pattern length 1 -> 3",
                      "chaser 2: repeat 1 -> 7",           "chaser 2: lamp 1 red"};
    QTest::newRow("every program step value")
        << Edit([=](Show &s, int &, int &) {
               t_program_scene &step = s.programs[0].scenes[3];
               step.scene_time = 250;
               step.scene_xfade = 0;
               step.scene_laststep = 1;
               step.colors[1] = QColor(255, 255, 0);
               s.programs[3].scenes[30].scene_time = 60000;
           })
        << QStringList{"program 1 step 4: time 1000 -> 250 ms",
                       "program 1 step 4: cross-fade 100 -> 0 %",
                       "program 1 step 4: last step mark set", "program 1 step 4: lamp 2 yellow",
                       "program 4 step 31: time 1000 -> 60000 ms"};
    QTest::newRow("an unset slot reads as black")
        << Edit([](Show &s, int &, int &) { s.sceneColors[4][6] = QColor(); }) << QStringList();
}

void TstShowDiff::differences()
{
    QFETCH(Edit, edit);
    QFETCH(QStringList, lines);
    auto a = std::make_unique<Show>();
    a->setShowDefaults();
    auto b = std::make_unique<Show>(*a);
    int lamps = kDefaultLamps;
    int sceneTime = kMinSceneTime;
    edit(*b, lamps, sceneTime);
    QStringList seen;
    for (const ShowDifference &d :
         compareShows({a.get(), kDefaultLamps, kMinSceneTime}, {b.get(), lamps, sceneTime}))
        seen << d.text();
    QCOMPARE(seen, lines);

    // Backwards, every value swaps its sides; a mark set becomes a mark cleared.
    QStringList back;
    for (const ShowDifference &d :
         compareShows({b.get(), lamps, sceneTime}, {a.get(), kDefaultLamps, kMinSceneTime}))
        if (d.field != QLatin1String("lamps"))
            back << d.text();
    QStringList expected;
    for (QString line : lines) {
        if (line.contains(QLatin1String(" lamp")) && !line.contains(QLatin1String("lamp count")))
            continue;
        const QRegularExpression values(QStringLiteral("(\\S+) -> (\\S+)"));
        line.replace(values, QStringLiteral("\\2 -> \\1"));
        line.replace(QLatin1String("mark set"), QLatin1String("mark cleared"));
        expected << line;
    }
    QCOMPARE(back, expected);
}

void TstShowDiff::colorNames_data()
{
    QTest::addColumn<QColor>("color");
    QTest::addColumn<QString>("name");
    QTest::newRow("black") << QColor(0, 0, 0) << "black";
    QTest::newRow("white") << QColor(255, 255, 255) << "white";
    QTest::newRow("green") << QColor(0, 255, 0) << "green";
    QTest::newRow("cyan") << QColor(0, 255, 255) << "cyan";
    QTest::newRow("magenta") << QColor(255, 0, 255) << "magenta";
    QTest::newRow("nearly red") << QColor(255, 1, 0) << "#ff0100";
    QTest::newRow("unset") << QColor() << "black";
}

void TstShowDiff::colorNames()
{
    QFETCH(QColor, color);
    QFETCH(QString, name);
    QCOMPARE(colorName(color), name);
}

QTEST_APPLESS_MAIN(TstShowDiff)
#include "tst_show_diff.moc"
