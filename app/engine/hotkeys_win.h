#pragma once
// Registering the engine's seven global hotkeys (ids 320 to 326) on the main window.
#include <windows.h>

#include "core/model/settings.h"

namespace tw::app {

// Unbound actions (modifiers 0) register nothing; a failure is logged and the next id
// is still registered.
void register_engine_hotkeys(HWND main, const Settings& settings);
void unregister_engine_hotkeys(HWND main);

}  // namespace tw::app
