#include "main_window.h"

#include "item_kinds.h"
#include "navigator.h"
#include "pattern_actions.h"

#include "arthur_style.h"
#include "controller_chooser.h"
#include "logging.h"
#include "my_dock_widget.h"
#include "my_frame.h"
#include "my_spin.h"
#include "my_style.h"
#include "prompts.h"
#include "simulated_lm740_view.h"
#include "version.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>
#include <utility>

namespace {

// The area around the editor panel scrolls by its bar and the wheel only. Its own arrow and page
// keys would take the window's keyboard commands (Ctrl+Up, Ctrl+PageUp and the rest) away before
// the window saw them, so every key travels on to the window.
class PanelScrollArea : public QScrollArea
{
public:
    PanelScrollArea() { setFocusPolicy(Qt::NoFocus); }

protected:
    void keyPressEvent(QKeyEvent *e) override { e->ignore(); }
};

// Fills `layout` with a row of checkable buttons, the first one checked and one at a time in
// `group`: the scenes, the chasers, the steps of a program. `label` takes the number from 1 for its
// %1.
void fillButtonRow(QButtonGroup *group, QBoxLayout *layout, int count, const QString &label,
                   int minimumWidth, QStyle *style)
{
    for (int i = 0; i < count; ++i) {
        auto *b = new QPushButton(label.arg(i + 1));
        b->setMinimumSize(minimumWidth, 20);
        b->setCheckable(true);
        b->setStyle(style);
        group->addButton(b, i);
        layout->addWidget(b);
    }
    group->button(0)->setChecked(true);
}

// An empty row on `page`: its exclusive group and its layout.
std::pair<QButtonGroup *, QHBoxLayout *> emptyButtonRow(QWidget *page, QObject *groupParent)
{
    auto *group = new QButtonGroup(groupParent);
    group->setExclusive(true);
    auto *layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return {group, layout};
}

QButtonGroup *buttonRow(QWidget *page, QObject *groupParent, int count, const QString &label,
                        int minimumWidth, QStyle *style)
{
    const auto [group, layout] = emptyButtonRow(page, groupParent);
    fillButtonRow(group, layout, count, label, minimumWidth, style);
    return group;
}

} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    qCDebug(lcApp) << "MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)";
    setupUi(this);

    setMinimumSize(750, 550);
    setGeometry(50, 50, 850, 750);

    arthurStyle = new ArthurStyle(this);
    // The mark shows while the show has edits that were not kept.
    setWindowTitle(tr("Lm740 ver. %1").arg(QStringLiteral(LM740_VERSION)) + QStringLiteral("[*]"));
    myStyle = new MyStyle(this);
    TabWidget->setStyle(myStyle);

    document.show().ledsNumber = lm740::kDefaultLamps;
    document.show().actualSceneNumber = 0;

    dockWidget = new MyDockWidget(this);
    dockWidget->setMinimumSize(600, 20);
    addDockWidget(Qt::TopDockWidgetArea, dockWidget);

    buildToolBar();
    buildStatusBar();
    connectSession();

    SceneFrame = new MyFrame(nullptr, QColor(Qt::black), -1);
    SceneFrame->setFrameStyle(QFrame::Raised);
    SceneFrame->setFrameShape(QFrame::StyledPanel);
    auto *central = new QVBoxLayout(centralwidget);
    central->setContentsMargins(0, 0, 0, 0);
    central->setSpacing(0);
    central->addWidget(TabWidget);
    // The panel needs its whole height: in a short window, or below a preview strip dragged
    // taller, the lamps' sliders, minus buttons and DMX addresses would be cut off. The area that
    // holds it scrolls vertically instead.
    auto *sceneScroll = new PanelScrollArea;
    sceneScroll->setObjectName("SceneScroll");
    sceneScroll->setFrameShape(QFrame::NoFrame);
    sceneScroll->setWidgetResizable(true);
    sceneScroll->setWidget(SceneFrame);
    central->addWidget(sceneScroll, 1);
    sceneFrameLayout = new QHBoxLayout(SceneFrame);
    sceneFrameLayout->setContentsMargins(3, 3, 3, 3);
    sceneFrameLayout->setSpacing(3);

    buildItemButtons();
    buildScenePanel();

    connect(actionAbout, &QAction::triggered, this, &MainWindow::About);
    connect(actionHelp, &QAction::triggered, this, &MainWindow::Help);
    qCDebug(lcApp) << "MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent) Connectionns";

    buildProgramTabs();
    for (t_program &program : document.show().programs)
        lm740::setDefaults(program);

    connectNavigation();
    connectDocument();
    buildEditMenu();
    TabChanged(0);
    // The show a fresh start shows is kept as it is: nothing to lose yet.
    document.reset();
    m_session->startPoll();
    setUpDesktop();
    m_recovery = new CrashRecovery(document, this);
    connectFiles();
    // Edit > Pattern... and Layout..., the Pattern button and the layout kept with the show.
    new PatternActions(*this);

    qCDebug(lcApp) << "MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent) End";
}

