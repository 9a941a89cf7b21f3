// The capture thread's rounds against a scripted source, a fake clock and a waiter that
// only advances that clock: back-off, recovery, pacing, the empty zone and stopping.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <thread>
#include <vector>

#include "core/base/log.h"
#include "core/engine/capture_loop.h"
#include "support/fake_desktop.h"

namespace tw {
namespace {

// What the fakes did, in order, and what they answer next.
struct World {
    test::FakeClock clock;
    StopSignal stop;
    std::vector<std::string> events;
    std::deque<FrameWait> frames;           // acquire() answers; stop is requested once empty
    std::deque<bool> reopens;               // reopen() answers; false once empty
    std::deque<bool> opens{true};           // factory answers for each open(); false once empty
    uint64_t acquire_cost = 1;              // ms an answer other than a duplication timeout takes
    bool polling = false;                   // the sources poll (screen copies)
    bool present_ok = true;
    std::optional<size_t> stop_in_sleep;    // request stop during this sleep (0-based)
    std::vector<uint32_t> sleeps;

    static bool pop(std::deque<bool>& q) {
        if (q.empty()) return false;
        bool v = q.front();
        q.pop_front();
        return v;
    }
};

class FakeSource final : public CaptureSource {
public:
    explicit FakeSource(World& w) : w_(w) {}
    bool duplicating() const override { return duplicating_; }
    FrameWait acquire(uint32_t timeout_ms) override {
        w_.events.push_back("acquire");
        if (w_.frames.empty()) {
            // The UI thread asks to stop while the source waits.
            w_.stop.request();
            w_.clock.advance(timeout_ms);
            return FrameWait::Timeout;
        }
        const FrameWait got = w_.frames.front();
        w_.frames.pop_front();
        w_.clock.advance(got == FrameWait::Timeout && !w_.polling ? timeout_ms : w_.acquire_cost);
        return got;
    }
    bool present() override {
        w_.events.push_back("present");
        return w_.present_ok;
    }
    void release_frame() override { w_.events.push_back("release"); }
    bool reopen() override {
        w_.events.push_back("reopen");
        duplicating_ = World::pop(w_.reopens);
        return duplicating_;
    }
    bool polls() const override { return w_.polling; }

private:
    World& w_;
    bool duplicating_ = true;
};

class FakeFactory final : public CaptureFactory {
public:
    explicit FakeFactory(World& w) : w_(w) {}
    std::unique_ptr<CaptureSource> open(CaptureMethod method) override {
        w_.events.push_back(method == CaptureMethod::Duplication ? "open duplication" : "open copy");
        if (!World::pop(w_.opens)) return nullptr;
        return std::make_unique<FakeSource>(w_);
    }

private:
    World& w_;
};

class FakeWaiter final : public CaptureWaiter {
public:
    explicit FakeWaiter(World& w) : w_(w) {}
    void sleep_ms(uint32_t ms) override {
        w_.events.push_back("sleep " + std::to_string(ms));
        if (w_.stop_in_sleep && *w_.stop_in_sleep == w_.sleeps.size()) w_.stop.request();
        w_.sleeps.push_back(ms);
        w_.clock.advance(ms);
    }

private:
    World& w_;
};

struct Outcome {
    CaptureEnd end;
    std::vector<std::string> lines;
};

Outcome run(World& w, bool empty_zone = false) {
    LogCapture logs;
    FakeFactory factory(w);
    FakeWaiter waiter(w);
    const CaptureEnd end = run_capture({factory, w.clock, waiter, w.stop, empty_zone});
    return {end, logs.lines()};
}

using Events = std::vector<std::string>;
constexpr auto kBrokenLine = "zone_share: duplication broken (ACCESS_LOST or INVALID_CALL), recreating duplicator";
constexpr auto kBrokenFailed = "zone_share: recovery failed this round (will keep retrying)";
constexpr auto kUnexpectedLine = "zone_share: unexpected AcquireNextFrame failure, recreating duplicator";
constexpr auto kUnexpectedFailed = "zone_share: unexpected-failure recovery failed this round (will keep retrying)";

TEST(CaptureBackoff, DoublesFrom250AndStaysAt2000) {
    const std::pair<uint32_t, uint32_t> cases[] = {{0, 250},  {1, 500},  {2, 1000},        {3, 2000},
                                                    {4, 2000}, {9, 2000}, {UINT32_MAX, 2000}};
    for (auto [retry, ms] : cases) EXPECT_EQ(backoff_ms(retry), ms) << "retry " << retry;
}

TEST(CaptureLoop, RecoveryBacksOffUntilDuplicationReturnsAndAGoodFrameResetsIt) {
    World w;
    w.frames = {FrameWait::Lost, FrameWait::Frame, FrameWait::Lost};
    // The first four recoveries find no duplication and no new source; the fifth reopens.
    w.reopens = {false, false, false, false, true, true};
    w.opens = {true, false, false, false, false};
    const Outcome out = run(w);
    EXPECT_EQ(out.end, CaptureEnd::Stopped);
    // Back-off 250, 500, 1000, 2000, 2000; the frame paces 15 ms (16 minus the 1 ms it
    // took); after it the back-off starts again at 250.
    EXPECT_EQ(w.sleeps, (std::vector<uint32_t>{250, 500, 1000, 2000, 2000, 15, 250}));
    const std::vector<std::string> expected_lines = {
        kBrokenLine, kBrokenFailed, kBrokenLine, kBrokenFailed, kBrokenLine, kBrokenFailed,
        kBrokenLine, kBrokenFailed, kBrokenLine, kBrokenLine};
    EXPECT_EQ(out.lines, expected_lines);
    // Rounds without duplication go straight to recovery, without acquiring.
    EXPECT_EQ(std::count(w.events.begin(), w.events.end(), "acquire"), 4);
    EXPECT_EQ(std::count(w.events.begin(), w.events.end(), "present"), 1);
}

TEST(CaptureLoop, UnexpectedFailuresUseTheirOwnLinesAndANewSourceReplacesTheOld) {
    World w;
    w.frames = {FrameWait::Failed, FrameWait::Frame};
    w.reopens = {false, false};
    w.opens = {true, false, true};
    const Outcome out = run(w);
    // The second recovery starts from a source left without duplication: "broken".
    EXPECT_EQ(out.lines, (std::vector<std::string>{kUnexpectedLine, kUnexpectedFailed, kBrokenLine}));
    const Events expected = {"open duplication", "acquire",  "sleep 250", "reopen",
                             "open duplication", "sleep 500", "reopen",   "open duplication",
                             "acquire",          "present",   "sleep 15", "acquire"};
    EXPECT_EQ(w.events, expected);
}

TEST(CaptureLoop, EmptyZoneTakesAndReleasesFramesButNeverPresents) {
    World w;
    w.frames = {FrameWait::Frame, FrameWait::Timeout, FrameWait::Frame, FrameWait::Lost, FrameWait::Frame,
                FrameWait::Lost};
    w.reopens = {true, true};
    run(w, /*empty_zone=*/true);
    EXPECT_EQ(std::count(w.events.begin(), w.events.end(), "present"), 0);
    EXPECT_EQ(std::count(w.events.begin(), w.events.end(), "release"), 3);
    // A released frame still counts as good: both recoveries wait 250 ms.
    EXPECT_EQ(std::count(w.sleeps.begin(), w.sleeps.end(), 250u), 2);
    EXPECT_EQ(std::count(w.sleeps.begin(), w.sleeps.end(), 500u), 0);
}

TEST(CaptureLoop, StopEndsTheThreadWithinOneWait) {
    struct Case {
        const char* what;
        std::deque<FrameWait> frames;
        std::optional<size_t> stop_in_sleep;
        Events tail;  // the last events before the thread ends
    };
    const Case cases[] = {
        // Stop arrives while acquire() waits: no second acquire, no pacing sleep.
        {"during the frame wait", {FrameWait::Timeout}, std::nullopt, {"acquire", "acquire"}},
        // Stop arrives during the back-off: the recovery does not rebuild anything.
        {"during the back-off", {FrameWait::Lost}, 0, {"acquire", "sleep 250"}},
        // Stop arrives during the pacing sleep after a frame.
        {"during the pacing", {FrameWait::Frame}, 0, {"present", "sleep 15"}},
    };
    for (const Case& c : cases) {
        World w;
        w.frames = c.frames;
        w.stop_in_sleep = c.stop_in_sleep;
        const Outcome out = run(w);
        EXPECT_EQ(out.end, CaptureEnd::Stopped) << c.what;
        ASSERT_GE(w.events.size(), c.tail.size()) << c.what;
        EXPECT_EQ(Events(w.events.end() - static_cast<ptrdiff_t>(c.tail.size()), w.events.end()), c.tail) << c.what;
        EXPECT_TRUE(out.lines.empty() || out.lines.back() != kBrokenLine) << c.what;
    }
}

TEST(CaptureLoop, FirstStartFailureEndsTheThreadOnceWithItsLine) {
    World w;
    w.opens = {false, false};
    const Outcome out = run(w);
    EXPECT_EQ(out.end, CaptureEnd::StartFailed);
    EXPECT_EQ(out.lines, (std::vector<std::string>{"zone_share: capture thread exiting, Duplicator::new() failed"}));
    EXPECT_EQ(w.events, (Events{"open duplication", "open copy"}));
}

TEST(CaptureLoop, ScreenCopiesTakeOverWhenDuplicationCannotStartAndAreRebuiltAsSuch) {
    World w;
    w.polling = true;
    w.opens = {false, true, true};
    w.frames = {FrameWait::Lost};
    w.reopens = {false};
    const Outcome out = run(w);
    EXPECT_EQ(out.lines.front(), "zone_share: desktop duplication unavailable; capturing the zone with screen copies");
    EXPECT_EQ(w.events[0], "open duplication");
    EXPECT_EQ(w.events[1], "open copy");
    EXPECT_EQ(std::count(w.events.begin(), w.events.end(), "open duplication"), 1);
    EXPECT_EQ(std::count(w.events.begin(), w.events.end(), "open copy"), 2);
}

TEST(CaptureLoop, RoundsArePacedToTheFrameAndPollingToItsCopyCost) {
    struct Case {
        const char* what;
        bool polling;
        uint64_t cost;
        std::deque<FrameWait> frames;
        std::vector<uint32_t> sleeps;
    };
    const Case cases[] = {
        {"a quick frame waits out the 16 ms", false, 5, {FrameWait::Frame}, {11}},
        {"a slow frame does not wait", false, 20, {FrameWait::Frame}, {}},
        {"a duplication timeout starts the next round at once", false, 5, {FrameWait::Timeout}, {}},
        {"an unreadable frame is paced like a frame", false, 5, {FrameWait::Unusable}, {11}},
        {"polling: copies take at most a quarter of the time", true, 10, {FrameWait::Frame, FrameWait::Timeout}, {30, 30}},
        {"polling: a cheap copy polls every frame", true, 2, {FrameWait::Frame}, {14}},
    };
    for (const Case& c : cases) {
        World w;
        w.polling = c.polling;
        w.acquire_cost = c.cost;
        w.frames = c.frames;
        run(w);
        EXPECT_EQ(w.sleeps, c.sleeps) << c.what;
    }
}

TEST(CaptureLoop, PollingSlowsDownOnceTheZoneStaysStill) {
    World w;
    w.polling = true;
    w.acquire_cost = 2;
    w.frames.push_back(FrameWait::Frame);
    for (int i = 0; i < 80; ++i) w.frames.push_back(FrameWait::Timeout);
    w.frames.push_back(FrameWait::Frame);
    w.frames.push_back(FrameWait::Timeout);
    run(w);
    // 16 ms rounds for the first second after a change, then one poll per 250 ms; the
    // change brings back 16 ms rounds.
    ASSERT_EQ(w.sleeps.size(), 83u);
    EXPECT_EQ(w.sleeps[0], 14u);
    EXPECT_EQ(w.sleeps[60], 14u);
    EXPECT_EQ(w.sleeps[70], 248u);
    EXPECT_EQ(w.sleeps[80], 248u);
    EXPECT_EQ(w.sleeps[81], 14u);
    EXPECT_EQ(w.sleeps[82], 14u);
}

TEST(CapturePacing, PollRoundTable) {
    struct Case {
        uint32_t copy_ms;
        uint64_t still_ms;
        uint32_t round;
    };
    const Case cases[] = {{0, 0, 16},      {4, 0, 16},       {5, 0, 20},      {90, 0, 360},
                          {2, 999, 16},    {2, 1000, 250},   {90, 5000, 360}, {UINT32_MAX, 0, UINT32_MAX}};
    for (const Case& c : cases)
        EXPECT_EQ(poll_round_ms(c.copy_ms, c.still_ms), c.round) << c.copy_ms << " ms copy, still " << c.still_ms;
}

TEST(StopSignal, ARequestFromAnotherThreadEndsAWaitEarly) {
    StopSignal stop;
    EXPECT_FALSE(stop.wait_for(1));
    std::thread other([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        stop.request();
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(stop.wait_for(60000));
    other.join();
    // Far below the minute asked for: the request woke the wait.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    EXPECT_TRUE(stop.requested());
    EXPECT_TRUE(stop.wait_for(60000));
}

}  // namespace
}  // namespace tw
