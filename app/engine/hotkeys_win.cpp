#include "app/engine/hotkeys_win.h"

#include <string>

#include "core/engine/keyboard_move.h"
#include "core/base/log.h"

namespace tw::app {

void register_engine_hotkeys(HWND main, const Settings& settings) {
    for (size_t i = 0; i < kEngineActionCount; ++i) {
        const HotkeyBinding& b = settings.hotkeys[i];
        if (!b.bound()) continue;
        const int id = kFirstEngineHotkeyId + static_cast<int>(i);
        if (!RegisterHotKey(main, id, b.modifiers | kModNoRepeat, b.key))
            log("hotkeys: RegisterHotKey failed for id " + std::to_string(id));
    }
}

void unregister_engine_hotkeys(HWND main) {
    for (int id = kFirstEngineHotkeyId; id <= kLastEngineHotkeyId; ++id) UnregisterHotKey(main, id);
}

}  // namespace tw::app
