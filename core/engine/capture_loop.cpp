#include "core/engine/capture_loop.h"

#include <algorithm>
#include <chrono>
#include <string_view>

#include "core/base/log.h"

namespace tw {

void StopSignal::request() {
    {
        std::lock_guard lock(mutex_);
        stop_.store(true, std::memory_order_release);
    }
    cv_.notify_all();
}

bool StopSignal::wait_for(uint32_t ms) {
    std::unique_lock lock(mutex_);
    return cv_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return requested(); });
}

uint32_t backoff_ms(uint32_t retry) { return kFirstBackoffMs << std::min(retry, kMaxBackoffShift); }

uint32_t poll_round_ms(uint32_t copy_ms, uint64_t still_ms) {
    const uint64_t copy_bound = uint64_t{copy_ms} * kCopyShareDivisor;
    uint64_t round = std::max<uint64_t>(kFrameMs, copy_bound);
    if (still_ms >= kStillAfterMs) round = std::max<uint64_t>(round, kStillPollMs);
    return static_cast<uint32_t>(std::min<uint64_t>(round, UINT32_MAX));
}

namespace {

// The two lines of a recovery: before trying, and when this round's try failed.
struct RecoveryLines {
    std::string_view trying;
    std::string_view failed;
};

constexpr RecoveryLines kBroken{
    "zone_share: duplication broken (ACCESS_LOST or INVALID_CALL), recreating duplicator",
    "zone_share: recovery failed this round (will keep retrying)"};
constexpr RecoveryLines kUnexpected{
    "zone_share: unexpected AcquireNextFrame failure, recreating duplicator",
    "zone_share: unexpected-failure recovery failed this round (will keep retrying)"};

class Capture {
public:
    Capture(const CaptureRun& run, CaptureMethod method, std::unique_ptr<CaptureSource> source)
        : run_(run), method_(method), source_(std::move(source)), last_change_(run.clock.now_ms()) {}

    CaptureEnd loop() {
        while (!run_.stop.requested()) round();
        return CaptureEnd::Stopped;
    }

private:
    void round() {
        const uint64_t start = run_.clock.now_ms();
        if (!source_->duplicating()) return recover(kBroken);
        const FrameWait got = source_->acquire(kAcquireTimeoutMs);
        const uint64_t acquired = run_.clock.now_ms();
        switch (got) {
        case FrameWait::Lost: return recover(kBroken);
        case FrameWait::Failed: return recover(kUnexpected);
        case FrameWait::Timeout:
            if (!source_->polls()) return;  // the wait itself was the round
            break;
        case FrameWait::Unusable: break;
        case FrameWait::Frame:
            // An empty zone takes frames but never shows one; either way a frame that
            // came through means the capture works again.
            if (run_.empty_zone) {
                source_->release_frame();
                retry_ = 0;
            } else if (source_->present()) {
                retry_ = 0;
            }
            last_change_ = acquired;
            break;
        }
        pace(start, acquired);
    }

    void pace(uint64_t start, uint64_t acquired) {
        uint64_t round = kFrameMs;
        if (source_->polls()) round = poll_round_ms(clamp_ms(acquired - start), acquired - last_change_);
        const uint64_t elapsed = run_.clock.now_ms() - start;
        if (elapsed < round && !run_.stop.requested()) run_.waiter.sleep_ms(clamp_ms(round - elapsed));
    }

    void recover(const RecoveryLines& lines) {
        run_.waiter.sleep_ms(backoff_ms(retry_));
        if (retry_ < UINT32_MAX) ++retry_;
        if (run_.stop.requested()) return;  // ended during the back-off: nothing to rebuild
        log(lines.trying);
        if (source_->reopen()) return;
        if (auto fresh = run_.factory.open(method_)) {
            source_ = std::move(fresh);
        } else {
            log(lines.failed);  // the old source stays, without duplication
        }
    }

    static uint32_t clamp_ms(uint64_t ms) { return static_cast<uint32_t>(std::min<uint64_t>(ms, UINT32_MAX)); }

    const CaptureRun& run_;
    CaptureMethod method_;
    std::unique_ptr<CaptureSource> source_;
    uint32_t retry_ = 0;
    uint64_t last_change_;
};

}  // namespace

CaptureEnd run_capture(const CaptureRun& run) {
    CaptureMethod method = CaptureMethod::Duplication;
    std::unique_ptr<CaptureSource> source = run.factory.open(method);
    if (!source) {
        if (run.stop.requested()) return CaptureEnd::Stopped;  // the share ended while it started
        method = CaptureMethod::ScreenCopy;
        source = run.factory.open(method);
        if (source) log("zone_share: desktop duplication unavailable; capturing the zone with screen copies");
    }
    if (!source) {
        log("zone_share: capture thread exiting, Duplicator::new() failed");
        return CaptureEnd::StartFailed;
    }
    return Capture(run, method, std::move(source)).loop();
}

}  // namespace tw
