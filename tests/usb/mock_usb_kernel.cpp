// GLib before Qt: Qt defines "signals" as a keyword, and GLib uses it as a name.
#include <umockdev.h>

#include "mock_usb_kernel.h"
#include "usb_bus.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dlfcn.h>
#include <linux/capability.h>
#include <linux/usbdevice_fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace lm740 {

namespace {

// What a full-speed Lm740 reports: vendor class, one configuration with one interface and the
// bulk pair. The kernel shows these bytes in sysfs, where libusb reads them.
QByteArray descriptors(quint16 vendorId, quint16 productId)
{
    const unsigned char bytes[] = {
        18,
        1,
        0x10,
        0x01,
        0xFF,
        0,
        0,
        64,
        quint8(vendorId),
        quint8(vendorId >> 8),
        quint8(productId),
        quint8(productId >> 8),
        0x00,
        0x01,
        0,
        0,
        0,
        1, // device
        9,
        2,
        32,
        0,
        1,
        1,
        0,
        0x80,
        50, // configuration 1
        9,
        4,
        0,
        0,
        2,
        0xFF,
        0,
        0,
        0, // interface 0
        7,
        5,
        0x81,
        2,
        64,
        0,
        0, // bulk in
        7,
        5,
        0x02,
        2,
        64,
        0,
        0, // bulk out
    };
    return QByteArray(reinterpret_cast<const char *>(bytes), sizeof bytes);
}

// Root may open any file; a process without the right to a node is what the permission case
// needs, so the calling thread gives up the file-access override while the node is denied.
void setFileAccessOverride(bool on)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    if (syscall(SYS_capget, &header, data) != 0)
        return;
    const quint32 bits = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
    data[0].effective =
        on ? data[0].effective | (data[0].permitted & bits) : data[0].effective & ~bits;
    syscall(SYS_capset, &header, data);
}

QString errnoName(int e)
{
    switch (e) {
    case EBUSY:
        return "EBUSY";
    case ENODEV:
        return "ENODEV";
    case EINVAL:
        return "EINVAL";
    case ENOENT:
        return "ENOENT";
    case ENODATA:
        return "ENODATA";
    case ENOTTY:
        return "ENOTTY";
    default:
        return QString::number(e);
    }
}

// The argument of an ioctl that points at a T, as memory of ours; synced back on completion.
template <typename T> T *resolved(UMockdevIoctlData *arg, UMockdevIoctlData **holder)
{
    *holder = umockdev_ioctl_data_resolve(arg, 0, sizeof(T), nullptr);
    return *holder ? reinterpret_cast<T *>((*holder)->data) : nullptr;
}

unsigned argumentValue(UMockdevIoctlData *arg)
{
    UMockdevIoctlData *holder = nullptr;
    const unsigned *value = resolved<unsigned>(arg, &holder);
    const unsigned v = value ? *value : ~0u;
    if (holder)
        g_object_unref(holder);
    return v;
}

// The status the kernel gives a URB for what the controller did with it.
int urbStatus(int result)
{
    switch (result) {
    case UsbBus::ErrorPipe:
        return -EPIPE;
    case UsbBus::ErrorOverflow:
        return -EOVERFLOW;
    case UsbBus::ErrorNoDevice:
        return -ESHUTDOWN;
    default:
        return -EPROTO;
    }
}

gboolean onIoctl(UMockdevIoctlBase *, UMockdevIoctlClient *client, gpointer port);
void onConnected(UMockdevIoctlBase *, UMockdevIoctlClient *client, gpointer port);

} // namespace

// The handler runs on umockdev's own thread; these reach the port's private state.
struct MockUsbPortAccess
{
    static bool serve(MockUsbPort *port, UMockdevIoctlClient *client)
    {
        return port->serve(client);
    }
    static void connected(MockUsbPort *port, UMockdevIoctlClient *client)
    {
        std::lock_guard lock(port->m_mutex);
        // umockdev connects its socket even when the node itself refused to open; that file
        // never existed for the kernel.
        if (port->m_denied)
            return;
        port->m_clients[client];
        port->note("open");
    }
};

