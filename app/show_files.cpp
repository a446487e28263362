#include "show_files.h"

#include "controller_session.h"
#include "crash_recovery.h"
#include "desktop_state.h"
#include "logging.h"
#include "navigator.h"
#include "prompts.h"
#include "save_name.h"
#include "settings_image.h"
#include "show_document.h"
#include "text_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <iterator>

using lm740::Item;
using lm740::ItemKind;
using lm740::prompts;
using lm740::files::Format;
using Type = ShowFiles::Type;

namespace {

// A text of the file commands in the context it is translated in, with its disambiguation.
struct Text
{
    const char *context;
    struct
    {
        const char *source;
        const char *comment = nullptr;
    } text;
    QString operator()() const
    {
        return QCoreApplication::translate(context, text.source, text.comment);
    }
};

// What each type of file means to the commands: its suffix, the kind of item it holds, the texts
// of its dialogs, and whether its menu command brings the kind's page to the front before the
// dialog opens (a text file's save brings it after the dialog at the latest).
struct TypeRow
{
    const char *suffix;
    ItemKind kind;
    Text openCaption;
    Text openFilter;
    Text saveCaption;
    Text saveFilter;
    bool pageBeforeOpen;
    bool pageBeforeSave;
};

// In the order of ShowFiles::Type.
const TypeRow kTypes[] = {
    {"set",
     ItemKind::Scene,
     {"App", QT_TRANSLATE_NOOP3("App", "Choose a file with settings - Lm740", "scenes load")},
     {"App", QT_TRANSLATE_NOOP3("App", "settings (*.set)", "translate only Scenes")},
     {"App",
      QT_TRANSLATE_NOOP3("App", "Choose a file to save settings", "dataflash settings seve")},
     {"App", QT_TRANSLATE_NOOP3("App", "Settings (*.set)", "translate only  Settings")},
     false,
     false},
    {"scn",
     ItemKind::Scene,
     {"App", QT_TRANSLATE_NOOP3("App", "Chose a file with scene - Lm740", "open file")},
     {"MainWindow", QT_TRANSLATE_NOOP("MainWindow", "Scene (*.scn)")},
     {"App", QT_TRANSLATE_NOOP3("App", "Choose a file to save scene", "scene save")},
     {"App", QT_TRANSLATE_NOOP3("App", "Scene (*.scn)", "translate only Scene")},
     true,
     true},
    {"scs",
     ItemKind::Scene,
     {"App", QT_TRANSLATE_NOOP3("App", "Choose a file with scenes - Lm740", "scenes load")},
     {"App", QT_TRANSLATE_NOOP3("App", "Scenes (*.scs)", "translate only Scenes")},
     {"App", QT_TRANSLATE_NOOP3("App", "Chose a file to save scenes", "save scenes")},
     {"App", QT_TRANSLATE_NOOP3("App", "Scenes (*.scs)", "translate only Scenes")},
     false,
     true},
    {"chr",
     ItemKind::Chaser,
     {"App", QT_TRANSLATE_NOOP3("App", "Chose a file with Chaser - Lm740", "chaser load")},
     {"App", QT_TRANSLATE_NOOP3("App", "Chaser (*.chr)", "chaser load")},
     {"App", QT_TRANSLATE_NOOP3("App", "Chose a file to save chaser", "chaser save")},
     {"App", QT_TRANSLATE_NOOP3("App", "Chaser (*.chr)", "chaser save")},
     true,
     true},
    {"chs",
     ItemKind::Chaser,
     {"App", QT_TRANSLATE_NOOP3("App", "Chose a file with chaserss - Lm740", "chasers load")},
     {"App", QT_TRANSLATE_NOOP3("App", "Chasers (*.chs)", "chasers load")},
     {"App", QT_TRANSLATE_NOOP3("App", "Chose a file to save chasers", "chasers save")},
     {"App", QT_TRANSLATE_NOOP3("App", "Chasers (*.chs)", "chasers save")},
     false,
     false},
    {"pgm",
     ItemKind::ProgramStep,
     {"App", QT_TRANSLATE_NOOP3("App", "Chose a file with pogram - Lm740", "program load")},
     {"App", QT_TRANSLATE_NOOP3("App", "Program (*.pgm)", "program load")},
     {"App", QT_TRANSLATE_NOOP3("App", "Chose a file to save program", "save program")},
     {"App", QT_TRANSLATE_NOOP3("App", "Program (*.pgm)", "save program")},
     false,
     true},
    {"pgs",
     ItemKind::ProgramStep,
     {"App", QT_TRANSLATE_NOOP3("App", "Chose a file with programs - Lm740", "load programs")},
     {"App", QT_TRANSLATE_NOOP("App", "Programs (*.pgs)")},
     {"App", QT_TRANSLATE_NOOP3("App", "Chose a file to save programs", "programs save")},
     {"App", QT_TRANSLATE_NOOP("App", "Programs (*.pgs)")},
     false,
     false},
};

const TypeRow &rowOf(Type type)
{
    return kTypes[int(type)];
}

Format formatOf(Type type)
{
    return Format(int(type) - int(Type::Scene));
}

void addProgram(std::vector<Item> &items, int program)
{
    for (int step = 0; step < lm740::kProgramSteps; ++step)
        items.push_back(Item::programStep(program, step));
}

// The items a text file of `format` holds: the current one of its kind, or all of them.
std::vector<Item> itemsOf(Format format, const lm740::Show &show)
{
    std::vector<Item> items;
    switch (format) {
    case Format::Scene:
        items.push_back(Item::scene(show.actualSceneNumber));
        break;
    case Format::Scenes:
        for (int s = 0; s < lm740::kSceneCount; ++s)
            items.push_back(Item::scene(s));
        break;
    case Format::Chaser:
        items.push_back(Item::chaser(show.actualChaserNumber));
        break;
    case Format::Chasers:
        for (int c = 0; c < lm740::kChaserCount; ++c)
            items.push_back(Item::chaser(c));
        break;
    case Format::Program:
        addProgram(items, show.actualProgramNumber);
        break;
    case Format::Programs:
        for (int p = 0; p < lm740::kProgramCount; ++p)
            addProgram(items, p);
        break;
    }
    return items;
}

QString errorTitle()
{
    return QCoreApplication::translate("App", "Error", "error");
}

void reportSaveFailure(const QString &detail)
{
    prompts().warning(
        nullptr, errorTitle(),
        QCoreApplication::translate("App", "The file could not be saved:\n%1").arg(detail));
}

QString window(const char *text)
{
    return QCoreApplication::translate("MainWindow", text);
}

} // namespace

