#pragma once
// Where one of the program's windows is remembered to stand when it closes.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <utility>

namespace tw::app {

// The top-left corner to store for `hwnd`: its position, or its restored position
// while it is minimised (never the place where minimised windows are parked). Nothing,
// and a log line, when the system cannot say; the caller then keeps what it had.
std::optional<std::pair<int32_t, int32_t>> position_to_store(HWND hwnd);

}  // namespace tw::app
