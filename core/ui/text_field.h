#pragma once
// The single-line text entry of the drawn windows. The field keeps its own text,
// caret and selection; the owning window feeds it keys, characters and mouse
// positions, performs the clipboard requests it returns, and has it drawn.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/ui/canvas.h"

namespace tw {

class TextField {
public:
    TextField() = default;
    explicit TextField(std::string_view utf8) { set_text(utf8); }

    // Replaces the whole text (control characters kept out as when typing); the caret
    // goes to the end with nothing selected.
    void set_text(std::string_view utf8);
    std::string text() const;
    const std::u32string& chars() const { return chars_; }
    size_t length() const { return chars_.size(); }
    size_t caret() const { return caret_; }
    size_t anchor() const { return anchor_; }
    // Half-open [start, end); empty when caret equals anchor.
    std::pair<size_t, size_t> selection() const;
    bool has_selection() const { return caret_ != anchor_; }

    // Places the caret (clamped); the anchor follows unless extending a selection.
    void set_caret(size_t index, bool extend);

    // Replaces the selection with the text, dropping C0/C1 control characters and DEL.
    void insert_text(std::string_view utf8);
    void insert_chars(std::u32string_view chars);
    bool delete_selection();
    void move_left(bool extend);
    void move_right(bool extend);
    void home(bool extend);
    void end(bool extend);
    void backspace();
    void delete_forward();
    void select_all();
    std::string selected_text() const;
    // Clipboard text: trimmed of white space at both ends, then inserted when it holds
    // anything printable; otherwise the field (selection included) stays as it was.
    // Returns whether the text was inserted.
    bool paste(std::string_view clipboard_utf8);

    // First visible index for the field rectangle: the text is shown from its start
    // while it fits, otherwise scrolled just far enough to keep the caret visible.
    size_t scroll(TextMeasure& measure, const RectF& field) const;
    // The caret index for a mouse x. Without a measurer (no renderer yet) characters
    // count as 9 DIPs each.
    size_t caret_from_x(const RectF& field, float x, TextMeasure* measure) const;
    void draw(Canvas& canvas, const RectF& field, bool focused, bool caret_visible) const;

private:
    float width_of(TextMeasure& m, size_t from, size_t to) const;

    std::u32string chars_;
    size_t caret_ = 0;
    size_t anchor_ = 0;
};

// The code points the field keeps: everything but C0/C1 controls and DEL.
bool is_field_control(char32_t c);

// Virtual-key codes the field reacts to.
namespace vk {
inline constexpr uint32_t kBack = 0x08;
inline constexpr uint32_t kEnd = 0x23;
inline constexpr uint32_t kHome = 0x24;
inline constexpr uint32_t kLeft = 0x25;
inline constexpr uint32_t kRight = 0x27;
inline constexpr uint32_t kInsert = 0x2D;
inline constexpr uint32_t kDelete = 0x2E;
}  // namespace vk

enum class FieldEdit : uint8_t {
    None, MoveLeft, MoveRight, Home, End, Backspace, DeleteForward, SelectAll, Copy, Cut, Paste,
};
struct FieldKeyAction {
    FieldEdit edit = FieldEdit::None;
    bool extend = false;  // Shift held for a caret movement
    friend bool operator==(const FieldKeyAction&, const FieldKeyAction&) = default;
};
// WM_KEYDOWN while a field has the focus. Tab, Enter and Escape stay with the window.
FieldKeyAction map_field_key(uint32_t virtual_key, bool shift, bool ctrl);

struct FieldKeyResult {
    bool handled = false;              // the key was the field's: repaint
    std::optional<std::string> copy;   // put this text on the clipboard
    bool paste = false;                // read the clipboard and hand it to paste()
};
// Maps the key and applies it. For Cut the copy request is returned and the
// selection is already deleted.
FieldKeyResult apply_field_key(TextField& field, uint32_t virtual_key, bool shift, bool ctrl);

// WM_CHAR: the character to type, or nothing. Codes below 0x20 are ignored; with Ctrl
// down only Ctrl+Alt (AltGr) types, so shortcuts never insert text; UTF-16 surrogate
// units are ignored (characters outside the basic plane can only be pasted).
std::optional<char32_t> field_char(uint32_t code, bool ctrl, bool alt);

}  // namespace tw
