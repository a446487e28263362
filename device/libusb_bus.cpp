#include "libusb_bus.h"

#include "logging.h"

#include <libusb.h>

#include <algorithm>

namespace lm740 {

// The bus seam reports failures with libusb's own codes; UsbDevice relies on ErrorAccess to tell a
// controller it may not open from one that is not there, and traces every failure it is given by
// its libusb name. This bus traces only what UsbDevice never sees: a failed initialisation, a
// listing that failed and a descriptor that could not be read.
static_assert(int(UsbBus::ErrorIo) == LIBUSB_ERROR_IO &&
              int(UsbBus::ErrorInvalidParam) == LIBUSB_ERROR_INVALID_PARAM &&
              int(UsbBus::ErrorAccess) == LIBUSB_ERROR_ACCESS &&
              int(UsbBus::ErrorNoDevice) == LIBUSB_ERROR_NO_DEVICE &&
              int(UsbBus::ErrorNotFound) == LIBUSB_ERROR_NOT_FOUND &&
              int(UsbBus::ErrorBusy) == LIBUSB_ERROR_BUSY &&
              int(UsbBus::ErrorTimeout) == LIBUSB_ERROR_TIMEOUT &&
              int(UsbBus::ErrorOverflow) == LIBUSB_ERROR_OVERFLOW &&
              int(UsbBus::ErrorPipe) == LIBUSB_ERROR_PIPE &&
              int(UsbBus::ErrorInterrupted) == LIBUSB_ERROR_INTERRUPTED &&
              int(UsbBus::ErrorNoMemory) == LIBUSB_ERROR_NO_MEM &&
              int(UsbBus::ErrorNotSupported) == LIBUSB_ERROR_NOT_SUPPORTED &&
              int(UsbBus::ErrorOther) == LIBUSB_ERROR_OTHER);

namespace {
libusb_device_handle *native(UsbHandle h)
{
    return reinterpret_cast<libusb_device_handle *>(h);
}

// The socket as Linux names it in sysfs: "1-4.2" is port 2 of the hub on port 4 of bus 1. A
// device whose hubs libusb cannot tell is named by its bus and address instead, which at least
// stays the same until it is plugged in again.
QString portName(libusb_device *device)
{
    quint8 ports[8];
    const int depth = libusb_get_port_numbers(device, ports, int(sizeof ports));
    const int bus = libusb_get_bus_number(device);
    if (depth <= 0)
        return QStringLiteral("%1.%2").arg(bus).arg(libusb_get_device_address(device));
    QString name = QStringLiteral("%1-%2").arg(bus).arg(ports[0]);
    for (int i = 1; i < depth; ++i)
        name += QStringLiteral(".%1").arg(ports[i]);
    return name;
}
} // namespace

LibusbBus::LibusbBus()
{
    // The 0.1 API initialised on every search; a 1.0 context is made once and rescans on every
    // listing, which is what usb_find_busses/usb_find_devices did.
    const int r = libusb_init(&m_context);
    if (r < 0) {
        qCWarning(::lcUsb) << "libusb_init failed:" << libusb_error_name(r);
        m_context = nullptr;
    }
}

LibusbBus::~LibusbBus()
{
    releaseListing();
    if (m_context)
        libusb_exit(m_context);
}

void LibusbBus::releaseListing()
{
    for (libusb_device *d : m_listed)
        libusb_unref_device(d);
    m_listed.clear();
}

std::vector<UsbBusDevice> LibusbBus::listDevices()
{
    releaseListing();
    std::vector<UsbBusDevice> devices;
    if (!m_context)
        return devices;

    libusb_device **list = nullptr;
    const ssize_t count = libusb_get_device_list(m_context, &list);
    if (count < 0) {
        // UsbDevice sees only an empty bus: the cause is told here.
        qCDebug(::lcUsb) << "libusb_get_device_list failed:" << libusb_error_name(int(count));
        return devices;
    }

    struct Entry
    {
        UsbBusDevice info;
        libusb_device *device;
    };
    std::vector<Entry> entries;
    for (ssize_t i = 0; i < count; ++i) {
        libusb_device_descriptor descriptor{};
        if (const int r = libusb_get_device_descriptor(list[i], &descriptor); r < 0) {
            qCDebug(::lcUsb, "libusb_get_device_descriptor (device %d.%d) failed: %s",
                    libusb_get_bus_number(list[i]), libusb_get_device_address(list[i]),
                    libusb_error_name(r));
            continue;
        }
        UsbBusDevice info;
        info.vendorId = descriptor.idVendor;
        info.productId = descriptor.idProduct;
        info.busNumber = libusb_get_bus_number(list[i]);
        info.address = libusb_get_device_address(list[i]);
        info.port = portName(list[i]);
        info.serialIndex = descriptor.iSerialNumber;
        entries.push_back({info, libusb_ref_device(list[i])});
    }
    libusb_free_device_list(list, 1);

    std::stable_sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        if (a.info.busNumber != b.info.busNumber)
            return a.info.busNumber < b.info.busNumber;
        return a.info.address < b.info.address;
    });
    for (Entry &e : entries) {
        e.info.index = int(m_listed.size());
        m_listed.push_back(e.device);
        devices.push_back(e.info);
    }
    return devices;
}

