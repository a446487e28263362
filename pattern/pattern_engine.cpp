#include "pattern_engine.h"

#include "safe_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJSEngine>
#include <QStandardPaths>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <thread>

namespace lm740::pattern {

namespace {

const QString kBuiltInFolder = QStringLiteral(":/patterns");

// Math.random for one render: a small generator (mulberry32) from the render's seed, so that a
// script that twinkles at random twinkles the same way each time it is drawn.
const QString kSeededRandom =
    QStringLiteral("(function (seed) { var s = seed >>> 0; Math.random = function () {"
                   " s = (s + 0x6D2B79F5) >>> 0; var t = s;"
                   " t = Math.imul(t ^ (t >>> 15), t | 1);"
                   " t ^= t + Math.imul(t ^ (t >>> 7), t | 61);"
                   " return ((t ^ (t >>> 14)) >>> 0) / 4294967296; }; })");

// Interrupts the engine when one call into the script runs past the limit. QJSEngine allows
// setInterrupted() from another thread for just this.
class Watchdog
{
public:
    Watchdog(QJSEngine &engine, int limitMs)
        : m_engine(engine), m_limit(limitMs), m_thread([this] { run(); })
    {
    }
    ~Watchdog()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }
    void arm()
    {
        {
            std::lock_guard lock(m_mutex);
            m_deadline = Clock::now() + m_limit;
            m_armed = true;
        }
        m_wake.notify_all();
    }
    bool fired()
    {
        std::lock_guard lock(m_mutex);
        return m_fired;
    }

private:
    using Clock = std::chrono::steady_clock;
    void run()
    {
        std::unique_lock lock(m_mutex);
        while (!m_stop) {
            if (!m_armed) {
                m_wake.wait(lock);
            } else if (Clock::now() >= m_deadline) {
                m_fired = true;
                m_armed = false;
                m_engine.setInterrupted(true);
            } else {
                m_wake.wait_until(lock, m_deadline);
            }
        }
    }

    QJSEngine &m_engine;
    const std::chrono::milliseconds m_limit;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    Clock::time_point m_deadline;
    bool m_armed = false;
    bool m_fired = false;
    bool m_stop = false;
    std::thread m_thread; // last: it starts running at once
};

// Calls a script's function with the script's object as `this`, as the scripts expect, and tells
// a throw from a value returned: QJSValue::call() gives both back alike.
const QString kCaller = QStringLiteral(
    "(function (algo, f, args) {"
    " try { return [true, f.apply(algo, args)]; } catch (e) { return [false, e]; } })");

// One script's run: an engine of its own, bare of every extension (no Qt object, no console, no
// include, no XMLHttpRequest), under a watchdog.
class Run
{
public:
    Run(const QString &file, int limitMs, quint32 seed)
        : m_file(file), m_limitMs(limitMs), m_watchdog(m_engine, limitMs)
    {
        m_engine.evaluate(kSeededRandom).call({QJSValue(double(seed))});
        m_caller = m_engine.evaluate(kCaller);
    }

    PatternError error;

    bool failed(const QString &message, int line = 0)
    {
        error = {m_file, line, message};
        return false;
    }

    QJSEngine &engine() { return m_engine; }

    // Starts the time of one part of the work: the load, the setting up of a render, or one step
    // drawn and read. Reading what a script returned runs script code too (a getter, a
    // toString), so the clock runs until the next part starts or the run ends.
    void startClock() { m_watchdog.arm(); }
    // Whether the watchdog stopped the script; sets the error then.
    bool stopped() { return interrupted(QString()); }

    bool evaluate(const QString &source, QJSValue *result)
    {
        QStringList stack; // "function:line:column:file" for each frame of a throw
        *result = m_engine.evaluate(source, m_file, 1, &stack);
        if (interrupted(QString()))
            return false;
        if (stack.isEmpty() && !result->isError())
            return true;
        return thrown(QString(), *result, stack.value(0).section(QLatin1Char(':'), 1, 1).toInt());
    }

