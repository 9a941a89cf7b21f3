#pragma once
// What the editor's commands and input mean: opening, adding, editing, saving,
// deleting and restoring layouts, the templates and steppers, the size table's
// fields and focus, the canvas's split, merge and border drag, and scrolling. Each
// returns what the window has to do next.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/hotkeys.h"
#include "core/views/editor_view.h"

namespace tw {

struct EditorOutcome {
    bool rebuild = false;           // rebuild the widget list (and repaint)
    bool repaint = false;           // repaint only
    bool close = false;             // destroy the window
    bool settings_changed = false;  // save the settings, rebuild the main window
    bool zones_changed = false;     // the screen's zones in force changed: re-apply them
    bool caret = false;             // a field took the focus: show its caret at once
    std::string log;                // a line for the log, when not empty
    friend bool operator==(const EditorOutcome&, const EditorOutcome&) = default;

    static EditorOutcome rebuilt(bool caret_shown = false) {
        EditorOutcome o;
        o.rebuild = true;
        o.caret = caret_shown;
        return o;
    }
    static EditorOutcome repainted() {
        EditorOutcome o;
        o.repaint = true;
        return o;
    }
    static EditorOutcome closing() {
        EditorOutcome o;
        o.close = true;
        return o;
    }
};

// Whether the edit view holds what Save would store and has not (the name or the zones
// differ from what the view opened with).
bool has_unsaved_changes(const EditorState& state);
// Escape, the title bar's ✕ and a close from outside: in the edit view with unsaved
// changes the prompt asks first (save, discard or keep editing); else the window closes.
EditorOutcome request_close(EditorState& state);

// A command number of the editor (the table in editor_view.h) carried out on the
// state and on the settings' entry of the edited screen.
EditorOutcome run_editor_command(EditorState& state, Settings& settings, uint64_t id);

// Save (and Enter outside the size fields): the name trimmed and checked, the layout
// put in place of the one of its former name (and of any other of its new name), at
// the end of the list; the screen's active layout follows a rename.
EditorOutcome save_layout(EditorState& state, Settings& settings);

// The width and height fields written again from the grid (in each zone's unit); the
// unit flags start over, all per cent, when the number of zones changed.
void reset_size_fields(EditorState& state);

// A size typed into a field as a fraction of the screen: trimmed; in per cent a
// trailing "%" (in pixels "px") and the white space before it removed; the rest a
// decimal number divided by 100 or by the area's pixels. Nothing for anything else.
std::optional<double> parse_size_input(std::string_view text, bool pixels, int64_t area_pixels);

// Commits the focused width or height field when its text was changed: the zone takes
// the size when the grid can give it, and the table is written again from the grid
// either way, so that refused input shows the current value. True when the grid changed.
bool commit_focused_field(EditorState& state);

// A click on a field: the previously focused field is committed and `target` takes
// the focus; the window then places the caret.
EditorOutcome focus_field(EditorState& state, const EditorFocus& target);
// A click anywhere but a field: the focused field is committed and the focus cleared.
EditorOutcome release_focus(EditorState& state);

// Edit view keys: Enter commits and saves (only commits in a size field); Tab and
// Shift+Tab commit and move through name, then width and height of each zone,
// wrapping, the new field's text all selected and scrolled into view. Escape closes
// in both views. Other keys are the focused field's (none here).
EditorOutcome editor_key(EditorState& state, Settings& settings, uint32_t virtual_key, bool shift,
                         int32_t client_height);

// The canvas under the left button: a zone splits at once (into upper and lower with
// Shift); a border waits for the release (merge) or a move (drag).
EditorOutcome canvas_press(EditorState& state, Point p, bool shift);
// Pointer moves: the hovered zone or border, or the dragged border's line.
EditorOutcome canvas_move(EditorState& state, Point p);
// Button up: a border pressed and released without moving merges its two zones.
EditorOutcome canvas_release(EditorState& state);
// The press ended without a release (capture lost): nothing is merged.
void canvas_cancel(EditorState& state);

// The smallest zone the editor makes, as fractions of the screen area: 5 % of it, or
// 100 pixels at 100 % scaling (150 at 150 %), whichever is larger.
struct ZoneMinimum {
    double width = 0.05;
    double height = 0.05;
    friend bool operator==(const ZoneMinimum&, const ZoneMinimum&) = default;
};
ZoneMinimum zone_minimum(int64_t area_width, int64_t area_height, double scale);
ZoneMinimum zone_minimum(const EditorState& state);
// Whether an edit from `before` to `after` keeps every zone at the minimum size: along
// each axis the smallest zone is at least the minimum, or no smaller than the smallest
// before (a layout from a file may already hold a smaller one; edits never shrink it).
bool keeps_zone_minimum(const Grid& before, const Grid& after, const ZoneMinimum& minimum);
// move_line, stopped where a zone would become smaller than the minimum.
Grid move_line_within(const Grid& grid, GridLine line, double position, const ZoneMinimum& minimum);

// The name was edited: a message about the name goes as soon as the name is valid (and
// says what is wrong now when it still is not).
bool name_edited(EditorState& state);

// The manage row under the pointer (its Edit and delete buttons follow it).
EditorOutcome hover_row_at(EditorState& state, const std::vector<WidgetItem>& widgets, Point p);
// The mouse wheel: the manage list moves by a row a notch; the edit view scrolls.
EditorOutcome editor_wheel(EditorState& state, int32_t delta, const std::vector<WidgetItem>& widgets,
                           int32_t client_height);

}  // namespace tw
