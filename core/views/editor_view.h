#pragma once
// The layout editor's state and its two views as pure functions: the manage view
// (the screen's layouts, Add, Restore Defaults) and the edit view (name, templates,
// row and column steppers, the canvas and the table of zone sizes). The window
// procedure only gathers input, draws, saves and hands the new zones to the engine.
#include <climits>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/base/geometry.h"
#include "core/engine/monitors.h"
#include "core/model/grid.h"
#include "core/model/settings.h"
#include "core/ui/canvas.h"
#include "core/ui/text_field.h"
#include "core/ui/widgets.h"

namespace tw {

// Command numbers of the editor window.
namespace editor_id {
inline constexpr uint64_t kClose = 800;          // the title bar's close glyph
inline constexpr uint64_t kRow = 810;            // + visible row
inline constexpr uint64_t kRestoreDefaults = 830;
inline constexpr uint64_t kNameField = 831;
inline constexpr uint64_t kTemplate = 840;       // + template 0..3
inline constexpr uint64_t kRowsMinus = 850;
inline constexpr uint64_t kRowsPlus = 851;
inline constexpr uint64_t kColumnsMinus = 852;
inline constexpr uint64_t kColumnsPlus = 853;
inline constexpr uint64_t kSpacingMinus = 854;
inline constexpr uint64_t kSpacingPlus = 855;
inline constexpr uint64_t kSave = 860;
inline constexpr uint64_t kCancel = 863;
inline constexpr uint64_t kAdd = 864;
inline constexpr uint64_t kCloseButton = 867;
inline constexpr uint64_t kUndo = 868;           // brings the last deleted layout back
inline constexpr uint64_t kCanvas = 870;
inline constexpr uint64_t kEditRow = 871;        // + visible row
inline constexpr uint64_t kDeleteRow = 878;      // + visible row
inline constexpr uint64_t kPromptSave = 885;     // the unsaved-changes prompt's three buttons
inline constexpr uint64_t kPromptDiscard = 886;
inline constexpr uint64_t kPromptKeepEditing = 887;
inline constexpr uint64_t kWidthField = 900;     // + zone
inline constexpr uint64_t kHeightField = 1000;   // + zone
inline constexpr uint64_t kUnit = 1100;          // + zone
inline constexpr size_t kVisibleRows = 6;
}  // namespace editor_id

inline constexpr int32_t kEditorWidth = 480;

enum class EditorPage : uint8_t { Manage, Edit };

// The text field that has the keyboard focus.
struct EditorFocus {
    enum class Field : uint8_t { None, Name, Width, Height };
    Field field = Field::None;
    size_t zone = 0;  // Width and Height
    friend bool operator==(const EditorFocus&, const EditorFocus&) = default;
};

// What the pointer is over on the canvas: a zone, or the border between two zones.
struct CanvasHover {
    enum class Kind : uint8_t { None, Zone, Border };
    Kind kind = Kind::None;
    size_t a = 0;  // the zone, or the first zone of the border
    size_t b = 0;  // the second zone of the border
    friend bool operator==(const CanvasHover&, const CanvasHover&) = default;
};

// A press on a border: a merge when the button comes up where it went down, a drag
// of the grid line between the two zones once the pointer moves.
struct BorderPress {
    size_t a = 0, b = 0;
    Point start;
    Grid grid;                      // the grid when the press began
    std::optional<GridLine> line;   // none when the two zones share no grid line
    bool moved = false;
};

// A deleted layout as it stood: where it was in the working list and in the screen's
// entry (all layouts of its name), and whether it was the active one.
struct DeletedLayout {
    std::string name;
    std::vector<std::pair<size_t, Layout>> working;
    std::vector<std::pair<size_t, Layout>> stored;
    bool was_active = false;
};

struct EditorState {
    EditorPage page = EditorPage::Manage;
    std::string screen_id;          // the edited screen's entry
    std::vector<Layout> layouts;    // working copy of the screen's layouts
    std::optional<size_t> hover_row;  // visible manage row under the pointer
    size_t first_row = 0;           // the layout shown in the first manage row
    Grid grid;
    std::vector<uint8_t> unit_px;   // per zone: sizes in pixels (1) or per cent (0)
    TextField name_field;
    std::vector<TextField> width_fields;
    std::vector<TextField> height_fields;
    std::optional<std::string> former_name;  // none for a new layout
    EditorFocus focus;
    std::string error;              // shown above Save
    bool reshaped = false;          // the layout opened is not a grid: saving reshapes it
    CanvasHover canvas_hover;
    std::optional<BorderPress> border_press;
    int32_t canvas_width = 448;     // DIPs, fixed when the window opens
    int32_t canvas_height = 220;
    int64_t area_width = 1920;      // pixels of the screen area the zones are fractions of
    int64_t area_height = 1080;
    double area_scale = 1.0;        // the screen's display scale (its DPI / 96)
    uint32_t area_dpi = 96;         // the same as the monitor reports it: the gaps scale by it
    int spacing = 0;                // the layout's gap in pixels at 100 % scaling
    int32_t scroll = 0;             // edit view, DIPs
    // The deletes Undo can still bring back while the window is open, the latest last.
    std::vector<DeletedLayout> deleted;
    // The edit view as it was opened: what "unsaved changes" are measured against.
    std::string opened_name;
    std::vector<Zone> opened_zones;
    int opened_spacing = 0;
    bool unsaved_prompt = false;    // asking whether to save before the window closes
};

// The canvas for a screen of width x height: 220 DIPs high up to an aspect of
// 448 / 220, else 448 DIPs wide; 448 x 220 for a size that is not positive.
struct CanvasSize {
    int32_t width = 448;
    int32_t height = 220;
    friend bool operator==(const CanvasSize&, const CanvasSize&) = default;
};
CanvasSize canvas_size(int64_t width, int64_t height);

// The editor for the screen selected in the main window (the first entry when the
// selection names none): the working copy of its layouts, the canvas shaped like its
// monitor (the primary work area when it is not attached), the pixel sizes of its
// zone area (monitor or work area by CoverTaskbar; else the primary work area), a
// grid of three equal columns, the manage view.
EditorState open_editor_state(const Settings& settings, std::span<const ScreenInfo> screens,
                              const Rect& primary_work);

struct EditorView {
    std::vector<WidgetItem> widgets;
    int32_t content_bottom = 16;  // unscrolled, including the 16 DIPs margin
    int32_t scroll = 0;           // clamped; already applied to `widgets`
    // Where the scrolled part ends: the top of the footer pinned to the bottom edge
    // when the edit view does not fit the window; INT32_MAX when nothing is pinned.
    int32_t body_bottom = INT32_MAX;
};

// The edit view's footer (the message line, Save and Cancel) below the zone table.
inline constexpr int32_t kEditFooter = 66;

// The widget list of the current page. `client_height` (DIPs) bounds the edit view's
// scroll; `measure` sizes the buttons whose width follows their text (estimated
// without one).
EditorView build_editor_view(const EditorState& state, int32_t client_height,
                             TextMeasure* measure = nullptr);
EditorView build_manage_view(const EditorState& state, TextMeasure* measure = nullptr);
EditorView build_edit_view(const EditorState& state, int32_t client_height);

// The field an item's command number names (831, 900 + i, 1000 + i); Field::None for
// any other number.
EditorFocus field_of_item(uint64_t id);
// The text field of a focus target; null for none or a zone that does not exist.
TextField* text_field(EditorState& state, const EditorFocus& focus);
const TextField* text_field(const EditorState& state, const EditorFocus& focus);

// The window's height in pixels for a view: (content bottom) x scale, at most the
// work area's height.
int32_t editor_window_height(int32_t content_bottom, double scale, int32_t work_height);

// The canvas item's rectangle for the current page and scroll.
Rect canvas_rect(const EditorState& state);
// The zones of the grid mapped onto the canvas rectangle (fractions x size, rounded).
std::vector<Rect> canvas_zone_rects(const Grid& grid, const Rect& canvas);
// The layout's gap as the canvas shows it: the screen's pixel gap scaled down with the
// screen, at least 1 DIP whenever there is a gap at all so that setting one shows.
int32_t canvas_gap(const EditorState& state, const Rect& canvas);

// Steps of the spacing stepper, and its range.
inline constexpr int kSpacingStep = 2;
// Borders first (the first pair of zones whose facing edges are under 7 DIPs apart
// with the point within 6 DIPs of their common extent), then the zone containing the
// point, else nothing.
CanvasHover canvas_hit(const std::vector<Rect>& zones, Point p);

// The edit view's size texts of a zone: pixels of the zone area as a whole number, or
// per cent with one decimal and "%".
std::string size_text(double fraction, int64_t area_pixels, bool pixels);

// Draws a frame of the editor: the background, every item in order, the items the
// editor draws itself (manage rows, the canvas, the text fields), the list's scroll
// thumb.
void paint_editor(Canvas& canvas, const EditorState& state, const std::vector<WidgetItem>& items,
                  bool caret_visible, float width, float height);

}  // namespace tw