    bool call(const QJSValue &algo, const QString &function, const QJSValueList &args,
              QJSValue *result)
    {
        const QJSValue f = algo.property(function);
        if (!f.isCallable())
            return failed(QStringLiteral("%1 is not a function of the script").arg(function));
        QJSValue list = m_engine.newArray(quint32(args.size()));
        for (int i = 0; i < int(args.size()); ++i)
            list.setProperty(quint32(i), args[i]);
        const QJSValue outcome = m_caller.call({algo, f, list});
        if (interrupted(function))
            return false;
        *result = outcome.property(1);
        if (outcome.property(0).toBool())
            return true;
        return thrown(function, *result, 0);
    }

private:
    bool interrupted(const QString &function)
    {
        if (!m_watchdog.fired())
            return false;
        if (m_engine.hasError())
            m_engine.catchError();
        failed(prefix(function) +
               QStringLiteral("stopped after running for more than %1 s").arg(m_limitMs / 1000.0));
        return true;
    }
    bool thrown(const QString &function, const QJSValue &value, int line)
    {
        if (!value.isError())
            return failed(prefix(function) + QStringLiteral("threw %1").arg(value.toString()),
                          line);
        return failed(prefix(function) + value.toString(),
                      value.property(QStringLiteral("lineNumber")).toInt());
    }
    static QString prefix(const QString &function)
    {
        return function.isEmpty() ? QString() : function + QStringLiteral(": ");
    }

    const QString m_file;
    const int m_limitMs;
    QJSEngine m_engine;
    QJSValue m_caller;
    Watchdog m_watchdog; // after the engine: it is stopped before the engine goes
};

// A number a script gave, or nothing for anything else (a string, NaN, an infinity).
std::optional<double> numberOf(const QJSValue &value)
{
    if (!value.isNumber() || !std::isfinite(value.toNumber()))
        return std::nullopt;
    return value.toNumber();
}

bool readSource(const QString &file, QString *source, PatternError *error)
{
    QByteArray bytes;
    QString why;
    qint64 size = 0;
    bool read = false;
    if (file.startsWith(QLatin1String(":/"))) {
        QFile resource(file);
        read = resource.open(QIODevice::ReadOnly);
        bytes = resource.readAll();
        size = bytes.size();
        why = resource.errorString();
    } else {
        read = files::readRegularFile(file, kMaxScriptSize, &bytes, &size, &why);
    }
    if (read && size > kMaxScriptSize) {
        read = false;
        why = QStringLiteral("larger than %1 bytes: no pattern script").arg(kMaxScriptSize);
    }
    if (!read) {
        *error = {file, 0, why};
        return false;
    }
    *source = QString::fromUtf8(bytes);
    return true;
}

} // namespace

QString PatternError::text() const
{
    return line > 0 ? QStringLiteral("%1:%2: %3").arg(file).arg(line).arg(message)
                    : QStringLiteral("%1: %2").arg(file, message);
}

const PatternProperty *PatternInfo::property(const QString &name) const
{
    for (const PatternProperty &p : properties)
        if (p.name == name)
            return &p;
    return nullptr;
}

PatternEngine::PatternEngine(int timeLimitMs) : m_timeLimitMs(timeLimitMs) {}

PatternEngine::~PatternEngine() = default;

QString PatternEngine::userFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/lm740/patterns");
}

PatternEngine::Listing PatternEngine::list() const
{
    Listing listing;
    const QStringList filter{QStringLiteral("*.js")};
    for (const QString &folder : {kBuiltInFolder, userFolder()}) {
        const QDir dir(folder);
        for (const QString &name : dir.entryList(filter, QDir::Files, QDir::Name)) {
            PatternError error;
            if (auto info = loadFile(dir.filePath(name), &error))
                listing.patterns.push_back(std::move(*info));
            else
                listing.errors.push_back(error);
        }
    }
    return listing;
}

std::optional<PatternInfo> PatternEngine::loadFile(const QString &file, PatternError *error) const
{
    QString source;
    if (!readSource(file, &source, error))
        return std::nullopt;
    return load(file, source, error);
}

std::optional<PatternInfo> PatternEngine::find(const QString &nameOrFile, PatternError *error) const
{
    if (nameOrFile.startsWith(QLatin1String(":/")) || QFileInfo(nameOrFile).isFile())
        return loadFile(nameOrFile, error);
    Listing listing = list();
    for (PatternInfo &info : listing.patterns)
        if (info.name.compare(nameOrFile, Qt::CaseInsensitive) == 0 ||
            QFileInfo(info.file).completeBaseName().compare(nameOrFile, Qt::CaseInsensitive) == 0)
            return std::move(info);
    for (const PatternError &failed : listing.errors)
        if (QFileInfo(failed.file).completeBaseName().compare(nameOrFile, Qt::CaseInsensitive) ==
            0) {
            *error = failed;
            return std::nullopt;
        }
    *error = {nameOrFile, 0, QStringLiteral("no such pattern script or file")};
    return std::nullopt;
}

