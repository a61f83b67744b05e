#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/status.h"
#include "serial/dcb.h"

namespace serial {

// The modem control lines the program may drive itself.
enum class ModemLine { Dtr, Rts };

// One open serial device, held exclusively. Destroying it closes the device.
class Device {
public:
    virtual ~Device() = default;

    // Applies the whole record. Output handed over before is sent first,
    // including the time its last characters need on the line, so the record
    // governs every byte written after this call and none written before it.
    virtual bool SetState(const DCB& dcb) = 0;
    virtual bool GetState(DCB& dcb) = 0;

    // Takes bytes into the device's output queue and returns at once; they
    // go out in order, before any later Write or SetState. Refused (false,
    // nothing taken) when the device has failed or while its queue holds its
    // limit, what it sends in about two seconds (at least 64 KiB); below the
    // limit a write of any size is taken whole. So a line that does not
    // drain never holds up the caller, and the queue grows past its limit
    // by one write at most.
    virtual bool Write(const std::uint8_t* data, std::size_t count) = 0;

    // Write, keeping the block itself in the queue instead of a copy (a
    // loaded file the caller keeps too): memory holds the bytes once. The
    // block is let go once sent, discarded or refused.
    virtual bool WriteShared(std::shared_ptr<const std::uint8_t[]> block, std::size_t count)
    {
        return Write(block.get(), count);
    }

    // Write for the rest of a frame whose first part Write has just taken
    // (with a SetState between): never refused for a full queue, so that
    // first part never leaves alone. Refused only by a failed device.
    virtual bool WriteFollowing(const std::uint8_t* data, std::size_t count) = 0;

    // Bytes the queue still takes in writes made now: below the limit, the
    // first write is taken whole however long. 0 while a write is refused.
    virtual std::size_t OutputRoom() = 0;

    // How many of the bytes Write took never left the program: dropped when
    // the device failed, or discarded by Release (from the queue and from
    // the driver's buffer). Grows only; meant to be read after Release.
    virtual std::uint64_t DiscardedOutput() = 0;

    // Copies up to count bytes that have arrived; the device keeps reading
    // into a buffer of its own, so this never blocks more than a few ms.
    virtual std::size_t Read(std::uint8_t* buffer, std::size_t count) = 0;

    // Ends the use of the device within a fraction of a second: output still
    // queued gets a short while to leave, whatever has not gone by then is
    // discarded, restore is applied at once, and the device with its lock
    // and exclusive-use flag is released. Later calls do nothing; destroying
    // the device releases it the same way without restoring anything.
    virtual void Release(const DCB& restore) = 0;

    // True once the device has gone away: hung up, unplugged (I/O error, no
    // such device) or its path no longer leads to it. A gone device stays
    // gone; it refuses writes and settings.
    virtual bool IsGone() = 0;

    // Asks to be told when bytes arrive, so a reader need not poll for them:
    // onArrival is called, from any thread, when bytes come in and at most
    // once between two calls of Read, so it never floods a reader that reads
    // when called. Replaces the function given before; an empty function
    // stops the calls. A device that cannot tell never calls it.
    virtual void NotifyArrival(std::function<void()> onArrival) { (void)onArrival; }
    // Calls onArrival only once at least `bytes` wait unread (1 when never
    // set), so a reader that only needs to keep up is woken once per block
    // rather than once per piece the line delivers. A device that ignores
    // it calls on every arrival.
    virtual void SetArrivalThreshold(std::size_t bytes) { (void)bytes; }

    // Why the driver refused the last SetState that answered false, in its
    // words (an unsupported rate: "Invalid argument"); ok when it gave no
    // reason.
    virtual base::Status LastRefusal() { return {}; }

    // Raises or lowers a modem line, or starts or ends a break, at once:
    // beside queued output, not behind it. The driver's refusal comes with
    // its errno and no subject (a pseudo-terminal has no lines and sends no
    // break: ENOTTY); a device that cannot do it at all says ENOTSUP.
    virtual base::Status SetModemLine(ModemLine line, bool raised)
    {
        (void)line;
        (void)raised;
        return base::Status::FromErrno({}, ENOTSUP);
    }
    virtual base::Status SetBreak(bool on)
    {
        (void)on;
        return base::Status::FromErrno({}, ENOTSUP);
    }
};

// Watches for serial devices arriving and leaving; stops when destroyed.
class HotplugWatch {
public:
    virtual ~HotplugWatch() = default;
};

// What stands behind a port, so users can tell two adapters apart.
struct PortHardware {
    enum class Kind { Unknown, Usb, OnBoardUart, PseudoTerminal };
    Kind kind = Kind::Unknown;
    // For a USB device, as it reports itself; any of them may be empty.
    std::string vendorId; // four hexadecimal digits, "0403"
    std::string productId;
    std::string manufacturer;
    std::string product;
    std::string serialNumber;
};

inline constexpr std::uint32_t kDeviceArrived = 0x8000;
inline constexpr std::uint32_t kDeviceRemoved = 0x8004;

// The platform's serial devices.
class DeviceSystem {
public:
    virtual ~DeviceSystem() = default;

    // Opens a device for exclusive use. A failure is on path, with the
    // system's errno (EBUSY when another holds the device, ENOTTY when path
    // is not a terminal) and its words.
    virtual base::Result<std::unique_ptr<Device>> Open(const std::string& path) = 0;

    // The present serial ports in a stable order, then each path of extra
    // that exists and is not listed yet. A port held open by anyone is listed.
    virtual std::vector<std::string> ListPorts(const std::vector<std::string>& extra) = 0;

    // What stands behind the port at path; Unknown when the system cannot tell.
    virtual PortHardware DescribeHardware(const std::string& path)
    {
        (void)path;
        return {};
    }

    // The group whose members may read and write the device at path, by
    // name, to tell a user who was refused what to join. Empty when there is
    // none worth naming: no such device, a group without a name, root's
    // group, or one that lacks read or write permission itself.
    virtual std::string AccessGroup(const std::string& path)
    {
        (void)path;
        return {};
    }

    // Calls onChange, from any thread, with kDeviceArrived or kDeviceRemoved.
    virtual std::unique_ptr<HotplugWatch> WatchHotplug(std::function<void(std::uint32_t event)> onChange) = 0;
};

DeviceSystem& LinuxDeviceSystem();
DeviceSystem& WindowsDeviceSystem();

} // namespace serial