namespace {
gboolean onIoctl(UMockdevIoctlBase *, UMockdevIoctlClient *client, gpointer port)
{
    return MockUsbPortAccess::serve(static_cast<MockUsbPort *>(port), client);
}
void onConnected(UMockdevIoctlBase *, UMockdevIoctlClient *client, gpointer port)
{
    MockUsbPortAccess::connected(static_cast<MockUsbPort *>(port), client);
}
} // namespace

QStringList MockUsbPort::log() const
{
    std::lock_guard lock(m_mutex);
    return m_log;
}

void MockUsbPort::clearLog()
{
    std::lock_guard lock(m_mutex);
    m_log.clear();
}

int MockUsbPort::openFiles() const
{
    int files = 0;
    for (const QFileInfo &fd : QDir("/proc/self/fd").entryInfoList(QDir::System))
        files += fd.symLinkTarget() == m_nodeFile;
    return files;
}

void MockUsbPort::denyOpen(bool deny)
{
    {
        std::lock_guard lock(m_mutex);
        if (deny == m_denied)
            return;
        m_denied = deny;
    }
    ::chmod(QFile::encodeName(m_nodeFile).constData(), deny ? 0 : 0664);
    setFileAccessOverride(!deny);
}

void MockUsbPort::setInterfaceBusy(bool busy)
{
    std::lock_guard lock(m_mutex);
    m_interfaceBusy = busy;
}

void MockUsbPort::unplugDuringNextTransfer()
{
    std::lock_guard lock(m_mutex);
    m_unplugNext = true;
}

int MockUsbPort::configuration() const
{
    std::lock_guard lock(m_mutex);
    return m_configuration;
}

void MockUsbPort::writeConfiguration(int value)
{
    m_configuration = value;
    QFile file(m_sysDir + "/bConfigurationValue");
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(value ? QByteArray::number(value) + '\n' : QByteArray("\n"));
}

bool MockUsbPort::serve(UMockdevIoctlClient *client)
{
    int error;
    {
        std::lock_guard lock(m_mutex);
        error = serveLocked(client, m_clients[client]);
    }
    umockdev_ioctl_client_complete(client, error ? -1 : 0, error);
    return TRUE;
}

