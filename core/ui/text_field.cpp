#include "core/ui/text_field.h"

#include <algorithm>
#include <cmath>

#include "core/ui/text_metrics.h"
#include "core/ui/widgets.h"

namespace tw {

namespace {

// The Unicode White_Space property.
bool is_white_space(char32_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

}  // namespace

bool is_field_control(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

void TextField::set_text(std::string_view utf8) {
    chars_.clear();
    caret_ = anchor_ = 0;
    insert_text(utf8);
}

std::string TextField::text() const { return encode_utf8(chars_); }

std::pair<size_t, size_t> TextField::selection() const {
    return {std::min(caret_, anchor_), std::max(caret_, anchor_)};
}

void TextField::set_caret(size_t index, bool extend) {
    caret_ = std::min(index, chars_.size());
    if (!extend) anchor_ = caret_;
}

void TextField::insert_text(std::string_view utf8) { insert_chars(decode_utf8(utf8)); }

void TextField::insert_chars(std::u32string_view chars) {
    delete_selection();
    std::u32string kept;
    kept.reserve(chars.size());
    for (char32_t c : chars) {
        if (!is_field_control(c)) kept.push_back(c);
    }
    chars_.insert(caret_, kept);
    caret_ += kept.size();
    anchor_ = caret_;
}

bool TextField::delete_selection() {
    if (caret_ == anchor_) return false;
    const auto [start, stop] = selection();
    chars_.erase(start, stop - start);
    caret_ = anchor_ = start;
    return true;
}

void TextField::move_left(bool extend) {
    if (extend) {
        if (caret_ > 0) --caret_;
        return;
    }
    if (has_selection()) {
        caret_ = selection().first;
    } else if (caret_ > 0) {
        --caret_;
    }
    anchor_ = caret_;
}

void TextField::move_right(bool extend) {
    if (extend) {
        if (caret_ < chars_.size()) ++caret_;
        return;
    }
    if (has_selection()) {
        caret_ = selection().second;
    } else if (caret_ < chars_.size()) {
        ++caret_;
    }
    anchor_ = caret_;
}

void TextField::home(bool extend) { set_caret(0, extend); }
void TextField::end(bool extend) { set_caret(chars_.size(), extend); }

void TextField::backspace() {
    if (delete_selection()) return;
    if (caret_ == 0) return;
    --caret_;
    chars_.erase(caret_, 1);
    anchor_ = caret_;
}

void TextField::delete_forward() {
    if (delete_selection()) return;
    if (caret_ < chars_.size()) chars_.erase(caret_, 1);
    anchor_ = caret_;
}

void TextField::select_all() {
    anchor_ = 0;
    caret_ = chars_.size();
}

std::string TextField::selected_text() const {
    const auto [start, stop] = selection();
    return encode_utf8(std::u32string_view(chars_).substr(start, stop - start));
}

bool TextField::paste(std::string_view clipboard_utf8) {
    std::u32string text = decode_utf8(clipboard_utf8);
    size_t first = 0, last = text.size();
    while (first < last && is_white_space(text[first])) ++first;
    while (last > first && is_white_space(text[last - 1])) --last;
    const std::u32string_view trimmed = std::u32string_view(text).substr(first, last - first);
    if (std::all_of(trimmed.begin(), trimmed.end(), is_field_control)) return false;
    insert_chars(trimmed);
    return true;
}

float TextField::width_of(TextMeasure& m, size_t from, size_t to) const {
    if (from >= to) return 0;
    return m.measure_text_width(encode_utf8(std::u32string_view(chars_).substr(from, to - from)),
                                TextFormat::Label);
}

size_t TextField::scroll(TextMeasure& measure, const RectF& field) const {
    const float available = (field.right - 10) - (field.left + 10) - 2;
    for (size_t i = 0; i < caret_; ++i) {
        if (width_of(measure, i, caret_) <= available) return i;
    }
    return caret_;
}

size_t TextField::caret_from_x(const RectF& field, float x, TextMeasure* measure) const {
    const float target = x - (field.left + 10);
    if (measure == nullptr) {
        const double area = static_cast<double>(field.right - field.left) - 20.0;
        const double visible = std::max(1.0, std::floor(area / 9.0));
        const double start = std::max(0.0, static_cast<double>(caret_) - visible);
        const double steps = std::max(0.0, std::round(static_cast<double>(target) / 9.0));
        const double index = std::min(start + steps, static_cast<double>(chars_.size()));
        return static_cast<size_t>(index);
    }
    const size_t first = scroll(*measure, field);
    size_t best = first;
    float best_distance = std::fabs(0 - target);
    for (size_t i = first; i <= chars_.size(); ++i) {
        const float w = width_of(*measure, first, i);
        const float distance = std::fabs(w - target);
        if (distance < best_distance) {
            best = i;
            best_distance = distance;
        }
        if (w > target) break;
    }
    return best;
}

void TextField::draw(Canvas& canvas, const RectF& field, bool focused, bool caret_visible) const {
    const Palette& pal = palette(theme_state().light);
    canvas.fill_rounded_rect(field, 6, Brush::solid(pal.text, 0.1f));
    if (focused) {
        canvas.stroke_rounded_rect(field, 6,
                                   Brush::solid(color_from_rgb(theme_state().accent), 0.9f), 1);
    }
    const float left = field.left + 10, right = field.right - 10;
    if (!(right > left)) return;
    const size_t first = scroll(canvas, field);
    if (has_selection()) {
        const auto [start, stop] = selection();
        const float x0 = left + width_of(canvas, first, std::max(start, first));
        const float x1 = std::min(left + width_of(canvas, first, stop), right);
        if (x0 < x1) {
            const RectF band{x0, field.top + 4, x1, field.bottom - 4};
            canvas.fill_rect(band, accent_gradient(band, 0.45f));
        }
    }
    canvas.draw_text(encode_utf8(std::u32string_view(chars_).substr(first)),
                     {left, field.top, right, field.bottom}, TextFormat::Label,
                     Brush::solid(pal.text, 0.95f), true);
    if (focused && caret_visible) {
        const float x = left + width_of(canvas, first, caret_);
        if (x >= left - 1 && x <= right + 1) {
            canvas.fill_rect({x, field.top + 5, x + 2, field.bottom - 5},
                             Brush::solid(pal.text, 0.95f));
        }
    }
}

FieldKeyAction map_field_key(uint32_t virtual_key, bool shift, bool ctrl) {
    switch (virtual_key) {
    case vk::kLeft: return {FieldEdit::MoveLeft, shift};
    case vk::kRight: return {FieldEdit::MoveRight, shift};
    case vk::kHome: return {FieldEdit::Home, shift};
    case vk::kEnd: return {FieldEdit::End, shift};
    case vk::kBack: return {FieldEdit::Backspace, false};
    case vk::kDelete: return {FieldEdit::DeleteForward, false};
    case vk::kInsert: return shift && !ctrl ? FieldKeyAction{FieldEdit::Paste, false} : FieldKeyAction{};
    default: break;
    }
    if (!ctrl) return {};
    switch (virtual_key) {
    case 'A': return {FieldEdit::SelectAll, false};
    case 'C': return {FieldEdit::Copy, false};
    case 'X': return {FieldEdit::Cut, false};
    case 'V': return {FieldEdit::Paste, false};
    default: return {};
    }
}

FieldKeyResult apply_field_key(TextField& field, uint32_t virtual_key, bool shift, bool ctrl) {
    const FieldKeyAction action = map_field_key(virtual_key, shift, ctrl);
    FieldKeyResult result;
    result.handled = action.edit != FieldEdit::None;
    switch (action.edit) {
    case FieldEdit::None: break;
    case FieldEdit::MoveLeft: field.move_left(action.extend); break;
    case FieldEdit::MoveRight: field.move_right(action.extend); break;
    case FieldEdit::Home: field.home(action.extend); break;
    case FieldEdit::End: field.end(action.extend); break;
    case FieldEdit::Backspace: field.backspace(); break;
    case FieldEdit::DeleteForward: field.delete_forward(); break;
    case FieldEdit::SelectAll: field.select_all(); break;
    case FieldEdit::Copy:
        if (field.has_selection()) result.copy = field.selected_text();
        break;
    case FieldEdit::Cut:
        if (field.has_selection()) {
            result.copy = field.selected_text();
            field.delete_selection();
        }
        break;
    case FieldEdit::Paste: result.paste = true; break;
    }
    return result;
}

std::optional<char32_t> field_char(uint32_t code, bool ctrl, bool alt) {
    if (code < 0x20) return std::nullopt;
    if (ctrl && !alt) return std::nullopt;
    if (code >= 0xD800 && code <= 0xDFFF) return std::nullopt;
    if (code > 0x10FFFF) return std::nullopt;
    return static_cast<char32_t>(code);
}

}  // namespace tw
