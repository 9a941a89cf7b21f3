#include "core/views/excluded_apps_view.h"

#include <algorithm>
#include <utility>

#include "core/model/catalog.h"
#include "core/model/excluded_apps.h"
#include "core/views/dialog_views.h"

namespace tw {

namespace {

constexpr int32_t kListTop = 200;
constexpr int32_t kRowHeight = 30;
constexpr int32_t kRunningTop = 164;

size_t last_first(size_t total, size_t rows) { return total > rows ? total - rows : 0; }

// A slim thumb along the right edge of a scrolled list.
void add_thumb(std::vector<WidgetItem>& items, int32_t x, int32_t top, size_t rows, size_t total,
               size_t first, int32_t row_height) {
    if (total <= rows) return;
    const int64_t track = int64_t{row_height} * static_cast<int64_t>(rows) - 8;
    const int64_t length = std::max<int64_t>(16, track * static_cast<int64_t>(rows) / static_cast<int64_t>(total));
    const int64_t offset = (track - length) * static_cast<int64_t>(first) / static_cast<int64_t>(total - rows);
    const int32_t y = top + 4 + static_cast<int32_t>(offset);
    push_item(items, 0, 31, {x, y, x + 3, y + static_cast<int32_t>(length)});
}

}  // namespace

Rect excluded_field_rect(int32_t width) { return {28, 100, width - 128, 128}; }

std::vector<WidgetItem> build_excluded_apps_view(const std::vector<std::string>& list,
                                                 const ExcludedAppsState& state, int32_t width) {
    const int32_t W = width;
    std::vector<WidgetItem> items;
    add_dialog_caption(items, W, tr("excluded.title"), excluded_id::kCloseGlyph);
    push_item(items, 0, 0, {16, 48, W - 16, 384});
    push_item(items, 0, 3, {28, 56, W - 28, 94}, tr("excluded.intro"));
    push_item(items, excluded_id::kField, 20, excluded_field_rect(W));
    push_item(items, excluded_id::kAdd, 13, {W - 120, 100, W - 28, 128}, tr("common.add"))
        .enabled = clean_excluded_entry(state.field.text()) ? 1 : 0;
    push_item(items, excluded_id::kRunningField, 14, {28, 136, W - 28, kRunningTop},
              tr("excluded.add_running"));
    push_item(items, 0, 1, {28, 176, W - 28, 194}, tr("excluded.list_heading"));

    if (list.empty()) {
        push_item(items, 0, 3, {28, kListTop, W - 28, kListTop + 48}, tr("excluded.empty"));
    } else {
        const size_t first = std::min(state.first, last_first(list.size(), kExcludedRows));
        const size_t rows = std::min(list.size() - first, kExcludedRows);
        for (size_t r = 0; r < rows; ++r) {
            const int32_t y = kListTop + kRowHeight * static_cast<int32_t>(r);
            push_item(items, 0, 1, {36, y + 6, W - 72, y + 24}, list[first + r]);
            push_item(items, excluded_id::kRemove + r, 25, {W - 68, y + 2, W - 40, y + 28}, "\u2715");
        }
        add_thumb(items, W - 33, kListTop, kExcludedRows, list.size(), first, kRowHeight);
    }
    push_item(items, excluded_id::kDone, 11, {W - 128, 396, W - 28, 426}, tr("color.done_button"));

    if (state.running_open) {
        const size_t total = std::max<size_t>(1, state.running.size());
        const size_t rows = std::min(total, kRunningRows);
        const int32_t bottom = kRunningTop + 28 * static_cast<int32_t>(rows);
        push_item(items, 0, 15, {28, kRunningTop, W - 28, bottom});
        if (state.running.empty()) {
            push_item(items, 0, 16, {28, kRunningTop, W - 28, kRunningTop + 28},
                      tr("excluded.no_running"))
                .enabled = 0;
        } else {
            const size_t first = std::min(state.running_first, last_first(total, rows));
            for (size_t r = 0; r < rows; ++r) {
                const int32_t y = kRunningTop + 28 * static_cast<int32_t>(r);
                push_item(items, excluded_id::kRunningRow + r, 16, {28, y, W - 28, y + 28},
                          state.running[first + r]);
            }
            add_thumb(items, W - 36, kRunningTop, rows, total, first, 28);
        }
    }
    return items;
}

ExcludedOutcome excluded_apps_command(uint64_t id, std::vector<std::string>& list,
                                      ExcludedAppsState& state) {
    ExcludedOutcome out;
    const bool was_open = std::exchange(state.running_open, false);
    if (id == excluded_id::kCloseGlyph || id == excluded_id::kDone) {
        out.close = true;
    } else if (id == excluded_id::kAdd) {
        out.list_changed = add_excluded_app(list, state.field.text());
        // A name already listed is not typed again; an unusable text stays to be mended.
        if (out.list_changed || clean_excluded_entry(state.field.text())) state.field.set_text("");
        if (out.list_changed) state.first = last_first(list.size(), kExcludedRows);
    } else if (id == excluded_id::kRunningField) {
        state.running_open = !was_open;
        out.open_running = state.running_open;
        state.running_first = 0;
    } else if (id >= excluded_id::kRemove && id < excluded_id::kRemove + kExcludedRows) {
        const size_t first = std::min(state.first, last_first(list.size(), kExcludedRows));
        out.list_changed = remove_excluded_app(list, first + (id - excluded_id::kRemove));
        state.first = std::min(state.first, last_first(list.size(), kExcludedRows));
    } else if (was_open && id >= excluded_id::kRunningRow && id < excluded_id::kRunningRow + kRunningRows) {
        const size_t first = std::min(state.running_first, last_first(state.running.size(), kRunningRows));
        const size_t index = first + (id - excluded_id::kRunningRow);
        if (index < state.running.size()) out.list_changed = add_excluded_app(list, state.running[index]);
        if (out.list_changed) state.first = last_first(list.size(), kExcludedRows);
    }
    return out;
}

bool excluded_apps_wheel(const std::vector<std::string>& list, ExcludedAppsState& state,
                         int32_t delta) {
    const bool open = state.running_open;
    size_t& first = open ? state.running_first : state.first;
    const size_t most = open ? last_first(state.running.size(), kRunningRows)
                             : last_first(list.size(), kExcludedRows);
    const size_t before = std::min(first, most);
    const size_t next = delta > 0 ? (before > 0 ? before - 1 : 0) : std::min(before + 1, most);
    first = next;
    return next != before;
}

}  // namespace tw
