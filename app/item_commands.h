// What the user's commands on the show's items do: switching the item the editor shows (the tabs,
// the item and step buttons, a program simulation's next step), the lamp count, the global scene
// time and the last-step mark, undo and redo, the four current-item transfers, online mode and the
// recovered show. The document holds the current item and records every change as a step; the
// navigator loads the panel; online, a switch first writes the item left to the controller, reads
// the one entered and tells the controller what to play, and only then changes the document with
// what was read.
#pragma once

#include "item.h"
#include "show.h"

#include <QCoreApplication>
#include <QObject>

#include <functional>
#include <optional>

class ControllerSession;
class DesktopState;
class Navigator;
class QWidget;
class ShowFiles;
struct WindowWidgets;

namespace Ui {
class MainWindow;
}
namespace lm740 {
class ShowDocument;
}

class ItemCommands : public QObject
{
    // Its texts are the window's.
    Q_DECLARE_TR_FUNCTIONS(MainWindow)

public:
    ItemCommands(lm740::ShowDocument &document, ControllerSession &session, Navigator &navigator,
                 WindowWidgets &widgets, Ui::MainWindow &form, QWidget &window);
    // The questions over edits that were not kept, made after the switches.
    void setFiles(ShowFiles &files) { m_files = &files; }
    // The current-item transfers say on the status line what they moved.
    void confirmTransfers(DesktopState &desktop);

    // The tab `index` (a kind of item) comes to the front with the item last chosen there.
    void changeTab(int index);
    // Chooses `entered` within its kind; the panel shows it when it shows that kind.
    void changeItem(lm740::Item entered);
    // Brings `item` into the panel the way the user's clicks would.
    void showItem(lm740::Item item);
    // The program simulation's step has run out: the next one, as a click on its button.
    void playNextProgramStep();
    // The lamp count typed into its box, applied (Return, OK or leaving the box).
    void applyLampCount();
    void applySceneTime(int seconds);
    void markLastStep(bool marked);

    void undo();
    void redo();

    // What writing, reading and running an item means: the transfer of its kind with `lamps`
    // lamps (the record of a program step is its program's). A write that succeeds keeps the
    // item; a read that changes the record is a step of its own. While an undo or redo brings its
    // item in, a read only shows what the controller holds: no step, and none at all over edits
    // of the item that were not kept.
    int writeItem(lm740::Item item, int lamps);
    int readItem(lm740::Item item, int lamps);
    int runItem(lm740::Item item);
    // What the controller holds of `item`, read with `lamps` lamps into `into` (a copy of the
    // show), with the error box on failure; the document is not touched.
    int fetchItem(lm740::Item item, int lamps, lm740::Show &into);

    // The four commands on the current item, and on the current program.
    int readCurrent();
    int writeCurrent();
    int readCurrentProgram();
    int writeCurrentProgram();

    void setOnline(bool on);
    // The lamp count, the global scene time and the current item from the controller, which
    // then plays that item: going online, and online after a whole-memory write. What it brings
    // is one step, named `stepName` in the Edit menu.
    void followController(const QString &stepName);
    // A show recovered after a crash replaces the records and globals, as one step.
    void restore(const lm740::Show &recovered);

private:
    // Starts a new gesture of the panel's edits on a mouse press or release, a shortcut or a
    // change of focus; shows a program's step buttons with its tab.
    bool eventFilter(QObject *watched, QEvent *event) override;
    void connectEditMenu();
    bool deviceReady();
    void stopSimulations();
    // Online, before a step marked last is written: the controller keeps one such mark per
    // program, so the others are cleared there.
    void clearOtherLastSteps(lm740::Item marked);
    void setTabActionStates(lm740::ItemKind kind);
    // The tabs and buttons show the document's current item.
    void showCurrent(lm740::Item item);
    void showGlobals();
    // Online, a lamp count or scene time that an undo or redo changed goes to the controller.
    void sendChangedGlobals(int lampsBefore, int sceneTimeBefore);
    // The undo or redo of the step `index` of the history.
    void replay(int index, const std::function<void()> &step);
    // The current-item reads: the scene time and lamp count, then `fetch` into a copy of the show
    // with that count. Whatever arrived is stored as one step named `text`, the parameters read
    // before a failed one too, `copy` taking the records read. -1 when a read failed.
    int readIntoShow(const QString &text, lm740::Item shown,
                     const std::function<int(lm740::Show &into, int lamps)> &fetch,
                     const std::function<void(const lm740::Show &read, lm740::Show &show)> &copy);
    // Going online: the current item read from the controller into `into` and run; 0 when the
    // read succeeded.
    int readOnlineItem(lm740::Item item, int lamps, lm740::Show &into);
    QString currentItemName(bool wholeProgram) const;

    lm740::ShowDocument &m_document;
    ControllerSession &m_session;
    Navigator &m_navigator;
    WindowWidgets &m_widgets;
    Ui::MainWindow &m_form;
    QWidget &m_window;
    ShowFiles *m_files = nullptr;
    // Set while an undo or redo brings the item of its step into the panel.
    bool m_showingStep = false;
};
