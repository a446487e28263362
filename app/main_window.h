// The program's one window: it holds the show document, the editor panel, the device link, the
// preview strip, the menus, tabs, tool bar and status bar, and receives every user command as a
// slot.
#pragma once

#include "controller_session.h"
#include "crash_recovery.h"
#include "desktop_state.h"
#include "item.h"
#include "release.h"
#include "scene.h"
#include "show_document.h"
#include "show_files.h"
#include "text_files.h"
#include "ui_main_window.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QButtonGroup;
class QHBoxLayout;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QSpinBox;
class ArthurStyle;
class MyStyle;
class Navigator;
class QAbstractButton;
class QTabWidget;
class QTimer;
class QToolBar;
class QFrame;
class MyDockWidget;
class MyFrame;
class MySpin;
class SimulatedLm740View;

namespace lm740 {
class SimController;
struct SimOptions;
} // namespace lm740

class MainWindow : public QMainWindow, public Ui::MainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // The show: its records, lamp count and scene time, the steps that changed them and what
    // has been kept. The window changes it only through its steps and the panel's edits.
    lm740::ShowDocument document;

    // The Edit menu.
    QMenu *menuEdit = nullptr;
    QAction *actionUndo = nullptr;
    QAction *actionRedo = nullptr;

    // The widgets that belong with each program record (its tab page, step layout and step
    // buttons). The buttons are made when the tab is first shown: ask programSteps() for them.
    struct ProgramWidgets
    {
        QWidget *tabPage = nullptr;
        QHBoxLayout *stepLayout = nullptr;
        QButtonGroup *stepButtons = nullptr;
    };
    std::array<ProgramWidgets, lm740::kProgramCount> programWidgets;
    QButtonGroup *programSteps(int program);

    // Styles
    ArthurStyle *arthurStyle = nullptr;
    MyStyle *myStyle = nullptr;

    // Preview strip
    MyDockWidget *dockWidget = nullptr;

    // With --simulator: the dock that shows what the simulated controller does, toggled from the
    // USB menu (main_window_simulator_view.cpp). Null without the simulator.
    // The first call makes the dock; each further one adds a controller it can watch, the one in
    // USB socket `port`. The dock follows the controller the window works with.
    void showSimulatedController(lm740::SimController &controller, const lm740::SimOptions &faults,
                                 const QString &port = {});
    SimulatedLm740View *simulatorView = nullptr;

    // Tool bar "Globals"
    QToolBar *globalsToolBar = nullptr;
    QLabel *LedsNumberLabel = nullptr;
    MySpin *LedsNumberSpin = nullptr;
    QPushButton *LedsNumberButton = nullptr;
    QLabel *ScenesTimeLabel = nullptr;
    MySpin *ScenesTimeSpin = nullptr;
    QPushButton *ScenesTimeButton = nullptr;

    // Status bar
    QLabel *connectionLabel = nullptr;
    QLabel *onlineLabel = nullptr;
    QProgressBar *progressBar = nullptr;
    QPushButton *helpButton = nullptr;
    QLabel *deviceMessageLabel = nullptr;

    // Item buttons and the program tabs
    QButtonGroup *sceneButtons = nullptr;
    QButtonGroup *chaserButtons = nullptr;
    QTabWidget *TabProgramProgram = nullptr;
    QHBoxLayout *TabProgramLayout = nullptr;

    // The frame that holds the editor panel's content.
    MyFrame *SceneFrame = nullptr;
    QHBoxLayout *sceneFrameLayout = nullptr;

    // The program that shows the manual, with any arguments before the manual's path; tests put
    // another in its place.
    QStringList helpViewer = defaultHelpViewer();
    static QStringList defaultHelpViewer();

    // The manual that Help opens: the help file in the working directory when it is there,
    // otherwise the HTML manual installed with the program.
    static QString helpFile();

public Q_SLOTS:
    // Help and About
    void Help(bool checked = false);
    void About(bool checked = false);

    // ---- The controller session (controller_session.*): these slots forward to it ----
public:
    ControllerSession &session() { return *m_session; }

