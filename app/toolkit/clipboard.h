#pragma once
// Plain text on the system clipboard (CF_UNICODETEXT). Failures are silent: copying
// leaves the clipboard as it was, reading gives nothing.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace tw::app {

// True when the text is on the clipboard.
bool copy_to_clipboard(HWND owner, std::string_view utf8);
std::optional<std::string> read_clipboard(HWND owner);

}  // namespace tw::app
