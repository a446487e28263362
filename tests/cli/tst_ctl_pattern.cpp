// lm740ctl pattern runs for real: what it refuses and when, the frames every built-in script draws
// on grids of odd and even sizes, and apply putting each cell's colour on the lamp in that cell
// of a copy of the show, and nothing else.
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

// The user's scripts: one that throws on its second line, one that is no script at all.
void addUserScripts(const CtlRig &rig)
{
    QVERIFY(QDir().mkpath(rig.path("data/lm740/patterns")));
    QVERIFY(rig.write("data/lm740/patterns/thrower.js",
                      "(function () { var a = new Object; a.apiVersion = 2; a.name = 'Thrower';\n"
                      "a.rgbMap = function (w, h) { throw new Error('no grid for ' + w); };\n"
                      "a.rgbMapStepCount = function () { return 2; }; return a; })()"));
    QVERIFY(rig.write("data/lm740/patterns/broken.js", "(function () { var a = ; })()"));
}

// A show of `lamps` lamps with every colour and time its own, and header bytes that no record
// covers, as a controller's backup has them.
QByteArray showImage(int lamps, quint32 seed)
{
    QRandomGenerator random(seed);
    auto show = std::make_unique<Show>();
    show->setShowDefaults();
    const auto paint = [&](ColorArray &colors) {
        for (QColor &c : colors)
            c = QColor::fromRgb(random.bounded(0x1000000));
    };
    for (ColorArray &scene : show->sceneColors)
        paint(scene);
    for (t_chaser &chaser : show->chasers)
        paint(chaser.colors);
    for (t_program &program : show->programs)
        for (t_program_scene &step : program.scenes) {
            paint(step.colors);
            step.scene_time = 100 * random.bounded(600);
            step.scene_xfade = quint8(random.bounded(101));
        }
    QByteArray image = image::packShow(*show, lamps, 9, image::HeaderStyle::Save);
    for (const int byte : {1, 7, 11})
        image[byte] = char(0xA0 + byte);
    return image;
}

std::unique_ptr<Show> unpacked(const QByteArray &image)
{
    auto show = std::make_unique<Show>();
    show->setShowDefaults();
    image::HeaderValues header;
    image::unpackShow(image, *show, &header);
    return show;
}