std::optional<PatternInfo> PatternEngine::load(const QString &file, const QString &source,
                                               PatternError *error) const
{
    Run run(file, m_timeLimitMs, 0);
    run.startClock();
    PatternInfo info;
    info.file = file;
    info.builtIn = file.startsWith(kBuiltInFolder + QLatin1Char('/'));
    info.source = source;

    QJSValue algo;
    const auto fail = [&](const QString &message) {
        run.stopped();
        *error = run.error.message.isEmpty() ? PatternError{file, 0, message} : run.error;
        return std::nullopt;
    };
    if (!run.evaluate(source, &algo))
        return fail({});
    if (!algo.isObject())
        return fail(QStringLiteral("the script gives no pattern object (it must end with "
                                   "\"return algo;\" inside its function)"));
    const auto version = numberOf(algo.property(QStringLiteral("apiVersion")));
    if (!version || (*version != 1 && *version != 2 && *version != 3))
        return fail(QStringLiteral("apiVersion %1 is not 1, 2 or 3")
                        .arg(algo.property(QStringLiteral("apiVersion")).toString()));
    info.apiVersion = int(*version);
    for (const char *function : {"rgbMap", "rgbMapStepCount"})
        if (!algo.property(QLatin1String(function)).isCallable())
            return fail(QStringLiteral("the script has no %1 function").arg(function));

    const QJSValue name = algo.property(QStringLiteral("name"));
    info.name = name.isUndefined() || name.toString().trimmed().isEmpty()
                    ? QFileInfo(file).completeBaseName()
                    : name.toString().trimmed();
    const QJSValue author = algo.property(QStringLiteral("author"));
    info.author = author.isUndefined() ? QString() : author.toString().trimmed();

    const QJSValue accept = algo.property(QStringLiteral("acceptColors"));
    const int most = info.apiVersion >= 3 ? 5 : 2;
    if (!accept.isUndefined()) {
        const auto n = numberOf(accept);
        if (!n)
            return fail(QStringLiteral("acceptColors is %1, not a number").arg(accept.toString()));
        info.acceptColors = int(std::clamp(*n, 0.0, double(most)));
    }

    const QJSValue properties = algo.property(QStringLiteral("properties"));
    if (info.apiVersion >= 2 && !properties.isUndefined()) {
        if (!properties.isArray())
            return fail(QStringLiteral("properties is not a list"));
        const int count = properties.property(QStringLiteral("length")).toInt();
        for (int i = 0; i < count; ++i) {
            QString why;
            auto property = parseProperty(properties.property(quint32(i)).toString(), &why);
            if (!property)
                return fail(why);
            if (!algo.property(property->write).isCallable())
                return fail(QStringLiteral("property \"%1\": the script has no function %2")
                                .arg(property->name, property->write));
            QJSValue value;
            if (algo.property(property->read).isCallable()) {
                if (!run.call(algo, property->read, {}, &value))
                    return fail({});
                property->value = value.isUndefined() ? QString() : value.toString();
            }
            info.properties.push_back(*property);
        }
    }
    if (run.stopped())
        return fail({});
    return info;
}

