#pragma once
// The blinking caret of a window's focused text field: one window timer flips the
// visible phase every 500 ms and repaints.
#include <windows.h>

namespace tw::app {

inline constexpr UINT_PTR kEditorCaretTimer = 6;
inline constexpr UINT_PTR kColorDialogCaretTimer = 8;
inline constexpr UINT kCaretBlinkMs = 500;

class CaretBlink {
public:
    explicit CaretBlink(UINT_PTR timer_id) : timer_id_(timer_id) {}

    // A field got the focus, or the caret moved: shown at once for a full period.
    void start(HWND hwnd);
    // No field has the focus any more.
    void stop(HWND hwnd);
    // WM_TIMER: true when `timer_id` is this caret's timer (phase flipped, repainted).
    bool on_timer(HWND hwnd, WPARAM timer_id);

    bool visible() const { return visible_; }
    bool running() const { return running_; }
    UINT_PTR timer_id() const { return timer_id_; }

private:
    UINT_PTR timer_id_;
    bool visible_ = false;
    bool running_ = false;
};

}  // namespace tw::app