QJsonObject jsonOf(const CtlRun &run)
{
    return QJsonDocument::fromJson(run.out).object();
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

// Every refusal of an argument comes before the script runs (the script "broken" would fail with
// status 1) and before a file is read (the show "none.set" is not there).
void TstCtlPattern::commandLines_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    const QStringList frames{"pattern", "frames", "broken", "--grid", "3x2"};
    const QStringList apply{"pattern",  "apply",    "broken", "%d/none.set", "%d/out.set",
                            "--layout", "grid:3x2", "--into", "program:1"};
    const auto with = [](QStringList a, const QStringList &more) { return a << more; };
    QTest::newRow("list") << QStringList{"pattern", "list"} << 0
                          << "(rainbow, built in) by Lm740: version 2"
                          << "";
    QTest::newRow("list names the user's scripts and those it could not load")
        << QStringList{"pattern", "list"} << 0
        << "Thrower (%d/data/lm740/patterns/thrower.js): version 2, takes a start and an end "
           "colour\nnot loaded: %d/data/lm740/patterns/broken.js:1: SyntaxError"
        << "";
    QTest::newRow("list --json") << QStringList{"--json", "pattern", "list"} << 0
                                 << "\"acceptColors\": 5,"
                                 << "";
    QTest::newRow("list takes no more") << QStringList{"pattern", "list", "x"} << 2 << ""
                                        << "takes nothing more";
    QTest::newRow("list, --grid") << QStringList{"pattern", "list", "--grid", "3x2"} << 2 << ""
                                  << "pattern list takes no --grid";
    QTest::newRow("no subcommand") << QStringList{"pattern"} << 2 << ""
                                   << "list, frames or apply";
    QTest::newRow("unknown subcommand") << QStringList{"pattern", "draw"} << 2 << ""
                                        << "pattern draw: use list";
    QTest::newRow("another command, --grid")
        << QStringList{"show", "%d/none.set", "--grid", "3x2"} << 2 << ""
        << "only pattern takes --grid";
    QTest::newRow("frames, no grid") << QStringList{"pattern", "frames", "broken"} << 2 << ""
                                     << "needs --grid WxH";
    QTest::newRow("frames, grid twice") << with(frames, {"--grid", "2x2"}) << 2 << ""
                                        << "given 2 times";
    QTest::newRow("frames, grid too high")
        << QStringList{"pattern", "frames", "broken", "--grid", "3x257"} << 2 << ""
        << "--grid 3x257: give";
    QTest::newRow("frames, grid 3-2")
        << QStringList{"pattern", "frames", "broken", "--grid", "3-2"} << 2 << ""
        << "--grid 3-2";
    QTest::newRow("frames, steps 0") << with(frames, {"--steps", "0"}) << 2 << ""
                                     << "--steps";
    QTest::newRow("frames, a colour of five digits")
        << with(frames, {"--colors", "FF0000,12345"}) << 2 << ""
        << "\"12345\" is no colour";
    QTest::newRow("frames, six colours") << with(frames, {"--colors", "1,2,3,4,5,6"}) << 2 << ""
                                         << "gives 6 colours";
    QTest::newRow("frames, set without a value") << with(frames, {"--set", "size"}) << 2 << ""
                                                 << "--set \"size\": give NAME=VALUE";
    QTest::newRow("frames, set twice") << with(frames, {"--set", "a=1", "--set", "a=2"}) << 2 << ""
                                       << "--set a is given twice";
    QTest::newRow("frames, a layout") << with(frames, {"--layout", "strip"}) << 2 << ""
                                      << "pattern frames takes no --layout";
    QTest::newRow("frames, two scripts")
        << QStringList{"pattern", "frames", "a", "b", "--grid", "3x2"} << 2 << ""
        << "takes one script";
    QTest::newRow("frames, no such script")
        << QStringList{"pattern", "frames", "nothing", "--grid", "3x2"} << 1 << ""
        << "nothing: no such pattern script";
    QTest::newRow("frames, the script is broken") << frames << 1 << ""
                                                  << "broken.js:1:";
    QTest::newRow("frames, the script throws")
        << QStringList{"pattern", "frames", "thrower", "--grid", "3x2"} << 1 << ""
        << "thrower.js:2: rgbMap: Error: no grid for 3";
    QTest::newRow("frames, a property the script lacks")
        << QStringList{"pattern", "frames", "rainbow", "--grid", "3x2", "--set", "speed=3"} << 2
        << ""
        << "Rainbow has no property \"speed\"; it has orientation";
    QTest::newRow("frames, a value not on the list") << QStringList{"pattern",
                                                                    "frames",
                                                                    "rainbow",
                                                                    "--grid",
                                                                    "3x2",
                                                                    "--set",
                                                                    "orientation=Sideways"}
                                                     << 2 << ""
                                                     << "--set orientation=Sideways: ";
    QTest::newRow("frames, colours to a script that takes none")
        << QStringList{"pattern", "frames", "rainbow", "--grid", "3x2", "--colors", "#FF0000"} << 2
        << ""
        << "Rainbow takes no colours, not 1";
    QTest::newRow("frames, no properties to set")
        << QStringList{"pattern", "frames", "thrower", "--grid", "3x2", "--set", "a=1"} << 2 << ""
        << "Thrower has no properties to --set";
    QTest::newRow("frames, the first steps")
        << QStringList{"pattern", "frames", "wipe",     "--grid",       "2x1",
                       "--steps", "1",      "--colors", "0000ff,ff0000"}
        << 0 << "\"stepCount\":2,\"frames\":[[[255,0]]]}\n"
        << "";

    QTest::newRow("apply, no layout")
        << QStringList{"pattern", "apply", "broken", "a", "b"} << 2 << ""
        << "needs --layout";
    QTest::newRow("apply, a layout that is neither")
        << QStringList{"pattern", "apply", "broken", "a", "b", "--layout", "grid10x17"} << 2 << ""
        << "--layout grid10x17: there is no such layout file, and \"grid10x17\" is no layout";
    QTest::newRow("apply, no target")
        << QStringList{"pattern", "apply", "broken", "a", "b", "--layout", "strip"} << 2 << ""
        << "needs --into";
    QTest::newRow("apply, scene 11") << QStringList{"pattern",  "apply", "broken", "a",       "b",
                                                    "--layout", "strip", "--into", "scene:11"}
                                     << 2 << ""
                                     << "there is no scene 11";
    QTest::newRow("apply, into lamps") << QStringList{"pattern",  "apply", "broken", "a",     "b",
                                                      "--layout", "strip", "--into", "lamp:1"}
                                       << 2 << ""
                                       << "--into lamp:1: give scene:N";
    QTest::newRow("apply, step time 150 ms") << with(apply, {"--step-time", "150"}) << 2 << ""
                                             << "in steps of 100 ms";
    QTest::newRow("apply, step time 60.1 s") << with(apply, {"--step-time", "60100"}) << 2 << ""
                                             << "--step-time";
    QTest::newRow("apply, cross-fade 101") << with(apply, {"--xfade", "101"}) << 2 << ""
                                           << "--xfade";
    QTest::newRow("apply, first step 32") << with(apply, {"--first-step", "32"}) << 2 << ""
                                          << "--first-step";
    QTest::newRow("apply, fit maybe") << with(apply, {"--fit", "maybe"}) << 2 << ""
                                      << "--fit maybe: give sample or cut";
    QTest::newRow("apply, a program's option for a scene")
        << QStringList{"pattern", "apply",  "broken",  "a",     "b",  "--layout",
                       "strip",   "--into", "scene:1", "--fit", "cut"}
        << 2 << ""
        << "--fit is for a program";
    QTest::newRow("apply, a step for a program") << with(apply, {"--step", "2"}) << 2 << ""
                                                 << "--step is for a scene";
    QTest::newRow("apply, --json") << with(apply, {"--json"}) << 2 << ""
                                   << "prints no JSON";
    QTest::newRow("apply, no settings file to write")
        << QStringList{"pattern", "apply", "broken", "a", "--layout", "strip", "--into", "scene:1"}
        << 2 << ""
        << "takes a script, the settings file";
    QTest::newRow("apply, a step past the script's")
        << QStringList{"pattern", "apply",  "checkers", "%d/in.set", "%d/out.set", "--layout",
                       "strip",   "--into", "chaser:1", "--step",    "3"}
        << 2 << ""
        << "--step 3: Checkers has 2 steps";
    QTest::newRow("apply, no settings file")
        << QStringList{"pattern",  "apply", "wipe",   "%d/none.set", "%d/out.set",
                       "--layout", "strip", "--into", "scene:1"}
        << 1 << ""
        << "none.set";
    QTest::newRow("apply, the script throws")
        << QStringList{"pattern",  "apply", "thrower", "%d/in.set", "%d/out.set",
                       "--layout", "strip", "--into",  "scene:1"}
        << 1 << ""
        << "thrower.js:2: rgbMap: Error: no grid for 30";
    QTest::newRow("apply, nowhere to write")
        << QStringList{"pattern",  "apply", "wipe",   "%d/in.set", "%d/no/out.set",
                       "--layout", "strip", "--into", "scene:1"}
        << 1 << ""
        << "no/out.set";
    QTest::newRow("apply") << QStringList{"pattern",   "apply",      "wipe",
                                          "%d/in.set", "%d/out.set", "--layout",
                                          "grid:10x3", "--into",     "program:2"}
                           << 0 << "Wipe into program 2, steps 1-10 (the last step): all of its 10"
                           << "";
}

