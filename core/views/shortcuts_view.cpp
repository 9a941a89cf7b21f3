#include "core/views/shortcuts_view.h"

#include <algorithm>

#include "core/base/log.h"
#include "core/model/catalog.h"
#include "core/ui/window_fit.h"
#include "core/views/main_view.h"
#include "core/views/refusals.h"

namespace tw {

namespace {

std::string_view settings_key(size_t row) { return hotkey_actions()[row].settings_key; }

// Why a combination was refused, for the log: language-neutral, unlike the message.
std::string refusal_reason(const CaptureVerdict& v) {
    switch (v.rule) {
    case CaptureRule::NoModifier: return "no modifier";
    case CaptureRule::ReservedByWindows: return "reserved by Windows";
    case CaptureRule::Duplicate: return "already used by " + std::string(settings_key(*v.duplicate_row));
    default: return {};
    }
}

}  // namespace

ShortcutsState open_shortcuts(const Settings& settings) {
    ShortcutsState s;
    s.working = settings.hotkeys;
    return s;
}

std::string shortcut_row_label(size_t row) {
    if (row >= kHotkeyActionCount) return {};
    const HotkeyActionInfo& info = hotkey_actions()[row];
    if (row < kEngineActionCount || row >= kFirstExtendAction) return tr(info.catalog_key);
    const size_t n = row < kFirstApplyLayoutAction ? row - kEngineActionCount + 1 : row - kFirstApplyLayoutAction + 1;
    return tr_args(info.catalog_key, {{"n", std::to_string(n)}});
}

std::string shortcut_binding_text(HotkeyBinding binding) {
    if (binding.modifiers == 0 && binding.key == 0) return tr("shortcuts.binding_unbound");
    return binding_text(binding.modifiers, binding.key);
}

ShortcutsColumns shortcuts_columns(int32_t width, TextMeasure* measure) {
    ShortcutsColumns c;
    for (size_t row = 0; row < kHotkeyActionCount; ++row)
        c.label = std::max(c.label, main_text_width(measure, shortcut_row_label(row)));
    c.clear_left = width - 28 - std::max(56, main_text_width(measure, tr("common.clear")) + 24);
    const int32_t change = std::max(main_text_width(measure, tr("shortcuts.change_button")),
                                    main_text_width(measure, tr("shortcuts.press_keys")));
    c.change_width = std::max(96, change + 24);
    return c;
}

namespace {

constexpr int32_t kRowPitch = 38;
constexpr int32_t kFirstRowTop = 60;
// Below the rows: the card's end, the message line, Save and Cancel, the margin.
constexpr int32_t kBelowRows = 148;

bool is_unbound(HotkeyBinding b) { return b.modifiers == 0 && b.key == 0; }

}  // namespace

ShortcutsRows shortcuts_rows(const ShortcutsState& state, int32_t height) {
    const size_t n = kHotkeyActionCount;
    const size_t fit = static_cast<size_t>(std::max(1, (height - kBelowRows) / kRowPitch));
    ShortcutsRows r;
    r.count = std::min(n, fit);
    r.first = std::min(state.first_row, n - r.count);
    if (state.capture && *state.capture < r.first) r.first = *state.capture;
    if (state.capture && *state.capture >= r.first + r.count) r.first = *state.capture + 1 - r.count;
    return r;
}

std::vector<WidgetItem> build_shortcuts_view(const ShortcutsState& state, int32_t width,
                                             TextMeasure* measure, int32_t height) {
    const int32_t W = width;
    const ShortcutsColumns col = shortcuts_columns(W, measure);
    const int32_t A = col.label, X = col.clear_left, P = col.change_width;
    const ShortcutsRows rows = shortcuts_rows(state, height);
    const int32_t card_bottom = kRowPitch * static_cast<int32_t>(rows.count) + 64;
    std::vector<WidgetItem> items;
    push_item(items, 0, 1, {16, 0, W - 40, 40}, tr("shortcuts.heading"));
    push_item(items, shortcuts_id::kCloseGlyph, 17, {W - 40, 0, W, 40}, "\u2715");
    push_item(items, 0, 0, {16, 48, W - 16, card_bottom});
    const std::string change = tr("shortcuts.change_button");
    const std::string press = tr("shortcuts.press_keys");
    const std::string clear = tr("common.clear");
    for (size_t k = 0; k < rows.count; ++k) {
        const size_t i = rows.first + k;
        const int32_t t = kFirstRowTop + kRowPitch * static_cast<int32_t>(k);
        const bool capturing_this = state.capture == i;
        // The row whose keys are awaited stands out from the others.
        if (capturing_this) push_item(items, 0, 0, {20, t - 4, W - 20, t + 34});
        push_item(items, 0, 1, {28, t, A + 40, t + 30}, shortcut_row_label(i));
        // A combination two rows hold (a hand-edited file) shows in the error colour on both.
        bool twice = false;
        for (const auto& [a, b] : duplicate_shortcuts(state.working)) twice = twice || a == i || b == i;
        push_item(items, 0, twice ? 6 : 1, {A + 48, t, X - P - 24, t + 30}, shortcut_binding_text(state.working[i]));
        push_item(items, shortcuts_id::kChange[i], 13, {X - P - 8, t + 2, X - 8, t + 28},
                  capturing_this ? press : change)
            .enabled = !state.capture || capturing_this ? 1 : 0;
        push_item(items, shortcuts_id::kClear[i], 13, {X, t + 2, W - 28, t + 28}, clear).enabled =
            state.capture || is_unbound(state.working[i]) ? 0 : 1;
    }
    if (const std::optional<Rect> thumb =
            scroll_thumb({W - 23, kFirstRowTop, W - 20, card_bottom - 12}, static_cast<int64_t>(kHotkeyActionCount),
                         static_cast<int64_t>(rows.count), static_cast<int64_t>(rows.first)))
        push_item(items, 0, 31, *thumb);
    push_item(items, 0, 6, {16, card_bottom + 10, W - 16, card_bottom + 28}, state.error);
    push_item(items, shortcuts_id::kSave, 11, {16, card_bottom + 38, 116, card_bottom + 68}, tr("common.save"));
    push_item(items, shortcuts_id::kCancel, 13, {W - 128, card_bottom + 38, W - 28, card_bottom + 68},
              tr("common.cancel"));
    return items;
}

bool shortcuts_wheel(ShortcutsState& state, int32_t delta, int32_t height) {
    const ShortcutsRows rows = shortcuts_rows(state, height);
    const int64_t most = static_cast<int64_t>(kHotkeyActionCount - rows.count);
    const auto next = static_cast<size_t>(std::clamp<int64_t>(static_cast<int64_t>(rows.first) - delta / 120, 0, most));
    if (next == state.first_row && next == rows.first) return false;
    state.first_row = next;
    return next != rows.first;
}

ShortcutsEffect shortcuts_click(ShortcutsState& state, uint64_t id) {
    using E = ShortcutsEffect;
    if (id == shortcuts_id::kSave) return E::Save;
    if (id == shortcuts_id::kCancel || id == shortcuts_id::kCloseGlyph) return E::Close;
    for (size_t i = 0; i < kHotkeyActionCount; ++i) {
        if (id == shortcuts_id::kChange[i]) {
            if (state.capture == i) {
                state.capture.reset();
                return E::Rebuild;
            }
            if (state.capture) return E::None;  // the button is disabled meanwhile
            state.capture = i;
            state.error.clear();
            return E::Capture;
        }
        if (id == shortcuts_id::kClear[i]) {
            if (state.capture) return E::None;
            state.working[i] = {};
            state.error.clear();
            return E::Rebuild;
        }
    }
    return E::None;
}

ShortcutsEffect shortcuts_key(ShortcutsState& state, uint32_t vk, uint32_t modifiers,
                              const HotkeyProbe& probe) {
    using E = ShortcutsEffect;
    switch (classify_shortcut_key(state.capture.has_value(), vk)) {
    case ShortcutKey::Save: return E::Save;
    case ShortcutKey::Close: return E::Close;
    case ShortcutKey::PassOn: return E::PassOn;
    case ShortcutKey::Ignore: return E::None;
    case ShortcutKey::CancelCapture:
        state.capture.reset();
        return E::Rebuild;
    case ShortcutKey::Check: break;
    }
    const size_t row = *state.capture;
    const HotkeyBinding candidate{modifiers, vk};
    const std::string text = binding_text(modifiers, vk);
    const CaptureVerdict verdict = check_captured_binding(state.working, row, candidate);
    if (!verdict.accepted()) {
        state.error = verdict.duplicate_row
                          ? tr_args(verdict.catalog_key, {{"action", shortcut_row_label(*verdict.duplicate_row)}})
                          : tr(verdict.catalog_key);
        log("shortcuts: " + text + " refused for " + std::string(settings_key(row)) + ": " +
            refusal_reason(verdict));
        return E::Rebuild;
    }
    if (probe && !probe(candidate)) {
        state.error = tr("shortcuts.error_in_use_by_app");
        log("shortcuts: " + text + " refused for " + std::string(settings_key(row)) +
            ": in use by another program");
        return E::Rebuild;
    }
    state.working[row] = candidate;
    state.capture.reset();
    state.error.clear();
    return E::Rebuild;
}

bool save_shortcuts(const ShortcutsState& state, Settings& settings) {
    bool changed = false;
    for (size_t i = 0; i < kHotkeyActionCount; ++i) {
        HotkeyBinding b = state.working[i];
        if (b.modifiers == 0) b = {};  // unbound is stored as (0, 0)
        if (settings.hotkeys[i] == b) continue;
        settings.hotkeys[i] = b;
        changed = true;
        log("shortcuts: " + std::string(settings_key(i)) + " = " + binding_text(b.modifiers, b.key));
    }
    return changed;
}

}  // namespace tw
