#include "main_window.h"

#include "controller_chooser.h"
#include "crash_recovery.h"
#include "desktop_state.h"
#include "help.h"
#include "key_commands.h"
#include "logging.h"
#include "my_dock_widget.h"
#include "my_spin.h"
#include "pattern_actions.h"
#include "release.h"
#include "simulated_lm740_view.h"
#include "version.h"
#include "window_widgets.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QPushButton>
#include <QTabWidget>

#include <utility>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), m_helpViewer(lm740::defaultHelpViewer())
{
    qCDebug(lcApp) << "MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)";
    setupUi(this);
    setMinimumSize(750, 550);
    setGeometry(50, 50, 850, 750);
    // The mark shows while the show has edits that were not kept.
    setWindowTitle(tr("Lm740 ver. %1").arg(QStringLiteral(LM740_VERSION)) + QStringLiteral("[*]"));

    lm740::Show &show = m_document.show();
    show.ledsNumber = lm740::kDefaultLamps;
    show.actualSceneNumber = 0;
    for (lm740::ColorArray &scene : show.sceneColors)
        lm740::setLampsBlack(scene);
    for (t_chaser &chaser : show.chasers)
        lm740::setDefaults(chaser);
    for (t_program &program : show.programs)
        lm740::setDefaults(program);

    m_widgets = std::make_unique<WindowWidgets>(*this, *this, m_document);
    const WindowWidgets &w = *m_widgets;
    m_session = new ControllerSession(
        m_document, menuUSB,
        {w.connectionLabel, w.onlineLabel, w.progressBar, w.deviceMessageLabel}, this);
    m_navigator = new Navigator(m_document, *w.scene, *w.dockWidget, this);
    m_commands = new ItemCommands(m_document, *m_session, *m_navigator, *m_widgets, *this, *this);
    connectCommands();
    TabChanged(0);
    // The show a fresh start shows is kept as it is: nothing to lose yet.
    m_document.reset();
    m_session->startPoll();

    m_desktop = new DesktopState(this, menuFile, statusbar);
    connect(m_desktop, &DesktopState::openRequested, this, &MainWindow::openShowFile);
    connect(m_session, &ControllerSession::confirmed, m_desktop, &DesktopState::confirm);
    m_commands->confirmTransfers(*m_desktop);
    m_recovery = new CrashRecovery(m_document, this);
    m_files = new ShowFiles(m_document, *m_navigator, *m_session, *m_desktop, *m_recovery, this);
    m_commands->setFiles(*m_files);
    connect(m_files, &ShowFiles::kindShown, this,
            [this](lm740::ItemKind kind) { TabWidget->setCurrentIndex(int(kind)); });
    // Edit > Pattern... and Layout..., the Pattern button and the layout kept with the show.
    new PatternActions(*this);
    qCDebug(lcApp) << "MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent) End";
}