void MainWindow::connectSession()
{
    m_session = new ControllerSession(
        document, menuUSB, {connectionLabel, onlineLabel, progressBar, deviceMessageLabel}, this);
    connect(m_session, &ControllerSession::polled, this, [this] {
        if (simulatorView)
            simulatorView->watch(m_session->chooser()->chosenPort());
    });
    connect(actionUsbConnect, &QAction::triggered, this, &MainWindow::UsbConnect);
    connect(actionUsbDisconnect, &QAction::triggered, this, &MainWindow::UsbDisconnect);
    connect(actionUsbGetLmId, &QAction::triggered, this, &MainWindow::UsbGetLmId);
    connect(actionGetColorMode, &QAction::triggered, this, &MainWindow::GetColorMode);
    connect(actionGetGlobalSceneTime, &QAction::triggered, this, &MainWindow::GetGlobalSceneTime);
    connect(actionGetLampsNumber, &QAction::triggered, this, &MainWindow::GetLampsNumber);
    connect(actionGetNumberNow, &QAction::triggered, this, &MainWindow::GetNumberNow);
    connect(actionReadDataFlash, &QAction::triggered, this, &MainWindow::File_Read_Settings);
    connect(actionWriteDataFlash, &QAction::triggered, this, &MainWindow::File_Write_Settings);
    connect(actionUpgradeLm740, &QAction::triggered, this, &MainWindow::UpgradeLm740);
}

void MainWindow::File_Write_Settings(bool)
{
    // Online, the window follows what the controller holds now, as when it went online: its
    // lamps and items would otherwise go back over the new memory at the next switch. What it
    // brings is a read from the controller, and is named so in the Edit menu.
    if (m_session->writeFileToMemory() && m_session->online() && m_session->poll())
        followController(tr("Read from Lm740"));
}

