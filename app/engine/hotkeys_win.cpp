#include "app/engine/hotkeys_win.h"

#include <string>

#include "core/engine/keyboard_move.h"
#include "core/base/log.h"

namespace tw::app {

namespace {

// Registers bindings [first, first + count) of the settings as ids from `first_id`.
void register_range(HWND main, const Settings& settings, size_t first, size_t count, int first_id) {
    for (size_t i = 0; i < count; ++i) {
        const HotkeyBinding& b = settings.hotkeys[first + i];
        if (!b.bound()) continue;
        const int id = first_id + static_cast<int>(i);
        if (!RegisterHotKey(main, id, b.modifiers | kModNoRepeat, b.key))
            log("hotkeys: RegisterHotKey failed for id " + std::to_string(id));
    }
}

}  // namespace

void register_engine_hotkeys(HWND main, const Settings& settings) {
    register_range(main, settings, 0, kEngineActionCount, kFirstEngineHotkeyId);
    register_range(main, settings, kFirstApplyLayoutAction, kApplyLayoutActionCount,
                   kFirstApplyLayoutHotkeyId);
    register_range(main, settings, kFirstExtendAction, kExtendActionCount, kFirstExtendHotkeyId);
}

void register_share_hotkeys(HWND main, const Settings& settings) {
    register_range(main, settings, kEngineActionCount, kLastShareHotkeyId - kFirstShareHotkeyId + 1,
                   kFirstShareHotkeyId);
}

void unregister_share_hotkeys(HWND main) {
    for (int id = kFirstShareHotkeyId; id <= kLastShareHotkeyId; ++id) UnregisterHotKey(main, id);
}

void unregister_engine_hotkeys(HWND main) {
    for (int id = kFirstEngineHotkeyId; id <= kLastEngineHotkeyId; ++id) UnregisterHotKey(main, id);
    for (int id = kFirstApplyLayoutHotkeyId; id <= kLastApplyLayoutHotkeyId; ++id) UnregisterHotKey(main, id);
    for (int id = kFirstExtendHotkeyId; id <= kLastExtendHotkeyId; ++id) UnregisterHotKey(main, id);
}

}  // namespace tw::app
