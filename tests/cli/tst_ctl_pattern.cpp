// lm740ctl pattern runs for real: what it refuses and when, the frames every built-in script draws
// on odd and even grids, and apply putting each cell's colour on the lamp in that cell of a copy
// of the show, and nothing else.
#include "ctl_rig.h"
#include "layout.h"
#include "pattern_bake.h"
#include "settings_image.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>

#include <memory>

namespace {

using namespace lm740;

// A rig with the user's scripts: one that throws on its second line, one that is no script.
struct PatternRig : CtlRig
{
    PatternRig()
    {
        QDir().mkpath(path("data/lm740/patterns"));
        write("data/lm740/patterns/thrower.js",
              "(function () { var a = new Object; a.apiVersion = 2; a.name = 'Thrower';\n"
              "a.rgbMap = function (w, h) { throw new Error('no grid for ' + w); };\n"
              "a.rgbMapStepCount = function () { return 2; }; return a; })()");
        write("data/lm740/patterns/broken.js", "(function () { var a = ; })()");
    }
    QJsonObject json(const QStringList &arguments) const
    {
        return QJsonDocument::fromJson(run(arguments).out).object();
    }
};

// A show whose every lamp and step differs, with header bytes no record covers.
QByteArray showImage(int lamps)
{
    QRandomGenerator random{quint32(lamps)};
    const auto kept = std::make_unique<Show>();
    Show &show = *kept;
    show.setShowDefaults();
    const auto paint = [&](ColorArray &colors) {
        for (QColor &c : colors)
            c = QColor::fromRgb(random.bounded(0x1000000));
    };
    for (ColorArray &scene : show.sceneColors)
        paint(scene);
    for (t_chaser &chaser : show.chasers)
        paint(chaser.colors);
    for (t_program &program : show.programs)
        for (t_program_scene &step : program.scenes) {
            paint(step.colors);
            step.scene_time = 100 * random.bounded(600);
        }
    QByteArray image = image::packShow(show, lamps, 9, image::HeaderStyle::Save);
    image[1] = image[7] = char(0xA7);
    return image;
}

} // namespace

class TstCtlPattern : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void commandLines_data();
    void commandLines();
    void builtInScriptsDrawTheirGrids_data();
    void builtInScriptsDrawTheirGrids();
    void applyPutsEachCellOnItsLamp_data();
    void applyPutsEachCellOnItsLamp();
};