int MockUsbPort::serveLocked(UMockdevIoctlClient *client, Client &state)
{
    const gulong request = umockdev_ioctl_client_get_request(client);
    UMockdevIoctlData *arg = umockdev_ioctl_client_get_arg(client);
    const bool reaping = request == USBDEVFS_REAPURB || request == USBDEVFS_REAPURBNDELAY;
    // A closed file gives up its claims and URBs. umockdev does not report the close, but when
    // this one is the only file still open, the others are gone.
    if (m_clients.size() > 1 && openFiles() <= 1)
        std::erase_if(m_clients, [&](auto &entry) {
            if (entry.first == client)
                return false;
            for (auto *list : {&entry.second.inFlight, &entry.second.done})
                for (UMockdevIoctlData *urb : *list)
                    g_object_unref(urb);
            return true;
        });
    if (m_gone && !reaping)
        return ENODEV;

    auto refuse = [this](const QString &what, int error) {
        note(QStringLiteral("%1: %2").arg(what, errnoName(error)));
        return error;
    };
    auto claimed = [this](int interface) {
        for (const auto &[c, s] : m_clients)
            if (std::find(s.claimed.begin(), s.claimed.end(), interface) != s.claimed.end())
                return true;
        return false;
    };
    auto claim = [&](int interface) {
        const QString what = QStringLiteral("claim %1").arg(interface);
        if (interface != 0)
            return refuse(what, ENOENT);
        if (m_interfaceBusy || claimed(interface))
            return refuse(what, EBUSY);
        state.claimed.push_back(interface);
        note(what);
        return 0;
    };

    switch (request) {
    case USBDEVFS_GET_CAPABILITIES: {
        UMockdevIoctlData *holder = nullptr;
        quint32 *caps = resolved<quint32>(arg, &holder);
        if (!caps)
            return EFAULT;
        *caps = USBDEVFS_CAP_ZERO_PACKET | USBDEVFS_CAP_BULK_CONTINUATION |
                USBDEVFS_CAP_NO_PACKET_SIZE_LIM | USBDEVFS_CAP_REAP_AFTER_DISCONNECT;
        g_object_unref(holder);
        return 0;
    }
    case USBDEVFS_SETCONFIGURATION: {
        const int value = int(argumentValue(arg));
        const QString what = QStringLiteral("config %1").arg(value);
        if (value != 1 && value != 0)
            return refuse(what, EINVAL);
        if (!m_clients.empty() && (claimed(0) || m_interfaceBusy))
            return refuse(what, EBUSY);
        writeConfiguration(value);
        note(what);
        return 0;
    }
    case USBDEVFS_CLAIMINTERFACE:
        return claim(int(argumentValue(arg)));
    case USBDEVFS_DISCONNECT_CLAIM: {
        UMockdevIoctlData *holder = nullptr;
        const auto *dc = resolved<usbdevfs_disconnect_claim>(arg, &holder);
        const int r = dc ? claim(int(dc->interface)) : EFAULT;
        if (holder)
            g_object_unref(holder);
        return r;
    }
    case USBDEVFS_RELEASEINTERFACE: {
        const int interface = int(argumentValue(arg));
        const auto it = std::find(state.claimed.begin(), state.claimed.end(), interface);
        const QString what = QStringLiteral("release %1").arg(interface);
        if (it == state.claimed.end())
            return refuse(what, EINVAL);
        state.claimed.erase(it);
        note(what);
        return 0;
    }
    case USBDEVFS_GETDRIVER:
    case USBDEVFS_IOCTL:
        return ENODATA; // no kernel driver is bound to the interface
    case USBDEVFS_SUBMITURB:
        return submit(arg, state);
    case USBDEVFS_DISCARDURB: {
        gulong address = 0;
        std::memcpy(&address, arg->data, sizeof address);
        for (auto it = state.inFlight.begin(); it != state.inFlight.end(); ++it) {
            if ((*it)->client_addr != address)
                continue;
            reinterpret_cast<usbdevfs_urb *>((*it)->data)->status = -ENOENT;
            state.done.push_back(*it);
            state.inFlight.erase(it);
            note("discard");
            return 0;
        }
        return refuse("discard", EINVAL);
    }
    case USBDEVFS_REAPURB:
    case USBDEVFS_REAPURBNDELAY: {
        if (state.done.empty())
            return m_gone ? ENODEV : EAGAIN;
        UMockdevIoctlData *slot = umockdev_ioctl_data_resolve(arg, 0, sizeof(void *), nullptr);
        if (!slot)
            return EFAULT;
        UMockdevIoctlData *urb = state.done.front();
        state.done.erase(state.done.begin());
        umockdev_ioctl_data_set_ptr(slot, 0, urb);
        g_object_unref(slot);
        g_object_unref(urb);
        return 0;
    }
    default:
        return refuse(QStringLiteral("unhandled %1").arg(request, 0, 16), ENOTTY);
    }
}

