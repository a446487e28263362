#include "window_widgets.h"

#include "arthur_style.h"
#include "item_kinds.h"
#include "my_dock_widget.h"
#include "my_frame.h"
#include "my_spin.h"
#include "my_style.h"
#include "show_document.h"
#include "ui_main_window.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

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

// A spin box of the tool bar with its label (named after it for a screen reader) and OK button.
std::tuple<QLabel *, MySpin *, QPushButton *> globalsRow(const QString &label, const char *name,
                                                         int minimum, int maximum,
                                                         const QString &tip, const QString &okName,
                                                         QStyle *style)
{
    auto *text = new QLabel(label);
    auto *spin = new MySpin;
    spin->setObjectName(QLatin1String(name));
    spin->setRange(minimum, maximum);
    spin->setToolTip(tip);
    // The window's keyboard commands work on the editor panel; these boxes are no part of it.
    spin->setKeepsEditingKeys(true);
    text->setBuddy(spin);
    auto *ok = new QPushButton(QCoreApplication::translate("App", "OK"));
    ok->setStyle(style);
    ok->setAccessibleName(okName);
    return {text, spin, ok};
}

} // namespace

WindowWidgets::WindowWidgets(QMainWindow &window, Ui::MainWindow &form,
                             lm740::ShowDocument &document)
    : m_document(document)
{
    arthurStyle = new ArthurStyle(&window);
    myStyle = new MyStyle(&window);
    form.TabWidget->setStyle(myStyle);

    dockWidget = new MyDockWidget(&window);
    dockWidget->setMinimumSize(600, 20);
    // saveState() knows the docks and tool bars by their names.
    dockWidget->setObjectName(QStringLiteral("previewStrip"));
    window.addDockWidget(Qt::TopDockWidgetArea, dockWidget);

    buildToolBar(window);
    buildStatusBar(form);
    buildPanelFrame(form);

    sceneButtons = buttonRow(form.TabScenes, &window, lm740::kSceneCount,
                             QCoreApplication::translate("App", "Scene %1"), 40, arthurStyle);
    chaserButtons = buttonRow(form.TabChasers, &window, lm740::kChaserCount,
                              QCoreApplication::translate("App", "Chaser %1"), 40, arthurStyle);

    // The window shows first and the lamp controls follow: a lamp control costs as much to build
    // and paint as the rest of the window together.
    scene = std::make_unique<Scene>(nullptr, 0, nullptr);
    scene->holdLampsUntilShown();
    scene->addLamps(uint(document.show().ledsNumber), document.show().sceneColors[0].data());
    sceneFrameLayout->addWidget(scene->contentWidget());
    QObject::connect(scene.get(), &Scene::progress, progressBar, &QProgressBar::setValue);

    buildProgramTabs(form);
    buildEditMenu(window, form);
}

WindowWidgets::~WindowWidgets() = default;

void WindowWidgets::buildToolBar(QMainWindow &window)
{
    globalsToolBar = new QToolBar(tr("Globals"), &window);
    globalsToolBar->setObjectName(QStringLiteral("Globals"));
    globalsToolBar->setOrientation(Qt::Vertical);
    globalsToolBar->setMovable(true);

    std::tie(LedsNumberLabel, LedsNumberSpin, LedsNumberButton) = globalsRow(
        QCoreApplication::translate("App", "RGB Lamps Number"), "LedsNumberSpin", lm740::kMinLamps,
        lm740::kMaxLamps, QCoreApplication::translate("App", "Number of RGB lamps"),
        QCoreApplication::translate("App", "OK, lamp count"), arthurStyle);
    LedsNumberSpin->setValue(m_document.show().ledsNumber);
    LedsNumberButton->setMaximumSize(40, 40);

    std::tie(ScenesTimeLabel, ScenesTimeSpin, ScenesTimeButton) = globalsRow(
        QCoreApplication::translate("App", "Scenes Time"), "ScenesTimeSpin", lm740::kMinSceneTime,
        lm740::kMaxSceneTime, QCoreApplication::translate("App", "Global Scene Time"),
        QCoreApplication::translate("App", "OK, global scene time"), arthurStyle);
    ScenesTimeSpin->setSingleStep(1);
    ScenesTimeSpin->setSuffix(QCoreApplication::translate("App", "s"));
    ScenesTimeSpin->setValue(1);
    ScenesTimeButton->setMaximumSize(40, 50);

    // A little air between the two groups so that the bar reads as two settings.
    LedsNumberLabel->setContentsMargins(6, 0, 4, 0);
    ScenesTimeLabel->setContentsMargins(16, 0, 4, 0);

    for (QWidget *w :
         std::initializer_list<QWidget *>{LedsNumberLabel, LedsNumberSpin, LedsNumberButton,
                                          ScenesTimeLabel, ScenesTimeSpin, ScenesTimeButton})
        globalsToolBar->addWidget(w);
    window.addToolBar(Qt::TopToolBarArea, globalsToolBar);
}

