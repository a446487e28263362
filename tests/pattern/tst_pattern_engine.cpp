// The pattern engine on small scripts of our own: every point of the script API (versions,
// colours, each property type), what a script may get wrong (a throw, a wrong shape, no number,
// an endless loop), the sandbox, seeded randomness, and the scripts found in the user's folder.
#include "pattern_engine.h"

#include <QtTest>

using namespace lm740;
using namespace lm740::pattern;

namespace {

// A script of the API: by default version 2, 3 steps, every cell the colour it is given; `members`
// come after the defaults, so that a row replaces what it tests.
QString script(const QString &members)
{
    return QStringLiteral("(function () {\n var algo = new Object;\n algo.apiVersion = 2;"
                          " algo.name = 'Test'; algo.author = 'Us';\n"
                          " algo.rgbMapStepCount = function (w, h) { return 3; };\n"
                          " algo.rgbMap = function (w, h, rgb, step) { var m = [];"
                          " for (var y = 0; y < h; y++) { m.push([]);"
                          " for (var x = 0; x < w; x++) m[y].push(rgb); } return m; };\n") +
           members + QStringLiteral("\n return algo;\n})()");
}

const QString kProperties = QStringLiteral(
    "algo.properties = ['name:mode|type:list|display:Mode|values:A, B|write:setMode|read:getMode',"
    " 'name:n|type:range|values:1,9|write:setN|read:getN', 'name:k|type:integer|write:setK',"
    " 'name:s|type:string|write:setS|read:getS'];"
    " algo.mode = 'A'; algo.n = 5; algo.k = 0; algo.s = 'xy';"
    " algo.setMode = function (v) { algo.mode = v; }; algo.getMode = function () { return "
    "algo.mode; };"
    " algo.setN = function (v) { algo.n = parseInt(v); }; algo.getN = function () { return algo.n; "
    "};"
    " algo.setK = function (v) { algo.k = parseInt(v); }; algo.setS = function (v) { algo.s = v; };"
    " algo.getS = function () { return algo.s; };"
    " algo.rgbMap = function (w, h, rgb, step) { return [[(algo.mode == 'B' ? 1 : 0) + algo.n * 16"
    " + algo.k * 256 + algo.s.length * 4096]]; };");

// The first cell of each frame, "00ff00 7f4020 ...", or the error's text.
QString firstCells(const RenderResult &result)
{
    if (result.error)
        return result.error->text();
    QStringList cells;
    for (const auto &frame : result.frames.frames)
        cells << QString::number(frame.front() & 0xFFFFFF, 16).rightJustified(6, '0');
    return cells.join(' ');
}

RenderResult loadAndRender(const PatternEngine &engine, const QString &source,
                           const RenderRequest &request, PatternInfo *info = nullptr)
{
    PatternError error;
    const auto loaded = engine.load(QStringLiteral("t.js"), source, &error);
    if (info && loaded)
        *info = *loaded;
    return loaded ? engine.render(*loaded, request) : RenderResult{error, {}};
}

} // namespace

class TstPatternEngine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void scripts_data();
    void scripts();
    void propertiesReadBack();
    void endlessLoopStoppedWithinTheLimit();
    void seededRandomnessRepeats();
    void userFolderAndBuiltIns();
};

