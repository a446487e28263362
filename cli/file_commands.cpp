// The commands that work on files only: show prints the show in a settings image, export writes it
// as the window's text files, import builds a settings image from them. The formats are the
// show library's; nothing here reads or writes a byte of a format by itself.
#include "ctl.h"

#include "safe_file.h"
#include "settings_image.h"
#include "text_files.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <memory>

namespace lm740::ctl {

namespace {

const QString kScenesFile = QStringLiteral("scenes.scs");
const QString kChasersFile = QStringLiteral("chasers.chs");
// The global scene time is in no text file of the window; export keeps it beside them.
const QString kSceneTimeFile = QStringLiteral("scene-time.txt");

QString programFile(int p)
{
    return QStringLiteral("program%1.pgm").arg(p + 1);
}

// A settings image as a show, with the lamp count and scene time bounded as the window's spin
// boxes bound them when it loads the file.
struct LoadedShow
{
    std::unique_ptr<Show> show = std::make_unique<Show>();
    image::HeaderValues stored;
    int lamps = kDefaultLamps;
    int sceneTime = kMinSceneTime;
};

// "lm740ctl: warning: FILE: N values changed: ..." when a file held values the show could not keep
// as they were (`changed`, in words); the command goes on.
void warnChanged(const QString &fileName, const QStringList &changed)
{
    if (changed.isEmpty())
        return;
    std::fprintf(stderr, "lm740ctl: warning: %s\n",
                 qPrintable(QStringLiteral("%1: %2 %3 changed: %4")
                                .arg(fileName)
                                .arg(changed.size())
                                .arg(changed.size() == 1 ? QStringLiteral("value")
                                                         : QStringLiteral("values"))
                                .arg(files::namedChanges(changed))));
}

bool loadShow(const QString &fileName, LoadedShow *loaded)
{
    QByteArray bytes;
    QString error;
    if (!image::readSettingsFile(fileName, &bytes, &error)) {
        fail(error);
        return false;
    }
    loaded->show->setShowDefaults();
    image::unpackShow(bytes, *loaded->show, &loaded->stored);
    warnChanged(fileName, image::headerChanges(loaded->stored));
    loaded->lamps = qBound(kMinLamps, loaded->stored.lamps, kMaxLamps);
    loaded->sceneTime = qBound(kMinSceneTime, loaded->stored.sceneTime, kMaxSceneTime);
    return true;
}

QString colorText(const QColor &color)
{
    return color.name(QColor::HexRgb);
}

// The colours of the first `lamps` lamps, ten to a line.
QString colorLines(const ColorArray &colors, int lamps)
{
    QString text;
    for (int lamp = 0; lamp < lamps; ++lamp) {
        if (lamp % 10 == 0)
            text += QStringLiteral("\n  %1").arg(
                QStringLiteral("lamps %1-%2:").arg(lamp + 1).arg(qMin(lamp + 10, lamps)), -14);
        text += QLatin1Char(' ') + colorText(colors[lamp]);
    }
    return text;
}

QJsonArray colorArray(const ColorArray &colors, int lamps)
{
    QJsonArray array;
    for (int lamp = 0; lamp < lamps; ++lamp)
        array.append(colorText(colors[lamp]));
    return array;
}

QString direction(int value)
{
    return value == 1   ? QStringLiteral("left")
           : value == 2 ? QStringLiteral("right")
                        : QStringLiteral("%1 (neither left nor right)").arg(value);
}

void printText(const LoadedShow &l)
{
    const Show &show = *l.show;
    out(QStringLiteral("lamps: %1").arg(l.stored.lamps) +
        (l.stored.lamps != l.lamps ? QStringLiteral(" (used as %1)").arg(l.lamps) : QString()));
    out(QStringLiteral("global scene time: %1 s").arg(l.stored.sceneTime) +
        (l.stored.sceneTime != l.sceneTime ? QStringLiteral(" (used as %1)").arg(l.sceneTime)
                                           : QString()));
    for (int s = 0; s < kSceneCount; ++s)
        out(QStringLiteral("\nscene %1").arg(s + 1) + colorLines(show.sceneColors[s], l.lamps));
    for (int c = 0; c < kChaserCount; ++c) {
        const t_chaser &chaser = show.chasers[c];
        out(QStringLiteral("\nchaser %1: time %2 ms, cross-fade %3 %, direction %4, pattern length "
                           "%5, repeat %6")
                .arg(c + 1)
                .arg(chaser.time)
                .arg(chaser.xfade)
                .arg(direction(chaser.direction))
                .arg(chaser.pattern_len)
                .arg(chaser.repeat_number) +
            colorLines(chaser.colors, l.lamps));
    }
    for (int p = 0; p < kProgramCount; ++p) {
        for (int n = 0; n < kProgramSteps; ++n) {
            const t_program_scene &step = show.programs[p].scenes[n];
            out(QStringLiteral("\nprogram %1 step %2: time %3 ms, cross-fade %4 %%5")
                    .arg(p + 1)
                    .arg(n + 1)
                    .arg(step.scene_time)
                    .arg(step.scene_xfade)
                    .arg(step.scene_laststep ? QStringLiteral(", last step") : QString()) +
                colorLines(step.colors, l.lamps));
        }
    }
}

void printJson(const LoadedShow &l)
{
    const Show &show = *l.show;
    QJsonObject root;
    root[QStringLiteral("lamps")] = l.lamps;
    root[QStringLiteral("storedLamps")] = l.stored.lamps;
    root[QStringLiteral("sceneTime")] = l.sceneTime;
    root[QStringLiteral("storedSceneTime")] = l.stored.sceneTime;
    QJsonArray scenes;
    for (int s = 0; s < kSceneCount; ++s)
        scenes.append(
            QJsonObject{{QStringLiteral("scene"), s + 1},
                        {QStringLiteral("colors"), colorArray(show.sceneColors[s], l.lamps)}});
    root[QStringLiteral("scenes")] = scenes;
    QJsonArray chasers;
    for (int c = 0; c < kChaserCount; ++c) {
        const t_chaser &chaser = show.chasers[c];
        chasers.append(QJsonObject{{QStringLiteral("chaser"), c + 1},
                                   {QStringLiteral("time"), qint64(chaser.time)},
                                   {QStringLiteral("xfade"), chaser.xfade},
                                   {QStringLiteral("direction"), chaser.direction},
                                   {QStringLiteral("patternLength"), chaser.pattern_len},
                                   {QStringLiteral("repeat"), chaser.repeat_number},
                                   {QStringLiteral("colors"), colorArray(chaser.colors, l.lamps)}});
    }
    root[QStringLiteral("chasers")] = chasers;
    QJsonArray programs;
    for (int p = 0; p < kProgramCount; ++p) {
        QJsonArray steps;
        for (int n = 0; n < kProgramSteps; ++n) {
            const t_program_scene &step = show.programs[p].scenes[n];
            steps.append(QJsonObject{{QStringLiteral("step"), n + 1},
                                     {QStringLiteral("time"), qint64(step.scene_time)},
                                     {QStringLiteral("xfade"), step.scene_xfade},
                                     {QStringLiteral("lastStep"), step.scene_laststep != 0},
                                     {QStringLiteral("colors"), colorArray(step.colors, l.lamps)}});
        }
        programs.append(
            QJsonObject{{QStringLiteral("program"), p + 1}, {QStringLiteral("steps"), steps}});
    }
    root[QStringLiteral("programs")] = programs;
    std::fputs(QJsonDocument(root).toJson(QJsonDocument::Indented).constData(), stdout);
}

// Makes `dir` with the folders above it that are missing; *made lists what it made, deepest last.
bool makeFolder(const QDir &dir, QStringList *made)
{
    for (QString path = dir.absolutePath();
         !QFileInfo::exists(path) && !QFileInfo(path).isSymLink(); path = QFileInfo(path).path())
        made->prepend(path);
    for (const QString &path : std::as_const(*made))
        if (!QDir().mkdir(path))
            return false;
    return true;
}

void removeFolders(const QStringList &made)
{
    for (auto it = made.crbegin(); it != made.crend(); ++it)
        QDir().rmdir(*it);
}

// One text file of a show folder, read whole and checked. False after one line on stderr.
bool readShowFile(const QDir &dir, const QString &name, files::Format format, files::TextFile *file)
{
    QByteArray bytes;
    QString error;
    if (!files::readWholeFile(dir.filePath(name), &bytes, &error) ||
        !files::readTextFile(format, bytes, file, &error)) {
        fail(QStringLiteral("%1: %2").arg(dir.filePath(name), error));
        return false;
    }
    return true;
}

// The show in a folder of text files as export writes them, stored over *show, with the lamp
// count they share and the global scene time beside them (*sceneTimeOut stays as it is when the
// folder has none). False after one line on stderr.
bool readShowFolder(const QDir &dir, Show *show, int *lampsOut, int *sceneTimeOut)
{
    int lamps = -1;
    QString lampsFrom;
    // Every file carries the lamp count; one show has one, so they must agree.
    auto take = [&](const QString &name, files::Format format) {
        files::TextFile file;
        if (!readShowFile(dir, name, format, &file))
            return false;
        if (file.lamps() < kMinLamps) {
            fail(QStringLiteral("%1 holds no lamp").arg(name));
            return false;
        }
        if (lamps >= 0 && file.lamps() != lamps) {
            fail(QStringLiteral("%1 has %2 lamps but %3 has %4: the files of one show have one "
                                "lamp count")
                     .arg(name)
                     .arg(file.lamps())
                     .arg(lampsFrom)
                     .arg(lamps));
            return false;
        }
        lamps = file.lamps();
        lampsFrom = name;
        files::storeInShow(file, *show);
        QStringList changed;
        for (const files::Change &change : file.changes)
            changed << files::describeChange(file, change, *show);
        warnChanged(dir.filePath(name), changed);
        return true;
    };
    if (!take(kScenesFile, files::Format::Scenes) || !take(kChasersFile, files::Format::Chasers))
        return false;
    for (int p = 0; p < kProgramCount; ++p) {
        show->actualProgramNumber = p; // a program file goes into the current program
        if (!take(programFile(p), files::Format::Program))
            return false;
    }

    int sceneTime = *sceneTimeOut;
    // A link that leads nowhere is an error, not a missing file.
    const QFileInfo sceneTimeFile(dir.filePath(kSceneTimeFile));
    if (sceneTimeFile.exists() || sceneTimeFile.isSymLink()) {
        QByteArray bytes;
        QString error;
        if (!files::readWholeFile(dir.filePath(kSceneTimeFile), &bytes, &error)) {
            fail(QStringLiteral("%1: %2").arg(dir.filePath(kSceneTimeFile), error));
            return false;
        }
        const files::Numbers numbers = files::readNumbers(bytes);
        if (numbers.values.size() != 1 || numbers.firstTooLarge >= 0 ||
            numbers.values[0] < quint32(kMinSceneTime) ||
            numbers.values[0] > quint32(kMaxSceneTime)) {
            fail(QStringLiteral("%1 holds no global scene time from %2 to %3 seconds")
                     .arg(kSceneTimeFile)
                     .arg(kMinSceneTime)
                     .arg(kMaxSceneTime));
            return false;
        }
        sceneTime = int(numbers.values[0]);
    }

    *lampsOut = lamps;
    *sceneTimeOut = sceneTime;
    return true;
}

} // namespace

void keepUnchanged(QByteArray &image, const QByteArray &unchanged, const QByteArray &base)
{
    for (qsizetype i = 0; i < image.size(); ++i)
        if (image[i] == unchanged[i])
            image[i] = base[i];
}

bool readAnyShow(const QString &path, ShowFiles *files)
{
    files->show = std::make_unique<Show>();
    if (QFileInfo(path).isDir()) {
        files->show->setShowDefaults();
        files->sceneTime = kMinSceneTime; // the window's start value, when the folder has none
        return readShowFolder(QDir(path), files->show.get(), &files->lamps, &files->sceneTime);
    }
    LoadedShow loaded;
    if (!loadShow(path, &loaded))
        return false;
    files->show = std::move(loaded.show);
    files->lamps = loaded.lamps;
    files->sceneTime = loaded.sceneTime;
    return true;
}

int show(Context &c)
{
    if (c.args.size() != 1)
        return usage(QStringLiteral("show takes one settings file"));
    LoadedShow loaded;
    if (!loadShow(c.args[0], &loaded))
        return kFailed;
    if (c.json)
        printJson(loaded);
    else
        printText(loaded);
    return kOk;
}

int exportShow(Context &c)
{
    if (c.args.size() != 2)
        return usage(QStringLiteral("export takes a settings file and a folder"));
    LoadedShow loaded;
    if (!loadShow(c.args[0], &loaded))
        return kFailed;
    const QDir dir(c.args[1]);
    const Show &show = *loaded.show;
    QList<files::FileContent> written{
        {kScenesFile, files::writeScenesFile(show.sceneColors, loaded.lamps)},
        {kChasersFile, files::writeChasersFile(show.chasers, loaded.lamps)}};
    for (int p = 0; p < kProgramCount; ++p)
        written.append({programFile(p), files::writeProgramFile(show.programs[p], loaded.lamps)});
    written.append({kSceneTimeFile, QByteArrayLiteral("GlobalSceneTime:") +
                                        QByteArray::number(loaded.sceneTime) +
                                        QByteArrayLiteral("\r\n")});

    // All or nothing: the folder holds its old files or all the new ones, and one that was not
    // there is not left behind, nor are the folders made above it.
    QStringList made;
    if (!makeFolder(QDir(QFileInfo(dir.absolutePath()).path()), &made)) {
        removeFolders(made);
        return fail(QStringLiteral("cannot make the folder %1").arg(dir.path()));
    }
    QString failed;
    QString error;
    if (!files::writeFolderSafely(dir.path(), written, &failed, &error)) {
        removeFolders(made);
        return fail(QStringLiteral("%1: %2; the folder is as it was").arg(failed, error));
    }
    return kOk;
}

int importShow(Context &c)
{
    if (c.args.size() != 2)
        return usage(QStringLiteral("import takes a folder and a settings file"));
    const QDir dir(c.args[0]);
    if (!dir.exists())
        return fail(QStringLiteral("there is no folder %1").arg(dir.path()));

    auto show = std::make_unique<Show>();
    show->setShowDefaults();
    // Onto a base image, the show starts as the base holds it, and only what the files change
    // is written over the base's bytes.
    QByteArray base;
    image::HeaderValues baseHeader{0, kMinSceneTime};
    QString error;
    if (!c.onto.isEmpty()) {
        if (!image::readSettingsFile(c.onto, &base, &error))
            return fail(error);
        image::unpackShow(base, *show, &baseHeader);
    }
    const auto before = std::make_unique<Show>(*show);
    int lamps = -1;
    int sceneTime = baseHeader.sceneTime; // the base's, or the window's start value
    if (!readShowFolder(dir, show.get(), &lamps, &sceneTime))
        return kFailed;

    QByteArray image = image::packShow(*show, lamps, sceneTime, image::HeaderStyle::Save);
    if (!base.isEmpty())
        // The base's show as export writes it: a lamp count or scene time out of range is written
        // as the value used, so the same value read back keeps the base's own byte.
        keepUnchanged(image,
                      image::packShow(*before, qBound(kMinLamps, baseHeader.lamps, kMaxLamps),
                                      qBound(kMinSceneTime, baseHeader.sceneTime, kMaxSceneTime),
                                      image::HeaderStyle::Save),
                      base);
    if (!image::writeSettingsFile(c.args[1], image, &error))
        return fail(error);
    return kOk;
}

} // namespace lm740::ctl