void WindowWidgets::buildStatusBar(Ui::MainWindow &form)
{
    form.statusbar->setMaximumHeight(20);

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

    deviceMessageLabel = new QLabel;
    deviceMessageLabel->setObjectName(QStringLiteral("deviceMessageLabel"));

    // Room around the texts, so that the connection and online states never run together.
    connectionLabel->setContentsMargins(4, 0, 12, 0);
    onlineLabel->setContentsMargins(4, 0, 12, 0);
    deviceMessageLabel->setContentsMargins(8, 0, 4, 0);

    form.statusbar->addWidget(connectionLabel, 100);
    form.statusbar->addWidget(onlineLabel, 100);
    form.statusbar->addWidget(progressBar, 200);
    form.statusbar->addWidget(helpButton, 0);
    form.statusbar->addWidget(deviceMessageLabel, 100);
}

void WindowWidgets::buildPanelFrame(Ui::MainWindow &form)
{
    SceneFrame = new MyFrame(nullptr, QColor(Qt::black), -1);
    SceneFrame->setFrameStyle(QFrame::Raised);
    SceneFrame->setFrameShape(QFrame::StyledPanel);
    auto *central = new QVBoxLayout(form.centralwidget);
    central->setContentsMargins(0, 0, 0, 0);
    central->setSpacing(0);
    central->addWidget(form.TabWidget);
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
}

void WindowWidgets::buildProgramTabs(Ui::MainWindow &form)
{
    TabProgramProgram = new QTabWidget;
    TabProgramProgram->setObjectName(QStringLiteral("TabProgramProgram"));
    TabProgramLayout = new QHBoxLayout;
    TabProgramLayout->setContentsMargins(0, 0, 0, 0);
    TabProgramLayout->setSpacing(0);
    for (int p = 0; p < lm740::kProgramCount; ++p) {
        ProgramWidgets &pw = programWidgets[size_t(p)];
        pw.tabPage = new QWidget;
        TabProgramProgram->addTab(pw.tabPage,
                                  QCoreApplication::translate("App", "Program %1").arg(p + 1));
        // The 124 step buttons wait until their tab is first shown (or asked for): the window
        // opens on the scenes.
        std::tie(pw.stepButtons, pw.stepLayout) = emptyButtonRow(pw.tabPage, pw.tabPage);
    }
    TabProgramLayout->addWidget(TabProgramProgram);
    form.TabPrograms->setLayout(TabProgramLayout);
}

QButtonGroup *WindowWidgets::programSteps(int program)
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
        if (QAbstractButton *chosen = pw.stepButtons->button(m_document.chosenStep(program)))
            chosen->setChecked(true);
        // Made while their tab is being shown, the buttons must be shown by hand.
        if (pw.tabPage->isVisible())
            for (QAbstractButton *b : pw.stepButtons->buttons())
                b->show();
    }
    return pw.stepButtons;
}

void WindowWidgets::buildEditMenu(QMainWindow &window, Ui::MainWindow &form)
{
    menuEdit = new QMenu(tr("&Edit"), &window);
    menuEdit->setObjectName(QStringLiteral("menuEdit"));
    form.menubar->insertMenu(form.menuScenes->menuAction(), menuEdit);
    actionUndo = menuEdit->addAction(tr("&Undo"));
    actionUndo->setObjectName(QStringLiteral("actionUndo"));
    actionUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    actionRedo = menuEdit->addAction(tr("&Redo"));
    actionRedo->setObjectName(QStringLiteral("actionRedo"));
    // The same keys on every desktop (the platform's own list differs between them), as the
    // manual names them.
    actionRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    actionUndo->setEnabled(false);
    actionRedo->setEnabled(false);
}
