#include "usb_device.h"

#include "logging.h"
#include "usb_requests.h"

#include <algorithm>
#include <mutex>

namespace lm740 {

namespace {
// One lock for every UsbDevice of the process: the controller is one device and its requests must
// never interleave. Non-recursive on purpose: no public operation calls another one.
std::mutex deviceMutex;
} // namespace

UsbDevice::UsbDevice() : m_bus(&defaultUsbBus()) {}

UsbDevice::UsbDevice(UsbBus &bus) : m_bus(&bus) {}

UsbDevice::~UsbDevice()
{
    std::lock_guard lock(deviceMutex);
    closeUnlocked();
}

void UsbDevice::setIds(quint16 vendor, quint16 product)
{
    std::lock_guard lock(deviceMutex);
    vendorId = vendor;
    productId = product;
}

void UsbDevice::setBus(UsbBus &bus)
{
    std::lock_guard lock(deviceMutex);
    closeUnlocked();
    m_bus = &bus;
}

int UsbDevice::open()
{
    std::lock_guard lock(deviceMutex);
    return openUnlocked();
}

void UsbDevice::close()
{
    std::lock_guard lock(deviceMutex);
    closeUnlocked();
}

int UsbDevice::isOpen() const
{
    std::lock_guard lock(deviceMutex);
    return handle ? 0 : -1;
}

UsbDevice::SearchResult UsbDevice::lastSearchResult() const
{
    std::lock_guard lock(deviceMutex);
    return m_lastSearch;
}

int UsbDevice::openUnlocked()
{
    closeUnlocked();

    bool refused = false;
    bool matched = false;
    for (const UsbBusDevice &candidate : m_bus->listDevices()) {
        if (candidate.vendorId != vendorId || candidate.productId != productId)
            continue;
        matched = true;
        UsbHandle h = nullptr;
        const int opened = m_bus->open(candidate, &h);
        if (opened < 0 || !h) {
            qCDebug(::lcUsb) << "cannot open device" << candidate.busNumber << candidate.address
                             << "error" << opened;
            if (opened == UsbBus::ErrorAccess)
                refused = true;
            continue;
        }
        handle = h;
        if (m_bus->setConfiguration(handle, usb::kConfiguration) < 0 ||
            m_bus->claimInterface(handle, usb::kInterface) < 0) {
            closeUnlocked();
            continue;
        }
        unsigned char id[usb::kIdLength] = {0, 0};
        const int r = controlInUnlocked(usb::LM_ID_REQUEST, 0, 0, id, usb::kIdLength);
        if (r == usb::kIdLength && (id[0] | (id[1] << 8)) == usb::kLm740Id) {
            m_lastSearch = SearchResult::Found;
            return 0;
        }
        closeUnlocked(); // a failed transfer has closed it already; this is then a no-op
    }
    m_lastSearch = refused ? SearchResult::NoPermission
                           : (matched ? SearchResult::NotIdentified : SearchResult::NotFound);
    return -1;
}

void UsbDevice::closeUnlocked()
{
    if (!handle)
        return;
    m_bus->releaseInterface(handle, usb::kInterface);
    m_bus->close(handle);
    handle = nullptr;
}

int UsbDevice::controlOut(quint8 request, quint16 value, quint16 index, const unsigned char *data,
                          int length)
{
    std::lock_guard lock(deviceMutex);
    if (!handle && openUnlocked() < 0)
        return -1;

    int r;
    if (!data || length == 0) {
        r = m_bus->controlTransfer(handle, usb::kRequestTypeOut, request, value, index, nullptr, 0,
                                   usb::kTimeoutMs);
    } else if (length < 0 || length > usb::kMaxControlPayload) {
        r = -1; // refused before anything is sent; the link still closes, as for any failure
    } else {
        // The bus takes a writable buffer for both directions; an OUT transfer only reads it.
        unsigned char copy[usb::kMaxControlPayload];
        std::copy(data, data + length, copy);
        r = m_bus->controlTransfer(handle, usb::kRequestTypeOut, request, value, index, copy,
                                   quint16(length), usb::kTimeoutMs);
    }
    if (r < 0) {
        closeUnlocked();
        return -1;
    }
    return r;
}

int UsbDevice::controlIn(quint8 request, quint16 value, quint16 index, unsigned char *buffer,
                         int length)
{
    std::lock_guard lock(deviceMutex);
    if (!handle && openUnlocked() < 0)
        return -1;
    return controlInUnlocked(request, value, index, buffer, length);
}

int UsbDevice::controlInUnlocked(quint8 request, quint16 value, quint16 index,
                                 unsigned char *buffer, int length)
{
    int r = -1;
    if (buffer && length > 0 && length <= usb::kMaxControlPayload)
        r = m_bus->controlTransfer(handle, usb::kRequestTypeIn, request, value, index, buffer,
                                   quint16(length), usb::kTimeoutMs);
    if (r < 0) {
        closeUnlocked();
        return -1;
    }
    return r;
}

int UsbDevice::bulkWrite(const unsigned char *data, int length)
{
    std::lock_guard lock(deviceMutex);
    if (!data || length <= 0 || !handle)
        return -1;
    // libusb wants a writable pointer for both directions; an OUT transfer only reads it.
    const int r = m_bus->bulkTransfer(handle, usb::kBulkOutEndpoint,
                                      const_cast<unsigned char *>(data), length, usb::kTimeoutMs);
    return r < 0 ? -1 : r;
}

int UsbDevice::bulkRead(unsigned char *buffer, int length)
{
    std::lock_guard lock(deviceMutex);
    if (!buffer || length <= 0 || !handle)
        return -1;
    const int r =
        m_bus->bulkTransfer(handle, usb::kBulkInEndpoint, buffer, length, usb::kTimeoutMs);
    return r < 0 ? -1 : r;
}

} // namespace lm740
