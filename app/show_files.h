// The show's files: the whole show as a settings image (.set) and the scene, chaser and program
// text files, each loaded from and saved to a path with the questions and errors of the menu
// commands, which are a thin layer over it: a file dialog, then the path. It also keeps track of
// the files the show is kept in, and asks the one question before edits that were not kept are
// lost (Save / Discard / Cancel).
#pragma once

#include "item.h"
#include "kept_files.h"

#include <QObject>

#include <optional>
#include <vector>

class ControllerSession;
class CrashRecovery;
class DesktopState;
class Navigator;
class QWidget;

namespace lm740 {
class ShowDocument;
}

class ShowFiles : public QObject
{
    Q_OBJECT
public:
    // The files of a show: the whole show, and one item or all items of each kind as text.
    enum class Type { Settings, Scene, Scenes, Chaser, Chasers, Program, Programs };
    // The type of `fileName` by its suffix, in any case; none for a file no Load command opens.
    static std::optional<Type> typeOf(const QString &fileName);

    // A lamp count or scene time a file brings goes to the controller through `session` when
    // online; the files saved and loaded head `desktop`'s recent shows; when a kept file is
    // replaced by another program's write, `recovery` saves a copy at once. The questions stand
    // over `window`.
    ShowFiles(lm740::ShowDocument &document, Navigator &navigator, ControllerSession &session,
              DesktopState &desktop, CrashRecovery &recovery, QWidget *window);
    ~ShowFiles() override;

    // Reads `path` as a file of `type`: asks before edits that were not kept are lost, reads and
    // checks the whole file, asks before the show loses lamps, then stores it as one step. False,
    // with the show as it was, when the file is refused or the user says no.
    bool load(Type type, const QString &path);
    // Writes the show, or the part of it a file of `type` holds, to `path` as it is named; a
    // whole show in `generated` form has the plainer header. False after the error box.
    bool save(Type type, const QString &path, bool generated = false);
    // A show file by name, as the Load command of its type opens it; a file of no show type, or
    // one that is not there, is refused with a word.
    void open(const QString &path);

    // The menu commands: the file dialog of `type`, then load() or save() with the name chosen
    // (a save adds the type's suffix when the name lacks it). False when nothing was done.
    bool loadAsked(Type type);
    bool saveAsked(Type type, bool generated = false);

    // Whether a command that replaces items also replaces the lamp count and the scene time (a
    // read from the controller does).
    enum class Globals { Stay, Replaced };
    // Whether a command that replaces `replaced` (empty: the whole show) would lose edits that
    // were not kept (the open edit is closed).
    bool editsUnkept(const std::vector<lm740::Item> &replaced = {},
                     Globals globals = Globals::Stay);
    // Before such a command: true when nothing unkept is lost, or when the user saved the show or
    // chose to discard the edits; false on Cancel or a failed save.
    bool keepOrDiscardEdits(const std::vector<lm740::Item> &replaced = {},
                            Globals globals = Globals::Stay);

Q_SIGNALS:
    // A command on the files of `kind` brings its page to the front.
    void kindShown(lm740::ItemKind kind);
    // The whole show was saved to or loaded from a settings file: what is kept beside it follows.
    void settingsSaved(const QString &path);
    void settingsLoaded(const QString &path);

private:
    bool loadSettings(const QString &path);
    bool loadText(Type type, const QString &path);
    // A lamp count that came from a file goes to the controller too, in online mode.
    void lampCountLoaded();
    // Asks before a write replaces the file the show is kept in; on Yes the show is kept no more.
    bool replaceKeptFile(const QString &path, QString *error);

    lm740::ShowDocument &m_document;
    Navigator &m_navigator;
    ControllerSession &m_session;
    DesktopState &m_desktop;
    CrashRecovery &m_recovery;
    QWidget *m_window;
    lm740::KeptFiles m_keptFiles;
};