// Every command of the menus, tool bar and buttons to its slot.
void MainWindow::connectCommands()
{
    const WindowWidgets &w = *m_widgets;
    const std::pair<QAction *, void (MainWindow::*)(bool)> commands[] = {
        {actionAbout, &MainWindow::About},
        {actionHelp, &MainWindow::Help},
        {actionUsbConnect, &MainWindow::UsbConnect},
        {actionUsbDisconnect, &MainWindow::UsbDisconnect},
        {actionUsbGetLmId, &MainWindow::UsbGetLmId},
        {actionGetColorMode, &MainWindow::GetColorMode},
        {actionGetGlobalSceneTime, &MainWindow::GetGlobalSceneTime},
        {actionGetLampsNumber, &MainWindow::GetLampsNumber},
        {actionGetNumberNow, &MainWindow::GetNumberNow},
        {actionReadDataFlash, &MainWindow::File_Read_Settings},
        {actionWriteDataFlash, &MainWindow::File_Write_Settings},
        {actionUpgradeLm740, &MainWindow::UpgradeLm740},
        {actionRun_Program, &MainWindow::start_program_simulation},
        {actionStop_Program, &MainWindow::stop_program_simulation},
        {actionRun_Chaser, &MainWindow::start_chaser_simulation},
        {actionStop_Chaser, &MainWindow::stop_chaser_simulation},
        {actionBlackout, &MainWindow::Blackout},
        {actionOnline, &MainWindow::UsbSetOnline},
        {actionSave, &MainWindow::Save},
        {actionLoad, &MainWindow::Load},
        {actionGenerate_set_file, &MainWindow::Generate_set_file},
        {actionSave_Scene, &MainWindow::Save_Scene},
        {actionSave_Scenes, &MainWindow::Save_Scenes},
        {actionLoad_Scene, &MainWindow::Load_Scene},
        {actionLoad_Scenes, &MainWindow::Load_Scenes},
        {actionSave_Chaser, &MainWindow::Save_Chaser},
        {actionSave_Chasers, &MainWindow::Save_Chasers},
        {actionLoad_Chaser, &MainWindow::Load_Chaser},
        {actionLoad_Chasers, &MainWindow::Load_Chasers},
        {actionSave_Program, &MainWindow::Save_Program},
        {actionSave_Programs, &MainWindow::Save_Programs},
        {actionLoad_Program, &MainWindow::Load_Program},
        {actionLoad_Programs, &MainWindow::Load_Programs}};
    for (const auto &[action, slot] : commands)
        connect(action, &QAction::triggered, this, slot);
    connect(w.actionUndo, &QAction::triggered, m_commands, &ItemCommands::undo);
    connect(w.actionRedo, &QAction::triggered, m_commands, &ItemCommands::redo);
    connect(w.helpButton, &QPushButton::clicked, this, &MainWindow::Help);
    connect(w.dockWidget, &MyDockWidget::next_chaser, this, &MainWindow::next_step_chaser);
    connect(w.dockWidget, &MyDockWidget::next_prog, this, &MainWindow::next_programscene);
    connect(w.ScenesTimeSpin, &QSpinBox::valueChanged, this, &MainWindow::ScenesTimeSpinChanged);
    connect(w.LedsNumberSpin, &QAbstractSpinBox::editingFinished, this,
            &MainWindow::LampsSpinChanged);
    connect(w.sceneButtons, &QButtonGroup::idClicked, this, &MainWindow::SceneChanged);
    connect(w.chaserButtons, &QButtonGroup::idClicked, this, &MainWindow::ChaserChanged);
    connect(TabWidget, &QTabWidget::currentChanged, this, &MainWindow::TabChanged);
    connect(w.scene.get(), &Scene::lastStepChanged, this, &MainWindow::lastStepChanged);
    connect(&m_document, &lm740::ShowDocument::modifiedChanged, this, &QWidget::setWindowModified);
    connect(m_session, &ControllerSession::polled, this, [this] {
        if (m_widgets->simulatorView)
            m_widgets->simulatorView->watch(m_session->chooser()->chosenPort());
    });
}

MainWindow::~MainWindow()
{
    m_desktop->keepWindowPlace();
    // Taking the window down moves the keyboard focus, and a spin box that loses it reports
    // editingFinished after this body has run, while the panel and the device link are already
    // gone. No signal of the window's own widgets, panel or document may reach its commands from
    // here on; the navigator, a child of the window, outlives the panel it loads.
    for (QObject *receiver : {static_cast<QObject *>(this), static_cast<QObject *>(m_commands),
                              static_cast<QObject *>(m_navigator)}) {
        for (QObject *child : findChildren<QObject *>())
            child->disconnect(receiver);
        m_widgets->scene->disconnect(receiver);
        m_document.disconnect(receiver);
    }
    qApp->removeEventFilter(m_commands);
}

Scene *MainWindow::scene() const
{
    return m_widgets->scene.get();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_files->keepOrDiscardEdits()) {
        event->ignore();
        return;
    }
    m_recovery->cleanExit();
    QMainWindow::closeEvent(event);
}