int MockUsbPort::submit(UMockdevIoctlData *arg, Client &state)
{
    UMockdevIoctlData *holder = nullptr;
    auto *urb = resolved<usbdevfs_urb>(arg, &holder);
    if (!urb)
        return EFAULT;
    UMockdevIoctlData *buffer = umockdev_ioctl_data_resolve(
        holder, offsetof(usbdevfs_urb, buffer), std::size_t(urb->buffer_length), nullptr);
    urb = reinterpret_cast<usbdevfs_urb *>(holder->data); // resolving may move the struct
    unsigned char *data = buffer ? buffer->data : nullptr;

    int result = UsbBus::ErrorInvalidParam;
    if (urb->type == USBDEVFS_URB_TYPE_CONTROL && data && urb->buffer_length >= 8) {
        note("control");
        const quint16 value = quint16(data[2] | data[3] << 8);
        const quint16 index = quint16(data[4] | data[5] << 8);
        const quint16 length = quint16(data[6] | data[7] << 8);
        if (length > urb->buffer_length - 8)
            result = UsbBus::ErrorOverflow;
        else if (!m_unplugNext)
            result = m_controller->control(data[0], data[1], value, index,
                                           length ? data + 8 : nullptr, length, usb::kTimeoutMs);
    } else if (urb->type == USBDEVFS_URB_TYPE_BULK && data) {
        note(QStringLiteral("bulk %1").arg(urb->endpoint, 2, 16, QLatin1Char('0')));
        if (!m_unplugNext)
            result = m_controller->bulk(urb->endpoint, data, urb->buffer_length, usb::kTimeoutMs);
    }
    if (buffer)
        g_object_unref(buffer);
    if (m_unplugNext) {
        m_unplugNext = false;
        m_gone = true;
        result = UsbBus::ErrorNoDevice;
    }

    if (result == UsbBus::ErrorTimeout) {
        // The device NAKs for ever: the URB waits until libusb gives up and discards it.
        state.inFlight.push_back(holder);
        return 0;
    }
    urb->status = result < 0 ? urbStatus(result) : 0;
    urb->actual_length = result < 0 ? 0 : result;
    state.done.push_back(holder);
    if (m_gone) // a pulled cable ends every URB still waiting
        for (UMockdevIoctlData *waiting : state.inFlight) {
            reinterpret_cast<usbdevfs_urb *>(waiting->data)->status = -ESHUTDOWN;
            state.done.push_back(waiting);
        }
    if (m_gone)
        state.inFlight.clear();
    return 0;
}

MockUsbKernel::MockUsbKernel()
{
    if (isMocked())
        m_testbed = umockdev_testbed_new();
}

MockUsbKernel::~MockUsbKernel()
{
    for (auto &port : m_ports) {
        port->denyOpen(false);
        if (m_testbed)
            umockdev_testbed_detach_ioctl(m_testbed, port->m_node.toUtf8().constData(), nullptr);
        g_object_unref(port->m_handler);
    }
    if (m_testbed)
        g_object_unref(m_testbed);
}

bool MockUsbKernel::isMocked()
{
    // umockdev_in_mock_environment() says no under umockdev-wrapper too: ask for the library.
    void *preload = dlopen("libumockdev-preload.so.0", RTLD_LAZY | RTLD_NOLOAD);
    if (preload)
        dlclose(preload);
    return preload != nullptr;
}