void TstCtlPattern::commandLines()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    CtlRig rig;
    addUserScripts(rig);
    QVERIFY(rig.write("in.set", showImage(kDefaultLamps, 1)));
    out.replace(QLatin1String("%d"), rig.dir.path());
    CTL_CHECK(rig.run(arguments), status, out.toUtf8(), err.toUtf8());
    QCOMPARE(QFile::exists(rig.path("out.set")), status == 0 && arguments.contains("apply"));
}

// One row for each built-in script (as pattern list finds them) and grid: an odd one, an even
// one, and the smallest with every property away from where the script starts and every colour
// it takes.
void TstCtlPattern::builtInScriptsDrawTheirGrids_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("apiVersion");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QStringList>("options");
    CtlRig rig;
    const CtlRun listed = rig.run({"--json", "pattern", "list"});
    QCOMPARE(listed.status, 0);
    int builtIn = 0;
    for (const QJsonValue p : jsonOf(listed)["patterns"].toArray()) {
        if (!p["builtIn"].toBool())
            continue;
        ++builtIn;
        const QString script = p["script"].toString();
        const int version = p["apiVersion"].toInt();
        QStringList other;
        QStringList colors;
        for (int i = 0; i < p["acceptColors"].toInt(); ++i)
            colors << QString::number(0x334455 * (i + 1) & 0xFFFFFF, 16).rightJustified(6, '0');
        if (!colors.isEmpty())
            other << "--colors" << colors.join(',');
        for (const QJsonValue property : p["properties"].toArray()) {
            const QString type = property["type"].toString();
            const QStringList values = property["values"].toVariant().toStringList();
            const QString value = type == "list"
                                      ? values.value(values.last() == property["value"].toString()
                                                         ? 0
                                                         : int(values.size()) - 1)
                                  : type == "range"   ? QString::number(property["maximum"].toInt())
                                  : type == "integer" ? QStringLiteral("7")
                                                      : QStringLiteral("Hi, 740!");
            other << "--set" << property["name"].toString() + '=' + value;
        }
        QTest::addRow("%s 7x5", qPrintable(script)) << script << version << 7 << 5 << QStringList();
        QTest::addRow("%s 10x16", qPrintable(script))
            << script << version << 10 << 16 << QStringList();
        QTest::addRow("%s 1x1 %s", qPrintable(script), qPrintable(other.join(' ')))
            << script << version << 1 << 1 << other;
    }
    QVERIFY(builtIn >= 12);
}