// Arguments are split at spaces. Each refusal of an argument comes before the script runs (the
// script "broken" would fail with status 1) and before a file is read ("none.set" is not there).
void TstCtlPattern::commandLines_data()
{
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    const QString f = "pattern frames broken --grid 3x2 ";
    const QString a = "pattern apply broken %d/none.set %d/out.set --layout grid:3x2 ";
    const QString ok = "pattern apply wipe %d/in.set %d/out.set --layout strip --into scene:1 ";
    const QString user = "%d/data/lm740/patterns/";
    const struct
    {
        const char *name;
        QString arguments;
        int status;
        QString out, err;
    } rows[] = {
        {"list", "pattern list", 0, "(rainbow, built in) by Lm740: version 2", ""},
        {"list, user's", "pattern list", 0,
         "Thrower (" + user +
             "thrower.js): version 2, takes a start and an end colour\n"
             "not loaded: " +
             user + "broken.js:1: SyntaxError",
         ""},
        {"list --json", "--json pattern list", 0, "\"acceptColors\": 5,", ""},
        {"list more", "pattern list x", 2, "", "takes nothing more"},
        {"list --grid", "pattern list --grid 3x2", 2, "", "pattern list takes no --grid"},
        {"no subcommand", "pattern", 2, "", "list, frames or apply"},
        {"unknown subcommand", "pattern draw", 2, "", "pattern draw: use list"},
        {"show --grid", "show %d/in.set --grid 3x2", 2, "", "only pattern takes --grid"},
        {"no grid", "pattern frames broken", 2, "", "needs --grid WxH"},
        {"grid twice", f + "--grid 2x2", 2, "", "given 2 times"},
        {"grid 3x257", "pattern frames broken --grid 3x257", 2, "", "--grid 3x257: give"},
        {"grid 3-2", "pattern frames broken --grid 3-2", 2, "", "--grid 3-2"},
        {"steps 0", f + "--steps 0", 2, "", "--steps"},
        {"colour 12345", f + "--colors FF0000,12345", 2, "", "\"12345\" is no colour"},
        {"six colours", f + "--colors 1,2,3,4,5,6", 2, "", "gives 6 colours"},
        {"set no value", f + "--set size", 2, "", "--set \"size\": give NAME=VALUE"},
        {"set twice", f + "--set a=1 --set a=2", 2, "", "--set a is given twice"},
        {"frames --layout", f + "--layout strip", 2, "", "pattern frames takes no --layout"},
        {"two scripts", "pattern frames a b --grid 3x2", 2, "", "takes one script"},
        {"no such script", "pattern frames none --grid 3x2", 1, "", "none: no such pattern"},
        {"broken script", f, 1, "", "broken.js:1:"},
        {"script throws", "pattern frames thrower --grid 3x2", 1, "",
         "thrower.js:2: rgbMap: Error: no grid for 3"},
        {"no such property", "pattern frames rainbow --grid 3x2 --set speed=3", 2, "",
         "Rainbow has no property \"speed\"; it has orientation"},
        {"value off the list", "pattern frames rainbow --grid 3x2 --set orientation=Up", 2, "",
         "--set orientation=Up: "},
        {"colours to none", "pattern frames rainbow --grid 3x2 --colors #FF0000", 2, "",
         "Rainbow takes no colours, not 1"},
        {"no properties", "pattern frames thrower --grid 3x2 --set a=1", 2, "",
         "Thrower has no properties to --set"},
        {"first steps", "pattern frames wipe --grid 2x1 --steps 1 --colors 0000ff,ff0000", 0,
         "\"stepCount\":2,\"frames\":[[[255,0]]]}\n", ""},
        {"no layout", "pattern apply broken a b", 2, "", "needs --layout"},
        {"no layout or file", "pattern apply broken a b --layout grid10x17", 2, "",
         "--layout grid10x17: there is no such layout file, and \"grid10x17\" is no layout"},
        {"no target", "pattern apply broken a b --layout strip", 2, "", "needs --into"},
        {"scene 11", a + "--into scene:11", 2, "", "there is no scene 11"},
        {"into lamp", a + "--into lamp:1", 2, "", "--into lamp:1: give scene:N"},
        {"step time 150", a + "--into program:1 --step-time 150", 2, "", "steps of 100 ms"},
        {"step time 60100", a + "--into program:1 --step-time 60100", 2, "", "--step-time"},
        {"xfade 101", a + "--into program:1 --xfade 101", 2, "", "--xfade"},
        {"first step 32", a + "--into program:1 --first-step 32", 2, "", "--first-step"},
        {"fit maybe", a + "--into program:1 --fit maybe", 2, "", "--fit maybe: give sample"},
        {"fit for a scene", a + "--into scene:1 --fit cut", 2, "", "--fit is for a program"},
        {"step for a program", a + "--into program:1 --step 2", 2, "", "--step is for a scene"},
        {"apply --json", a + "--into program:1 --json", 2, "", "prints no JSON"},
        {"one file", "pattern apply broken a --layout strip --into scene:1", 2, "",
         "takes a script, the settings file"},
        {"step past", ok + "--step 31", 2, "", "--step 31: Wipe has 30 steps"},
        {"no show", "pattern apply wipe %d/none.set %d/out.set --layout strip --into scene:1", 1,
         "", "none.set"},
        {"apply throws", "pattern apply thrower %d/in.set %d/out.set --layout strip --into scene:1",
         1, "", "thrower.js:2: rgbMap: Error: no grid for 30"},
        {"nowhere to write",
         "pattern apply wipe %d/in.set %d/no/out.set --layout strip --into "
         "scene:1",
         1, "", "no/out.set"},
        {"apply", "pattern apply wipe %d/in.set %d/out.set --layout grid:10x3 --into program:2", 0,
         "Wipe into program 2, steps 1-10 (the last step): all of its 10", ""},
    };
    for (const auto &r : rows)
        QTest::newRow(r.name) << r.arguments << r.status << r.out << r.err;
}

