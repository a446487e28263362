// The program's one session with the controller: the USB link on the bus main() chose, which of
// several controllers it reaches, the one-second status poll with its once-per-run checks, online
// mode, the controller's parameters, the record transfers, the run commands and blackout, the
// whole-memory copy and the firmware upgrade. The link does the work; the session shows its
// results on the status bar's indicators and every message through the prompts seam.
#pragma once

#include "controller_link.h"
#include "item.h"
#include "usb_device.h"

#include <QObject>

#include <functional>

class ControllerChooser;
class QLabel;
class QMenu;
class QProgressBar;
class QTimer;
class QWidget;

namespace lm740 {
class ShowDocument;
struct MemoryCopyCallbacks;
struct MemoryCopyResult;
} // namespace lm740

class ControllerSession : public QObject
{
    Q_OBJECT
public:
    // The status bar's widgets that show the link: whether the controller answered, whether online
    // mode is on, the progress of a transfer and the answer to Connect.
    struct Indicators
    {
        QLabel *connection = nullptr;
        QLabel *online = nullptr;
        QProgressBar *progress = nullptr;
        QLabel *deviceMessage = nullptr;
    };

    // The Controller submenu goes into `usbMenu` when several controllers are connected; the
    // questions stand over `window`. The controller's lamp count and scene time are the
    // document's.
    ControllerSession(lm740::ShowDocument &document, QMenu *usbMenu, const Indicators &indicators,
                      QWidget *window);
    ~ControllerSession() override;

    lm740::UsbDevice &device() { return m_device; }
    lm740::ControllerLink &link() { return m_link; }
    ControllerChooser *chooser() const { return m_chooser; }
    QTimer *pollTimer() const { return m_pollTimer; }

    // The poll every second from now on, and one at once.
    void startPoll();
    // Whether the controller the window works with answers; the connection label says so first,
    // then the once-per-run notices and the firmware release check follow.
    bool poll();
    // Whether the controller answered at the last poll (true before the first one).
    bool answered() const { return m_answered; }

    bool online() const { return m_online; }
    void setOnline(bool online);
    // Online mode is on, no pass over the whole memory runs, and a poll finds the controller.
    bool ready();

    // Settings memory bytes, with the link's retries; -1 on failure.
    char getByte(unsigned short page, unsigned short offset);
    int getBytes(int address, char *dest, int length);
    int setByte(int address, unsigned char byte);
    void openDevice();
    void closeDevice();
    void readId();

    // The parameters of the settings header: the value read, or 1 when written; -1, after an
    // error box where the parameter has one, on failure.
    enum class Parameter { ColorMode, SceneTime, LampCount, NumberNow };
    int readParameter(Parameter parameter);
    int writeParameter(Parameter parameter, char value);
    // The document's scene time and lamp count to the controller; both sent, they are kept.
    void sendGlobals();

    // The record transfers: 0, or -1 after the error box. The progress bar follows them.
    int writeScene(const QColor *colors, int scene, int lamps);
    int readScene(QColor *colors, int scene, int lamps);
    int writeChaser(const t_chaser *chaser, int number, int lamps);
    int readChaser(t_chaser *chaser, int number, int lamps);
    int writeProgramStep(const t_program *program, int number, int step, int lamps);
    int readProgramStep(t_program *program, int number, int step, int lamps);
    int writeProgram(const t_program *program, int number, int lamps);
    int readProgram(t_program *program, int number, int lamps);

    // The record of `item` to or from the controller, as its kind travels (item_kinds.h): 0, or
    // -1 after the error box. A read stores into `into` only when all of it arrived.
    int writeRecord(const lm740::Show &show, lm740::Item item, int lamps);
    int readRecord(lm740::Show &into, lm740::Item item, int lamps);
    // The controller plays `item` (a program step: its program).
    int run(lm740::Item item);

    int runScene(int scene);
    int runChaser(int chaser);
    int runProgram(int program);
    // Blacks the lamps out and says in the status line whether the controller heard it.
    void blackout();

    // USB > Read Settings: the whole memory into a .set file the user chooses.
    void readMemoryToFile();
    // USB > Write Settings: a .set file into the whole memory, after a dated backup of what it
    // held. True when the controller now holds the file.
    bool writeFileToMemory();
    // USB > Upgrade Lm740, with the poll held until it ends.
    void upgrade();
    // 0 when `fileName` is an upgrade file whose check sum is right, else -1.
    static int checkUpgradeFile(const QString &fileName);
    // 0 when the controller holds the image of `fileName`, else -1.
    int verifyUpgrade(const QString &fileName);

Q_SIGNALS:
    // A command's short confirmation for the status line.
    void confirmed(const QString &text);
    // After each poll, before its notices: whether the controller answered.
    void polled(bool present);

private:
    int transferResult(int result, const char *errorText);
    std::function<void(int)> progressBar();
    enum class Upgrade { Done, Failed, NotStarted };
    Upgrade upgradeFirmware();

    lm740::ShowDocument &m_document;
    QWidget *m_window;
    Indicators m_indicators;
    lm740::UsbDevice m_device;
    lm740::ControllerLink m_link{m_device};
    ControllerChooser *m_chooser = nullptr;
    QTimer *m_pollTimer = nullptr;
    bool m_answered = true;
    bool m_online = false;
    // The firmware release is checked at the first poll that finds the controller, and again
    // for each controller chosen in USB > Controller; the notice that the controller is there
    // but may not be opened is shown once.
    bool m_releaseUnchecked = true;
    bool m_permissionNoticeShown = false;
};
