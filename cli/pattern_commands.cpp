// pattern: the pattern scripts from the command line. list names the scripts there are, frames
// prints what one draws on a grid, and apply bakes one into a copy of a settings file through a
// layout, with the window's own engine and bake, so that both give the same bytes.
//
// Every argument that can be checked on its own is checked before a script runs or a file is
// read; the properties and colours given are checked against the script before it draws.
#include "ctl.h"

#include "layout.h"
#include "pattern_bake.h"
#include "pattern_engine.h"
#include "settings_image.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cstdio>
#include <memory>
#include <optional>

namespace lm740::ctl {

namespace {

using pattern::PatternEngine;
using pattern::PatternError;
using pattern::PatternInfo;
using pattern::PatternProperty;

// The most colours any script takes.
constexpr int kMostColors = 5;

// What a subcommand was given besides its words, checked.
struct Given
{
    int status = kOk; // kUsage once a line has said what is wrong
    int width = 0;    // --grid
    int height = 0;
    int steps = 0; // --steps; 0 for all
    QList<QRgb> colors;
    QMap<QString, QString> properties; // --set, by name
    QString layout;                    // --layout, as given
    bool layoutIsFile = false;
    BakeTarget target;
    int step = 1; // --step: the script's step that goes into a scene or chaser, from 1

