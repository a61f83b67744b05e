#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

#include "serial/device.h"
#include "serial/input_buffer.h"
#include "serial/output_queue.h"
#include "threads/condition_variable.h"
#include "threads/mutex.h"

namespace serial {

// The caller's side of a device served by an I/O thread of its own, the same
// on every system: writes and line records go into an output queue, reads
// come from an input buffer the thread fills, and nothing the caller does
// waits on the line. A system's device derives from it, starts the thread
// (m_thread) with its own I/O loop, adds its opening, settings reading and
// closing, and says how the thread is woken (Wake), what the driver still
// holds (DriverPending) and how the driver's I/O is cut short
// (AbortDriverIo); its closing goes through StopIo.
class QueuedDevice : public Device {
public:
    bool Write(const std::uint8_t* data, std::size_t count) override EXCLUDES(m_mutex);
    bool WriteShared(std::shared_ptr<const std::uint8_t[]> block, std::size_t count) override EXCLUDES(m_mutex);
    bool WriteFollowing(const std::uint8_t* data, std::size_t count) override EXCLUDES(m_mutex);
    std::size_t OutputRoom() override EXCLUDES(m_mutex);
    std::uint64_t DiscardedOutput() override EXCLUDES(m_mutex);
    std::size_t Read(std::uint8_t* buffer, std::size_t count) override EXCLUDES(m_mutex);
    void NotifyArrival(std::function<void()> onArrival) override EXCLUDES(m_mutex);
    void SetArrivalThreshold(std::size_t bytes) override EXCLUDES(m_mutex);
    base::Status LastRefusal() override EXCLUDES(m_mutex);
    // Stops the thread and gives the device back (Finish with the record).
    void Release(const DCB& restore) override EXCLUDES(m_mutex);

protected:
    // Received bytes kept for the reader; beyond this the thread stops
    // reading and the driver's own buffer and flow control take over.
    static constexpr std::size_t kInputCapacity = 1u << 20;
    // How long QueueRecord waits to learn whether the driver accepted its
    // record, when nothing is queued ahead of it.
    static constexpr std::chrono::milliseconds kSettingsWait{50};

    QueuedDevice();

    // How long closing waits for queued output to leave, and how often it
    // looks at the driver meanwhile.
    static constexpr std::chrono::milliseconds kCloseDrainWait{200};
    static constexpr std::chrono::milliseconds kCloseDrainStep{2};

    // Tells the I/O thread there is work: output, a record, a read that made
    // room, stopping. Callable from any thread, with or without the mutex.
    virtual void Wake() = 0;
    // Bytes the driver still holds for sending; 0 when it cannot tell.
    virtual std::size_t DriverPending() = 0;
    // Discards what the driver holds for sending and ends any I/O the
    // thread has under way with it (a drain, an overlapped read or write).
    virtual void AbortDriverIo() REQUIRES(m_mutex) = 0;

    // The one way a device's I/O ends, on closing: waits up to
    // kCloseDrainWait for queued output and what the driver holds to leave;
    // then, in one step under the mutex, marks the device stopping (the
    // thread gives the driver nothing more once it sees that), counts what
    // the driver still holds as discarded and aborts the driver's I/O; wakes
    // and joins the thread, and discards whatever is still queued. Returns
    // whether the device had failed (a failed device's settings are not
    // restored).
    bool StopIo() EXCLUDES(m_mutex);

    // Ends the device once, for Release and for the system's destructor
    // (with null): StopIo, then, unless the device failed, the record
    // applied with ApplyFinalRecord, then CloseDevice.
    void Finish(const DCB* restore) EXCLUDES(m_mutex);
    virtual void ApplyFinalRecord(const DCB& record) = 0;
    virtual void CloseDevice() = 0;
    bool Released() const { return m_released; }

    // Sleeps until `when`; false when the device is stopping or has failed.
    bool PauseUntil(std::chrono::steady_clock::time_point when) EXCLUDES(m_mutex);

    // Queues a line record behind everything handed over. Behind queued
    // output it answers true at once and the record is applied in order
    // later; with nothing ahead it waits up to kSettingsWait for the
    // thread's answer (true when it has none yet and the device still
    // works). False on a failed or stopping device.
    bool QueueRecord(const DCB& dcb) EXCLUDES(m_mutex);

    // The device no longer works: queued output is discarded and waiting
    // callers are told.
    void Fail() EXCLUDES(m_mutex);
    void FailLocked() REQUIRES(m_mutex);

    // Shared between the caller's thread and the I/O thread.
    threads::Mutex m_mutex;
    threads::ConditionVariable m_progress; // output completed, device failed, stopping
    InputBuffer m_input GUARDED_BY(m_mutex);
    // Bytes and records in order; its record in force is the one applied.
    OutputQueue m_output GUARDED_BY(m_mutex);
    bool m_failed GUARDED_BY(m_mutex) = false;
    bool m_stopping GUARDED_BY(m_mutex) = false;
    base::Status m_refusal GUARDED_BY(m_mutex); // why the last record waited for was refused

    // The I/O thread, started by the system's device and joined by StopIo.
    std::thread m_thread;

private:
    bool m_released = false; // the caller's thread only

    // Queues count bytes at the start of block (see OutputQueue::Add).
    bool Enqueue(std::shared_ptr<const std::uint8_t[]> block, std::size_t count, bool evenWhenFull) EXCLUDES(m_mutex);
};

} // namespace serial
