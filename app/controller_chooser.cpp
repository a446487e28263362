#include "controller_chooser.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>

using lm740::ControllerInfo;
using lm740::UsbDevice;

ControllerChooser::ControllerChooser(UsbDevice &device, QMenu *usbMenu, const QString &name,
                                     QObject *parent)
    : QObject(parent), m_device(device), m_menu(new QMenu(tr("Co&ntroller"), usbMenu)),
      m_group(new QActionGroup(this))
{
    m_menu->setObjectName(QStringLiteral("menuController"));
    m_menu->menuAction()->setObjectName(QStringLiteral("menuController"));
    QAction *first = usbMenu->actions().value(0);
    usbMenu->insertMenu(first, m_menu);
    m_separator = usbMenu->insertSeparator(first);
    m_group->setExclusive(true);
    // Nobody chooses for the user: with several and no name, the link reaches none of them.
    m_device.setChoiceRequired(true);
    m_device.setName(name);
    rebuildMenu();
}

bool ControllerChooser::poll()
{
    bool present = m_device.open() != -1;
    if (m_device.name().isEmpty() && present)
        m_inUse = m_device.openPort();
    else if (m_device.name().isEmpty() &&
             m_device.lastSearchResult() != UsbDevice::SearchResult::Several)
        m_inUse.clear(); // it went while it was the only one: whichever comes next is new

    const QStringList ports = m_device.lastSearchPorts();
    if (ports == m_ports)
        return present;
    m_ports = ports;
    const bool named = !m_device.name().isEmpty();
    m_controllers.clear();
    if (ports.size() >= 2 || named)
        m_controllers = m_device.listControllers(); // it leaves the link closed
    if (!named && m_controllers.size() >= 2 && !m_inUse.isEmpty()) {
        for (const ControllerInfo &c : m_controllers)
            if (c.port == m_inUse)
                m_device.setName(m_inUse);
    }
    rebuildMenu();
    return m_controllers.empty() ? present : m_device.open() != -1;
}

QString ControllerChooser::statusText(bool present) const
{
    const QString name = m_device.name();
    if (name.isEmpty()) {
        if (!present && m_device.lastSearchResult() == UsbDevice::SearchResult::Several)
            return tr("%1 Lm740s connected: choose one in USB > Controller")
                .arg(m_controllers.size() >= 2 ? int(m_controllers.size()) : 2);
        return present ? QCoreApplication::translate("MainWindow", "Lm740 Connected")
                       : QCoreApplication::translate("MainWindow", "Lm740 Not connected");
    }
    QString label = name;
    for (const ControllerInfo &c : m_controllers)
        if (c.isNamed(name))
            label = c.label();
    return present ? tr("Lm740 %1 Connected").arg(label) : tr("Lm740 %1 is gone").arg(name);
}

QString ControllerChooser::chosenPort() const
{
    const QString name = m_device.name();
    for (const ControllerInfo &c : m_controllers)
        if (c.isNamed(name))
            return c.port;
    return name.isEmpty() ? m_inUse : name; // a name that is gone may still be its port
}

void ControllerChooser::choose(const QString &port)
{
    if (port == m_device.name())
        return;
    m_device.setName(port);
    rebuildMenu();
    emit chosen();
}

void ControllerChooser::rebuildMenu()
{
    // An entry may be the one whose triggered() is running now: it goes when control is back.
    for (QAction *old : m_menu->actions()) {
        m_menu->removeAction(old);
        m_group->removeAction(old);
        old->deleteLater();
    }
    const QString name = m_device.name();
    bool chosenListed = false;
    for (const ControllerInfo &c : m_controllers) {
        QAction *action = m_menu->addAction(c.label());
        action->setCheckable(true);
        action->setChecked(c.isNamed(name));
        chosenListed = chosenListed || c.isNamed(name);
        m_group->addAction(action);
        const QString port = c.port;
        connect(action, &QAction::triggered, this, [this, port] { choose(port); });
    }
    if (!name.isEmpty() && !chosenListed) {
        QAction *gone = m_menu->addAction(tr("%1 (gone)").arg(name));
        gone->setCheckable(true);
        gone->setChecked(true);
        gone->setEnabled(false);
        m_group->addAction(gone);
    }
    const bool shown = m_controllers.size() >= 2 || !name.isEmpty();
    m_menu->menuAction()->setVisible(shown);
    m_separator->setVisible(shown);
}