std::optional<Type> ShowFiles::typeOf(const QString &fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    const auto found = std::find_if(std::begin(kTypes), std::end(kTypes), [&](const TypeRow &row) {
        return suffix == QLatin1String(row.suffix);
    });
    if (found == std::end(kTypes))
        return std::nullopt;
    return Type(found - std::begin(kTypes));
}

ShowFiles::ShowFiles(lm740::ShowDocument &document, Navigator &navigator,
                     ControllerSession &session, DesktopState &desktop, CrashRecovery &recovery,
                     QWidget *window)
    : QObject(window), m_document(document), m_navigator(navigator), m_session(session),
      m_desktop(desktop), m_recovery(recovery), m_window(window),
      m_keptFiles(
          [this](const QString &path, QString *error) { return replaceKeptFile(path, error); })
{
}

ShowFiles::~ShowFiles() = default;

bool ShowFiles::editsUnkept(const std::vector<Item> &replaced, Globals globals)
{
    m_document.closeEdit();
    if (replaced.empty())
        return m_document.isModified();
    return (globals == Globals::Replaced && m_document.globalsModified()) ||
           std::any_of(replaced.begin(), replaced.end(),
                       [this](Item item) { return m_document.isModified(item); });
}

bool ShowFiles::keepOrDiscardEdits(const std::vector<Item> &replaced, Globals globals)
{
    if (!editsUnkept(replaced, globals))
        return true;
    const QMessageBox::StandardButton answer = prompts().warning(
        m_window, window(QT_TRANSLATE_NOOP("MainWindow", "Unsaved changes -- Lm740")),
        window(QT_TRANSLATE_NOOP(
            "MainWindow",
            "The show has changes that were neither saved to a file nor sent to the Lm740.\n"
            "Save the show first?")),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save)
        return saveAsked(Type::Settings);
    return answer == QMessageBox::Discard;
}

bool ShowFiles::replaceKeptFile(const QString &path, QString *error)
{
    const QMessageBox::StandardButton answer = prompts().question(
        m_window, window(QT_TRANSLATE_NOOP("MainWindow", "Replace the show's file? -- Lm740")),
        window(
            QT_TRANSLATE_NOOP(
                "MainWindow",
                "%1 holds the open show as it was last kept.\nReplaced, the show is kept nowhere "
                "but in this window until it is saved again.\nReplace it?"))
            .arg(QDir::toNativeSeparators(QFileInfo(path).canonicalFilePath())),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes) {
        if (error)
            *error = window(
                QT_TRANSLATE_NOOP("MainWindow", "it holds the open show and was left as it was"));
        return false;
    }
    m_document.keptCopyLost();
    // The window holds the show's only copy now: a recovery copy at once.
    m_recovery.autosave();
    return true;
}

