// The widgets the window builds in code around its generated form: the styles, the preview strip,
// the "Globals" tool bar, the status bar's indicators, the rows of item and step buttons, the
// program tabs, the frame and scroll area of the editor panel with the panel itself, and the Edit
// menu's Undo and Redo. It builds them and hands them out; the objects that work with them connect
// them.
#pragma once

#include "scene.h"

#include <QCoreApplication>

#include <array>
#include <memory>

class ArthurStyle;
class MyDockWidget;
class MyFrame;
class MySpin;
class MyStyle;
class QAction;
class QButtonGroup;
class QHBoxLayout;
class QLabel;
class QMainWindow;
class QMenu;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QToolBar;
class SimulatedLm740View;

namespace Ui {
class MainWindow;
}
namespace lm740 {
class ShowDocument;
}

struct WindowWidgets
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)

public:
    // Builds them into `window` and its form; the lamp count and colours come from `document`,
    // whose records hold their defaults by now.
    WindowWidgets(QMainWindow &window, Ui::MainWindow &form, lm740::ShowDocument &document);
    ~WindowWidgets();

    // A program's step buttons, made when its tab is first shown or when they are first asked for.
    QButtonGroup *programSteps(int program);
    // The group of a program's step buttons, empty until they are made; its tab page.
    QButtonGroup *stepGroup(int program) const
    {
        return programWidgets[size_t(program)].stepButtons;
    }
    QWidget *programPage(int program) const { return programWidgets[size_t(program)].tabPage; }

    ArthurStyle *arthurStyle = nullptr;
    MyStyle *myStyle = nullptr;
    MyDockWidget *dockWidget = nullptr;
    // With --simulator: the dock that shows what the simulated controller does; null without.
    SimulatedLm740View *simulatorView = nullptr;

    QMenu *menuEdit = nullptr;
    QAction *actionUndo = nullptr;
    QAction *actionRedo = nullptr;

    QToolBar *globalsToolBar = nullptr;
    QLabel *LedsNumberLabel = nullptr;
    MySpin *LedsNumberSpin = nullptr;
    QPushButton *LedsNumberButton = nullptr;
    QLabel *ScenesTimeLabel = nullptr;
    MySpin *ScenesTimeSpin = nullptr;
    QPushButton *ScenesTimeButton = nullptr;

    QLabel *connectionLabel = nullptr;
    QLabel *onlineLabel = nullptr;
    QProgressBar *progressBar = nullptr;
    QPushButton *helpButton = nullptr;
    QLabel *deviceMessageLabel = nullptr;

    QButtonGroup *sceneButtons = nullptr;
    QButtonGroup *chaserButtons = nullptr;
    QTabWidget *TabProgramProgram = nullptr;
    QHBoxLayout *TabProgramLayout = nullptr;

    // The frame that holds the editor panel's content, and the window's one editor panel.
    MyFrame *SceneFrame = nullptr;
    QHBoxLayout *sceneFrameLayout = nullptr;
    std::unique_ptr<Scene> scene;

private:
    void buildToolBar(QMainWindow &window);
    void buildStatusBar(Ui::MainWindow &form);
    void buildPanelFrame(Ui::MainWindow &form);
    void buildProgramTabs(Ui::MainWindow &form);
    void buildEditMenu(QMainWindow &window, Ui::MainWindow &form);

    // The widgets that belong with each program (its tab page, step layout and step buttons).
    struct ProgramWidgets
    {
        QWidget *tabPage = nullptr;
        QHBoxLayout *stepLayout = nullptr;
        QButtonGroup *stepButtons = nullptr;
    };
    std::array<ProgramWidgets, lm740::kProgramCount> programWidgets;
    const lm740::ShowDocument &m_document;
};