public Q_SLOTS:
    char UsbGetByte(unsigned short page, unsigned short offset)
    {
        return m_session->getByte(page, offset);
    }
    int UsbGetBytes(int address, char *dest, int n)
    {
        return m_session->getBytes(address, dest, n);
    }
    int UsbSetByte(int address, unsigned char byte) { return m_session->setByte(address, byte); }
    void UsbConnect(bool) { m_session->openDevice(); }
    void UsbDisconnect(bool) { m_session->closeDevice(); }
    void UsbGetLmId(bool) { m_session->readId(); }
    bool USBCheckStatus() { return m_session->poll(); }
    int release2int(const QString &text) { return lm740::releaseNumber(text); }

    int UsbGetColorMode() { return m_session->readParameter(Parameter::ColorMode); }
    int UsbSetColorMode(char v) { return m_session->writeParameter(Parameter::ColorMode, v); }
    int UsbGetGlobalSceneTime() { return m_session->readParameter(Parameter::SceneTime); }
    int UsbSetGlobalSceneTime(char v) { return m_session->writeParameter(Parameter::SceneTime, v); }
    int UsbGetLampsNumber() { return m_session->readParameter(Parameter::LampCount); }
    int UsbSetLampsNumber(char v) { return m_session->writeParameter(Parameter::LampCount, v); }
    int UsbGetNumberNow() { return m_session->readParameter(Parameter::NumberNow); }
    // The USB menu's Get commands: the value goes to the trace only.
    void GetColorMode(bool) { UsbGetColorMode(); }
    void GetGlobalSceneTime(bool) { UsbGetGlobalSceneTime(); }
    void GetLampsNumber(bool) { UsbGetLampsNumber(); }
    void GetNumberNow(bool) { UsbGetNumberNow(); }

    int UsbWriteScene(QColor *colors, int n, int lamps)
    {
        return m_session->writeScene(colors, n, lamps);
    }
    int UsbReadScene(QColor *colors, int n, int lamps)
    {
        return m_session->readScene(colors, n, lamps);
    }
    int UsbWriteChaser(t_chaser *c, int n, int lamps)
    {
        return m_session->writeChaser(c, n, lamps);
    }
    int UsbReadChaser(t_chaser *c, int n, int lamps) { return m_session->readChaser(c, n, lamps); }
    int UsbWriteProgramScene(t_program *p, int n, int step, int lamps)
    {
        return m_session->writeProgramStep(p, n, step, lamps);
    }
    int UsbReadProgramScene(t_program *p, int n, int step, int lamps)
    {
        return m_session->readProgramStep(p, n, step, lamps);
    }
    int UsbWriteProgram(t_program *p, int n, int lamps)
    {
        return m_session->writeProgram(p, n, lamps);
    }
    int UsbReadProgram(t_program *p, int n, int lamps)
    {
        return m_session->readProgram(p, n, lamps);
    }

    int UsbRunScene(int scene) { return m_session->runScene(scene); }
    int UsbRunChaser(int chaser) { return m_session->runChaser(chaser); }
    int UsbRunProgram(int program) { return m_session->runProgram(program); }
    void Blackout(bool) { m_session->blackout(); }

    void File_Read_Settings(bool) { m_session->readMemoryToFile(); }
    void File_Write_Settings(bool);
    void UpgradeLm740(bool) { m_session->upgrade(); }
    int upgrade_verify(const QString &fileName) { return m_session->verifyUpgrade(fileName); }
    int check_file(const QString &fileName)
    {
        return ControllerSession::checkUpgradeFile(fileName);
    }

private:
    using Parameter = ControllerSession::Parameter;
    void connectSession(); // constructor, after the status bar
    ControllerSession *m_session = nullptr;
    // ---- end of the controller session ----

    // ---- Moving through the show (main_window_navigation.cpp) ----
public:
    // Loads the document's current item into the panel and runs the simulations.
    Navigator *navigator = nullptr;
    // Brings `item` into the panel the way the user's clicks would (online, the item left is
    // written and the one entered read and run).
    void showItem(lm740::Item item);

public Q_SLOTS:
    void TabChanged(int index);
    void SceneChanged(int index);
    void ChaserChanged(int index);
    // The program step chosen on the program tabs, again (online: written, read and run).
    void ProgramSceneChanged(int);
    void LampsSpinChanged();
    void ScenesTimeSpinChanged(int);
    void lastStepChanged(bool state);

private:
    void connectNavigation(); // constructor
    // Online mode is on and a status poll finds the controller.
    bool deviceReady();
    // Chooses `entered` within its kind; the panel shows it when it shows that kind.
    void changeItem(lm740::Item entered);
    // Online, before a step marked last is written: the controller keeps one such mark per
    // program, so the others are cleared there.
    void clearOtherLastSteps(lm740::Item marked);
    void setTabActionStates(lm740::ItemKind kind);
    // The tabs and buttons show the document's current item.
    void showCurrent(lm740::Item item);
    QAbstractButton *buttonOf(lm740::Item item);
    // The document's steps reach the tool bar.
    void connectDocument();
    void documentGlobalsChanged();

    // ---- Crash recovery (crash_recovery.*) ----
public:
    CrashRecovery &recovery() { return *m_recovery; }
    // Offers what a program that crashed or was killed left, and restores it on Yes as one step.
    void offerRecovery();

private:
    CrashRecovery *m_recovery = nullptr;

    // ---- Undo and redo (main_window_edit_menu.cpp) ----
public Q_SLOTS:
    void Undo(bool = false);
    void Redo(bool = false);

private:
    void buildEditMenu();
    // Starts a new gesture of the panel's edits on a mouse press or release, a shortcut or a
    // change of focus.
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Online, a lamp count or scene time that an undo or redo changed goes to the controller.
    void sendChangedGlobals(int lampsBefore, int sceneTimeBefore);
    // Set while an undo or redo brings the item of its step into the panel.
    bool showingStep = false;

    // ---- Simulations on the preview strip (main_window_simulation.cpp) ----
