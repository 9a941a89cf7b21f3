#pragma once
// Asking Windows about the attached monitors; every decision about them is made in
// core/monitors.h.
#include <windows.h>

#include <vector>

#include "core/engine/monitors.h"

namespace tw::app {

// The attached screens, ordered and named; monitors whose information cannot be read
// are left out.
std::vector<ScreenInfo> enumerate_screens();
// The primary monitor's work area, or 0, 0, 1920, 1080 when it cannot be read.
Rect primary_work_area();
// Sizes one of the program's windows to width x height DIPs at `scale`, inside the
// work area of its monitor.
void fit_window(HWND hwnd, double width, double height, double scale);

}  // namespace tw::app
