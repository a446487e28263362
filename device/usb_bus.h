// The bus seam: the little that UsbDevice needs from a USB bus. The program runs on libusb-1.0 or
// on the simulated bus; UsbDevice's own logic is the same on both.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <vector>

namespace lm740 {

struct UsbBusHandleTag;
using UsbHandle = UsbBusHandleTag *; // opaque to everybody but the bus that made it

// One device as the bus lists it.
struct UsbBusDevice
{
    quint16 vendorId = 0;
    quint16 productId = 0;
    int busNumber = 0;
    int address = 0;
    int index = 0; // position in the bus's last listing, for open()
    // Where it is plugged in, as Linux names it: the bus, then the hub ports ("1-4.2"). It stays
    // the same while the device stays in that socket, whatever address each plugging gives it.
    QString port;
    quint8 serialIndex = 0; // its serial number's string descriptor; 0 when it has none
};

class UsbBus
{
public:
    // The libusb-1.0 error codes that matter here; every bus reports failures with them.
    enum Error : int {
        ErrorIo = -1,
        ErrorInvalidParam = -2,
        ErrorAccess = -3,
        ErrorNoDevice = -4,
        ErrorNotFound = -5,
        ErrorBusy = -6,
        ErrorTimeout = -7,
        ErrorOverflow = -8,
        ErrorPipe = -9,
        ErrorInterrupted = -10,
        ErrorNoMemory = -11,
        ErrorNotSupported = -12,
        ErrorOther = -99,
    };

    virtual ~UsbBus() = default;

    // Every device on every bus, sorted by bus number and then by device address.
    virtual std::vector<UsbBusDevice> listDevices() = 0;
    // 0 and a handle in *handle, or a negative Error (ErrorAccess when permission is missing).
    virtual int open(const UsbBusDevice &device, UsbHandle *handle) = 0;
    virtual void close(UsbHandle handle) = 0;
    virtual int setConfiguration(UsbHandle handle, int configuration) = 0;
    virtual int claimInterface(UsbHandle handle, int interface) = 0;
    virtual int releaseInterface(UsbHandle handle, int interface) = 0;
    // Bytes moved, or a negative Error.
    virtual int controlTransfer(UsbHandle handle, quint8 requestType, quint8 request, quint16 value,
                                quint16 index, unsigned char *data, quint16 length,
                                unsigned timeoutMs) = 0;
    virtual int bulkTransfer(UsbHandle handle, quint8 endpoint, unsigned char *data, int length,
                             unsigned timeoutMs) = 0;
    // The serial number string of an open device that has one (serialIndex), or a negative Error.
    virtual int serialNumber(UsbHandle handle, const UsbBusDevice &device, QByteArray *serial)
    {
        Q_UNUSED(handle);
        Q_UNUSED(device);
        Q_UNUSED(serial);
        return ErrorNotSupported;
    }
};

// A bus with nothing on it: what a UsbDevice talks to when the program has chosen no bus.
class EmptyUsbBus : public UsbBus
{
public:
    std::vector<UsbBusDevice> listDevices() override { return {}; }
    int open(const UsbBusDevice &, UsbHandle *) override { return ErrorNoDevice; }
    void close(UsbHandle) override {}
    int setConfiguration(UsbHandle, int) override { return ErrorNoDevice; }
    int claimInterface(UsbHandle, int) override { return ErrorNoDevice; }
    int releaseInterface(UsbHandle, int) override { return ErrorNoDevice; }
    int controlTransfer(UsbHandle, quint8, quint8, quint16, quint16, unsigned char *, quint16,
                        unsigned) override
    {
        return ErrorNoDevice;
    }
    int bulkTransfer(UsbHandle, quint8, unsigned char *, int, unsigned) override
    {
        return ErrorNoDevice;
    }
};

// The libusb name of an Error ("LIBUSB_ERROR_PIPE"), for the traces.
const char *errorName(int error);

// The bus a default-constructed UsbDevice uses. main() chooses it before the window is made;
// until then, and after setDefaultUsbBus(nullptr), it is an empty bus.
UsbBus &defaultUsbBus();
void setDefaultUsbBus(UsbBus *bus);

} // namespace lm740
