#pragma once
// The "Excluded apps" dialog as pure functions: the list of applications the engine
// leaves alone, a field to type one, a dropdown of the running applications and a
// remove button per row. Every change applies at once (the window saves it).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/base/geometry.h"
#include "core/ui/text_field.h"
#include "core/ui/widgets.h"

namespace tw {

namespace excluded_id {
inline constexpr uint64_t kCloseGlyph = 760;
inline constexpr uint64_t kField = 761;
inline constexpr uint64_t kAdd = 762;
inline constexpr uint64_t kRunningField = 763;
inline constexpr uint64_t kDone = 764;
inline constexpr uint64_t kRemove = 800;      // + row shown
inline constexpr uint64_t kRunningRow = 900;  // + row shown
}  // namespace excluded_id

inline constexpr int32_t kExcludedWidth = 460;
inline constexpr int32_t kExcludedHeight = 440;
inline constexpr size_t kExcludedRows = 6;  // list rows shown at once
inline constexpr size_t kRunningRows = 7;   // rows of the open dropdown

struct ExcludedAppsState {
    TextField field;
    bool running_open = false;
    std::vector<std::string> running;  // executables of the visible windows, when opened
    size_t first = 0;                  // first list row shown
    size_t running_first = 0;          // first dropdown row shown
    bool selecting_text = false;
};

Rect excluded_field_rect(int32_t width);
std::vector<WidgetItem> build_excluded_apps_view(const std::vector<std::string>& list,
                                                 const ExcludedAppsState& state, int32_t width);

struct ExcludedOutcome {
    bool list_changed = false;  // apply and save
    bool close = false;
    bool open_running = false;  // the window fills `running` and rebuilds
    friend bool operator==(const ExcludedOutcome&, const ExcludedOutcome&) = default;
};
// A click (or Enter, as kAdd) on command `id`.
ExcludedOutcome excluded_apps_command(uint64_t id, std::vector<std::string>& list,
                                      ExcludedAppsState& state);
// A wheel notch over the open dropdown scrolls it, anywhere else the list. Returns
// whether anything moved.
bool excluded_apps_wheel(const std::vector<std::string>& list, ExcludedAppsState& state,
                         int32_t delta);

}  // namespace tw
