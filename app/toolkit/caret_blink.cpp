#include "app/toolkit/caret_blink.h"

namespace tw::app {

void CaretBlink::start(HWND hwnd) {
    visible_ = true;
    // Setting an existing timer again restarts its period.
    running_ = SetTimer(hwnd, timer_id_, kCaretBlinkMs, nullptr) != 0;
    InvalidateRect(hwnd, nullptr, FALSE);
}

void CaretBlink::stop(HWND hwnd) {
    if (running_) KillTimer(hwnd, timer_id_);
    running_ = false;
    visible_ = false;
    InvalidateRect(hwnd, nullptr, FALSE);
}

bool CaretBlink::on_timer(HWND hwnd, WPARAM timer_id) {
    if (timer_id != timer_id_) return false;
    visible_ = !visible_;
    InvalidateRect(hwnd, nullptr, FALSE);
    return true;
}

}  // namespace tw::app
