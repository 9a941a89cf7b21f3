#pragma once
// The accent colour dialog as pure functions: its state, widget list, and what
// choosing, typing and closing do to the colour.
#include <array>
#include <cstdint>
#include <vector>

#include "core/base/geometry.h"
#include "core/ui/canvas.h"
#include "core/ui/text_field.h"
#include "core/ui/widgets.h"

namespace tw {

namespace color_id {
inline constexpr uint64_t kFirstPreset = 700;  // to 711
inline constexpr uint64_t kHue = 720;
inline constexpr uint64_t kHex = 721;
inline constexpr uint64_t kDone = 722;
inline constexpr uint64_t kCancel = 723;
inline constexpr uint64_t kCloseGlyph = 724;
}  // namespace color_id

inline constexpr int32_t kColorWidth = 380;
inline constexpr int32_t kColorHeight = 356;

// The twelve preset swatches, in command order.
inline constexpr std::array<uint32_t, 12> kColorPresets = {
    0xA855F7, 0x6366F1, 0x3B82F6, 0x06B6D4, 0x14B8A6, 0x10B981,
    0xEAB308, 0xF97316, 0xEF4444, 0xF43F5E, 0xEC4899, 0x8B5CF6};

struct ColorDialogState {
    uint32_t shown = 0;    // the colour in force while the dialog is open
    uint32_t opening = 0;  // the colour when it opened: what Cancel goes back to
    TextField hex;         // "#rrggbb"
    bool dragging_hue = false;
    bool selecting_text = false;
    bool done = false;
    bool refused = false;  // Done or Enter found no colour in the field (until it is edited)
};

ColorDialogState open_color_state(uint32_t accent);

Rect hue_slider_rect(int32_t width);
Rect hex_field_rect();
std::vector<WidgetItem> build_color_view(const ColorDialogState& state, int32_t width);

// The hue at x over the slider: 0 at its left edge to 360 at its right, clamped.
double hue_at(int32_t x, int32_t width);

// Shows `rgb` and writes its hex form into the field. Returns whether the colour
// shown changed (the application then applies it at once, unsaved).
bool choose_color(ColorDialogState& state, uint32_t rgb);
// While typing: a complete colour in the field is shown at once, the text left as the
// user typed it. Returns whether the colour shown changed.
bool preview_typed_color(ColorDialogState& state);
// Done or Enter: a valid field text is chosen; anything else is replaced by the hex
// form of the colour shown. Returns whether the colour shown changed.
bool commit_hex_field(ColorDialogState& state);

// Whether the field shows that its text is not a colour: after a refused Done, or as
// soon as the text can no longer become one ("#" and six hexadecimal digits).
bool hex_field_invalid(const ColorDialogState& state);
// Done or Enter over a text that is no colour: the dialog stays, the text as typed,
// marked invalid with the reason beside it. True when refused.
bool refuse_invalid_hex(ColorDialogState& state);
// The field over its item: its text, caret and frame, the frame
// in the error colour while the text is invalid.
void paint_hex_field(Canvas& canvas, const ColorDialogState& state, bool caret_visible);

// When the dialog is gone: Done keeps (and saves) the colour shown; any other way out
// brings the opening colour back without saving.
struct ColorDialogOutcome {
    uint32_t color = 0;
    bool save = false;
    friend bool operator==(const ColorDialogOutcome&, const ColorDialogOutcome&) = default;
};
ColorDialogOutcome color_dialog_outcome(const ColorDialogState& state);

}  // namespace tw
