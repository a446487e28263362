// The bus seam on libusb-1.0: the real USB buses of this machine. A machine without USB (or
// where libusb cannot start) is simply a bus with nothing on it.
#pragma once

#include "usb_bus.h"

struct libusb_context;
struct libusb_device;

namespace lm740 {

class LibusbBus : public UsbBus
{
public:
    LibusbBus();
    ~LibusbBus() override;
    LibusbBus(const LibusbBus &) = delete;
    LibusbBus &operator=(const LibusbBus &) = delete;

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
    void releaseListing();

    libusb_context *m_context = nullptr;
    // The devices of the last listing, referenced until the next one, so that open() can reach
    // them by index.
    std::vector<libusb_device *> m_listed;
};

} // namespace lm740
