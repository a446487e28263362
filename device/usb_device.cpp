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

// Every failure is traced once, where it is found, in lm740.usb: a bus call that failed, named as
// libusb names it, with its error; or what this class refused or found wrong itself.
void traceBusFailure(const char *call, int error, const QString &what)
{
    qCDebug(::lcUsb).noquote() << call << what << "failed:" << errorName(error);
}

QString deviceName(const UsbBusDevice &device)
{
    return QStringLiteral("(device %1.%2)").arg(device.busNumber).arg(device.address);
}

QString requestName(quint8 requestType, quint8 request, quint16 value, quint16 index, int length)
{
    return QStringLiteral("(request %1 %2, value %3, index %4, %5 bytes)")
        .arg(request)
        .arg(requestType == usb::kRequestTypeIn ? QLatin1String("in") : QLatin1String("out"))
        .arg(value)
        .arg(index)
        .arg(length);
}
// Why a search found nothing: a denial first (the user can mend it), then a device that answered as
// another, then one that never answered, then nothing with our ids.
UsbDevice::SearchResult searchFailure(bool refused, bool other, bool matched)
{
    if (refused)
        return UsbDevice::SearchResult::NoPermission;
    if (other)
        return UsbDevice::SearchResult::OtherDevice;
    return matched ? UsbDevice::SearchResult::NotIdentified : UsbDevice::SearchResult::NotFound;
}
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

void UsbDevice::setIdentifyAttempts(int attempts)
{
    std::lock_guard lock(deviceMutex);
    m_identifyAttempts = std::max(1, attempts);
}

int UsbDevice::identifyAttempts() const
{
    std::lock_guard lock(deviceMutex);
    return m_identifyAttempts;
}

std::vector<UsbBusDevice> UsbDevice::candidatesUnlocked()
{
    std::vector<UsbBusDevice> found;
    m_lastPorts.clear();
    for (const UsbBusDevice &d : m_bus->listDevices()) {
        if (d.vendorId == vendorId && d.productId == productId) {
            found.push_back(d);
            m_lastPorts << d.port;
        }
    }
    if (found.empty())
        qCDebug(::lcUsb, "no device %04x:%04x on the bus", vendorId, productId);
    return found;
}

bool UsbDevice::setUpUnlocked(const UsbBusDevice &candidate, bool *refused)
{
    UsbHandle h = nullptr;
    const int opened = m_bus->open(candidate, &h);
    if (opened < 0 || !h) {
        traceBusFailure("libusb_open", opened < 0 ? opened : UsbBus::ErrorOther,
                        deviceName(candidate));
        if (opened == UsbBus::ErrorAccess)
            *refused = true;
        return false;
    }
    handle = h;
    if (const int r = m_bus->setConfiguration(handle, usb::kConfiguration); r < 0) {
        traceBusFailure("libusb_set_configuration", r, deviceName(candidate));
        closeUnlocked();
        return false;
    }
    if (const int r = m_bus->claimInterface(handle, usb::kInterface); r < 0) {
        traceBusFailure("libusb_claim_interface", r, deviceName(candidate));
        closeUnlocked();
        return false;
    }
    return true;
}

UsbDevice::Identification UsbDevice::identifyUnlocked(const UsbBusDevice &candidate)
{
    bool refused = false;
    for (int attempt = 0; attempt < m_identifyAttempts; ++attempt) {
        // A failed transfer has closed the device: it is opened again for the next attempt.
        if (!handle && !setUpUnlocked(candidate, &refused))
            break;
        unsigned char id[usb::kIdLength] = {0, 0};
        const int r = controlInUnlocked(usb::LM_ID_REQUEST, 0, 0, id, usb::kIdLength);
        if (r == usb::kIdLength && (id[0] | (id[1] << 8)) == usb::kLm740Id)
            return Identification::Identified;
        if (r == usb::kIdLength) {
            qCDebug(::lcUsb).noquote()
                << deviceName(candidate) << "is not an Lm740: it answered the identification with"
                << QByteArray(reinterpret_cast<const char *>(id), usb::kIdLength).toHex()
                << "instead of" << usb::kLm740Id;
            closeUnlocked();
            return Identification::Other;
        }
        if (r >= 0) // a failed transfer has been traced already
            qCDebug(::lcUsb).noquote()
                << deviceName(candidate) << "answered the identification with" << r << "bytes";
        else if (m_lastBusError == UsbBus::ErrorTimeout)
            break;
    }
    closeUnlocked(); // a failed transfer has closed it already; this is then a no-op
    return refused ? Identification::Refused : Identification::Mute;
}

