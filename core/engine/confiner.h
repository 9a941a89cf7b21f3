#pragma once
// The confiner: a window the user maximises or makes fullscreen is restored into one
// of the zones of its monitor and held there. A held window that re-maximises is put
// back (within a budget), one moved into another zone is held there, one moved to a
// free position is let go. It works by polling: each pass looks at the foreground
// window first and then at every other held window.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/engine/desktop.h"
#include "core/engine/eligibility.h"
#include "core/engine/own_size.h"
#include "core/base/geometry.h"

namespace tw {

struct HeldWindow {
    bool release_pending = false;
    uint64_t release_since = 0;
    uint64_t release_delay = 50;
    bool settle_pending = false;
    uint64_t settle_at = 0;
    Rect zone;
    Rect rect;  // last set by the confiner, or last seen in place
    uint64_t budget_window = 3500;
    uint64_t budget_start = 0;
    uint32_t budget = 8;
    uint32_t reconfines = 0;
    // Held in a span of several zones rather than in one zone.
    bool span = false;
    friend bool operator==(const HeldWindow&, const HeldWindow&) = default;
};

// The hold's zone is one of `zones`, or, for a hold in a span, a span of them.
bool hold_fits(const HeldWindow& hw, const std::vector<Rect>& zones);

enum class ConfinerEventKind : uint8_t {
    InZone = 0,     // confined, or found sitting in its zone
    NotInZone = 1,  // not (or no longer) in a zone
};

struct ConfinerEvent {
    ConfinerEventKind kind;
    WindowId window;
    friend bool operator==(const ConfinerEvent&, const ConfinerEvent&) = default;
};

enum class Verdict : uint8_t { InPlace, Reconfine, MovedTo, Release };

struct Judgement {
    Verdict verdict = Verdict::Release;
    Rect zone;  // the zone a MovedTo verdict names
    friend bool operator==(const Judgement&, const Judgement&) = default;
};

// What a held window's current rectangles mean, shared by both halves of a pass.
Judgement judge(const Rect& wr, const Rect& vis, bool zoomed, const Rect& hold_zone,
                const Rect& hold_rect, const std::vector<Rect>& zones, const Rect& monitor,
                const Rect& work);

// The point whose zone a newly maximised window goes to: the cursor when it lies over
// the zones; else the centre of the restored rectangle when that is clearly smaller
// than the zones' bounding box; else the centre of the maximised rectangle.
Point takeover_point(const std::vector<Rect>& zones, std::optional<Point> cursor,
                     std::optional<Rect> normal_rect, const Rect& wr);

class Confiner {
public:
    // Placement is rate-limited to one per this many ms within a foreground streak.
    static constexpr uint64_t kStreakMinGapMs = 10;
    // A foreground window still fighting this long after its first placement is left.
    static constexpr uint64_t kSurrenderAfterMs = 3500;
    static constexpr uint64_t kSettleDelayMs = 40;

    Confiner(Desktop& desktop, Clock& clock);

    // Also forgets surrendered and hung windows that no longer exist.
    void set_monitor_table(std::vector<ConfinerRow> table);
    const std::vector<ConfinerRow>& monitor_table() const { return table_; }
    void set_ignore_list(std::vector<WindowId> ignore) {
        ignore_ = std::move(ignore);
        ++config_;
    }
    const std::vector<WindowId>& ignore_list() const { return ignore_; }
    // Windows the confiner leaves alone besides the ignore list (those of excluded
    // applications); asked only about a foreground window that passed the filters.
    void set_skip(std::function<bool(WindowId)> skip) {
        skip_ = std::move(skip);
        ++config_;
    }

    // Engine start: forgets holds, surrenders and the streak.
    void reset();
    // Engine stop: back to a freshly created, idle confiner (empty tables, new time
    // base, forgotten overlay-style log).
    void clear();
    // Either of the two above, also when it happens while a pass is moving a window
    // (the call waits for the window's application, and a message handled meanwhile
    // stops or restarts the engine): that pass then ends at once and changes nothing
    // more. No held-window record is kept by reference across such a call.

    // The foreground window the last pass found (0 before the first).
    WindowId last_foreground() const { return last_foreground_; }
    // One pass. A window whose last pass ended in a state that repeats (see `Quiet`)
    // and whose snapshot is unchanged since is not asked about again: the pass repeats
    // that outcome.
    void confine_tick();
    // The events of the passes since the last call, in order.
    std::vector<ConfinerEvent> take_events();

    // Whole milliseconds since the confiner was created.
    uint64_t now_ms() const;