void TstCtlPattern::builtInScriptsDrawTheirGrids()
{
    QFETCH(QString, script);
    QFETCH(int, apiVersion);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QStringList, options);
    CtlRig rig;
    const QStringList arguments = QStringList{"pattern", "frames", script, "--grid",
                                              QStringLiteral("%1x%2").arg(width).arg(height)}
                                  << options;
    const CtlRun run = rig.run(arguments);
    QVERIFY2(run.status == 0, run.err.constData());
    const QJsonObject drawn = jsonOf(run);
    QCOMPARE(drawn["apiVersion"].toInt(), apiVersion);
    const QJsonArray frames = drawn["frames"].toArray();
    QCOMPARE(frames.size(), drawn["stepCount"].toInt());
    for (const QJsonValue frame : frames) {
        QCOMPARE(frame.toArray().size(), height);
        for (const QJsonValue row : frame.toArray()) {
            QCOMPARE(row.toArray().size(), width);
            for (const QJsonValue cell : row.toArray())
                QVERIFY2(cell.isDouble() && cell.toInt() >= 0 && cell.toInt() <= 0xFFFFFF &&
                             cell.toDouble() == cell.toInt(),
                         qPrintable(QString::number(cell.toDouble())));
        }
    }
    // Drawn again, the first steps are the same: twinkling included, a render repeats.
    if (width != 7)
        return;
    const CtlRun again = rig.run(QStringList(arguments) << "--steps"
                                                        << "2");
    const QJsonArray first = jsonOf(again)["frames"].toArray();
    QCOMPARE(first.size(), std::min(2, int(frames.size())));
    for (int i = 0; i < int(first.size()); ++i)
        QCOMPARE(first[i], frames[i]);
}

void TstCtlPattern::applyPutsEachCellOnItsLamp_data()
{
    QTest::addColumn<QString>("layout"); // a ready-made one, or "file" for a hand-placed one
    QTest::addColumn<int>("lamps");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("inPlace");
    // Fewer lamps than cells, and more.
    QTest::newRow("scene, serpentine, step 3")
        << "grid:4x3:serpentine" << 10
        << QStringList{"rainbow", "--into", "scene:2", "--step", "3", "--set", "repeat=2"} << false;
    QTest::newRow("chaser, ring, lamps left out")
        << "ring:8" << 12
        << QStringList{"waves", "--into", "chaser:4", "--set", "orientation=Rings"} << true;
    QTest::newRow("program from step 5, sampled")
        << "grid:7x9:columns" << 63
        << QStringList{"text",    "--into", "program:3", "--first-step", "5", "--step-time", "1500",
                       "--xfade", "40",     "--colors",  "00FF00,FF00FF"}
        << false;
    QTest::newRow("program from step 20, cut")
        << "grid:5x4" << 20
        << QStringList{"plasma", "--into", "program:4", "--first-step", "20", "--fit", "cut"}
        << true;
    QTest::newRow("program, every step fits, five colours")
        << "strip" << 7 << QStringList{"gradient",
                                       "--into",
                                       "program:1",
                                       "--colors",
                                       "FF0000,00FF00,0000FF,FFFFFF,808080",
                                       "--set",
                                       "movement=Scroll"}
        << false;
    QTest::newRow("scene, a layout file")
        << "file" << 9 << QStringList{"checkers", "--into", "scene:10", "--step", "2"} << false;
}