int LibusbBus::open(const UsbBusDevice &device, UsbHandle *handle)
{
    *handle = nullptr;
    if (device.index < 0 || device.index >= int(m_listed.size()))
        return ErrorNotFound;
    libusb_device_handle *h = nullptr;
    const int r = libusb_open(m_listed[device.index], &h);
    if (r < 0)
        return r;
    libusb_set_auto_detach_kernel_driver(h, 1); // not supported everywhere; harmless then
    *handle = reinterpret_cast<UsbHandle>(h);
    return 0;
}

void LibusbBus::close(UsbHandle handle)
{
    if (handle)
        libusb_close(native(handle));
}

int LibusbBus::setConfiguration(UsbHandle handle, int configuration)
{
    // Setting the configuration the device already has is a lightweight reset in libusb-1.0;
    // the status poll opens the controller every second, so only set it when it differs.
    int current = -1;
    if (libusb_get_configuration(native(handle), &current) == 0 && current == configuration)
        return 0;
    return libusb_set_configuration(native(handle), configuration);
}

int LibusbBus::claimInterface(UsbHandle handle, int interface)
{
    return libusb_claim_interface(native(handle), interface);
}

int LibusbBus::releaseInterface(UsbHandle handle, int interface)
{
    return libusb_release_interface(native(handle), interface);
}

int LibusbBus::controlTransfer(UsbHandle handle, quint8 requestType, quint8 request, quint16 value,
                               quint16 index, unsigned char *data, quint16 length,
                               unsigned timeoutMs)
{
    return libusb_control_transfer(native(handle), requestType, request, value, index, data, length,
                                   timeoutMs);
}

int LibusbBus::bulkTransfer(UsbHandle handle, quint8 endpoint, unsigned char *data, int length,
                            unsigned timeoutMs)
{
    // usb_bulk_write/usb_bulk_read returned the bytes moved; libusb-1.0 reports them apart.
    int transferred = 0;
    const int r =
        libusb_bulk_transfer(native(handle), endpoint, data, length, &transferred, timeoutMs);
    if (r < 0 && !(r == LIBUSB_ERROR_TIMEOUT && transferred > 0))
        return r;
    return transferred;
}

int LibusbBus::serialNumber(UsbHandle handle, const UsbBusDevice &device, QByteArray *serial)
{
    if (device.serialIndex == 0)
        return ErrorNotFound;
    unsigned char text[256];
    const int r = libusb_get_string_descriptor_ascii(native(handle), device.serialIndex, text,
                                                     int(sizeof text));
    if (r < 0)
        return r;
    *serial = QByteArray(reinterpret_cast<const char *>(text), r);
    return 0;
}

} // namespace lm740
