#pragma once
// The brief notice of a newly applied layout: its zone lines and its name in the
// middle of the screen for about a second, shown also while the zones are hidden or
// the engine is stopped. One notice at a time; a new one replaces it.
#include <windows.h>

#include "core/engine/layout_hotkeys.h"

namespace tw::app {

struct AppState;

void show_layout_notice(AppState& state, const AppliedLayout& applied);
// The notice window while it is shown, else null (for tests).
HWND layout_notice_window();

}  // namespace tw::app