bool ShowFiles::saveAsked(Type type, bool generated)
{
    const TypeRow &row = rowOf(type);
    if (row.pageBeforeSave)
        Q_EMIT kindShown(row.kind);
    const QString name = prompts().getSaveFileName(nullptr, row.saveCaption(), QStringLiteral("./"),
                                                   row.saveFilter());
    if (type != Type::Settings) {
        if (name.isEmpty())
            return false;
        Q_EMIT kindShown(row.kind);
    }
    const QString named = lm740::saveName(name, QLatin1Char('.') + QLatin1String(row.suffix));
    return !named.isEmpty() && save(type, named, generated);
}

bool ShowFiles::save(Type type, const QString &path, bool generated)
{
    // The panel's edits are in the show already; an edit still gathering is closed first.
    m_document.closeEdit();
    const lm740::Show &show = m_document.show();
    QString error;
    if (type == Type::Settings) {
        const QByteArray image = lm740::image::packShow(
            show, show.ledsNumber, show.sceneTime,
            generated ? lm740::image::HeaderStyle::Generate : lm740::image::HeaderStyle::Save);
        const lm740::KeptFiles::Saving saving(m_keptFiles, {});
        if (!lm740::image::writeSettingsFile(path, image, &error)) {
            reportSaveFailure(error);
            return false;
        }
        // Every value of the show is in the file now.
        m_document.keepAll();
        m_keptFiles.keptIn(path);
        emit settingsSaved(path);
    } else {
        const std::vector<Item> items = itemsOf(formatOf(type), show);
        const lm740::KeptFiles::Saving saving(m_keptFiles, items);
        if (!lm740::files::writeWholeFile(
                path, lm740::files::writeTextFile(formatOf(type), show, show.ledsNumber), &error)) {
            reportSaveFailure(QStringLiteral("%1: %2").arg(path, error));
            return false;
        }
        for (Item item : items)
            m_document.keep(item);
        m_keptFiles.keptIn(path, items);
    }
    qCDebug(lcFiles) << "lamps:" << show.ledsNumber << "file" << path << "saved";
    m_desktop.fileDone(path, false);
    return true;
}

bool ShowFiles::loadAsked(Type type)
{
    const TypeRow &row = rowOf(type);
    // The whole show asks before its dialog; a part of it once the file is chosen.
    if (type == Type::Settings && !keepOrDiscardEdits())
        return false;
    if (row.pageBeforeOpen)
        Q_EMIT kindShown(row.kind);
    const QString name = prompts().getOpenFileName(nullptr, row.openCaption(), QStringLiteral("./"),
                                                   row.openFilter());
    if (name.isEmpty())
        return false;
    return type == Type::Settings ? loadSettings(name) : loadText(type, name);
}

bool ShowFiles::load(Type type, const QString &path)
{
    if (type == Type::Settings)
        return keepOrDiscardEdits() && loadSettings(path);
    return loadText(type, path);
}

bool ShowFiles::loadSettings(const QString &path)
{
    QByteArray image;
    QString error;
    if (!lm740::image::readSettingsFile(path, &image, &error)) {
        qCDebug(lcFiles) << error;
        const QFileInfo info(path);
        const QString text =
            info.isFile() && info.size() != lm740::layout::kImageSize
                ? QCoreApplication::translate("App", "%1 is not a settings file: it holds %2 "
                                                     "bytes, a settings file holds %3.")
                      .arg(QDir::toNativeSeparators(path))
                      .arg(info.size())
                      .arg(lm740::layout::kImageSize)
                : QCoreApplication::translate("App", "The file could not be read:\n%1").arg(error);
        prompts().warning(nullptr, errorTitle(), text);
        return false;
    }
    const int sceneTimeBefore = m_document.show().sceneTime;
    lm740::image::HeaderValues header;
    {
        const Navigator::Hold hold(m_navigator);
        m_document.change(
            window(QT_TRANSLATE_NOOP("MainWindow", "Load %1")).arg(QFileInfo(path).fileName()),
            m_document.current(), [&](lm740::Show &show) {
                lm740::image::unpackShow(image, show, &header);
                // The scene time box has always cut a file's scene time to its
                // range.
                m_document.setGlobals(
                    header.lamps,
                    std::clamp(header.sceneTime, lm740::kMinSceneTime, lm740::kMaxSceneTime));
            });
        m_navigator.loadPanel();
    }
    // What was loaded is what the file holds.
    m_document.keepAll();
    // Online, the file's scene time and lamp count go to the controller too.
    if (m_document.show().sceneTime != sceneTimeBefore && m_session.ready())
        m_session.writeParameter(ControllerSession::Parameter::SceneTime,
                                 char(m_document.show().sceneTime));
    m_keptFiles.keptIn(path);
    emit settingsLoaded(path);
    lampCountLoaded();
    m_desktop.fileDone(path, true, lm740::image::headerChanges(header));
    return true;
}