void MainWindow::keyPressEvent(QKeyEvent *e)
{
    // Handled here in every case: nothing goes on to the base class.
    lm740::runKeyCommand(*e, *m_widgets->scene, m_document, *m_widgets->deviceMessageLabel);
}

void MainWindow::ProgramSceneChanged(int)
{
    m_commands->changeItem(m_document.chosen(lm740::ItemKind::ProgramStep));
}

void MainWindow::File_Write_Settings(bool)
{
    // Online, the window follows what the controller holds now, as when it went online: its
    // lamps and items would otherwise go back over the new memory at the next switch. What it
    // brings is a read from the controller, and is named so in the Edit menu.
    if (m_session->writeFileToMemory() && m_session->online() && m_session->poll())
        m_commands->followController(tr("Read from Lm740"));
}

void MainWindow::offerRecovery()
{
    if (const std::optional<lm740::Show> recovered = m_recovery->takeLeft(this))
        m_commands->restore(*recovered);
}

void MainWindow::showSimulatedController(lm740::SimController &controller,
                                         const lm740::SimOptions &faults, const QString &port)
{
    SimulatedLm740View *&view = m_widgets->simulatorView;
    if (view) {
        view->addController(controller, faults, port);
        return;
    }
    view = new SimulatedLm740View(controller, faults, this);
    view->addController(controller, faults, port);
    addDockWidget(Qt::BottomDockWidgetArea, view);
    if (const auto *patterns = findChild<PatternActions *>())
        view->setLampLayout(patterns->layout.layout());
    // Below the editor, and only as tall as its LCD and a few requests need.
    resizeDocks({view}, {view->minimumSizeHint().height()}, Qt::Vertical);
    QAction *toggle = view->toggleViewAction();
    toggle->setObjectName(QStringLiteral("actionSimulatedLm740"));
    // The dock's title names the controller it watches; the menu entry keeps a name with a
    // mnemonic, set again after each title change, which renames the entry.
    const auto nameEntry = [this, toggle] { toggle->setText(tr("&Simulated Lm740")); };
    nameEntry();
    connect(view, &QWidget::windowTitleChanged, toggle, nameEntry);
    menuUSB->addSeparator();
    menuUSB->addAction(toggle);
}

// ---- the controller's slots, one line each over the session ----------------------------------

char MainWindow::UsbGetByte(unsigned short page, unsigned short offset)
{
    return m_session->getByte(page, offset);
}
int MainWindow::UsbGetBytes(int address, char *dest, int n)
{
    return m_session->getBytes(address, dest, n);
}
int MainWindow::release2int(const QString &text)
{
    return lm740::releaseNumber(text);
}
int MainWindow::check_file(const QString &fileName)
{
    return ControllerSession::checkUpgradeFile(fileName);
}
int MainWindow::UsbWriteScene(QColor *colors, int n, int lamps)
{
    return m_session->writeScene(colors, n, lamps);
}
int MainWindow::UsbReadScene(QColor *colors, int n, int lamps)
{
    return m_session->readScene(colors, n, lamps);
}
int MainWindow::UsbWriteChaser(t_chaser *c, int n, int lamps)
{
    return m_session->writeChaser(c, n, lamps);
}
int MainWindow::UsbReadChaser(t_chaser *c, int n, int lamps)
{
    return m_session->readChaser(c, n, lamps);
}
int MainWindow::UsbWriteProgramScene(t_program *p, int n, int step, int lamps)
{
    return m_session->writeProgramStep(p, n, step, lamps);
}
int MainWindow::UsbReadProgramScene(t_program *p, int n, int step, int lamps)
{
    return m_session->readProgramStep(p, n, step, lamps);
}
int MainWindow::UsbWriteProgram(t_program *p, int n, int lamps)
{
    return m_session->writeProgram(p, n, lamps);
}
int MainWindow::UsbReadProgram(t_program *p, int n, int lamps)
{
    return m_session->readProgram(p, n, lamps);
}
