// A USB bus made of simulated controllers, behind the same seam as libusb: controllers can be
// plugged and unplugged at any time. It keeps a log of the bus operations (open, configuration,
// interface, close) so that tests can check how UsbDevice walks and leaves the bus.
#pragma once

#include "sim_controller.h"
#include "usb_bus.h"

#include <QStringList>

#include <memory>
#include <vector>

namespace lm740 {

class SimBus : public UsbBus
{
public:
    SimBus() = default;
    ~SimBus() override;
    SimBus(const SimBus &) = delete;
    SimBus &operator=(const SimBus &) = delete;

    // The controller stays owned by the caller and must outlive its place on the bus. Returns the
    // device address it got on that bus. It goes into a socket of its own on that bus, named as
    // Linux names it ("1-2"), and back into the same socket whenever it is plugged in again.
    int plug(SimController &controller, int busNumber = 1);
    // Open handles of an unplugged controller stay valid but every transfer on them fails.
    void unplug(SimController &controller);
    bool isPlugged(const SimController &controller) const;
    // The socket the controller was first plugged into ("1-2"), in or out; empty if never.
    QString socketOf(const SimController &controller) const;

    // Handles that were opened and not closed yet.
    int openHandles() const;
    // "open 1.2", "config 1", "claim 0", "release 0", "close", in the order they happened.
    QStringList operations;
    bool recordOperations = true; // off for long runs

    std::vector<UsbBusDevice> listDevices() override;
    int open(const UsbBusDevice &device, UsbHandle *handle) override;
    void close(UsbHandle handle) override;
    int setConfiguration(UsbHandle handle, int configuration) override;
    int claimInterface(UsbHandle handle, int interface) override;
    int releaseInterface(UsbHandle handle, int interface) override;
    int controlTransfer(UsbHandle handle, quint8 requestType, quint8 request, quint16 value,
                        quint16 index, unsigned char *data, quint16 length,
                        unsigned timeoutMs) override;
    int bulkTransfer(UsbHandle handle, quint8 endpoint, unsigned char *data, int length,
                     unsigned timeoutMs) override;
    int serialNumber(UsbHandle handle, const UsbBusDevice &device, QByteArray *serial) override;

private:
    struct Port
    {
        SimController *controller;
        int busNumber;
        int address;
        QString name;
    };
    struct Socket
    {
        const SimController *controller;
        int busNumber;
        QString name;
    };
    struct Handle
    {
        SimController *controller; // null once unplugged
        bool claimed = false;
    };

    Handle *handleOf(UsbHandle h);
    void note(const QString &operation)
    {
        if (recordOperations)
            operations << operation;
    }

    std::vector<Port> m_ports;  // in bus and address order
    std::vector<Port> m_listed; // the last listing, for open()
    std::vector<std::unique_ptr<Handle>> m_handles;
    std::vector<Socket> m_sockets; // every controller's socket, kept while it is out
    int m_nextAddress = 1;
};

} // namespace lm740