    bool bad(const QString &message)
    {
        status = usage(message);
        return false;
    }
};

// The value of an option given at most once, or an empty string when it was not given.
bool single(const Context &c, const char *name, Given &g, QString *value)
{
    const QStringList values = c.options.value(QLatin1String(name));
    if (values.size() > 1)
        return g.bad(QStringLiteral("--%1 is given %2 times; give it once")
                         .arg(QLatin1String(name))
                         .arg(values.size()));
    *value = values.value(0);
    return true;
}

// A whole number option in min..max; `*n` keeps its default when the option is not given.
bool numberOption(const Context &c, const char *name, int min, int max, Given &g, int *n)
{
    QString text;
    if (!single(c, name, g, &text))
        return false;
    if (!c.options.contains(QLatin1String(name)))
        return true;
    *n = number(text, qPrintable(QStringLiteral("--") + QLatin1String(name)), min, max, &g.status);
    return g.status == kOk;
}

// Refuses the options a subcommand does not take.
bool onlyThese(const Context &c, const QString &sub, const QStringList &taken, Given &g)
{
    for (auto it = c.options.begin(); it != c.options.end(); ++it)
        if (!taken.contains(it.key()))
            return g.bad(QStringLiteral("pattern %1 takes no --%2").arg(sub, it.key()));
    return true;
}

bool readColors(const Context &c, Given &g)
{
    QString text;
    if (!single(c, "colors", g, &text))
        return false;
    if (!c.options.contains(QStringLiteral("colors")))
        return true;
    static const QRegularExpression hex(QStringLiteral("^#?[0-9A-Fa-f]{6}$"));
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() > kMostColors)
        return g.bad(QStringLiteral("--colors gives %1 colours; a script takes at most %2")
                         .arg(parts.size())
                         .arg(kMostColors));
    for (const QString &part : parts) {
        if (!hex.match(part).hasMatch())
            return g.bad(QStringLiteral("--colors: \"%1\" is no colour; give each as RRGGBB in "
                                        "hex, such as FF8000")
                             .arg(part));
        g.colors.append(part.right(6).toUInt(nullptr, 16));
    }
    return true;
}

bool readSets(const Context &c, Given &g)
{
    for (const QString &set : c.options.value(QStringLiteral("set"))) {
        const qsizetype equals = set.indexOf(QLatin1Char('='));
        if (equals < 1)
            return g.bad(QStringLiteral("--set \"%1\": give NAME=VALUE").arg(set));
        const QString name = set.left(equals);
        if (g.properties.contains(name))
            return g.bad(QStringLiteral("--set %1 is given twice").arg(name));
        g.properties.insert(name, set.mid(equals + 1));
    }
    return true;
}

bool readGrid(const Context &c, Given &g)
{
    QString text;
    if (!single(c, "grid", g, &text))
        return false;
    if (text.isEmpty())
        return g.bad(QStringLiteral("pattern frames needs --grid WxH"));
    static const QRegularExpression grid(QStringLiteral("^(\\d{1,4})x(\\d{1,4})$"));
    const auto m = grid.match(text);
    g.width = m.hasMatch() ? m.captured(1).toInt() : 0;
    g.height = m.hasMatch() ? m.captured(2).toInt() : 0;
    if (g.width < 1 || g.height < 1 || g.width > Layout::kMaxSide || g.height > Layout::kMaxSide)
        return g.bad(QStringLiteral("--grid %1: give the width and height as WxH, each 1 to %2")
                         .arg(text)
                         .arg(Layout::kMaxSide));
    return true;
}

bool readLayout(const Context &c, Given &g)
{
    if (!single(c, "layout", g, &g.layout))
        return false;
    if (g.layout.isEmpty())
        return g.bad(QStringLiteral("pattern apply needs --layout (a layout such as "
                                    "grid:10x17:serpentine, or a layout file)"));
    // The lamp count only decides how many lamps a ready-made layout places; the text is
    // checked here, and the layout made once the show's lamp count is known.
    QString why;
    if (Layout::fromShape(g.layout, kMaxLamps, &why))
        return true;
    g.layoutIsFile = true;
    if (QFileInfo::exists(g.layout))
        return true;
    return g.bad(QStringLiteral("--layout %1: there is no such layout file, and %2")
                     .arg(g.layout, why.isEmpty() ? QString() : why.at(0).toLower() + why.mid(1)));
}

bool readTarget(const Context &c, Given &g)
{
    QString into;
    if (!single(c, "into", g, &into))
        return false;
    static const QRegularExpression item(QStringLiteral("^(scene|chaser|program):(.*)$"));
    const auto m = item.match(into);
    if (!m.hasMatch())
        return g.bad(into.isEmpty() ? QStringLiteral("pattern apply needs --into")
                                    : QStringLiteral("--into %1: give scene:N, chaser:N or "
                                                     "program:N")
                                          .arg(into));
    const QString kind = m.captured(1);
    using Into = BakeTarget::Into;
    BakeTarget &t = g.target;
    t.into = kind == QLatin1String("scene")    ? Into::Scene
             : kind == QLatin1String("chaser") ? Into::Chaser
                                               : Into::Program;
    const int items = t.into == Into::Scene    ? kSceneCount
                      : t.into == Into::Chaser ? kChaserCount
                                               : kProgramCount;
    t.number = number(m.captured(2), qPrintable(kind), 1, items, &g.status, true) - 1;
    if (g.status != kOk)
        return false;

    const QStringList programOnly{QStringLiteral("first-step"), QStringLiteral("step-time"),
                                  QStringLiteral("xfade"), QStringLiteral("fit")};
    if (t.into != Into::Program) {
        for (const QString &name : programOnly)
            if (c.options.contains(name))
                return g.bad(QStringLiteral("--%1 is for a program; a %2 takes one step of the "
                                            "pattern (--step)")
                                 .arg(name, kind));
        return numberOption(c, "step", 1, pattern::kMaxSteps, g, &g.step);
    }
    if (c.options.contains(QStringLiteral("step")))
        return g.bad(QStringLiteral("--step is for a scene or a chaser; a program takes the "
                                    "pattern's steps in turn from --first-step"));
    int first = t.firstStep + 1;
    if (!numberOption(c, "first-step", 1, kProgramSteps, g, &first) ||
        !numberOption(c, "step-time", 0, kMaxItemTimeMs, g, &t.stepTime) ||
        !numberOption(c, "xfade", 0, 100, g, &t.xfade))
        return false;
    t.firstStep = first - 1;
    // The Lm740 keeps a step's time in tenths of a second; anything finer would be lost.
    if (t.stepTime % 100 != 0)
        return g.bad(QStringLiteral("--step-time %1: the Lm740 keeps step times in steps of "
                                    "100 ms")
                         .arg(t.stepTime));
    QString fit;
    if (!single(c, "fit", g, &fit))
        return false;
    if (fit == QLatin1String("cut"))
        t.fit = Fit::Cut;
    else if (fit == QLatin1String("sample"))
        t.fit = Fit::Sample;
    else if (!fit.isEmpty() || c.options.contains(QStringLiteral("fit")))
        return g.bad(QStringLiteral("--fit %1: give sample or cut").arg(fit));
    return true;
}

// The properties and colours given, against what the script has and takes.
bool fitsScript(const PatternInfo &script, Given &g)
{
    for (auto it = g.properties.begin(); it != g.properties.end(); ++it) {
        const PatternProperty *property = script.property(it.key());
        if (!property) {
            QStringList names;
            for (const PatternProperty &p : script.properties)
                names << p.name;
            return g.bad(names.isEmpty()
                             ? QStringLiteral("%1 has no properties to --set").arg(script.name)
                             : QStringLiteral("%1 has no property \"%2\"; it has %3")
                                   .arg(script.name, it.key(), names.join(QLatin1String(", "))));
        }
        QString why;
        if (!pattern::checkedValue(*property, it.value(), &why))
            return g.bad(QStringLiteral("--set %1=%2: %3").arg(it.key(), it.value(), why));
    }
    if (g.colors.size() > script.acceptColors)
        return g.bad(QStringLiteral("%1 takes %2, not %3")
                         .arg(script.name,
                              script.acceptColors == 0
                                  ? QStringLiteral("no colours")
                                  : QStringLiteral("at most %1 colours").arg(script.acceptColors),
                              QString::number(g.colors.size())));
    return true;
}

QString colorsTaken(const PatternInfo &script)
{
    switch (script.acceptColors) {
    case 0:
        return QStringLiteral("no colours");
    case 1:
        return QStringLiteral("1 colour");
    case 2:
        return script.apiVersion >= 3 ? QStringLiteral("2 colours")
                                      : QStringLiteral("a start and an end colour");
    default:
        return QStringLiteral("up to %1 colours").arg(script.acceptColors);
    }
}

// What a user gives as SCRIPT for it: a built-in one's name, a user's file.
QString scriptArgument(const PatternInfo &script)
{
    return script.builtIn ? QFileInfo(script.file).completeBaseName() : script.file;
}

QString valuesText(const PatternProperty &p)
{
    using Type = PatternProperty::Type;
    switch (p.type) {
    case Type::List:
        return p.values.join(QLatin1Char('|'));
    case Type::Range:
        return QStringLiteral("%1..%2").arg(p.minimum).arg(p.maximum);
    case Type::Integer:
        return QStringLiteral("N");
    case Type::String:
        break;
    }
    return QStringLiteral("TEXT");
}

void printList(const PatternEngine::Listing &listing)
{
    for (const PatternInfo &script : listing.patterns) {
        out(QStringLiteral("%1 (%2%3)%4: version %5, takes %6")
                .arg(script.name, scriptArgument(script),
                     script.builtIn ? QStringLiteral(", built in") : QString(),
                     script.author.isEmpty() ? QString() : QStringLiteral(" by ") + script.author)
                .arg(script.apiVersion)
                .arg(colorsTaken(script)));
        for (const PatternProperty &p : script.properties)
            out(QStringLiteral("  --set %1  %2, now %3")
                    .arg(QStringLiteral("%1=%2").arg(p.name, valuesText(p)), -36)
                    .arg(p.display, p.value));
    }
    for (const PatternError &error : listing.errors)
        out(QStringLiteral("not loaded: %1").arg(error.text()));
}

void printListJson(const PatternEngine::Listing &listing)
{
    QJsonArray patterns;
    for (const PatternInfo &script : listing.patterns) {
        QJsonArray properties;
        for (const PatternProperty &p : script.properties) {
            QJsonObject o{{QStringLiteral("name"), p.name},
                          {QStringLiteral("display"), p.display},
                          {QStringLiteral("type"), pattern::typeName(p.type)},
                          {QStringLiteral("value"), p.value}};
            if (p.type == PatternProperty::Type::List)
                o[QStringLiteral("values")] = QJsonArray::fromStringList(p.values);
            if (p.type == PatternProperty::Type::Range) {
                o[QStringLiteral("minimum")] = p.minimum;
                o[QStringLiteral("maximum")] = p.maximum;
            }
            properties.append(o);
        }
        patterns.append(QJsonObject{{QStringLiteral("name"), script.name},
                                    {QStringLiteral("author"), script.author},
                                    {QStringLiteral("script"), scriptArgument(script)},
                                    {QStringLiteral("builtIn"), script.builtIn},
                                    {QStringLiteral("apiVersion"), script.apiVersion},
                                    {QStringLiteral("acceptColors"), script.acceptColors},
                                    {QStringLiteral("properties"), properties}});
    }
    QJsonArray errors;
    for (const PatternError &error : listing.errors)
        errors.append(QJsonObject{{QStringLiteral("file"), error.file},
                                  {QStringLiteral("line"), error.line},
                                  {QStringLiteral("message"), error.message}});
    const QJsonObject root{{QStringLiteral("patterns"), patterns},
                           {QStringLiteral("errors"), errors}};
    std::fputs(QJsonDocument(root).toJson(QJsonDocument::Indented).constData(), stdout);
}

int listScripts(Context &c)
{
    Given g;
    if (c.args.size() != 1)
        return usage(QStringLiteral("pattern list takes nothing more"));
    if (!onlyThese(c, QStringLiteral("list"), {}, g))
        return g.status;
    const PatternEngine::Listing listing = PatternEngine().list();
    if (c.json)
        printListJson(listing);
    else
        printList(listing);
    return kOk;
}

// The script SCRIPT names, checked against what was given: nothing after the line that says why.
std::optional<PatternInfo> findScript(const PatternEngine &engine, const QString &name, Given &g)
{
    PatternError error;
    std::optional<PatternInfo> script = engine.find(name, &error);
    if (!script)
        g.status = fail(error.text());
    else if (!fitsScript(*script, g))
        script.reset();
    return script;
}

// The colours and properties given; the grid and the steps are the caller's.
pattern::RenderRequest request(const Given &g)
{
    pattern::RenderRequest r;
    r.colors = g.colors;
    r.properties = g.properties;
    return r;
}

int drawFrames(Context &c)
{
    Given g;
    if (c.args.size() != 2)
        return usage(QStringLiteral("pattern frames takes one script"));
    if (!onlyThese(c, QStringLiteral("frames"),
                   {QStringLiteral("grid"), QStringLiteral("steps"), QStringLiteral("colors"),
                    QStringLiteral("set")},
                   g) ||
        !readGrid(c, g) || !numberOption(c, "steps", 1, pattern::kMaxSteps, g, &g.steps) ||
        !readColors(c, g) || !readSets(c, g))
        return g.status;

    const PatternEngine engine;
    const auto script = findScript(engine, c.args[1], g);
    if (!script)
        return g.status;
    pattern::RenderRequest r = request(g);
    r.width = g.width;
    r.height = g.height;
    r.maxFrames = g.steps;
    r.fit = Fit::Cut; // the first N steps
    const pattern::RenderResult drawn = engine.render(*script, r);
    if (drawn.error)
        return fail(drawn.error->text());

    // The frames are written one by one: a large grid over thousands of steps is more than a
    // JSON document would comfortably hold at once. The frames come last.
    QByteArray head =
        QJsonDocument(QJsonObject{{QStringLiteral("name"), script->name},
                                  {QStringLiteral("apiVersion"), script->apiVersion},
                                  {QStringLiteral("acceptColors"), script->acceptColors},
                                  {QStringLiteral("stepCount"), drawn.frames.stepCount}})
            .toJson(QJsonDocument::Compact);
    head.chop(1); // the closing brace
    std::fputs(head.constData(), stdout);
    std::fputs(",\"frames\":[", stdout);
    QByteArray text;
    for (size_t f = 0; f < drawn.frames.frames.size(); ++f) {
        const std::vector<QRgb> &frame = drawn.frames.frames[f];
        text = f > 0 ? ",[" : "[";
        for (int y = 0; y < g.height; ++y) {
            text += y > 0 ? ",[" : "[";
            for (int x = 0; x < g.width; ++x) {
                if (x > 0)
                    text += ',';
                text +=
                    QByteArray::number(frame[size_t(y) * size_t(g.width) + size_t(x)] & 0xFFFFFFu);
            }
            text += ']';
        }
        text += ']';
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    }
    std::fputs("]}\n", stdout);
    return kOk;
}

int applyPattern(Context &c)
{
    Given g;
    if (c.args.size() != 4)
        return usage(
            QStringLiteral("pattern apply takes a script, the settings file to read and the one "
                           "to write"));
    if (c.json)
        return usage(QStringLiteral("pattern apply prints no JSON"));
    if (!onlyThese(c, QStringLiteral("apply"),
                   {QStringLiteral("layout"), QStringLiteral("into"), QStringLiteral("step"),
                    QStringLiteral("first-step"), QStringLiteral("step-time"),
                    QStringLiteral("xfade"), QStringLiteral("fit"), QStringLiteral("colors"),
                    QStringLiteral("set")},
                   g) ||
        !readLayout(c, g) || !readTarget(c, g) || !readColors(c, g) || !readSets(c, g))
        return g.status;
    const QString &inFile = c.args[2];
    const QString &outFile = c.args[3];

    const PatternEngine engine;
    const auto script = findScript(engine, c.args[1], g);
    if (!script)
        return g.status;

    QByteArray base;
    QString error;
    if (!image::readSettingsFile(inFile, &base, &error))
        return fail(error);
    auto show = std::make_unique<Show>();
    show->setShowDefaults();
    image::HeaderValues header;
    image::unpackShow(base, *show, &header);
    // As the window bounds them when it loads the file.
    const int lamps = qBound(kMinLamps, header.lamps, kMaxLamps);
    const int sceneTime = qBound(kMinSceneTime, header.sceneTime, kMaxSceneTime);
    show->ledsNumber = lamps;

    std::optional<Layout> layout;
    if (g.layoutIsFile) {
        const LayoutFile file = readLayoutFile(g.layout, lamps);
        if (file.status != LayoutFile::Status::Read)
            return fail(QStringLiteral("%1: %2").arg(g.layout, file.error));
        layout = file.layout;
    } else {
        layout = Layout::fromShape(g.layout, lamps, &error);
        if (!layout)
            return fail(error);
    }

    BakeTarget &target = g.target;
    const bool program = target.into == BakeTarget::Into::Program;
    if (!program)
        target.frame = g.step - 1;
    // Only what goes in is drawn, chosen as the window chooses it.
    pattern::RenderRequest r = request(g);
    pattern::fitToTarget(r, *layout, target);
    const pattern::RenderResult drawn = engine.render(*script, r);
    if (drawn.error)
        return fail(drawn.error->text());
    if (!program && int(drawn.frames.frames.size()) < g.step)
        return usage(QStringLiteral("--step %1: %2 has %3 steps")
                         .arg(g.step)
                         .arg(script->name)
                         .arg(drawn.frames.stepCount));

    const auto before = std::make_unique<Show>(*show);
    BakeOutcome outcome;
    if (!bakePattern(*show, drawn.frames, *layout, target, &outcome, &error))
        return fail(error);
    QByteArray image = image::packShow(*show, lamps, sceneTime, image::HeaderStyle::Save);
    keepUnchanged(image, image::packShow(*before, lamps, sceneTime, image::HeaderStyle::Save),
                  base);
    if (!image::writeSettingsFile(outFile, image, &error))
        return fail(error);

    if (program) {
        const int taken = outcome.lastStep - outcome.firstStep + 1;
        const QString how = outcome.fitted == BakeOutcome::Fitted::All ? QStringLiteral("all")
                            : outcome.fitted == BakeOutcome::Fitted::Cut
                                ? QStringLiteral("the first %1").arg(taken)
                                : QStringLiteral("%1 taken evenly from").arg(taken);
        out(QStringLiteral("%1 into program %2, steps %3-%4 (the last step): %5 of its %6 steps")
                .arg(script->name)
                .arg(target.number + 1)
                .arg(outcome.firstStep + 1)
                .arg(outcome.lastStep + 1)
                .arg(how)
                .arg(drawn.frames.stepCount));
    } else {
        out(QStringLiteral("%1 into %2 %3: step %4 of its %5")
                .arg(script->name, target.into == BakeTarget::Into::Scene
                                       ? QStringLiteral("scene")
                                       : QStringLiteral("chaser"))
                .arg(target.number + 1)
                .arg(g.step)
                .arg(drawn.frames.stepCount));
    }
    return kOk;
}

} // namespace

int pattern(Context &c)
{
    const QString sub = c.args.value(0);
    if (sub == QLatin1String("list"))
        return listScripts(c);
    if (sub == QLatin1String("frames"))
        return drawFrames(c);
    if (sub == QLatin1String("apply"))
        return applyPattern(c);
    return usage(sub.isEmpty() ? QStringLiteral("pattern needs list, frames or apply")
                               : QStringLiteral("pattern %1: use list, frames or apply").arg(sub));
}

} // namespace lm740::ctl
