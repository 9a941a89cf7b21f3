#include "core/views/editor_view.h"

#include <algorithm>
#include <cmath>

#include "core/model/catalog.h"
#include "core/ui/window_fit.h"
#include "core/views/main_view.h"

namespace tw {

namespace {

struct Builder {
    EditorView view;
    WidgetItem& add(uint64_t id, uint8_t kind, Rect r, std::string_view text = {}) {
        return push_item(view.widgets, id, kind, r, text);
    }
};

void add_title(Builder& b, const char* key) {
    b.add(0, 1, {16, 0, 440, 40}, tr(key));
    b.add(editor_id::kClose, 17, {440, 0, kEditorWidth, 40}, "\u2715");
}

// The lowest item bottom plus the margin, and the scroll applied to every item.
void finish(EditorView& view, int32_t scroll, int32_t client_height) {
    int32_t lowest = 0;
    for (const WidgetItem& w : view.widgets) lowest = std::max(lowest, w.rect.bottom);
    view.content_bottom = lowest + 16;
    const int64_t most = std::max<int64_t>(0, int64_t{view.content_bottom} - client_height);
    view.scroll = static_cast<int32_t>(std::clamp<int64_t>(scroll, 0, most));
    if (view.scroll == 0) return;
    for (WidgetItem& w : view.widgets) {
        w.rect.top -= view.scroll;
        w.rect.bottom -= view.scroll;
    }
}

// Asked before the window closes over unsaved changes: a panel over the top of the
// view (wherever it is scrolled) whose three buttons are all that takes clicks.
void add_unsaved_prompt(Builder& b) {
    using namespace editor_id;
    for (WidgetItem& w : b.view.widgets) w.enabled = 0;
    b.add(0, 15, {32, 52, 448, 172});
    b.add(0, 3, {52, 66, 428, 112}, tr("edit.unsaved_prompt"));
    b.add(kPromptSave, 11, {52, 124, 142, 154}, tr("common.save"));
    b.add(kPromptDiscard, 13, {150, 124, 250, 154}, tr("edit.discard_button"));
    b.add(kPromptKeepEditing, 13, {258, 124, 428, 154}, tr("edit.keep_editing_button"));
}

}  // namespace

CanvasSize canvas_size(int64_t width, int64_t height) {
    if (width <= 0 || height <= 0) return {};
    const double a = static_cast<double>(width) / static_cast<double>(height);
    // Extreme aspects still give a canvas of at least one DIP each way.
    if (a <= 448.0 / 220.0) return {std::max<int32_t>(1, static_cast<int32_t>(std::lround(220 * a))), 220};
    return {448, std::max<int32_t>(1, static_cast<int32_t>(std::lround(448 / a)))};
}

EditorView build_manage_view(const EditorState& st, TextMeasure* measure) {
    using namespace editor_id;
    Builder b;
    add_title(b, "manage.title");
    const size_t n = st.layouts.size();
    const size_t shown = std::min(n, kVisibleRows);
    const size_t first = std::min(st.first_row, n - shown);
    int32_t bottom = 124;
    if (n > 0) {
        const auto rows = static_cast<int32_t>(shown);
        b.add(0, 0, {16, 52, 464, 60 + 56 * rows});
        for (size_t i = 0; i < shown; ++i) {
            const auto y = static_cast<int32_t>(56 * i);
            WidgetItem& row = b.add(kRow + i, 20, {22, 56 + y, 458, 112 + y}, st.layouts[first + i].name);
            row.preview = first + i;
            if (st.hover_row != i) continue;
            row.on = 1;
            const std::string edit = tr("common.edit");
            const int32_t w = std::max(56, main_text_width(measure, edit) + 16);
            b.add(kEditRow + i, 13, {414 - w, 70 + y, 414, 98 + y}, edit);
            b.add(kDeleteRow + i, 25, {422, 70 + y, 450, 98 + y}, "\u2715");
        }
        bottom = 76 + 56 * rows;
    } else {
        b.add(0, 0, {16, 52, 464, 108});
        // Wrapped: the sentence is longer than one line of the card.
        b.add(0, 4, {28, 52, 452, 108}, tr("manage.empty_state"));
    }
    if (!st.deleted.empty()) {
        // The last delete can be taken back until the window closes.
        b.add(0, 1, {22, bottom, 370, bottom + 30}, tr_args("manage.deleted", {{"name", st.deleted.back().name}}));
        b.add(kUndo, 13, {380, bottom, 464, bottom + 30}, tr("manage.undo_button"));
        bottom += 40;
    }
    b.add(kAdd, 11, {16, bottom, 100, bottom + 30}, tr("common.add"));
    const std::string restore = tr("manage.restore_defaults_button");
    b.add(kRestoreDefaults, 13,
          {108, bottom, std::max(258, main_text_width(measure, restore) + 132), bottom + 30}, restore)
        .enabled = missing_default_layouts(st.layouts).empty() ? 0 : 1;
    b.add(kCloseButton, 13, {380, bottom, 464, bottom + 30}, tr("common.close"));
    finish(b.view, 0, INT32_MAX);
    return std::move(b.view);
}

EditorView build_edit_view(const EditorState& st, int32_t client_height) {
    using namespace editor_id;
    Builder b;
    const int32_t W = st.canvas_width, H = st.canvas_height;
    add_title(b, "edit.title");
    b.add(0, 1, {16, 52, 136, 70}, tr("edit.layout_name_label"));
    b.add(kNameField, 18, {16, 74, 280, 102}, st.name_field.text());

    b.add(0, 1, {16, 112, 136, 130}, tr("edit.templates_label"));
    const Rect templates[] = {{16, 134, 100, 160}, {108, 134, 172, 160}, {180, 134, 264, 160}, {272, 134, 336, 160}};
    for (size_t i = 0; i < grid_templates().size(); ++i)
        b.add(kTemplate + i, 13, templates[i], tr(grid_templates()[i].catalog_key));

    const char* minus = "\u2212";
    b.add(0, 1, {16, 175, 66, 195}, tr("edit.rows_label"));
    b.add(kRowsMinus, 13, {66, 172, 94, 198}, minus).enabled = st.grid.rows > 1 ? 1 : 0;
    b.add(kRowsPlus, 13, {98, 172, 126, 198}, "+").enabled = st.grid.rows < kMaxUniformTracks ? 1 : 0;
    b.add(0, 1, {140, 175, 204, 195}, tr("edit.columns_label"));
    b.add(kColumnsMinus, 13, {204, 172, 232, 198}, minus).enabled = st.grid.columns > 1 ? 1 : 0;
    b.add(kColumnsPlus, 13, {236, 172, 264, 198}, "+").enabled =
        st.grid.columns < kMaxUniformTracks ? 1 : 0;
    // The value follows the buttons, so that they are named after the label before them.
    b.add(0, 1, {278, 175, 340, 195}, tr("edit.spacing_label"));
    b.add(kSpacingMinus, 13, {340, 172, 368, 198}, minus).enabled = st.spacing > kMinSpacing ? 1 : 0;
    b.add(kSpacingPlus, 13, {372, 172, 400, 198}, "+").enabled = st.spacing < kMaxSpacing ? 1 : 0;
    b.add(0, 1, {408, 175, 464, 195}, tr_args("edit.spacing_value", {{"n", std::to_string(st.spacing)}}));

    b.add(kCanvas, 19, {16, 212, 16 + W, 212 + H}).label = tr("a11y.layout_canvas");
    b.add(0, 1, {16, H + 226, 464, H + 242}, tr("edit.canvas_hint_line1"));
    b.add(0, 1, {16, H + 242, 464, H + 258}, tr("edit.canvas_hint_line2"));
    b.add(0, 1, {16, H + 266, 72, H + 284}, tr("edit.zone_column_header"));
    b.add(0, 1, {80, H + 266, 152, H + 284}, tr("edit.width_column_header"));
    b.add(0, 1, {160, H + 266, 232, H + 284}, tr("edit.height_column_header"));

    const size_t zones = st.grid.cells.size();
    const std::string px = tr("edit.unit_px"), percent = tr("edit.unit_percent");
    for (size_t i = 0; i < zones; ++i) {
        const int32_t y = H + 316 + 28 * static_cast<int32_t>(i);
        b.add(0, 1, {16, y - 28, 72, y}, tr_args("edit.zone_row_label", {{"n", std::to_string(i + 1)}}));
        b.add(kWidthField + i, 18, {80, y - 27, 152, y - 3},
              i < st.width_fields.size() ? st.width_fields[i].text() : std::string());
        b.add(kHeightField + i, 18, {160, y - 27, 232, y - 3},
              i < st.height_fields.size() ? st.height_fields[i].text() : std::string());
        const bool in_px = i < st.unit_px.size() && st.unit_px[i];
        b.add(kUnit + i, 13, {240, y - 27, 280, y - 3}, in_px ? px : percent);
    }

    const int32_t m = H + 288 + 28 * static_cast<int32_t>(zones);
    const std::string line = !st.error.empty() ? st.error
                             : st.reshaped     ? tr("edit.notice_reshaped")
                                               : std::string();
    auto add_footer = [&](int32_t top) {
        b.add(0, 6, {16, top + 8, 464, top + 26}, line);
        b.add(kSave, 11, {16, top + 36, 100, top + 66}, tr("common.save"));
        b.add(kCancel, 13, {380, top + 36, 464, top + 66}, tr("common.cancel"));
    };
    const std::optional<int32_t> pinned = pinned_footer_top(m + kEditFooter + 16, kEditFooter, client_height);
    if (!pinned) {
        add_footer(m);
        finish(b.view, st.scroll, client_height);
        if (st.unsaved_prompt) add_unsaved_prompt(b);
        return std::move(b.view);
    }
    // Too tall for the screen: Save and Cancel stay at the bottom edge and the rest
    // scrolls above them, with a bar that shows where it stands.
    const int32_t top = std::max(0, *pinned);
    EditorView& view = b.view;
    view.body_bottom = top;
    view.scroll = std::clamp(st.scroll, 0, std::max(0, m + 8 - top));
    std::erase_if(view.widgets, [&](WidgetItem& w) {
        w.rect.top -= view.scroll;
        w.rect.bottom -= view.scroll;
        // A field or button half under the footer would take clicks meant for it, and a
        // row's label without its fields says nothing: only the canvas shows in part.
        return w.rect.bottom > top && w.kind != 19;
    });
    if (const std::optional<Rect> thumb = scroll_thumb({kEditorWidth - 9, 44, kEditorWidth - 6, top - 4}, m + 8, top,
                                                       view.scroll))
        b.add(0, 31, *thumb);
    add_footer(top);
    view.content_bottom = m + kEditFooter + 16;
    if (st.unsaved_prompt) add_unsaved_prompt(b);
    return std::move(b.view);
}

EditorView build_editor_view(const EditorState& st, int32_t client_height, TextMeasure* measure) {
    return st.page == EditorPage::Manage ? build_manage_view(st, measure)
                                         : build_edit_view(st, client_height);
}

EditorFocus field_of_item(uint64_t id) {
    using F = EditorFocus::Field;
    if (id == editor_id::kNameField) return {F::Name, 0};
    if (id >= editor_id::kWidthField && id < editor_id::kWidthField + kMaxGridZones)
        return {F::Width, id - editor_id::kWidthField};
    if (id >= editor_id::kHeightField && id < editor_id::kHeightField + kMaxGridZones)
        return {F::Height, id - editor_id::kHeightField};
    return {};
}

const TextField* text_field(const EditorState& st, const EditorFocus& f) {
    switch (f.field) {
    case EditorFocus::Field::Name: return &st.name_field;
    case EditorFocus::Field::Width: return f.zone < st.width_fields.size() ? &st.width_fields[f.zone] : nullptr;
    case EditorFocus::Field::Height: return f.zone < st.height_fields.size() ? &st.height_fields[f.zone] : nullptr;
    case EditorFocus::Field::None: break;
    }
    return nullptr;
}

TextField* text_field(EditorState& st, const EditorFocus& f) {
    return const_cast<TextField*>(text_field(static_cast<const EditorState&>(st), f));
}

int32_t editor_window_height(int32_t content_bottom, double scale, int32_t work_height) {
    const double pixels = std::round(static_cast<double>(content_bottom) * scale);
    const double most = std::max(1, work_height);
    return static_cast<int32_t>(std::clamp(pixels, 1.0, most));
}

Rect canvas_rect(const EditorState& st) {
    const int32_t top = 212 - (st.page == EditorPage::Edit ? st.scroll : 0);
    return {16, top, 16 + st.canvas_width, top + st.canvas_height};
}

std::string size_text(double fraction, int64_t area_pixels, bool pixels) {
    const double v = pixels ? fraction * static_cast<double>(area_pixels) : fraction * 1000;
    const double rounded = std::isfinite(v) ? std::round(std::clamp(v, -1e15, 1e15)) : 0;
    const auto n = static_cast<int64_t>(rounded);
    if (pixels) return std::to_string(n);
    const int64_t whole = std::llabs(n) / 10;
    return (n < 0 ? "-" : "") + std::to_string(whole) + "." + std::to_string(std::llabs(n) % 10) + "%";
}

}  // namespace tw
