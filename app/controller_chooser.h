// Which Lm740 the window works with when more than one is connected: the USB menu's Controller
// submenu, the words of the status bar's connection label, and the status poll's search, which
// follows the chosen controller by its name and never moves to another by itself. With one
// controller it stays out of sight and the window works as it always has.
#pragma once

#include "usb_device.h"

#include <QObject>
#include <QStringList>

#include <vector>

class QAction;
class QActionGroup;
class QMenu;

class ControllerChooser : public QObject
{
    Q_OBJECT
public:
    // The submenu goes at the top of `usbMenu`. The link starts on `name` when it is not empty
    // (LM740_DEVICE).
    ControllerChooser(lm740::UsbDevice &device, QMenu *usbMenu, const QString &name,
                      QObject *parent = nullptr);

    // The status poll's search: true when the controller the window works with answered. When the
    // controllers on the bus have changed it names them all again for the submenu, and a window
    // that was working with the only one keeps to it when another comes.
    bool poll();
    // The connection label's text after a poll that found the controller or not.
    QString statusText(bool present) const;
    // The port of the controller the window works with, present or gone; empty while several are
    // connected and none is chosen.
    QString chosenPort() const;

    QMenu *menu() const { return m_menu; }
    const std::vector<lm740::ControllerInfo> &controllers() const { return m_controllers; }

public Q_SLOTS:
    // The user's choice, by port.
    void choose(const QString &port);

Q_SIGNALS:
    // Another controller was chosen: the window polls at once.
    void chosen();

private:
    void rebuildMenu();

    lm740::UsbDevice &m_device;
    QMenu *m_menu;
    QAction *m_separator;
    QActionGroup *m_group;
    QStringList m_ports; // what the last search saw, to tell when to list again
    std::vector<lm740::ControllerInfo> m_controllers;
    QString m_inUse; // the port of the only controller, while the window works with it unnamed
};
