#include "sim_bus.h"

#include <algorithm>

namespace lm740 {

SimBus::~SimBus() = default;

int SimBus::plug(SimController &controller, int busNumber)
{
    unplug(controller);
    const int address = m_nextAddress++;
    auto socket = std::find_if(m_sockets.begin(), m_sockets.end(), [&](const Socket &s) {
        return s.controller == &controller && s.busNumber == busNumber;
    });
    if (socket == m_sockets.end()) {
        const auto used = std::count_if(m_sockets.begin(), m_sockets.end(),
                                        [&](const Socket &s) { return s.busNumber == busNumber; });
        m_sockets.push_back(
            {&controller, busNumber, QStringLiteral("%1-%2").arg(busNumber).arg(used + 1)});
        socket = m_sockets.end() - 1;
    }
    m_ports.push_back({&controller, busNumber, address, socket->name});
    std::stable_sort(m_ports.begin(), m_ports.end(), [](const Port &a, const Port &b) {
        return a.busNumber != b.busNumber ? a.busNumber < b.busNumber : a.address < b.address;
    });
    return address;
}

QString SimBus::socketOf(const SimController &controller) const
{
    for (const Socket &s : m_sockets)
        if (s.controller == &controller)
            return s.name;
    return {};
}

void SimBus::unplug(SimController &controller)
{
    std::erase_if(m_ports, [&](const Port &p) { return p.controller == &controller; });
    // The last listing keeps its places, as a real bus's device list does: an entry taken before
    // the unplug must not come to mean the controller listed after it.
    for (Port &p : m_listed)
        if (p.controller == &controller)
            p.controller = nullptr;
    for (auto &h : m_handles)
        if (h->controller == &controller)
            h->controller = nullptr;
}

bool SimBus::isPlugged(const SimController &controller) const
{
    return std::any_of(m_ports.begin(), m_ports.end(),
                       [&](const Port &p) { return p.controller == &controller; });
}

int SimBus::openHandles() const
{
    return int(m_handles.size());
}

std::vector<UsbBusDevice> SimBus::listDevices()
{
    // A controller that its unplug schedule has taken away is not listed, and notes the search.
    m_listed.clear();
    for (const Port &p : m_ports) {
        if (p.controller->onBus())
            m_listed.push_back(p);
        else
            p.controller->missedSearch();
    }
    std::vector<UsbBusDevice> devices;
    for (std::size_t i = 0; i < m_listed.size(); ++i) {
        const Port &p = m_listed[i];
        devices.push_back({p.controller->vendorId, p.controller->productId, p.busNumber, p.address,
                           int(i), p.name, quint8(p.controller->serialNumber.isEmpty() ? 0 : 3)});
    }
    return devices;
}

int SimBus::open(const UsbBusDevice &device, UsbHandle *handle)
{
    *handle = nullptr;
    if (device.index < 0 || device.index >= int(m_listed.size()))
        return ErrorNoDevice;
    SimController *c = m_listed[std::size_t(device.index)].controller;
    note(QStringLiteral("open %1.%2").arg(device.busNumber).arg(device.address));
    if (!c)
        return ErrorNoDevice;
    if (c->openError < 0)
        return c->openError;
    m_handles.push_back(std::make_unique<Handle>(Handle{c}));
    *handle = reinterpret_cast<UsbHandle>(m_handles.back().get());
    return 0;
}

SimBus::Handle *SimBus::handleOf(UsbHandle h)
{
    auto *handle = reinterpret_cast<Handle *>(h);
    const bool known = std::any_of(m_handles.begin(), m_handles.end(),
                                   [&](const auto &p) { return p.get() == handle; });
    return known ? handle : nullptr;
}

void SimBus::close(UsbHandle h)
{
    note(QStringLiteral("close"));
    Handle *handle = handleOf(h);
    std::erase_if(m_handles, [&](const auto &p) { return p.get() == handle; });
}

int SimBus::setConfiguration(UsbHandle h, int configuration)
{
    note(QStringLiteral("config %1").arg(configuration));
    Handle *handle = handleOf(h);
    if (!handle || !handle->controller)
        return ErrorNoDevice;
    return handle->controller->refuseConfiguration ? ErrorBusy : 0;
}

int SimBus::claimInterface(UsbHandle h, int interface)
{
    note(QStringLiteral("claim %1").arg(interface));
    Handle *handle = handleOf(h);
    if (!handle || !handle->controller)
        return ErrorNoDevice;
    if (handle->controller->refuseInterface)
        return ErrorBusy;
    handle->claimed = true;
    return 0;
}

int SimBus::releaseInterface(UsbHandle h, int interface)
{
    note(QStringLiteral("release %1").arg(interface));
    Handle *handle = handleOf(h);
    if (!handle || !handle->claimed)
        return ErrorNotFound;
    handle->claimed = false;
    return 0;
}

int SimBus::controlTransfer(UsbHandle h, quint8 requestType, quint8 request, quint16 value,
                            quint16 index, unsigned char *data, quint16 length, unsigned timeoutMs)
{
    Handle *handle = handleOf(h);
    if (!handle || !handle->controller)
        return ErrorNoDevice;
    return handle->controller->control(requestType, request, value, index, data, length, timeoutMs);
}

int SimBus::bulkTransfer(UsbHandle h, quint8 endpoint, unsigned char *data, int length,
                         unsigned timeoutMs)
{
    Handle *handle = handleOf(h);
    if (!handle || !handle->controller)
        return ErrorNoDevice;
    return handle->controller->bulk(endpoint, data, length, timeoutMs);
}

int SimBus::serialNumber(UsbHandle h, const UsbBusDevice &device, QByteArray *serial)
{
    Handle *handle = handleOf(h);
    if (!handle || !handle->controller)
        return ErrorNoDevice;
    if (device.serialIndex == 0 || handle->controller->serialNumber.isEmpty())
        return ErrorPipe; // as a device stalls a request for a string it does not have
    *serial = handle->controller->serialNumber;
    return 0;
}

} // namespace lm740
