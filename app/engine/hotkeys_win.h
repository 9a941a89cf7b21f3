#pragma once
// Registering the program's global hotkeys on the main window: the engine's seven
// (ids 320 to 326) with Apply layout 1 to 9 (ids 331 to 339), and Share Zone 1 to 9
// (ids 300 to 308).
#include <windows.h>

#include "core/model/settings.h"

namespace tw::app {

// Unbound actions (modifiers 0) register nothing; a failure is logged and the next id
// is still registered.
void register_engine_hotkeys(HWND main, const Settings& settings);
void unregister_engine_hotkeys(HWND main);
void register_share_hotkeys(HWND main, const Settings& settings);
void unregister_share_hotkeys(HWND main);

inline constexpr int kFirstShareHotkeyId = 300;  // + zone index, Share Zone 1 to 9
inline constexpr int kLastShareHotkeyId = 308;

}  // namespace tw::app
