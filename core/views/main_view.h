#pragma once
// The main window's content as pure functions: the widget list and previews built
// from the program state, the meaning of each command number, keyboard focus, the
// mouse wheel and the press rule while a dropdown list is open. The window procedure
// only gathers the input, saves, (re)starts the engine and opens windows.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/ui/canvas.h"
#include "core/model/catalog.h"
#include "core/engine/monitors.h"
#include "core/model/settings.h"
#include "core/ui/widgets.h"

namespace tw {

// Command numbers of the main window.
namespace main_id {
inline constexpr uint64_t kAutoStart = 102;
inline constexpr uint64_t kStartStop = 103;
inline constexpr uint64_t kShowZones = 104;
inline constexpr uint64_t kCoverTaskbar = 105;
inline constexpr uint64_t kStartWithWindows = 106;
inline constexpr uint64_t kShowInTray = 107;
inline constexpr uint64_t kUpdateAutomatically = 109;
inline constexpr uint64_t kShortcuts = 110;
inline constexpr uint64_t kEditLayouts = 111;
inline constexpr uint64_t kLayoutField = 112;
inline constexpr uint64_t kMinimise = 113;
inline constexpr uint64_t kClose = 114;
inline constexpr uint64_t kAdd = 115;
inline constexpr uint64_t kStartMinimized = 116;
inline constexpr uint64_t kAppColour = 117;
inline constexpr uint64_t kThemeDark = 118;
inline constexpr uint64_t kThemeLight = 119;
inline constexpr uint64_t kThemeAuto = 120;
inline constexpr uint64_t kUpdateLink = 121;
inline constexpr uint64_t kScreenEnabled = 122;
inline constexpr uint64_t kAbout = 123;
inline constexpr uint64_t kLanguageField = 124;
inline constexpr uint64_t kUsageStatistics = 125;
inline constexpr uint64_t kCheckForUpdates = 138;
inline constexpr uint64_t kOpenInLastZone = 150;
inline constexpr uint64_t kExcludedApps = 151;
inline constexpr uint64_t kDismissStartHint = 190;  // the first-start hint's close glyph
inline constexpr uint64_t kDismissNotice = 126;  // the ✕ of the notice row
inline constexpr uint64_t kLayoutRow = 600;    // + visible row of the layout list
inline constexpr uint64_t kScreenTab = 650;    // + screen index, below kLanguageRow
inline constexpr uint64_t kLanguageRow = 680;  // + language index, below 720
inline constexpr size_t kMaxLayoutRows = kScreenTab - kLayoutRow;
inline constexpr size_t kMaxScreenTabs = kLanguageRow - kScreenTab;
inline constexpr size_t kMaxLanguageRows = 40;
}  // namespace main_id

// The open layout list shows as many rows as fit between its field and the bottom of
// the window (never fewer than three, never more than there are numbers for) and
// scrolls with the wheel when the screen has more layouts.
inline constexpr size_t kMinLayoutListRows = 3;
inline constexpr size_t kLayoutListWheelRows = 3;  // rows per wheel notch

// Everything the main window shows.
struct MainViewInput {
    explicit MainViewInput(const Settings& s) : settings(s) {}
    const Settings& settings;
    std::span<const ScreenInfo> screens;  // attached monitors, in screen order
    bool engine_running = false;
    bool zones_shown = false;
    bool language_download_pending = false;
    std::optional<std::string> update_version;  // a known newer version
    std::span<const LanguageIndexEntry> languages;
    std::string current_language = "en";
    bool autostart_enabled = false;  // the "Start with Windows" registry value
    std::string program_version;     // such as "1.3.19"
    bool layout_menu_open = false;
    bool language_menu_open = false;
    size_t layout_list_first = 0;    // layout shown in the open list's first row
    int32_t scroll = 0;              // DIPs
    std::string status_note;         // why something just did not happen; the status otherwise
    int32_t width = 580;             // client size in DIPs
    int32_t height = 734;
    TextMeasure* measure = nullptr;  // none: widths are estimated
};

struct MainView {
    std::vector<WidgetItem> widgets;
    std::vector<LayoutPreview> previews;  // one per listed screen
    int32_t content_bottom = 16;          // unscrolled, including the 16 DIPs margin
    int32_t scroll = 0;                   // clamped; already applied to `widgets`
    size_t layout_list_first = 0;         // clamped to the layouts the list can show
};

MainView build_main_view(const MainViewInput& in);

// Until Tilewright is first started (or the hint dismissed), a screen with layouts
// shows how to begin in place of the idle status: each screen starts on "100%", where
// nothing visible happens.
bool shows_start_hint(const MainViewInput& in);

// The settings entry of the selected screen, if any.
const ScreenLayout* selected_screen_entry(const Settings& settings);
// Width of a text in the label format, rounded up; the estimate without a measure.
int32_t main_text_width(TextMeasure* measure, std::string_view text);

// The part of the selected screen's layouts the open layout list shows: `rows` rows
// from layout `first` on, of `total`. Row r carries command kLayoutRow + r.
struct LayoutListWindow {
    size_t first = 0;
    size_t rows = 0;
    size_t total = 0;
};
LayoutListWindow layout_list_window(const MainViewInput& in);
// Where the list starts when it opens: at the top, or with the active layout in view.
size_t layout_list_first_on_open(const MainViewInput& in);

enum class MainAction : uint8_t {
    None,
    CloseLists,             // a list row or tab whose target no longer exists
    ToggleAutoStart,
    ToggleEngine,
    ToggleZones,
    ToggleCoverTaskbar,
    SetStartWithWindows,    // `value`
    ToggleHideToTray,
    ToggleUpdateAutomatically,
    OpenShortcuts,
    OpenLayoutManager,
    ToggleLayoutMenu,
    Minimise,
    Close,
    ToggleStartMinimized,
    OpenColour,
    SetTheme,               // `theme`
    OpenUpdate,
    ToggleScreenEnabled,
    OpenAbout,
    ToggleLanguageMenu,
    ToggleUsageStatistics,
    SelectLayout,           // `index` into the selected screen's layouts
    SelectScreen,           // `index` into the screen list
    SelectLanguage,         // `index` into the language list
    ToggleCheckForUpdates,
    ToggleOpenInLastZone,
    OpenExcludedApps,
    DismissStartHint,
    DismissNotice,          // the notice row goes (and its setting with it)
};

struct MainCommand {
    MainAction action = MainAction::None;
    bool on = false;            // the `on` flag of the first widget with the id
    bool value = false;         // SetStartWithWindows: the new value
    Theme theme = Theme::Dark;  // SetTheme
    size_t index = 0;           // SelectLayout, SelectScreen, SelectLanguage
    bool close_lists = false;   // both dropdown lists close before the action
    friend bool operator==(const MainCommand&, const MainCommand&) = default;
};

MainCommand decide_main_command(uint64_t id, const MainViewInput& in,
                                const std::vector<WidgetItem>& widgets);

// The settings half of a command: flips a preference (to `not on`), the selected
// screen's Enabled or CoverTaskbar, sets the theme, the selected screen's
// ActiveLayout or SelectedScreen. Returns whether the settings changed and must be
// saved; other actions, and targets that no longer exist, change nothing.
bool apply_main_command(Settings& settings, const MainCommand& cmd,
                        std::span<const ScreenInfo> screens);

// The dropdown half of a command: closes, or opens one list and closes the other.
// Returns whether the list state changed.
bool apply_list_command(const MainCommand& cmd, bool& layout_menu_open,
                        bool& language_menu_open);

// Whether a press at (x, y) goes ahead while a list is open: only a press on the open
// list's own field or rows does; any other press closes both lists and does nothing
// else. With no list open every press goes ahead.
bool press_proceeds(const std::vector<WidgetItem>& widgets, int32_t x, int32_t y,
                    bool layout_menu_open, bool language_menu_open);

// Tab / Shift+Tab over the enabled widgets of kinds 7 to 13, wrapping; with no (or a
// stale) current focus the first or the last. None when nothing can take the focus.
std::optional<size_t> next_focus(const std::vector<WidgetItem>& widgets,
                                 std::optional<size_t> current, bool backwards);

// The scroll after a WM_MOUSEWHEEL of `delta`, from the current (scrolled) widgets.
int32_t wheel_scroll(int32_t scroll, int32_t delta, const std::vector<WidgetItem>& widgets,
                     int32_t client_height);

// A wheel of `delta` at (x, y) over the open layout list: the list's new first row
// (unchanged when it cannot scroll further, so that the window does not scroll
// instead). Nothing when the pointer is not over the open layout list.
std::optional<size_t> layout_list_wheel(const MainViewInput& in,
                                        const std::vector<WidgetItem>& widgets, int32_t x,
                                        int32_t y, int32_t delta);

}  // namespace tw
