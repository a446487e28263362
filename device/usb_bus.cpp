#include "usb_bus.h"

namespace lm740 {

namespace {
EmptyUsbBus emptyBus;
UsbBus *chosenBus = nullptr;
} // namespace

UsbBus &defaultUsbBus()
{
    return chosenBus ? *chosenBus : emptyBus;
}

void setDefaultUsbBus(UsbBus *bus)
{
    chosenBus = bus;
}

} // namespace lm740
