// The program's one window: it owns the show, the editor panel, the device link, the preview strip,
// the menus, tabs, tool bar and status bar, and receives every user command as a slot.
#pragma once

#include "controller_link.h"
#include "scene.h"
#include "show.h"
#include "ui_main_window.h"
#include "usb_device.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

class QButtonGroup;
class QHBoxLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class ArthurStyle;
class MyStyle;
class QTabWidget;
class QTimer;
class QToolBar;
class QFrame;
class MyDockWidget;
class MyFrame;
class MySpin;

class MainWindow : public QMainWindow, public Ui::MainWindow, public lm740::Show
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // The widgets that belong with each program record (its tab page, step layout and step
    // buttons).
    struct ProgramWidgets
    {
        QWidget *tabPage = nullptr;
        QHBoxLayout *stepLayout = nullptr;
        QButtonGroup *stepButtons = nullptr;
    };
    std::array<ProgramWidgets, lm740::kProgramCount> programWidgets;

    // Styles
    ArthurStyle *arthurStyle = nullptr;
    MyStyle *myStyle = nullptr;

    // Flags that gate device work.
    bool onlineFlag = false;
    bool connectedFlag = true;

    // Preview strip
    MyDockWidget *dockWidget = nullptr;

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

    // Starts the help viewer; replaceable so that tests see what would be started.
    std::function<bool(const QString &program, const QStringList &arguments)> startDetached;

    // The manual that Help opens: the help file in the working directory when it is there,
    // otherwise the HTML manual installed with the program.
    static QString helpFile();

public Q_SLOTS:
    // Help and About
    void Help(bool checked = false);
    void About(bool checked = false);

    // ---- Device link: memory access, identification, status poll and parameters ----
public:
    // The one link to the controller, on the bus main() chose (real USB or the simulator), and
    // what turns it into settings memory bytes and records.
    lm740::UsbDevice usbDevice;
    lm740::ControllerLink controllerLink{usbDevice};
    // Polls the controller every second from the end of construction (USBCheckStatus).
    QTimer *statusTimer = nullptr;
    // The firmware release is checked once per program run, at the first poll that finds the
    // controller; so is the notice that the controller is there but may not be opened.
    static inline bool firstStatusCheck = true;
    static inline bool permissionNoticeShown = false;

public Q_SLOTS:
    char UsbGetByte(unsigned short page, unsigned short offset);
    int UsbGetBytes(int AVR_mem_address, char *dest, int length);
    int UsbSetByte(int AVR_mem_address, unsigned char byte);
    void UsbConnect(bool);
    void UsbDisconnect(bool);
    void UsbGetLmId(bool);
    bool USBCheckStatus();
    int release2int(QString text);

    int UsbGetColorMode();
    int UsbSetColorMode(char value);
    int UsbGetGlobalSceneTime();
    int UsbSetGlobalSceneTime(char value);
    int UsbGetLampsNumber();
    int UsbSetLampsNumber(char value);
    int UsbGetNumberNow();
    void GetColorMode(bool);
    void GetGlobalSceneTime(bool);
    void GetLampsNumber(bool);
    void GetNumberNow(bool);

private:
    void setUpDeviceLink(); // constructor: the controller's ids and the device actions
    void startStatusPoll(); // constructor, at its end: the timer and a first poll
    // ---- end of the device link ----

    // ---- Whole-memory copy (main_window_memory_copy.cpp) and the firmware upgrade
    // (main_window_upgrade.cpp) ----
public Q_SLOTS:
    void File_Read_Settings(bool);
    void File_Write_Settings(bool);
    void UpgradeLm740(bool);
    int upgrade_verify(QString fileName);
    int check_file(QString fileName);

private:
    void connectMemoryCopy();
    void connectUpgrade();
    enum class Upgrade { Done, Failed, NotStarted };
    // Everything of UpgradeLm740 between holding the status poll and the last message.
    Upgrade upgradeFirmware();
    // ---- end of the whole-memory copy and the upgrade ----

protected:
    void resizeEvent(QResizeEvent *event) override;

    // ---- The editor panel and the keyboard commands (main_window_editing.cpp) ----
public:
    // The window's one editor panel; its content sits in SceneFrame.
    std::unique_ptr<Scene> scene;

protected:
    void keyPressEvent(QKeyEvent *e) override;

private:
    void buildScenePanel();
    // A fresh window shows scene 1 in scene mode, with the global scene time.
    void showFirstScene();
    // ---- end of the editor panel block ----

private:
    void buildToolBar();
    void buildStatusBar();
    void buildItemButtons();
    void buildProgramTabs();
};
