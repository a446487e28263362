// The USB link to one Lm740: finds it by vendor and product id, opens and identifies it, and
// carries vendor control transfers (and a bulk pair). It never shows a message: every failure is
// -1, its cause traced once in lm740.usb, and after a failed control transfer the device is closed,
// so that the next transfer searches for it again. That is how the link recovers after the cable
// is pulled. The one thing it retries is the identification of a device it has just opened: an
// answer lost on a poor cable is asked for again, a few times, before the device counts as mute.
#pragma once

#include "usb_bus.h"

#include <QStringList>
#include <QtGlobal>

#include <vector>

namespace lm740 {

// One Lm740 as a search finds it: the names a user gives to choose it, and what it runs.
struct ControllerInfo
{
    QString port;       // its USB socket, "1-4.2"
    QByteArray serial;  // its serial number; empty when it has none
    QByteArray version; // its version text up to the first zero byte; empty when it gave none

    // Whether a user who gave `name` means this controller: its port, or its serial number.
    bool isNamed(const QString &name) const;
    // "1-4.2 (rel_0_16)", as a menu or a message names it.
    QString label() const;
};

class UsbDevice
{
public:
    // Why the last search found no controller, so that a caller can tell "not there" from "there
    // but not ours to open", and a device that never answered from one that answered as another.
    enum class SearchResult {
        Found,
        NotFound,
        NoPermission,
        NotIdentified, // could not be set up, or gave no whole answer to the identification
        OtherDevice,   // answered the identification, but not as an Lm740
        Several,       // more than one Lm740 answered while a choice is required and none was made
    };
    // Times the identification is asked of a device that opened before it counts as mute. A
    // device that times out is not asked again: it is not losing answers, it is not answering.
    static constexpr int kIdentifyAttempts = 3;

    UsbDevice(); // on defaultUsbBus()
    explicit UsbDevice(UsbBus &bus);
    ~UsbDevice();
    UsbDevice(const UsbDevice &) = delete;
    UsbDevice &operator=(const UsbDevice &) = delete;

    void setIds(quint16 vendorId, quint16 productId);
    // Closes what is open and searches again. 0 when a controller was found and identified.
    int open();
    void close();
    // Bytes sent, or -1. No data (null or length 0) sends the request without a data stage.
    int controlOut(quint8 request, quint16 value, quint16 index, const unsigned char *data,
                   int length);
    // Bytes received (the caller checks the count), or -1.
    int controlIn(quint8 request, quint16 value, quint16 index, unsigned char *buffer, int length);
    int bulkWrite(const unsigned char *data, int length);
    int bulkRead(unsigned char *buffer, int length);
    // 0 when a handle is held, -1 otherwise.
    int isOpen() const;

    SearchResult lastSearchResult() const;

    // How many times a search asks a device that opened what it is (kIdentifyAttempts unless
    // told otherwise; at least once). The upgrade asks once, so that each question counts.
    void setIdentifyAttempts(int attempts);
    int identifyAttempts() const;

    // The controller that open() and the transfers reach: the one with this port or serial number
    // (ControllerInfo::isNamed), and no other, even when it is gone. Empty: the first that answers.
    void setName(const QString &name);
    QString name() const;
    // With a choice required and no name, a search that finds more than one Lm740 opens none.
    void setChoiceRequired(bool required);
    // The port of the controller held open; empty while closed.
    QString openPort() const;

    // Every Lm740 on the bus, in bus order, whatever the name says. What is open is closed first;
    // lastSearchResult() tells why the list is empty.
    std::vector<ControllerInfo> listControllers();
    // The ports of the devices with our ids that the last search saw, opened or not: a poll can
    // tell from them that a controller came or went without searching again.
    QStringList lastSearchPorts() const;
    // Moves the link to another bus; what is open is closed first.
    void setBus(UsbBus &bus);

private:
    int openUnlocked();
    // What one device of the listing turned out to be when it was set up and asked.
    enum class Identification {
        Identified, // an Lm740, held open
        Refused,    // the system would not let us open it
        Mute,       // could not be set up, or gave no whole answer at any attempt
        Other,      // answered, but not as an Lm740
    };
    // Opens, configures and claims one device of the listing; false (traced, nothing held) when
    // it could not be, with *refused set when the system denied it.
    bool setUpUnlocked(const UsbBusDevice &candidate, bool *refused);
    // Sets the device up and asks what it is, again after a lost answer; only an Lm740 stays open.
    Identification identifyUnlocked(const UsbBusDevice &candidate);
    bool serialUnlocked(const UsbBusDevice &candidate, QByteArray *serial);
    std::vector<UsbBusDevice> candidatesUnlocked();
    void closeUnlocked();
    int controlInUnlocked(quint8 request, quint16 value, quint16 index, unsigned char *buffer,
                          int length);
    int bulkUnlocked(quint8 endpoint, unsigned char *data, int length);

    quint16 productId = 0;
    quint16 vendorId = 0;
    UsbHandle handle = nullptr;
    UsbBus *m_bus;
    SearchResult m_lastSearch = SearchResult::NotFound;
    int m_lastBusError = 0; // of the last control transfer that failed
    QString m_name;
    QString m_openPort;
    QStringList m_lastPorts;
    bool m_choiceRequired = false;
    int m_identifyAttempts = kIdentifyAttempts;
};

} // namespace lm740
