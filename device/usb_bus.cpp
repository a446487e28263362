#include "usb_bus.h"

namespace lm740 {

namespace {
EmptyUsbBus emptyBus;
UsbBus *chosenBus = nullptr;
} // namespace

const char *errorName(int error)
{
    switch (error) {
    case UsbBus::ErrorIo:
        return "LIBUSB_ERROR_IO";
    case UsbBus::ErrorInvalidParam:
        return "LIBUSB_ERROR_INVALID_PARAM";
    case UsbBus::ErrorAccess:
        return "LIBUSB_ERROR_ACCESS";
    case UsbBus::ErrorNoDevice:
        return "LIBUSB_ERROR_NO_DEVICE";
    case UsbBus::ErrorNotFound:
        return "LIBUSB_ERROR_NOT_FOUND";
    case UsbBus::ErrorBusy:
        return "LIBUSB_ERROR_BUSY";
    case UsbBus::ErrorTimeout:
        return "LIBUSB_ERROR_TIMEOUT";
    case UsbBus::ErrorOverflow:
        return "LIBUSB_ERROR_OVERFLOW";
    case UsbBus::ErrorPipe:
        return "LIBUSB_ERROR_PIPE";
    case UsbBus::ErrorInterrupted:
        return "LIBUSB_ERROR_INTERRUPTED";
    case UsbBus::ErrorNoMemory:
        return "LIBUSB_ERROR_NO_MEM";
    case UsbBus::ErrorNotSupported:
        return "LIBUSB_ERROR_NOT_SUPPORTED";
    case UsbBus::ErrorOther:
        return "LIBUSB_ERROR_OTHER";
    default:
        return "LIBUSB_ERROR_OTHER";
    }
}

UsbBus &defaultUsbBus()
{
    return chosenBus ? *chosenBus : emptyBus;
}

void setDefaultUsbBus(UsbBus *bus)
{
    chosenBus = bus;
}

} // namespace lm740
