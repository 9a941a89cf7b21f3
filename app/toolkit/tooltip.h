#pragma once
// A tooltip for a drawn window: one system tooltip control whose single tool follows
// the hovered widget, so that the tip shows after the usual delay over that widget
// and nowhere else.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/ui/widgets.h"

namespace tw::app {

class Tooltip {
public:
    // The pointer is over `item` (none: over nothing) whose tip is the catalog text of
    // `key` (none: it has no tip). Positions are DIPs; `scale` the window's DPI / 96.
    void follow(HWND owner, const WidgetItem* item, std::optional<std::string_view> key, double scale);
    // The text the tip shows now; empty when none (for tests and logs).
    const std::wstring& text() const { return text_; }

private:
    bool create(HWND owner);

    HWND tip_ = nullptr;  // owned by `owner`, destroyed with it
    HWND owner_ = nullptr;
    std::optional<uint64_t> item_id_;
    std::wstring text_;
};

}  // namespace tw::app