bool ShowFiles::loadText(Type type, const QString &path)
{
    const Format format = formatOf(type);
    if (!keepOrDiscardEdits(itemsOf(format, m_document.show())))
        return false;
    QByteArray bytes;
    QString why;
    lm740::files::TextFile file;
    if (!lm740::files::readWholeFile(path, &bytes, &why)) {
        // Not the file's fault: say what kept it from being read.
        prompts().warning(nullptr, errorTitle(),
                          QCoreApplication::translate("App", "The file could not be read:\n%1")
                              .arg(QStringLiteral("%1: %2").arg(path, why)));
        return false;
    }
    const bool scene = type == Type::Scene;
    if (!lm740::files::readTextFile(format, bytes, &file, &why)) {
        qCDebug(lcFiles) << path << why;
        prompts().warning(nullptr, errorTitle(),
                          QCoreApplication::translate("App", "File corrupted error",
                                                      scene ? "load scene" : "load scenes"));
        return false;
    }
    // Escape and closing the box answer No, like every answer but Yes.
    if (file.lamps() < m_document.show().ledsNumber &&
        prompts().question(
            m_window,
            QCoreApplication::translate("App", "Remove leds? -- Lm740",
                                        scene ? "loading secne is smaller than actual"
                                              : "loading secnes is smaller than actual"),
            scene ? QCoreApplication::translate(
                        "App", "Loading scene have got less lamps than actual scene.\nFrom all "
                               "scenes, chasers and programs LEDs will be removed.\nContinue "
                               "operation?")
                  : QCoreApplication::translate(
                        "App", "Loading scenes have got less lamps than actual scene.\nFrom all "
                               "scenes, chasers and programs LEDs will be removed.\nContinue "
                               "operation?"),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return false;

    Q_EMIT kindShown(rowOf(type).kind);
    {
        const Navigator::Hold hold(m_navigator);
        m_document.change(
            window(QT_TRANSLATE_NOOP("MainWindow", "Load %1")).arg(QFileInfo(path).fileName()),
            m_document.current(), [&](lm740::Show &show) {
                lm740::files::storeInShow(file, show);
                m_document.setGlobals(file.lamps(), show.sceneTime);
            });
        m_navigator.loadPanel();
    }
    // The items loaded are what the file holds.
    const std::vector<Item> items = itemsOf(format, m_document.show());
    for (Item item : items)
        m_document.keep(item);
    m_keptFiles.keptIn(path, items);
    lampCountLoaded();
    QStringList changed;
    // The window keeps times to the millisecond: only what the records changed is said.
    for (const lm740::files::Change &c : file.changes)
        if (!c.controllerOnly)
            changed << lm740::files::describeChange(file, c, m_document.show());
    m_desktop.fileDone(path, true, changed);
    return true;
}

void ShowFiles::lampCountLoaded()
{
    if (m_session.ready() && m_session.writeParameter(ControllerSession::Parameter::LampCount,
                                                      char(m_document.show().ledsNumber)) != -1)
        m_document.keepGlobals();
}

void ShowFiles::open(const QString &path)
{
    const QString shown = QDir::toNativeSeparators(path);
    const QString error = QCoreApplication::translate("App", "Error");
    const std::optional<Type> type = typeOf(path);
    if (!type) {
        prompts().warning(
            m_window, error,
            QCoreApplication::translate("App", "%1 is not a show file. Lm740 opens settings "
                                               "(.set), scene (.scn, .scs), chaser (.chr, .chs) "
                                               "and program (.pgm, .pgs) files.")
                .arg(shown));
        return;
    }
    if (!QFileInfo::exists(path)) {
        prompts().warning(
            m_window, error,
            QCoreApplication::translate("App", "%1 could not be opened: there is no such file.")
                .arg(shown));
        return;
    }
    // As the Load command of its type opens it.
    if (rowOf(*type).pageBeforeOpen)
        Q_EMIT kindShown(rowOf(*type).kind);
    load(*type, path);
}