    const HeldWindow* hold(WindowId w) const;
    bool holds(WindowId w) const { return hold(w) != nullptr; }
    size_t hold_count() const { return held_.size(); }
    std::vector<WindowId> held_windows() const {
        std::vector<WindowId> out;
        for (const auto& entry : held_) out.push_back(entry.first);
        return out;
    }
    void record_hold(WindowId w, const Rect& zone, const Rect& rect);
    void drop_hold(WindowId w);
    // A snap or keyboard move put the window into `zone`: when held, the hold follows.
    void move_hold(WindowId w, const Rect& zone);
    // The same for a window placed at `rect` rather than stretched over the zone.
    void move_hold(WindowId w, const Rect& zone, const Rect& rect);
    // The engine put w into `rect`, a zone or a span of the table. A span is kept until
    // the window is held, found out of it, placed anew or gone, so that the window, when
    // maximised before it is held, goes back into its span rather than into the zone
    // under the cursor.
    void note_placed(WindowId w, const Rect& rect);
    std::optional<Rect> placed_span(WindowId w) const;
    // The engine moved w to `rect` in `zone` outside a pass: held there, and placed
    // there once more a moment later for applications that adjust after a move.
    void hold_placed(WindowId w, const Rect& zone, const Rect& rect);

    // The sizes windows had before the engine first placed them; emptied by clear().
    OwnSizes& own_sizes() { return own_sizes_; }
    const OwnSizes& own_sizes() const { return own_sizes_; }

    bool is_surrendered(WindowId w) const { return surrendered_.count(w) != 0; }
    size_t surrendered_count() const { return surrendered_.size(); }
    const OverlayStyleLog& overlay_log() const { return overlay_log_; }

    // Moves the window, checks that it stayed, and retries once with "no send
    // changing" for windows that undo a plain move. False when the confiner was reset
    // or cleared while the window was being moved (nothing more is done then).
    bool confiner_place(WindowId w, const Rect& target);

private:
    // `rect` is no zone of the table (a span, when the engine put a window there).
    bool is_span(const Rect& rect) const;
    // The outcome of a pass for one window that the next pass may repeat unasked: taken
    // when the pass left nothing pending (no settle, release, streak or placement, no
    // choice that depends on the cursor, no window that did not answer). Valid while
    // the window's snapshot, its hold, its surrendered state and the tables are as they
    // were then.
    struct Quiet {
        std::optional<WindowSnapshot> snap;  // taken before the pass read the window
        std::optional<HeldWindow> hold;      // after the pass
        bool surrendered = false;
        uint64_t config = 0;
        // Foreground only: the window passed the window filters (the background half
        // leaves it out), and the events the pass added for it.
        bool passed_window_filters = false;
        std::vector<ConfinerEvent> events;
    };
    Quiet quiet_state(WindowId w, std::optional<WindowSnapshot> snap) const;
    bool still_quiet(WindowId w, const Quiet& q, const std::optional<WindowSnapshot>& snap) const;

    struct Streak {
        WindowId window = 0;
        uint64_t first_attempt = 0;
        uint64_t last_placement = 0;
        uint32_t rounds = 0;
    };

    // The steps of a pass that move a window return false when the confiner was reset
    // or cleared meanwhile: the pass then ends.
    bool foreground_half(const ForegroundWindow& fg);
    bool takeover(WindowId f, const std::string& cls, const MonitorRects& mr,
                  const std::vector<Rect>& zones, Rect wr, Rect vis, bool zoomed);
    bool judge_foreground(WindowId f, const MonitorRects& mr, const std::vector<Rect>& zones,
                          const Rect& wr, const Rect& vis);
    void background_half(WindowId skip);
    bool background_one(WindowId h);
    bool reconfine_background(WindowId h, HeldWindow& hw, bool zoomed, Rect wr, Rect vis);
    bool restore_window(WindowId w);
    // The foreground half leaves the window as it would leave it on every later pass
    // while nothing changes, whichever zone the cursor is over.
    void mark_steady() { steady_ = true; }
    // A window that does not answer is left alone for this pass (reported once).
    bool skip_hung(WindowId w);
    // The takeover line, unless it repeats the previous one word for word.
    void log_takeover(std::string line);
    bool release_check(HeldWindow& hw);
    // Does not touch `hw` after the placement it may make.
    bool settle_check(WindowId w, HeldWindow& hw);
    void schedule_settle(HeldWindow& hw);
    void clear_streak_of(WindowId w);

    Desktop& desktop_;
    Clock& clock_;
    uint64_t time_base_;
    uint32_t own_pid_;
    std::vector<ConfinerRow> table_;
    std::vector<WindowId> ignore_;
    std::vector<ConfinerEvent> events_;
    std::set<WindowId> surrendered_;
    std::map<WindowId, HeldWindow> held_;
    std::map<WindowId, Rect> spans_;  // see note_placed
    OverlayStyleLog overlay_log_;
    OwnSizes own_sizes_;
    Streak streak_;
    uint64_t epoch_ = 0;        // counts resets and clears
    std::set<WindowId> hung_;   // not-responding windows already reported
    std::string last_takeover_;
    uint64_t config_ = 0;  // counts changes of the tables, resets and clears
    bool steady_ = false;  // set by the foreground half: see mark_steady
    WindowId quiet_window_ = 0;
    std::optional<Quiet> quiet_fg_;          // the foreground window's last pass
    std::map<WindowId, Quiet> quiet_held_;   // held windows' last background pass
    std::function<bool(WindowId)> skip_;
    WindowId last_foreground_ = 0;
};

}  // namespace tw