// The serial number of the candidate held open; false when it has none or would not tell.
bool UsbDevice::serialUnlocked(const UsbBusDevice &candidate, QByteArray *serial)
{
    if (candidate.serialIndex == 0)
        return false;
    if (const int r = m_bus->serialNumber(handle, candidate, serial); r < 0) {
        traceBusFailure("libusb_get_string_descriptor_ascii", r, deviceName(candidate));
        return false;
    }
    return true;
}

int UsbDevice::openUnlocked()
{
    closeUnlocked();
    m_openPort.clear();

    bool refused = false;
    bool matched = false;
    bool other = false;
    UsbHandle first = nullptr;
    QString firstPort;
    for (const UsbBusDevice &candidate : candidatesUnlocked()) {
        // A controller in another socket can still be the named one by its serial number.
        const bool byPort = m_name.isEmpty() || candidate.port == m_name;
        if (!byPort && candidate.serialIndex == 0)
            continue;
        matched = matched || byPort;
        const Identification what = identifyUnlocked(candidate);
        if (what != Identification::Identified) {
            // A device in another socket that is not ours says nothing about the named one.
            refused = refused || (byPort && what == Identification::Refused);
            other = other || (byPort && what == Identification::Other);
            continue;
        }
        if (!byPort) {
            QByteArray serial;
            if (!serialUnlocked(candidate, &serial) ||
                !ControllerInfo{candidate.port, serial, {}}.isNamed(m_name)) {
                closeUnlocked();
                continue;
            }
        }
        if (!m_choiceRequired || !m_name.isEmpty()) {
            m_openPort = candidate.port;
            m_lastSearch = SearchResult::Found;
            return 0;
        }
        if (first) { // a second Lm740, and nobody said which one
            qCDebug(::lcUsb).noquote() << "more than one Lm740:" << firstPort << "and"
                                       << candidate.port << "; none is chosen";
            closeUnlocked();
            handle = first;
            closeUnlocked();
            m_lastSearch = SearchResult::Several;
            return -1;
        }
        first = handle;
        firstPort = candidate.port;
        handle = nullptr;
    }
    if (first) {
        handle = first;
        m_openPort = firstPort;
        m_lastSearch = SearchResult::Found;
        return 0;
    }
    if (!matched && !m_name.isEmpty()) // a search without a name has told its cause already
        qCDebug(::lcUsb).noquote() << "no Lm740 is named" << m_name;
    m_lastSearch = searchFailure(refused, other, matched);
    return -1;
}

std::vector<ControllerInfo> UsbDevice::listControllers()
{
    std::lock_guard lock(deviceMutex);
    closeUnlocked();
    m_openPort.clear();
    bool refused = false;
    bool matched = false;
    bool other = false;
    std::vector<ControllerInfo> found;
    for (const UsbBusDevice &candidate : candidatesUnlocked()) {
        matched = true;
        const Identification what = identifyUnlocked(candidate);
        refused = refused || what == Identification::Refused;
        other = other || what == Identification::Other;
        if (what != Identification::Identified)
            continue;
        ControllerInfo info{candidate.port, {}, {}};
        serialUnlocked(candidate, &info.serial);
        unsigned char text[usb::kVersionLength] = {};
        if (handle && controlInUnlocked(usb::VERSION_REQUEST, 0, 0, text, usb::kVersionLength) ==
                          usb::kVersionLength)
            info.version =
                QByteArray(reinterpret_cast<const char *>(text),
                           qstrnlen(reinterpret_cast<const char *>(text), usb::kVersionLength));
        closeUnlocked();
        found.push_back(info);
    }
    m_lastSearch = found.empty() ? searchFailure(refused, other, matched) : SearchResult::Found;
    return found;
}

