// The simulated controller on its bus, with the real UsbDevice and ControllerLink over it: the rig
// of every test (and benchmark) that talks to an Lm740 without one. Tests of the window make the
// rig the program's default bus, so that the UsbDevice inside MainWindow finds its controller.
#pragma once

#include "controller_link.h"
#include "sim_bus.h"
#include "usb_device.h"
#include "usb_requests.h"

#include <QList>

struct SimRig
{
    enum class Start {
        Unplugged, // the controller is made but not on the bus
        Plugged,   // on the bus, the link not yet opened
        Open,      // opened and identified, with the identification taken off the request log
    };

    lm740::SimController controller;
    lm740::SimBus bus;
    lm740::UsbDevice device{bus};
    lm740::ControllerLink link{device};

    explicit SimRig(Start start = Start::Open)
    {
        if (start != Start::Unplugged)
            bus.plug(controller);
        device.setIds(lm740::usb::kVendorId, lm740::usb::kProductId);
        if (start == Start::Open) {
            m_opened = device.open() == 0;
            controller.clearRequests();
        }
    }
    ~SimRig()
    {
        if (m_default)
            lm740::setDefaultUsbBus(nullptr);
    }
    SimRig(const SimRig &) = delete;
    SimRig &operator=(const SimRig &) = delete;

    // Whether Start::Open found the controller (a test checks it when a fault is set up before).
    bool opened() const { return m_opened; }

    // Makes this bus the one every default-made UsbDevice uses, until the rig goes.
    void makeDefaultBus()
    {
        lm740::setDefaultUsbBus(&bus);
        m_default = true;
    }

    // For long runs: no request log, no bus operation log.
    void quiet()
    {
        controller.setLogging(false);
        bus.recordOperations = false;
    }

    // The requests other than the identifications that each reopening of the link costs.
    QList<lm740::SimController::Request> memoryRequests() const
    {
        QList<lm740::SimController::Request> r;
        for (const auto &q : controller.requests())
            if (q.request != lm740::usb::LM_ID_REQUEST)
                r << q;
        return r;
    }

private:
    bool m_opened = false;
    bool m_default = false;
};