MainWindow::~MainWindow()
{
    m_desktop->keepWindowPlace();
    // Taking the window down moves the keyboard focus, and a spin box that loses it reports
    // editingFinished after this body has run, while the panel and the device link are already
    // gone. No signal of the window's own widgets or panel may reach it from here on.
    for (QObject *child : findChildren<QObject *>())
        child->disconnect(this);
    if (scene)
        scene->disconnect(this);
    qApp->removeEventFilter(this);
    document.disconnect(this);
    // The navigator, a child of the window, outlives the panel it loads.
    document.disconnect(navigator);
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

void MainWindow::connectFiles()
{
    m_files = new ShowFiles(document, *navigator, *m_session, *m_desktop, *m_recovery, this);
    connect(m_files, &ShowFiles::kindShown, this,
            [this](lm740::ItemKind kind) { TabWidget->setCurrentIndex(int(kind)); });
    const std::pair<QAction *, void (MainWindow::*)(bool)> commands[] = {
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
}

void MainWindow::buildToolBar()
{
    globalsToolBar = new QToolBar(tr("Globals"), this);
    globalsToolBar->setObjectName(QStringLiteral("Globals"));
    globalsToolBar->setOrientation(Qt::Vertical);
    globalsToolBar->setMovable(true);

    LedsNumberLabel = new QLabel(QCoreApplication::translate("App", "RGB Lamps Number"));
    LedsNumberSpin = new MySpin;
    LedsNumberSpin->setObjectName(QStringLiteral("LedsNumberSpin"));
    LedsNumberSpin->setRange(lm740::kMinLamps, lm740::kMaxLamps);
    LedsNumberSpin->setValue(document.show().ledsNumber);
    LedsNumberSpin->setToolTip(QCoreApplication::translate("App", "Number of RGB lamps"));
    LedsNumberButton = new QPushButton(QCoreApplication::translate("App", "OK"));
    LedsNumberButton->setMaximumSize(40, 40);
    LedsNumberButton->setStyle(arthurStyle);
    LedsNumberButton->setAccessibleName(QCoreApplication::translate("App", "OK, lamp count"));

    ScenesTimeLabel = new QLabel(QCoreApplication::translate("App", "Scenes Time"));
    ScenesTimeSpin = new MySpin;
    ScenesTimeSpin->setObjectName(QStringLiteral("ScenesTimeSpin"));
    ScenesTimeSpin->setRange(lm740::kMinSceneTime, lm740::kMaxSceneTime);
    ScenesTimeSpin->setSingleStep(1);
    ScenesTimeSpin->setSuffix(QCoreApplication::translate("App", "s"));
    ScenesTimeSpin->setValue(1);
    ScenesTimeSpin->setToolTip(QCoreApplication::translate("App", "Global Scene Time"));
    ScenesTimeButton = new QPushButton(QCoreApplication::translate("App", "OK"));
    ScenesTimeButton->setStyle(arthurStyle);
    ScenesTimeButton->setMaximumSize(40, 50);
    ScenesTimeButton->setAccessibleName(
        QCoreApplication::translate("App", "OK, global scene time"));
    // OK applies what its box holds. A click with the mouse takes the focus from the box, whose
    // end of editing has applied the value already; a click that leaves the focus in the box
    // (the keyboard's, an assistive tool's) applies it here.
    connect(LedsNumberButton, &QPushButton::clicked, this, [this] {
        if (LedsNumberSpin->value() != document.show().ledsNumber)
            LampsSpinChanged();
    });
    connect(ScenesTimeButton, &QPushButton::clicked, this, [this] {
        if (ScenesTimeSpin->value() != document.show().sceneTime)
            ScenesTimeSpinChanged(ScenesTimeSpin->value());
    });
    // The window's keyboard commands work on the editor panel; these two boxes are no part of it.
    LedsNumberSpin->setKeepsEditingKeys(true);
    ScenesTimeSpin->setKeepsEditingKeys(true);

    // A little air between the two groups so that the bar reads as two settings.
    LedsNumberLabel->setContentsMargins(6, 0, 4, 0);
    ScenesTimeLabel->setContentsMargins(16, 0, 4, 0);

    // A screen reader names each box after its label.
    LedsNumberLabel->setBuddy(LedsNumberSpin);
    ScenesTimeLabel->setBuddy(ScenesTimeSpin);
    globalsToolBar->addWidget(LedsNumberLabel);
    globalsToolBar->addWidget(LedsNumberSpin);
    globalsToolBar->addWidget(LedsNumberButton);
    globalsToolBar->addWidget(ScenesTimeLabel);
    globalsToolBar->addWidget(ScenesTimeSpin);
    globalsToolBar->addWidget(ScenesTimeButton);
    addToolBar(Qt::TopToolBarArea, globalsToolBar);
}

void MainWindow::buildStatusBar()
{
    statusbar->setMaximumHeight(20);

    progressBar = new QProgressBar;
    progressBar->setObjectName(QStringLiteral("progressBar"));
    progressBar->setRange(0, 100);
    progressBar->setValue(0);
    progressBar->setGeometry(0, 0, 200, 20);
    progressBar->setStyle(arthurStyle);

    connectionLabel = new QLabel;
    connectionLabel->setObjectName(QStringLiteral("connectionLabel"));
    QFont bold = connectionLabel->font();
    bold.setBold(true);
    connectionLabel->setFont(bold);

    onlineLabel = new QLabel(tr("Offline"));
    onlineLabel->setObjectName(QStringLiteral("onlineLabel"));
    onlineLabel->setFont(bold);
    QPalette red = onlineLabel->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    onlineLabel->setPalette(red);

    helpButton = new QPushButton;
    helpButton->setObjectName(QStringLiteral("helpButton"));
    helpButton->setMinimumSize(15, 15);
    helpButton->setMaximumSize(18, 18);
    helpButton->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Minimum);
    helpButton->setIcon(QIcon(QStringLiteral(":/res/images/help.png")));
    helpButton->setToolTip(tr("Help"));
    helpButton->setFlat(true);
    connect(helpButton, &QPushButton::clicked, this, &MainWindow::Help);

    deviceMessageLabel = new QLabel;
    deviceMessageLabel->setObjectName(QStringLiteral("deviceMessageLabel"));

    // Room around the texts, so that the connection and online states never run together.
    connectionLabel->setContentsMargins(4, 0, 12, 0);
    onlineLabel->setContentsMargins(4, 0, 12, 0);
    deviceMessageLabel->setContentsMargins(8, 0, 4, 0);

    statusbar->addWidget(connectionLabel, 100);
    statusbar->addWidget(onlineLabel, 100);
    statusbar->addWidget(progressBar, 200);
    statusbar->addWidget(helpButton, 0);
    statusbar->addWidget(deviceMessageLabel, 100);
}

void MainWindow::buildItemButtons()
{
    sceneButtons = buttonRow(TabScenes, this, lm740::kSceneCount,
                             QCoreApplication::translate("App", "Scene %1"), 40, arthurStyle);
    for (lm740::ColorArray &scene : document.show().sceneColors)
        lm740::setLampsBlack(scene);

    chaserButtons = buttonRow(TabChasers, this, lm740::kChaserCount,
                              QCoreApplication::translate("App", "Chaser %1"), 40, arthurStyle);
    for (t_chaser &chaser : document.show().chasers)
        lm740::setDefaults(chaser);
}

void MainWindow::buildProgramTabs()
{
    TabProgramProgram = new QTabWidget;
    TabProgramProgram->setObjectName(QStringLiteral("TabProgramProgram"));
    TabProgramLayout = new QHBoxLayout;
    TabProgramLayout->setContentsMargins(0, 0, 0, 0);
    TabProgramLayout->setSpacing(0);
    for (int p = 0; p < lm740::kProgramCount; ++p) {
        ProgramWidgets &pw = programWidgets[p];
        pw.tabPage = new QWidget;
        TabProgramProgram->addTab(pw.tabPage,
                                  QCoreApplication::translate("App", "Program %1").arg(p + 1));
        // The 124 step buttons wait until their tab is first shown (or asked for): the window
        // opens on the scenes.
        std::tie(pw.stepButtons, pw.stepLayout) = emptyButtonRow(pw.tabPage, pw.tabPage);
    }
    TabProgramLayout->addWidget(TabProgramProgram);
    TabPrograms->setLayout(TabProgramLayout);
}

QButtonGroup *MainWindow::programSteps(int program)
{
    ProgramWidgets &pw = programWidgets[size_t(program)];
    if (pw.stepButtons->buttons().isEmpty()) {
        fillButtonRow(pw.stepButtons, pw.stepLayout, lm740::kProgramSteps,
                      QCoreApplication::translate("App", "%1"), 20, arthurStyle);
        for (int step = 0; step < lm740::kProgramSteps; ++step)
            pw.stepButtons->button(step)->setAccessibleName(
                lm740::kindRow(lm740::ItemKind::ProgramStep)
                    .name(lm740::Item::programStep(program, step)));
        // The step chosen before the buttons were made.
        if (QAbstractButton *chosen = pw.stepButtons->button(document.chosenStep(program)))
            chosen->setChecked(true);
        // Made while their tab is being shown, the buttons must be shown by hand.
        if (pw.tabPage->isVisible())
            for (QAbstractButton *b : pw.stepButtons->buttons())
                b->show();
    }
    return pw.stepButtons;
}

void MainWindow::resizeEvent(QResizeEvent *)
{
    // Resizing has no effect of the window's own; the layouts do the work.
}