RenderResult PatternEngine::render(const PatternInfo &script, const RenderRequest &request) const
{
    RenderResult result;
    PatternFrames &frames = result.frames;
    frames.width = request.width;
    frames.height = request.height;
    Run run(script.file, m_timeLimitMs, request.seed);
    run.startClock();
    const auto fail = [&](const QString &message) {
        run.stopped();
        result.error =
            run.error.message.isEmpty() ? PatternError{script.file, 0, message} : run.error;
        frames.steps.clear();
        frames.frames.clear();
        return result;
    };
    if (request.width < 1 || request.height < 1 || request.width > Layout::kMaxSide ||
        request.height > Layout::kMaxSide)
        return fail(QStringLiteral("a grid of %1 x %2 cells cannot be drawn")
                        .arg(request.width)
                        .arg(request.height));

    QJSValue algo;
    if (!run.evaluate(script.source, &algo))
        return fail({});
    if (!algo.isObject())
        return fail(QStringLiteral("the script gives no pattern object"));

    QJSValue ignored;
    for (auto it = request.properties.begin(); it != request.properties.end(); ++it) {
        const PatternProperty *property = script.property(it.key());
        if (!property)
            return fail(QStringLiteral("the script has no property \"%1\"").arg(it.key()));
        QString why;
        const auto value = checkedValue(*property, it.value(), &why);
        if (!value)
            return fail(why);
        if (!run.call(algo, property->write, {QJSValue(*value)}, &ignored))
            return fail({});
    }

    const int given = std::min(int(request.colors.size()), script.acceptColors);
    QList<QRgb> colors = request.colors.mid(0, given);
    if (colors.isEmpty() && script.acceptColors > 0)
        colors.append(qRgb(255, 0, 0));
    if (script.apiVersion >= 3 && algo.property(QStringLiteral("rgbMapSetColors")).isCallable()) {
        QJSValue array = run.engine().newArray(quint32(colors.size()));
        for (int i = 0; i < int(colors.size()); ++i)
            array.setProperty(quint32(i), double(colors[i] & 0xFFFFFFu));
        if (!run.call(algo, QStringLiteral("rgbMapSetColors"), {array}, &ignored))
            return fail({});
    }

    const QJSValueList size{QJSValue(request.width), QJSValue(request.height)};
    QJSValue count;
    if (!run.call(algo, QStringLiteral("rgbMapStepCount"), size, &count))
        return fail({});
    const auto steps = numberOf(count);
    if (!steps || *steps < 1)
        return fail(QStringLiteral("rgbMapStepCount(%1, %2) gave %3, not a number of steps")
                        .arg(request.width)
                        .arg(request.height)
                        .arg(count.toString()));
    frames.stepCount = int(std::min(*steps, double(std::numeric_limits<int>::max())));

    const int drawn = std::min(frames.stepCount, kMaxSteps);
    frames.steps = fitSteps(drawn, request.maxFrames > 0 ? request.maxFrames : drawn, request.fit);
    const QRgb start = colors.value(0, 0) & 0xFFFFFFu;
    const std::optional<QRgb> end = script.apiVersion < 3 && colors.size() > 1
                                        ? std::optional<QRgb>(colors[1] & 0xFFFFFFu)
                                        : std::nullopt;
    size_t next = 0;
    // Every step up to the last one wanted is drawn in turn, as the scripts are played: some keep
    // what they drew last and go on from there.
    for (int step = 0; next < frames.steps.size(); ++step) {
        const QRgb rgb = stepColor(start, end, step, frames.stepCount);
        run.startClock();
        QJSValue map;
        if (!run.call(algo, QStringLiteral("rgbMap"),
                      {size[0], size[1], QJSValue(double(rgb)), QJSValue(step)}, &map))
            return fail({});
        if (frames.steps[next] != step)
            continue;
        std::vector<QRgb> frame;
        QString why;
        if (!readFrame(map, request.width, request.height, &frame, &why) || run.stopped())
            return fail(QStringLiteral("rgbMap on step %1: %2").arg(step).arg(why));
        frames.frames.push_back(std::move(frame));
        ++next;
    }
    return result;
}

void fitToTarget(RenderRequest &request, const Layout &layout, const BakeTarget &target)
{
    request.width = layout.width();
    request.height = layout.height();
    const bool program = target.into == BakeTarget::Into::Program;
    request.maxFrames = std::max(1, program ? kProgramSteps - target.firstStep : target.frame + 1);
    request.fit = program ? target.fit : Fit::Cut;
}

QRgb stepColor(QRgb start, std::optional<QRgb> end, int step, int steps)
{
    if (!end || steps < 2)
        return start & 0xFFFFFFu;
    QRgb rgb = 0;
    for (int shift : {16, 8, 0}) {
        const qint64 from = (start >> shift) & 0xFF;
        const qint64 to = (*end >> shift) & 0xFF;
        // Both ends are whole channel values, so the exact value is never below zero and the
        // division truncates as a cut of the fraction would.
        const qint64 value = (from * (steps - 1) + (to - from) * step) / (steps - 1);
        rgb |= QRgb(value & 0xFF) << shift;
    }
    return rgb;
}

bool readFrame(const QJSValue &value, int width, int height, std::vector<QRgb> *frame,
               QString *error)
{
    const auto length = [](const QJSValue &array) {
        return array.property(QStringLiteral("length")).toNumber();
    };
    if (!value.isArray() || length(value) != height) {
        *error = QStringLiteral("not a list of %1 rows").arg(height);
        return false;
    }
    frame->assign(size_t(width) * size_t(height), 0);
    for (int y = 0; y < height; ++y) {
        const QJSValue row = value.property(quint32(y));
        if (!row.isArray() || length(row) != width) {
            *error = QStringLiteral("row %1 is not a list of %2 colours").arg(y).arg(width);
            return false;
        }
        for (int x = 0; x < width; ++x) {
            const QJSValue cell = row.property(quint32(x));
            if (!numberOf(cell)) {
                *error = QStringLiteral("row %1, cell %2 is %3, not a colour")
                             .arg(y)
                             .arg(x)
                             .arg(cell.toString());
                return false;
            }
            (*frame)[size_t(y) * width + x] = 0xFF000000u | (quint32(cell.toInt()) & 0xFFFFFFu);
        }
    }
    return true;
}

} // namespace lm740::pattern
