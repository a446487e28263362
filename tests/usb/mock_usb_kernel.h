// A Linux USB stack made of simulated controllers: each one appears in a mocked sysfs and /dev
// (umockdev), and every usbdevfs request on its device node (configuration, interfaces, URBs
// submitted, reaped and discarded) is answered here from the SimController. libusb-1.0 then runs
// its real Linux backend against it. The program must run under umockdev-wrapper.
#pragma once

#include "sim_controller.h"

#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <mutex>
#include <vector>

struct _UMockdevTestbed;
struct _UMockdevIoctlBase;
struct _UMockdevIoctlClient;
struct _UMockdevIoctlData;

namespace lm740 {

class MockUsbKernel;

// One plugged-in device: its place in sysfs, its node, and what the kernel was asked on it.
class MockUsbPort
{
public:
    int busNumber() const { return m_bus; }
    int address() const { return m_address; }

    // What was asked of the kernel on this device, in order: "open", "config 1", "claim 0",
    // "control", "bulk 02", "discard", "release 0"; a refused request carries the errno it got
    // ("claim 0: EBUSY"). Reaping is not noted: libusb polls for it.
    QStringList log() const;
    void clearLog();
    // Files of this process open on the node now. (umockdev does not tell of a close.)
    int openFiles() const;
    // The node refuses to be opened (EACCES) by the calling thread, even when it runs as root.
    void denyOpen(bool deny);
    // Another program holds interface 0: claiming it fails with EBUSY.
    void setInterfaceBusy(bool busy);
    // The cable is pulled while the next URB is in flight: it ends with ESHUTDOWN and every later
    // request on the node with ENODEV.
    void unplugDuringNextTransfer();
    int configuration() const;

private:
    friend class MockUsbKernel;
    friend struct MockUsbPortAccess;
    struct Client
    {
        std::vector<int> claimed;
        std::vector<_UMockdevIoctlData *> inFlight; // never answered: waiting for a discard
        std::vector<_UMockdevIoctlData *> done;     // to be reaped, oldest first
    };

    bool serve(_UMockdevIoctlClient *client);
    int serveLocked(_UMockdevIoctlClient *client, Client &state);
    int submit(_UMockdevIoctlData *arg, Client &state);
    void note(const QString &entry) { m_log << entry; }
    void writeConfiguration(int value);

    SimController *m_controller = nullptr;
    QString m_sysPath; // as umockdev names it: /sys/devices/usbN/...
    QString m_sysDir;  // where that directory really is
    QString m_node;    // /dev/bus/usb/BBB/DDD
    QString m_nodeFile;
    int m_bus = 0;
    int m_address = 0;
    _UMockdevIoctlBase *m_handler = nullptr;

    mutable std::mutex m_mutex;
    std::map<_UMockdevIoctlClient *, Client> m_clients;
    QStringList m_log;
    int m_configuration = 0;
    bool m_interfaceBusy = false;
    bool m_unplugNext = false;
    bool m_gone = false;
    bool m_denied = false;
};

class MockUsbKernel
{
public:
    MockUsbKernel(); // an empty bus; false from isMocked() when not under umockdev-wrapper
    ~MockUsbKernel();
    MockUsbKernel(const MockUsbKernel &) = delete;
    MockUsbKernel &operator=(const MockUsbKernel &) = delete;

    static bool isMocked();

    // Plugs the controller in at bus `busNumber`, device `address`, on hub port `port` (its sysfs
    // name, e.g. "1-2"; the kernel lists devices in the order of these names, not of their
    // numbers). `configured`: the kernel has already set configuration 1.
    MockUsbPort &plug(SimController &controller, int busNumber, int address, const QString &port,
                      bool configured = false);
    // Takes the device out of sysfs and /dev, with the uevent a real unplug sends. Files still
    // open on it get ENODEV.
    void unplug(MockUsbPort &port);

private:
    _UMockdevTestbed *m_testbed = nullptr;
    std::vector<std::unique_ptr<MockUsbPort>> m_ports; // unplugged ones too: their files may live
    // The buses whose root hub is in sysfs: libusb names a device's hub ports through its parents.
    std::vector<int> m_rootHubs;
};

} // namespace lm740