QStringList UsbDevice::lastSearchPorts() const
{
    std::lock_guard lock(deviceMutex);
    return m_lastPorts;
}

void UsbDevice::setName(const QString &name)
{
    std::lock_guard lock(deviceMutex);
    if (name == m_name)
        return;
    m_name = name;
    if (handle && name == m_openPort)
        return;      // what is open is the one named: kept open
    closeUnlocked(); // what is open may be another one
    m_openPort.clear();
}

QString UsbDevice::name() const
{
    std::lock_guard lock(deviceMutex);
    return m_name;
}

void UsbDevice::setChoiceRequired(bool required)
{
    std::lock_guard lock(deviceMutex);
    m_choiceRequired = required;
}

QString UsbDevice::openPort() const
{
    std::lock_guard lock(deviceMutex);
    return handle ? m_openPort : QString();
}

bool ControllerInfo::isNamed(const QString &name) const
{
    return !name.isEmpty() && (name == port || (!serial.isEmpty() && name.toUtf8() == serial));
}

QString ControllerInfo::label() const
{
    return version.isEmpty() ? port
                             : QStringLiteral("%1 (%2)").arg(port, QString::fromLatin1(version));
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
        // Refused before anything is sent; the link still closes, as for any failure.
        qCDebug(::lcUsb).noquote()
            << "refused" << requestName(usb::kRequestTypeOut, request, value, index, length)
            << ": at most" << usb::kMaxControlPayload << "bytes";
        closeUnlocked();
        return -1;
    } else {
        // The bus takes a writable buffer for both directions; an OUT transfer only reads it.
        unsigned char copy[usb::kMaxControlPayload];
        std::copy(data, data + length, copy);
        r = m_bus->controlTransfer(handle, usb::kRequestTypeOut, request, value, index, copy,
                                   quint16(length), usb::kTimeoutMs);
    }
    if (r < 0) {
        traceBusFailure("libusb_control_transfer", r,
                        requestName(usb::kRequestTypeOut, request, value, index, length));
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
    // The names are made only for a trace: this is the path of every byte of a transfer.
    auto what = [&] { return requestName(usb::kRequestTypeIn, request, value, index, length); };
    if (!buffer || length <= 0 || length > usb::kMaxControlPayload) {
        qCDebug(::lcUsb).noquote() << "refused" << what() << ": a buffer of 1 to"
                                   << usb::kMaxControlPayload << "bytes is needed";
        closeUnlocked();
        return -1;
    }
    const int r = m_bus->controlTransfer(handle, usb::kRequestTypeIn, request, value, index, buffer,
                                         quint16(length), usb::kTimeoutMs);
    if (r < 0) {
        m_lastBusError = r;
        traceBusFailure("libusb_control_transfer", r, what());
        closeUnlocked();
        return -1;
    }
    return r;
}

int UsbDevice::bulkWrite(const unsigned char *data, int length)
{
    std::lock_guard lock(deviceMutex);
    // libusb wants a writable pointer for both directions; an OUT transfer only reads it.
    return bulkUnlocked(usb::kBulkOutEndpoint, const_cast<unsigned char *>(data), length);
}

int UsbDevice::bulkRead(unsigned char *buffer, int length)
{
    std::lock_guard lock(deviceMutex);
    return bulkUnlocked(usb::kBulkInEndpoint, buffer, length);
}

int UsbDevice::bulkUnlocked(quint8 endpoint, unsigned char *data, int length)
{
    auto what = [&] {
        return QStringLiteral("(endpoint 0x%1, %2 bytes)")
            .arg(endpoint, 2, 16, QLatin1Char('0'))
            .arg(length);
    };
    if (!data || length <= 0 || !handle) {
        qCDebug(::lcUsb).noquote() << "refused bulk transfer" << what()
                                   << (handle ? ": no data" : ": the controller is not open");
        return -1;
    }
    const int r = m_bus->bulkTransfer(handle, endpoint, data, length, usb::kTimeoutMs);
    if (r < 0) {
        traceBusFailure("libusb_bulk_transfer", r, what());
        return -1;
    }
    return r;
}

} // namespace lm740
