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
    QTest::newRow("v1 ramp, truncated") << "algo.apiVersion = 1;" << ramp << ""
                                        << "000000 7f4020 ff8041" << 1;
    QTest::newRow("v2 ramp down") << "" << QList<uint>{0xFF00FF, 0x00FF00} << ""
                                  << "ff00ff 7f7f7f 00ff00" << 1;
    QTest::newRow("no end colour") << "" << QList<uint>{0x123456} << ""
                                   << "123456 123456 123456" << 1;
    QTest::newRow("one colour taken") << "algo.acceptColors = 1;" << ramp << ""
                                      << "000000 000000 000000" << 1;
    QTest::newRow("no colour taken") << "algo.acceptColors = 0;" << ramp << ""
                                     << "000000 000000 000000" << 1;
    QTest::newRow("none given: red") << "" << QList<uint>{} << ""
                                     << "ff0000 ff0000 ff0000" << 1;
    QTest::newRow("v3 colours before the first map")
        << "algo.apiVersion = 3; algo.acceptColors = 5; algo.c = null;"
           " algo.rgbMapSetColors = function (c) { algo.c = c; };"
           " algo.rgbMapStepCount = function (w, h) { return algo.c.length + 1; };"
           " algo.rgbMap = function (w, h, rgb, s) { return [[algo.c[s % algo.c.length]]]; };"
        << QList<uint>{1, 2, 3, 4, 5, 6} << ""
        << "000001 000002 000003 000004 000005 000001" << 1;
    QTest::newRow("every property type") << kProperties << ramp << "mode=B;n=9;k=-1;s=abc"
                                         << "002f91" << 1;
    QTest::newRow("properties kept") << kProperties << ramp << ""
                                     << "002050 002050 002050" << 1;
    QTest::newRow("list value unknown") << kProperties << ramp << "mode=C"
                                        << "not one of A, B" << 1;
    QTest::newRow("range exceeded") << kProperties << ramp << "n=10"
                                    << "outside 1..9" << 1;
    QTest::newRow("integer not a number") << kProperties << ramp << "k=x"
                                          << "not a whole number" << 1;
    QTest::newRow("no such property") << kProperties << ramp << "q=1"
                                      << "no property \"q\"" << 1;
    QTest::newRow("bad property text")
        << "algo.properties = ['name:x|type:float|write:f'];" << ramp << ""
        << "\"float\" is none of" << 1;
    QTest::newRow("write function missing")
        << "algo.properties = ['name:x|type:string|write:f'];" << ramp << ""
        << "no function f" << 1;
    QTest::newRow("v4") << "algo.apiVersion = 4;" << ramp << ""
                        << "apiVersion 4 is not" << 1;
    QTest::newRow("no rgbMap") << "algo.rgbMap = 3;" << ramp << ""
                               << "no rgbMap function" << 1;
    QTest::newRow("not an object") << "algo = 7;" << ramp << ""
                                   << "no pattern object" << 1;
    QTest::newRow("syntax") << "algo.x = ;" << ramp << ""
                            << "t.js:6: SyntaxError" << 1;
    QTest::newRow("throws at load") << "throw new Error('early');" << ramp << ""
                                    << "t.js:6: Error: early" << 1;
    QTest::newRow("throws in rgbMap")
        << "algo.rgbMap = function () {\n throw new RangeError('late'); };" << ramp << ""
        << "t.js:7: rgbMap: RangeError: late" << 1;
    QTest::newRow("throws a string")
        << "algo.rgbMapStepCount = function () { throw 'odd'; };" << ramp << ""
        << "t.js: rgbMapStepCount: threw odd" << 1;
    QTest::newRow("no file access")
        << "algo.rgbMap = function () { return Qt.include('x'); };" << ramp << ""
        << "ReferenceError: Qt is not defined" << 1;
    QTest::newRow("no network") << "algo.rgbMap = function () { return new XMLHttpRequest(); };"
                                << ramp << ""
                                << "XMLHttpRequest is not defined" << 1;
    QTest::newRow("no steps") << "algo.rgbMapStepCount = function () { return 0; };" << ramp << ""
                              << "gave 0, not a number of steps" << 1;
    QTest::newRow("steps not a number")
        << "algo.rgbMapStepCount = function () { return 'a'; };" << ramp << ""
        << "gave a, not" << 1;
    QTest::newRow("rows missing") << "algo.rgbMap = function () { return [[1]]; };" << ramp << ""
                                  << "rgbMap on step 0: not a list of 2 rows" << 2;
    QTest::newRow("row short") << "algo.rgbMap = function () { return [[1], [1, 2]]; };" << ramp
                               << ""
                               << "row 0 is not a list of 2 colours" << 2;
    QTest::newRow("not numbers") << "algo.rgbMap = function () { return [[1, 'x'], [1, 2]]; };"
                                 << ramp << ""
                                 << "row 0, cell 1 is x, not a colour" << 2;
    QTest::newRow("NaN")
        << "algo.rgbMap = function (w, h, c, s) { return [[1, 2], [s ? NaN : 1, 2]]; };" << ramp
        << ""
        << "step 1: row 1, cell 0 is NaN" << 2;
    QTest::newRow("null map") << "algo.rgbMap = function () { return null; };" << ramp << ""
                              << "not a list" << 2;
    QTest::newRow("endless recursion")
        << "algo.rgbMap = function f() { return f(); };" << ramp << ""
        << "RangeError: Maximum call stack size exceeded" << 1;
    QTest::newRow("endless getter in a row")
        << "algo.rgbMap = function () { var r = [1, 2]; Object.defineProperty(r, 0, { get:"
           " function () { for (;;) {} } }); return [r, r]; };"
        << ramp << ""
        << "t.js: stopped after running for more than 0.3 s" << 2;
    QTest::newRow("endless name") << "algo.name = { toString: function () { for (;;) {} } };"
                                  << ramp << ""
                                  << "t.js: stopped after" << 1;
    QTest::newRow("out of range cut to 24 bits")
        << "algo.rgbMap = function (w, h, c, s) { return [[-1, 0], [0, 0]]; };" << ramp << ""
        << "ffffff ffffff ffffff" << 2;
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
    fitToTarget(request, *Layout::fromSpec("grid:10x17", 170), target);
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