// The oracle is pattern frames on the layout's grid: the lamp in a cell takes the cell's colour
// in the target, and every other byte of the file stays as it was.
void TstCtlPattern::applyPutsEachCellOnItsLamp()
{
    QFETCH(QString, layout);
    QFETCH(int, lamps);
    QFETCH(QStringList, options);
    QFETCH(bool, inPlace);
    CtlRig rig;
    const QByteArray in = showImage(lamps, quint32(lamps));
    QVERIFY(rig.write("in.set", in));
    std::optional<Layout> grid;
    QString layoutArgument = layout;
    if (layout == "file") {
        // Three lamps placed by hand in a 3x3 grid, the rest left out.
        grid = Layout::fromSpec("free:3x3", lamps);
        QVERIFY(grid && grid->place(0, QPoint(2, 2)) && grid->place(4, QPoint(0, 1)) &&
                grid->place(8, QPoint(1, 0)));
        QVERIFY(writeLayoutFile(rig.path("show.layout"), *grid));
        layoutArgument = rig.path("show.layout");
    } else {
        grid = Layout::fromSpec(layout, lamps);
    }
    QVERIFY(grid);

    const QString target = rig.path(inPlace ? "in.set" : "out.set");
    QStringList apply{"pattern", "apply",    options[0],    rig.path("in.set"),
                      target,    "--layout", layoutArgument};
    CTL_CHECK(rig.run(apply << options.mid(1)), 0, "", "");

    // The same script, colours and properties, drawn on the layout's grid.
    QStringList frames{"pattern", "frames", options[0], "--grid",
                       QStringLiteral("%1x%2").arg(grid->width()).arg(grid->height())};
    for (int i = 1; i < options.size(); i += 2)
        if (options[i] == "--colors" || options[i] == "--set")
            frames << options[i] << options[i + 1];
    const QJsonObject drawn = jsonOf(rig.run(frames));
    const QJsonArray all = drawn["frames"].toArray();
    QVERIFY(!all.isEmpty());
    const auto cellColor = [&](int frame, QPoint cell) {
        return QColor::fromRgb(QRgb(all[frame][cell.y()][cell.x()].toInt()));
    };

    const auto before = unpacked(in);
    auto expected = std::make_unique<Show>(*before);
    const auto paint = [&](int frame, ColorArray &colors) {
        for (int lamp = 0; lamp < lamps; ++lamp)
            if (const auto cell = grid->cellOf(lamp))
                colors[lamp] = cellColor(frame, *cell);
    };
    const int option = int(options.indexOf("--into")) + 1;
    const QString kind = options[option].section(':', 0, 0);
    const int number = options[option].section(':', 1).toInt() - 1;
    const auto value = [&](const char *name, int otherwise) {
        const qsizetype at = options.indexOf(name);
        return at < 0 ? otherwise : options[at + 1].toInt();
    };
    if (kind == "scene")
        paint(value("--step", 1) - 1, expected->sceneColors[number]);
    else if (kind == "chaser")
        paint(value("--step", 1) - 1, expected->chasers[number].colors);
    if (kind == "program") {
        const int first = value("--first-step", 1) - 1;
        const Fit fit = options.contains("cut") ? Fit::Cut : Fit::Sample;
        const std::vector<int> steps =
            fitSteps(drawn["stepCount"].toInt(), kProgramSteps - first, fit);
        t_program &program = expected->programs[number];
        for (int i = 0; i < int(steps.size()); ++i) {
            paint(steps[i], program.scenes[first + i].colors);
            program.scenes[first + i].scene_time =
                quint32(value("--step-time", BakeTarget{}.stepTime));
            program.scenes[first + i].scene_xfade = quint8(value("--xfade", BakeTarget{}.xfade));
        }
        markLastStep(program, first + int(steps.size()) - 1, true);
    }

    const QByteArray packedBefore = image::packShow(*before, lamps, 9, image::HeaderStyle::Save);
    const QByteArray packedAfter = image::packShow(*expected, lamps, 9, image::HeaderStyle::Save);
    QVERIFY(packedAfter != packedBefore);
    const QByteArray out = rig.read(inPlace ? "in.set" : "out.set");
    QCOMPARE(out.size(), in.size());
    for (qsizetype i = 0; i < in.size(); ++i)
        if (out[i] != (packedAfter[i] == packedBefore[i] ? in[i] : packedAfter[i]))
            QFAIL(qPrintable(QStringLiteral("byte %1 is %2").arg(i).arg(int(quint8(out[i])))));
}

QTEST_GUILESS_MAIN(TstCtlPattern)
#include "tst_ctl_pattern.moc"
