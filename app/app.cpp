#include "app/app.h"

#include <windows.h>

#include "core/log.h"

namespace tw::app {

int run() {
    log("Tilewright starting");
    MessageBoxW(nullptr, L"Tilewright is under construction.", L"Tilewright", MB_OK);
    return 0;
}

}  // namespace tw::app