public Q_SLOTS:
    void start_program_simulation(bool);
    void stop_program_simulation(bool);
    void next_programscene();
    void start_chaser_simulation(bool);
    void stop_chaser_simulation(bool);
    void next_step_chaser();

    // ---- Scene, chaser and program transfers (main_window_transfers.cpp) ----
public:
    // What writing, reading and running an item means: the transfer of its kind with `lamps`
    // lamps (the record of a program step is its program's). A write that succeeds keeps the
    // item; a read that changes the record is a step of its own unless a larger one is running.
    // While an undo or redo brings its item in, a read only shows what the controller holds: no
    // step, and none at all over edits of the item that were not kept.
    int writeItem(lm740::Item item, int lamps);
    int readItem(lm740::Item item, int lamps);
    int runItem(lm740::Item item);
    // What the controller holds of `item`, read with `lamps` lamps into `into` (a copy of the
    // show), with the error box on failure; the document is not touched.
    int fetchItem(lm740::Item item, int lamps, lm740::Show &into);

public Q_SLOTS:
    // The four commands on the current item.
    int UsbReadActualSetting(bool);
    int UsbWriteActualSetting(bool);
    int UsbReadActualProgram(bool);
    int UsbWriteActualProgram(bool);

private:
    // The two parameter reads of the current-item reads, each when it went through; false when
    // one failed.
    bool readGlobals(std::optional<int> &sceneTime, std::optional<int> &lamps);
    // Stores what the current-item reads brought as one step named `text`.
    void storeRead(const QString &text, lm740::Item shown, const std::optional<int> &sceneTime,
                   const std::optional<int> &lamps, const std::function<void(lm740::Show &)> &copy);

    // ---- Online mode, run commands and blackout (main_window_online.cpp) ----
public Q_SLOTS:
    void UsbSetOnline(bool t);

private:
    // The lamp count, the global scene time and the current item from the controller, which
    // then plays that item: going online, and online after a whole-memory write. What it brings
    // is one step, named `stepName` in the Edit menu.
    void followController(const QString &stepName);

    // Going online: the current item read from the controller into `into` and run; 0 when the
    // read succeeded.
    int readOnlineItem(lm740::Item item, int lamps, lm740::Show &into);

public Q_SLOTS:
    // ---- end of moving, playing and going online ----

protected:
    void resizeEvent(QResizeEvent *event) override;
    // Asks before edits that were not kept are lost; ignored on Cancel.
    void closeEvent(QCloseEvent *event) override;

    // ---- The editor panel and the keyboard commands (main_window_editing.cpp) ----
public:
    // The window's one editor panel; its content sits in SceneFrame.
    std::unique_ptr<Scene> scene;

protected:
    void keyPressEvent(QKeyEvent *e) override;

private:
    void buildScenePanel();
    // ---- end of the editor panel block ----

private:
    void buildToolBar();
    void buildStatusBar();
    void buildItemButtons();
    void buildProgramTabs();

    // ---- The show's files (show_files.*): these slots open the file dialogs ----
public:
    ShowFiles &files() { return *m_files; }

public Q_SLOTS:
    void Save(bool) { m_files->saveAsked(File::Settings); }
    void Load(bool) { m_files->loadAsked(File::Settings); }
    void Generate_set_file(bool) { m_files->saveAsked(File::Settings, true); }
    void Save_Scene(bool) { m_files->saveAsked(File::Scene); }
    void Save_Scenes(bool) { m_files->saveAsked(File::Scenes); }
    void Load_Scene(bool) { m_files->loadAsked(File::Scene); }
    void Load_Scenes(bool) { m_files->loadAsked(File::Scenes); }
    void Save_Chaser(bool) { m_files->saveAsked(File::Chaser); }
    void Save_Chasers(bool) { m_files->saveAsked(File::Chasers); }
    void Load_Chaser(bool) { m_files->loadAsked(File::Chaser); }
    void Load_Chasers(bool) { m_files->loadAsked(File::Chasers); }
    void Save_Program(bool) { m_files->saveAsked(File::Program); }
    void Save_Programs(bool) { m_files->saveAsked(File::Programs); }
    void Load_Program(bool) { m_files->loadAsked(File::Program); }
    void Load_Programs(bool) { m_files->loadAsked(File::Programs); }

private:
    using File = ShowFiles::Type;
    void connectFiles(); // constructor, at its end
    ShowFiles *m_files = nullptr;

    // ---- The window on the desktop (main_window_desktop.cpp): show files opened by name, the
    // recent shows, the window's place kept between runs, the status line's confirmations ----
public:
    // Opens a show file as the Load command of its type (by suffix) does, with the same questions
    // and errors; a file of no show type, or one that is not there, is refused with a word.
    void openShowFile(const QString &fileName) { m_files->open(fileName); }
    DesktopState &desktop() { return *m_desktop; }

private:
    void setUpDesktop(); // constructor, at its end
    void confirmTransfers();
    QString currentItemName(bool wholeProgram) const;
    DesktopState *m_desktop = nullptr;
    // ---- end of the window on the desktop ----
};