void TstPatternEngine::scripts_data()
{
    QTest::addColumn<QString>("members");
    QTest::addColumn<QList<uint>>("colors");
    QTest::addColumn<QString>("properties"); // "name=value;..."
    QTest::addColumn<QString>("expected");   // firstCells()
    QTest::addColumn<int>("side");           // of the square grid drawn

    const QList<uint> ramp{0x000000, 0xFF8041};
    const auto row = [&](const char *name, const QString &members, const char *expected,
                         int side = 1, const QList<uint> &colors = {0x000000, 0xFF8041},
                         const char *properties = "") {
        QTest::newRow(name) << members << colors << QString(properties) << QString(expected)
                            << side;
    };
    const auto map = [](const char *body) {
        return QStringLiteral("algo.rgbMap = function (w, h, c, s) { %1 };").arg(body);
    };
    const auto steps = [](const char *body) {
        return QStringLiteral("algo.rgbMapStepCount = function () { %1 };").arg(body);
    };
    row("v1 ramp, truncated", "algo.apiVersion = 1;", "000000 7f4020 ff8041");
    row("v2 ramp down", "", "ff00ff 7f7f7f 00ff00", 1, {0xFF00FF, 0x00FF00});
    row("no end colour", "", "123456 123456 123456", 1, {0x123456});
    row("one colour taken", "algo.acceptColors = 1;", "000000 000000 000000");
    row("no colour taken", "algo.acceptColors = 0;", "000000 000000 000000");
    row("none given: red", "", "ff0000 ff0000 ff0000", 1, {});
    row("v3 colours before the first map",
        "algo.apiVersion = 3; algo.acceptColors = 5; algo.c = null;"
        " algo.rgbMapSetColors = function (c) { algo.c = c; };" +
            steps("return algo.c.length + 1;") + map("return [[algo.c[s % algo.c.length]]];"),
        "000001 000002 000003 000004 000005 000001", 1, {1, 2, 3, 4, 5, 6});
    row("every property type", kProperties, "002f91", 1, ramp, "mode=B;n=9;k=-1;s=abc");
    row("properties kept", kProperties, "002050 002050 002050");
    row("list value unknown", kProperties, "not one of A, B", 1, ramp, "mode=C");
    row("range exceeded", kProperties, "outside 1..9", 1, ramp, "n=10");
    row("integer not a number", kProperties, "not a whole number", 1, ramp, "k=x");
    row("no such property", kProperties, "no property \"q\"", 1, ramp, "q=1");
    row("bad property text", "algo.properties = ['name:x|type:float|write:f'];",
        "\"float\" is none of");
    row("write function missing", "algo.properties = ['name:x|type:string|write:f'];",
        "no function f");
    row("v4", "algo.apiVersion = 4;", "apiVersion 4 is not");
    row("no rgbMap", "algo.rgbMap = 3;", "no rgbMap function");
    row("not an object", "algo = 7;", "no pattern object");
    row("syntax", "algo.x = ;", "t.js:6: SyntaxError");
    row("throws at load", "throw new Error('early');", "t.js:6: Error: early");
    row("throws in rgbMap", map("\n throw new RangeError('late');"),
        "t.js:7: rgbMap: RangeError: late");
    row("throws a string", steps("throw 'odd';"), "t.js: rgbMapStepCount: threw odd");
    row("no file access", map("return Qt.include('x');"), "ReferenceError: Qt is not defined");
    row("no network", map("return new XMLHttpRequest();"), "XMLHttpRequest is not defined");
    row("no steps", steps("return 0;"), "gave 0, not a number of steps");
    row("steps not a number", steps("return 'a';"), "gave a, not");
    row("rows missing", map("return [[1]];"), "rgbMap on step 0: not a list of 2 rows", 2);
    row("row short", map("return [[1], [1, 2]];"), "row 0 is not a list of 2 colours", 2);
    row("not numbers", map("return [[1, 'x'], [1, 2]];"), "row 0, cell 1 is x, not a colour", 2);
    row("NaN", map("return [[1, 2], [s ? NaN : 1, 2]];"), "step 1: row 1, cell 0 is NaN", 2);
    row("null map", map("return null;"), "not a list", 2);
    row("endless recursion", "algo.rgbMap = function f() { return f(); };",
        "RangeError: Maximum call stack size exceeded");
    row("endless getter in a row",
        map("var r = [1, 2]; Object.defineProperty(r, 0, { get: function () { for (;;) {} } });"
            " return [r, r];"),
        "t.js: stopped after running for more than 0.3 s", 2);
    row("endless name", "algo.name = { toString: function () { for (;;) {} } };",
        "t.js: stopped after");
    row("out of range cut to 24 bits", map("return [[-1, 0], [0, 0]];"), "ffffff ffffff ffffff", 2);
    row("the widest grid", "", "000000 7f4020 ff8041", Layout::kMaxSide);
    row("one cell wider", "", "a grid of 257 x 257 cells cannot be drawn", Layout::kMaxSide + 1);
}

void TstPatternEngine::scripts()
{
    QFETCH(QString, members);
    QFETCH(QList<uint>, colors);
    QFETCH(QString, properties);
    QFETCH(QString, expected);
    QFETCH(int, side);
    RenderRequest request;
    request.width = request.height = side;
    request.colors = colors;
    for (const QString &pair : properties.split(';', Qt::SkipEmptyParts))
        request.properties.insert(pair.section('=', 0, 0), pair.section('=', 1));
    const RenderResult result = loadAndRender(PatternEngine(300), script(members), request);
    QVERIFY2(firstCells(result).contains(expected), qPrintable(firstCells(result)));
    for (const auto &frame : result.frames.frames)
        QCOMPARE(qsizetype(frame.size()), qsizetype(request.width * request.height));
    QCOMPARE(bool(result.error), !QRegularExpression("^[0-9a-f ]+$").match(expected).hasMatch());
}

