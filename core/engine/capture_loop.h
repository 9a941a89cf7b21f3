#pragma once
// The capture thread of a zone share as a state machine: rounds that wait for the next
// desktop frame and present it into the mirror window, recovery with a capped back-off
// when the duplication is lost, the stop request checked every round, and the 16 ms
// frame pacing. The platform side (DXGI desktop duplication, or screen copies where
// duplication is unavailable) sits behind CaptureSource; time behind Clock and
// CaptureWaiter, so that every rule runs in tests without a desktop and without sleeping.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

#include "core/engine/desktop.h"

namespace tw {

// What waiting for the next frame gave.
enum class FrameWait : uint8_t {
    Frame,     // a frame is held until present() or release_frame()
    Timeout,   // the desktop did not change
    Lost,      // the duplication is gone (access lost, invalid call): rebuild it
    Failed,    // any other failure, already logged by the source: rebuild it
    Unusable,  // a frame came with nothing to show (only the pointer moved) or could not
               // be read; already released
};

// One open capture of the zone with the target it presents to.
class CaptureSource {
public:
    virtual ~CaptureSource() = default;
    // False once the duplication has been released and could not be made again.
    virtual bool duplicating() const = 0;
    // Waits at most `timeout_ms` for a changed frame. A polling source answers at once.
    virtual FrameWait acquire(uint32_t timeout_ms) = 0;
    // Copies the held frame's zone into the mirror, presents it and releases the frame.
    // False when the frame had to be dropped (the source logged why).
    virtual bool present() = 0;
    // Releases the held frame without copying it (the zone is empty).
    virtual void release_frame() = 0;
    // Releases the duplication and makes it again on the same device; false (logged by
    // the source) when that failed, leaving no duplication.
    virtual bool reopen() = 0;
    // True when acquire() never waits for a change but copies and compares: the loop
    // then paces the polling itself.
    virtual bool polls() const = 0;
};

// How the zone is captured: desktop duplication on the GPU, or copies of the screen
// compared with the previous frame where duplication cannot run.
enum class CaptureMethod : uint8_t { Duplication, ScreenCopy };

class CaptureFactory {
public:
    virtual ~CaptureFactory() = default;
    // A fresh source, or none (the factory logged why).
    virtual std::unique_ptr<CaptureSource> open(CaptureMethod method) = 0;
};

// The stop request shared by the UI thread and the capture thread. Waits end early when
// stop is requested, so that a share ends within one frame wait even during a back-off.
class StopSignal {
public:
    void request();
    bool requested() const { return stop_.load(std::memory_order_acquire); }
    // Sleeps up to `ms`; returns early (true) once stop is requested.
    bool wait_for(uint32_t ms);

private:
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable cv_;
};

class CaptureWaiter {
public:
    virtual ~CaptureWaiter() = default;
    virtual void sleep_ms(uint32_t ms) = 0;
};

// Sleeps on the stop signal.
class StopSignalWaiter final : public CaptureWaiter {
public:
    explicit StopSignalWaiter(StopSignal& stop) : stop_(stop) {}
    void sleep_ms(uint32_t ms) override { stop_.wait_for(ms); }

private:
    StopSignal& stop_;
};

inline constexpr uint32_t kAcquireTimeoutMs = 500;
inline constexpr uint32_t kFrameMs = 16;
inline constexpr uint32_t kFirstBackoffMs = 250;
inline constexpr uint32_t kMaxBackoffShift = 3;  // 250, 500, 1000, then 2000 ms
// A polling source stays at one copy per frame while the zone changes; once it has been
// still this long it polls every kStillPollMs, so a still desktop costs little.
inline constexpr uint32_t kStillAfterMs = 1000;
inline constexpr uint32_t kStillPollMs = 250;
// A polling source spends at most 1/kCopyShareDivisor of the time copying.
inline constexpr uint32_t kCopyShareDivisor = 4;

// Back-off before recovery round `retry` (counting from 0).
uint32_t backoff_ms(uint32_t retry);

// Length of one round of a polling source whose last copy took `copy_ms`, when the zone
// has not changed for `still_ms`.
uint32_t poll_round_ms(uint32_t copy_ms, uint64_t still_ms);

enum class CaptureEnd : uint8_t { Stopped, StartFailed };

struct CaptureRun {
    CaptureFactory& factory;
    Clock& clock;
    CaptureWaiter& waiter;
    const StopSignal& stop;
    bool empty_zone = false;  // width or height 0: frames are taken and released, never shown
};

// The thread body: opens a source (duplication first; screen copies when duplication
// cannot start, chosen once and logged), then runs rounds until stop is requested.
CaptureEnd run_capture(const CaptureRun& run);

}  // namespace tw