void TstCtlPattern::commandLines()
{
    QFETCH(QString, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    PatternRig rig;
    QVERIFY(rig.write("in.set", showImage(kDefaultLamps)));
    out.replace("%d", rig.dir.path());
    CTL_CHECK(rig.run(arguments.split(' ', Qt::SkipEmptyParts)), status, out.toUtf8(),
              err.toUtf8());
    QCOMPARE(QFile::exists(rig.path("out.set")), status == 0 && arguments.contains("apply"));
}

// For each built-in script pattern list finds: an odd grid, an even one, and the smallest with
// every property away from where the script starts and every colour it takes.
void TstCtlPattern::builtInScriptsDrawTheirGrids_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    int builtIn = 0;
    for (const QJsonValue p :
         PatternRig().json({"--json", "pattern", "list"})["patterns"].toArray()) {
        if (!p["builtIn"].toBool())
            continue;
        ++builtIn;
        const QStringList frames{"pattern", "frames", p["script"].toString(), "--grid"};
        QStringList other;
        for (int i = 0; i < p["acceptColors"].toInt(); ++i)
            other << QString::number(0x102030 * (i + 1), 16).rightJustified(6, '0');
        other = other.isEmpty() ? QStringList() : QStringList{"--colors", other.join(',')};
        for (const QJsonValue q : p["properties"].toArray()) {
            const QStringList values = q["values"].toVariant().toStringList();
            const QString type = q["type"].toString();
            other << "--set"
                  << q["name"].toString() + '=' +
                         (type == "list"      ? values.value(values.last() == q["value"].toString()
                                                                 ? 0
                                                                 : int(values.size()) - 1)
                          : type == "range"   ? QString::number(q["maximum"].toInt())
                          : type == "integer" ? "7"
                                              : "Hi, 740!");
        }
        const QString name = p["script"].toString();
        QTest::addRow("%s 7x5", qPrintable(name)) << (frames + QStringList("7x5")) << 7 << 5;
        QTest::addRow("%s 10x16", qPrintable(name)) << (frames + QStringList("10x16")) << 10 << 16;
        QTest::addRow("%s 1x1, others", qPrintable(name))
            << (frames + QStringList("1x1") + other) << 1 << 1;
    }
    QVERIFY(builtIn >= 12);
}

void TstCtlPattern::builtInScriptsDrawTheirGrids()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, width);
    QFETCH(int, height);
    PatternRig rig;
    const QJsonArray frames = rig.json(arguments)["frames"].toArray();
    QVERIFY(!frames.isEmpty());
    for (const QJsonValue frame : frames) {
        QCOMPARE(frame.toArray().size(), height);
        for (const QJsonValue row : frame.toArray()) {
            QCOMPARE(row.toArray().size(), width);
            for (const QJsonValue cell : row.toArray())
                QVERIFY2(cell.toInt() >= 0 && cell.toInt() <= 0xFFFFFF &&
                             cell.toDouble() == cell.toInt(),
                         qPrintable(QString::number(cell.toDouble())));
        }
    }
    // Drawn again, the first steps are the same: twinkling included, a render repeats.
    if (width != 7)
        return;
    const QJsonArray again = rig.json(arguments << "--steps"
                                                << "2")["frames"]
                                 .toArray();
    QCOMPARE(again.size(), std::min<qsizetype>(2, frames.size()));
    for (qsizetype i = 0; i < again.size(); ++i)
        QCOMPARE(again[i], frames[i]);
}

void TstCtlPattern::applyPutsEachCellOnItsLamp_data()
{
    QTest::addColumn<QString>("layout"); // "file" for three lamps placed by hand on 3x3
    QTest::addColumn<int>("lamps");
    QTest::addColumn<QString>("options"); // the script first
    QTest::addColumn<QString>("target");
    QTest::newRow("scene, serpentine")
        << "grid:4x3:serpentine" << 10 << "rainbow --into scene:2 --step 3 --set repeat=2"
        << "in";
    QTest::newRow("chaser, ring") << "ring:8" << 12
                                  << "waves --into chaser:4 --set orientation=Rings"
                                  << "in";
    QTest::newRow("program, sampled") << "grid:7x9:columns" << 63
                                      << "text --into program:3 --first-step 5 --step-time 1500 "
                                         "--xfade 40 --colors 00FF00,FF00FF"
                                      << "out";
    QTest::newRow("program, cut") << "grid:5x4" << 20
                                  << "plasma --into program:4 --first-step 20 --fit cut"
                                  << "in";
    QTest::newRow("program, five colours")
        << "strip" << 7
        << "gradient --into program:1 --colors FF0000,00FF00,0000FF,FFFFFF,808080 --set "
           "movement=Scroll"
        << "out";
    QTest::newRow("layout file") << "file" << 9 << "checkers --into scene:10 --step 2"
                                 << "out";
}