MockUsbPort &MockUsbKernel::plug(SimController &controller, int busNumber, int address,
                                 const QString &port, bool configured)
{
    auto owned = std::make_unique<MockUsbPort>();
    MockUsbPort &p = *owned;
    m_ports.push_back(std::move(owned));
    p.m_controller = &controller;
    p.m_bus = busNumber;
    p.m_address = address;
    p.m_sysPath = QStringLiteral("/sys/devices/usb%1/%2").arg(busNumber).arg(port);
    p.m_node = QStringLiteral("/dev/bus/usb/%1/%2")
                   .arg(busNumber, 3, 10, QLatin1Char('0'))
                   .arg(address, 3, 10, QLatin1Char('0'));
    p.m_configuration = configured ? usb::kConfiguration : 0;
    if (!m_testbed)
        return p;

    if (std::find(m_rootHubs.begin(), m_rootHubs.end(), busNumber) == m_rootHubs.end()) {
        m_rootHubs.push_back(busNumber);
        // Linux's own root hub, at address 1: never opened, only there to be every port's parent.
        const QString hub =
            QStringLiteral("P: /devices/usb%1\nN: bus/usb/%2/001\nE: DEVNAME=/dev/bus/usb/%2/001\n"
                           "E: DEVTYPE=usb_device\nE: SUBSYSTEM=usb\nE: BUSNUM=%2\nE: DEVNUM=001\n"
                           "A: busnum=%1\nA: devnum=1\nA: idVendor=1d6b\nA: idProduct=0002\n"
                           "A: speed=480\nA: bConfigurationValue=1\nA: bNumConfigurations=1\n"
                           "H: descriptors=%3\n")
                .arg(busNumber)
                .arg(busNumber, 3, 10, QLatin1Char('0'))
                .arg(QString::fromLatin1(descriptors(0x1d6b, 0x0002).toHex()));
        GError *error = nullptr;
        if (!umockdev_testbed_add_from_string(m_testbed, hub.toUtf8().constData(), &error)) {
            qWarning("mocked kernel: cannot add the root hub of bus %d: %s", busNumber,
                     error->message);
            g_error_free(error);
        }
    }
    const QByteArray bytes = descriptors(controller.vendorId, controller.productId);
    const QString record =
        QStringLiteral("P: %1\nN: %2\nE: DEVNAME=%3\nE: DEVTYPE=usb_device\nE: SUBSYSTEM=usb\n"
                       "E: BUSNUM=%4\nE: DEVNUM=%5\nA: busnum=%6\nA: devnum=%7\n"
                       "A: idVendor=%8\nA: idProduct=%9\nA: speed=12\n")
            .arg(p.m_sysPath.mid(4), p.m_node.mid(5), p.m_node)
            .arg(busNumber, 3, 10, QLatin1Char('0'))
            .arg(address, 3, 10, QLatin1Char('0'))
            .arg(busNumber)
            .arg(address)
            .arg(controller.vendorId, 4, 16, QLatin1Char('0'))
            .arg(controller.productId, 4, 16, QLatin1Char('0')) +
        QStringLiteral("A: bConfigurationValue=%1\nA: bNumConfigurations=1\nH: descriptors=%2\n")
            .arg(configured ? QString::number(usb::kConfiguration) : QString(),
                 QString::fromLatin1(bytes.toHex()));
    GError *error = nullptr;
    if (!umockdev_testbed_add_from_string(m_testbed, record.toUtf8().constData(), &error)) {
        qWarning("mocked kernel: cannot add %s: %s", qPrintable(p.m_sysPath), error->message);
        g_error_free(error);
        return p;
    }
    char *sysDir = umockdev_testbed_get_sys_dir(m_testbed);
    char *rootDir = umockdev_testbed_get_root_dir(m_testbed);
    p.m_sysDir = QFile::decodeName(sysDir) + p.m_sysPath.mid(4);
    p.m_nodeFile = QFile::decodeName(rootDir) + p.m_node;
    g_free(sysDir);
    g_free(rootDir);

    p.m_handler = umockdev_ioctl_base_new();
    g_signal_connect(p.m_handler, "handle-ioctl", G_CALLBACK(onIoctl), &p);
    g_signal_connect(p.m_handler, "client-connected", G_CALLBACK(onConnected), &p);
    if (!umockdev_testbed_attach_ioctl(m_testbed, p.m_node.toUtf8().constData(), p.m_handler,
                                       &error)) {
        qWarning("mocked kernel: cannot serve %s: %s", qPrintable(p.m_node), error->message);
        g_error_free(error);
    }
    umockdev_testbed_uevent(m_testbed, p.m_sysPath.toUtf8().constData(), "add");
    return p;
}

void MockUsbKernel::unplug(MockUsbPort &port)
{
    {
        std::lock_guard lock(port.m_mutex);
        port.m_gone = true;
    }
    if (!m_testbed)
        return;
    umockdev_testbed_uevent(m_testbed, port.m_sysPath.toUtf8().constData(), "remove");
    umockdev_testbed_remove_device(m_testbed, port.m_sysPath.toUtf8().constData());
}

} // namespace lm740