void TstPatternEngine::propertiesReadBack()
{
    PatternError error;
    const auto info = PatternEngine().load("t.js", script(kProperties), &error);
    QVERIFY2(info, qPrintable(error.text()));
    QCOMPARE(info->name, "Test");
    QCOMPARE(info->author, "Us");
    QCOMPARE(info->acceptColors, 2);
    QStringList read;
    for (const PatternProperty &p : info->properties)
        read << p.display + ':' + typeName(p.type) + ':' + p.values.join(',') + ':' +
                    QString::number(p.minimum) + ".." + QString::number(p.maximum) + '=' + p.value;
    QCOMPARE(read, QStringList({"Mode:list:A,B:0..0=A", "n:range::1..9=5",
                                "k:integer::0..0=", "s:string::0..0=xy"}));
}

void TstPatternEngine::endlessLoopStoppedWithinTheLimit()
{
    for (const char *where : {"while (true) {}", "algo.rgbMap = function () { for (;;) {} };"}) {
        QElapsedTimer clock;
        clock.start();
        const RenderResult result = loadAndRender(PatternEngine(), script(where), {});
        QVERIFY(clock.elapsed() >= 1000 && clock.elapsed() < 1500);
        QVERIFY2(result.error && result.error->message.contains("stopped after running for more "
                                                                "than 1 s"),
                 qPrintable(firstCells(result)));
    }
}

void TstPatternEngine::seededRandomnessRepeats()
{
    const QString twinkle =
        script("algo.rgbMap = function (w, h) { var m = [];"
               " for (var y = 0; y < h; y++) { m.push([]);"
               " for (var x = 0; x < w; x++) m[y].push(Math.random() * 0x1000000);"
               " } return m; };");
    RenderRequest request{5, 4, {}, {}, 7, 0, Fit::Cut};
    const PatternEngine engine;
    const RenderResult first = loadAndRender(engine, twinkle, request);
    QVERIFY(!first.error && first.frames.frames.size() == 3);
    QCOMPARE(loadAndRender(engine, twinkle, request).frames.frames, first.frames.frames);
    request.seed = 8;
    QCOMPARE_NE(loadAndRender(engine, twinkle, request).frames.frames, first.frames.frames);
    QCOMPARE_NE(first.frames.frames[0], first.frames.frames[1]);
}

void TstPatternEngine::userFolderAndBuiltIns()
{
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    QVERIFY(QDir().mkpath(PatternEngine::userFolder()));
    const auto put = [](const QString &name, const QString &text) {
        QFile f(PatternEngine::userFolder() + '/' + name);
        return f.open(QIODevice::WriteOnly) && f.write(text.toUtf8()) > 0;
    };
    QVERIFY(put("mine.js", script("algo.name = 'Mine';")) && put("bad.js", "{") &&
            put("notes.txt", script("")));
    const PatternEngine engine;
    const PatternEngine::Listing listing = engine.list();
    QStringList names;
    for (const PatternInfo &info : listing.patterns)
        names << info.name + (info.builtIn ? "*" : "");
    QVERIFY2(names.contains("Solid*") && names.endsWith("Mine"), qPrintable(names.join(',')));
    QCOMPARE(listing.errors.size(), 1u);
    QVERIFY(listing.errors[0].text().contains("bad.js:1: SyntaxError"));

    PatternError error;
    QCOMPARE(engine.find("MINE", &error)->file, PatternEngine::userFolder() + "/mine.js");
    QVERIFY(engine.find("solid", &error)->builtIn);
    QVERIFY(!engine.find("bad", &error) && error.message.contains("SyntaxError"));
    QVERIFY(!engine.find("none", &error) && error.message.contains("no such pattern"));
    // A built-in script's steps sampled for a program.
    RenderRequest request{1, 1, {0x102030}, {{"steps", "100"}}, 0, 0, Fit::Cut};
    BakeTarget target;
    target.into = BakeTarget::Into::Program;
    target.firstStep = 28;
    fitToTarget(request, *Layout::fromShape("grid:10x17", 170), target);
    const RenderResult sampled = engine.render(*engine.find("Solid", &error), request);
    QCOMPARE(sampled.frames.stepCount, 100);
    QCOMPARE(sampled.frames.steps, std::vector<int>({0, 33, 66}));
    QCOMPARE(sampled.frames.frames[0].size(), 170u);
    target.into = BakeTarget::Into::Scene;
    target.frame = 4;
    fitToTarget(request, Layout(), target);
    QCOMPARE(engine.render(*engine.find("Solid", &error), request).frames.steps.back(), 4);
}

QTEST_GUILESS_MAIN(TstPatternEngine)
#include "tst_pattern_engine.moc"