// The oracle is pattern frames on the layout's grid: the lamp in a cell takes the cell's colour in
// the target, and every other byte of the file stays as it was.
void TstCtlPattern::applyPutsEachCellOnItsLamp()
{
    QFETCH(QString, layout);
    QFETCH(int, lamps);
    QFETCH(QString, options);
    QFETCH(QString, target);
    PatternRig rig;
    const QByteArray in = showImage(lamps);
    QVERIFY(rig.write("in.set", in));
    std::optional<Layout> grid = Layout::fromShape(layout == "file" ? "free:3x3" : layout, lamps);
    if (layout == "file") {
        QVERIFY(grid->place(0, QPoint(2, 2)) && grid->place(4, QPoint(0, 1)));
        QVERIFY(writeLayoutFile(rig.path("show.layout"), *grid));
        layout = rig.path("show.layout");
    }
    const QStringList o = options.split(' ');
    CTL_CHECK(rig.run(QStringList{"pattern", "apply", o[0], rig.path("in.set"),
                                  rig.path(target + ".set"), "--layout", layout} +
                      o.mid(1)),
              0, "", "");
    QStringList frames{"pattern", "frames", o[0], "--grid",
                       QStringLiteral("%1x%2").arg(grid->width()).arg(grid->height())};
    for (qsizetype i = 1; i < o.size(); i += 2)
        if (o[i] == "--colors" || o[i] == "--set")
            frames << o[i] << o[i + 1];
    const QJsonObject drawn = rig.json(frames);

    const auto before = std::make_unique<Show>();
    image::HeaderValues header;
    image::unpackShow(in, *before, &header);
    const auto kept = std::make_unique<Show>(*before);
    Show &expected = *kept;
    const auto paint = [&](int frame, ColorArray &colors) {
        for (int lamp = 0; lamp < lamps; ++lamp)
            if (const auto cell = grid->cellOf(lamp))
                colors[lamp] = QRgb(drawn["frames"][frame][cell->y()][cell->x()].toInt());
    };
    const auto value = [&](const char *name, int otherwise) {
        return o.contains(name) ? o[o.indexOf(name) + 1].toInt() : otherwise;
    };
    const QString kind = o[2].section(':', 0, 0);
    const int number = o[2].section(':', 1).toInt() - 1;
    if (kind != "program") {
        paint(value("--step", 1) - 1,
              kind == "scene" ? expected.sceneColors[number] : expected.chasers[number].colors);
    } else {
        const int first = value("--first-step", 1) - 1;
        const std::vector<int> steps = fitSteps(drawn["stepCount"].toInt(), kProgramSteps - first,
                                                o.contains("cut") ? Fit::Cut : Fit::Sample);
        for (int i = 0; i < int(steps.size()); ++i) {
            t_program_scene &step = expected.programs[number].scenes[first + i];
            paint(steps[i], step.colors);
            step.scene_time = quint32(value("--step-time", BakeTarget{}.stepTime));
            step.scene_xfade = quint8(value("--xfade", BakeTarget{}.xfade));
        }
        markLastStep(expected.programs[number], first + int(steps.size()) - 1, true);
    }
    const QByteArray packed = image::packShow(*before, lamps, 9, image::HeaderStyle::Save);
    const QByteArray baked = image::packShow(expected, lamps, 9, image::HeaderStyle::Save);
    QVERIFY(baked != packed);
    const QByteArray out = rig.read(target + ".set");
    QCOMPARE(out.size(), in.size());
    for (qsizetype i = 0; i < in.size(); ++i)
        if (out[i] != (baked[i] == packed[i] ? in[i] : baked[i]))
            QFAIL(qPrintable(QStringLiteral("byte %1 is %2").arg(i).arg(int(quint8(out[i])))));
}

QTEST_GUILESS_MAIN(TstCtlPattern)
#include "tst_ctl_pattern.moc"
