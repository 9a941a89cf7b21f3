#pragma once
// Text of single-line widgets (labels, buttons, dropdown fields, list rows, tabs,
// captions): always one line, kept inside the widget, cut with a trailing "…" when
// it is too wide. Names and translations of any length and script go through here.
#include <string>
#include <string_view>

#include "core/ui/canvas.h"

namespace tw {

// The horizontal ellipsis that ends a cut text.
inline constexpr std::string_view kEllipsis = "\xE2\x80\xA6";

// `utf8` as one line no wider than `max_width` DIPs in `format`: line breaks, tabs and
// other control characters become spaces; a text that does not fit is cut at a
// character boundary (never inside a combining sequence, a joined emoji or a flag),
// loses the spaces before the cut and ends in kEllipsis. Empty when not even the
// ellipsis fits. Texts far longer than the width could show are measured only up to
// a bound, so a hostile name of a million characters costs no more than a long one.
std::string fit_single_line(TextMeasure& measure, std::string_view utf8, TextFormat format,
                            float max_width);

// Draws `utf8` fitted to the width of `r` (as above) and clipped to `r`.
void draw_single_line(Canvas& canvas, std::string_view utf8, const RectF& r, TextFormat format,
                      const Brush& brush);

}  // namespace tw
