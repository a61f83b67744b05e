#pragma once

#include "serial/device.h"

namespace serial {

// Stands in for a device that has gone away and has not come back yet: it
// refuses writes and settings, has nothing to read, and stays gone.
class AbsentDevice : public Device {
public:
    bool SetState(const DCB&) override { return false; }
    bool GetState(DCB&) override { return false; }
    bool Write(const std::uint8_t*, std::size_t) override { return false; }
    bool WriteFollowing(const std::uint8_t*, std::size_t) override { return false; }
    std::size_t OutputRoom() override { return 0; }
    std::uint64_t DiscardedOutput() override { return 0; }
    std::size_t Read(std::uint8_t*, std::size_t) override { return 0; }
    void Release(const DCB&) override {}
    bool IsGone() override { return true; }
};

} // namespace serial
