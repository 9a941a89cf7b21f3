#include "app/windows/user_notice.h"

#include "app/app_state.h"
#include "app/windows/main_view_win.h"
#include "app/windows/main_window.h"
#include "app/windows/tray.h"
#include "core/base/log.h"
#include "core/views/refusals.h"

namespace tw::app {

void tell_user(AppState& state, const std::string& text) {
    log("notice: " + text);
    if (state.main && IsWindowVisible(state.main) && !IsIconic(state.main)) {
        main_view_window().set_status_note(text);
        refresh_views(state);
        return;
    }
    tray_balloon(state, text);
}

bool start_engine_or_say_why(AppState& state) {
    if (state.engine->start()) return true;
    tell_user(state, start_refusal_text(state.settings, state.screens));
    return false;
}

void toggle_engine_or_say_why(AppState& state) {
    if (state.engine->running())
        state.engine->stop();
    else
        start_engine_or_say_why(state);
}

}  // namespace tw::app
