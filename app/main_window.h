// The program's one window: its generated form, the menus' and buttons' commands as slots, and the
// objects that do the work, wired together (docs/architecture.md says what each one owns).
#pragma once

#include "controller_session.h"
#include "crash_recovery.h"
#include "desktop_state.h"
#include "item_commands.h"
#include "navigator.h"
#include "show_document.h"
#include "show_files.h"
#include "ui_main_window.h"

#include <QMainWindow>

#include <memory>

class Scene;
struct WindowWidgets;
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

    lm740::ShowDocument &document() { return m_document; }
    Scene *scene() const;
    WindowWidgets &widgets() const { return *m_widgets; }
    ControllerSession &session() const { return *m_session; }
    ItemCommands &commands() const { return *m_commands; }
    ShowFiles &files() const { return *m_files; }
    DesktopState &desktop() const { return *m_desktop; }
    CrashRecovery &recovery() const { return *m_recovery; }
    // The dock of the simulated controllers (made by the first call), each in USB socket `port`.
    void showSimulatedController(lm740::SimController &controller, const lm740::SimOptions &faults,
                                 const QString &port = {});
    // Offers what a program that crashed or was killed left, and restores it on Yes as one step.
    void offerRecovery();
    void openShowFile(const QString &fileName) { m_files->open(fileName); }
    // The program that shows the manual, with any arguments before the manual's path.
    void setHelpViewer(const QStringList &viewer) { m_helpViewer = viewer; }

public Q_SLOTS:
    void Help(bool checked = false);
    void About(bool checked = false);

    // Moving through the show; a program step's argument is not used.
    void TabChanged(int index) { m_commands->changeTab(index); }
    void SceneChanged(int index) { m_commands->changeItem(lm740::Item::scene(index)); }
    void ChaserChanged(int index) { m_commands->changeItem(lm740::Item::chaser(index)); }
    void ProgramSceneChanged(int);
    void LampsSpinChanged() { m_commands->applyLampCount(); }
    void ScenesTimeSpinChanged(int seconds) { m_commands->applySceneTime(seconds); }
    void lastStepChanged(bool state) { m_commands->markLastStep(state); }

    // The simulations on the strip; a chaser always stops with a program, which stops the strip.
    void start_program_simulation(bool) { m_navigator->startProgram(); }
    void stop_program_simulation(bool) { m_navigator->stop(lm740::ItemKind::ProgramStep); }
    void next_programscene() { m_commands->playNextProgramStep(); }
    void start_chaser_simulation(bool) { m_navigator->startChaser(); }
    void stop_chaser_simulation(bool) { m_navigator->stop(lm740::ItemKind::Chaser); }
    void next_step_chaser() { m_navigator->nextChaserStep(); }

    // The show's files, through their dialogs.
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

    // The controller: the session does the work (controller_session.*).
    char UsbGetByte(unsigned short page, unsigned short offset);
    int UsbGetBytes(int address, char *dest, int n);
    int UsbSetByte(int address, unsigned char byte) { return m_session->setByte(address, byte); }
    void UsbConnect(bool) { m_session->openDevice(); }
    void UsbDisconnect(bool) { m_session->closeDevice(); }
    void UsbGetLmId(bool) { m_session->readId(); }
    bool USBCheckStatus() { return m_session->poll(); }
    int release2int(const QString &text);
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
    int UsbWriteScene(QColor *colors, int n, int lamps);
    int UsbReadScene(QColor *colors, int n, int lamps);
    int UsbWriteChaser(t_chaser *c, int n, int lamps);
    int UsbReadChaser(t_chaser *c, int n, int lamps);
    int UsbWriteProgramScene(t_program *p, int n, int step, int lamps);
    int UsbReadProgramScene(t_program *p, int n, int step, int lamps);
    int UsbWriteProgram(t_program *p, int n, int lamps);
    int UsbReadProgram(t_program *p, int n, int lamps);
    int UsbReadActualSetting(bool) { return m_commands->readCurrent(); }
    int UsbWriteActualSetting(bool) { return m_commands->writeCurrent(); }
    int UsbReadActualProgram(bool) { return m_commands->readCurrentProgram(); }
    int UsbWriteActualProgram(bool) { return m_commands->writeCurrentProgram(); }
    void UsbSetOnline(bool on) { m_commands->setOnline(on); }
    int UsbRunScene(int scene) { return m_session->runScene(scene); }
    int UsbRunChaser(int chaser) { return m_session->runChaser(chaser); }
    int UsbRunProgram(int program) { return m_session->runProgram(program); }
    void Blackout(bool) { m_session->blackout(); }
    void File_Read_Settings(bool) { m_session->readMemoryToFile(); }
    void File_Write_Settings(bool);
    void UpgradeLm740(bool) { m_session->upgrade(); }
    int upgrade_verify(const QString &fileName) { return m_session->verifyUpgrade(fileName); }
    int check_file(const QString &fileName);

protected:
    void resizeEvent(QResizeEvent *) override {}  // the layouts do the work
    void closeEvent(QCloseEvent *event) override; // asks before edits that were not kept are lost
    void keyPressEvent(QKeyEvent *e) override;

private:
    using File = ShowFiles::Type;
    using Parameter = ControllerSession::Parameter;
    void connectCommands();

    lm740::ShowDocument m_document;
    std::unique_ptr<WindowWidgets> m_widgets;
    ControllerSession *m_session = nullptr;
    Navigator *m_navigator = nullptr;
    ItemCommands *m_commands = nullptr;
    DesktopState *m_desktop = nullptr;
    CrashRecovery *m_recovery = nullptr;
    ShowFiles *m_files = nullptr;
    QStringList m_helpViewer;
};
