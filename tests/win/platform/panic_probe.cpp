// A helper program for the fatal-error hook test: installs the hook, then fails in the
// way its argument names. The test reads the log it leaves in TMP.
//   panic_probe.exe check | terminate | access-violation | worker
#include <windows.h>

#include <cstring>
#include <stdexcept>
#include <thread>

#include "app/platform/fatal_error.h"
#include "core/base/log.h"
#include "core/base/panic.h"

namespace {

void throw_runtime_error() { throw std::runtime_error("thrown past noexcept"); }
// Called through a pointer so that the compiler cannot see the throw: the exception
// reaches the noexcept boundary at run time and std::terminate follows.
void (*volatile g_thrower)() = throw_runtime_error;
void throw_through_noexcept() noexcept { g_thrower(); }

}  // namespace

int main(int argc, char** argv) {
    tw::app::install_fatal_error_hook();
    if (argc < 2) return 2;
    const char* what = argv[1];
    if (std::strcmp(what, "check") == 0) {
        const int zones = 0;
        TW_CHECK(zones > 0);
    } else if (std::strcmp(what, "terminate") == 0) {
        throw_through_noexcept();
    } else if (std::strcmp(what, "access-violation") == 0) {
        volatile int* nowhere = nullptr;
        *nowhere = 1;
    } else if (std::strcmp(what, "worker") == 0) {
        // A panic on a guarded worker ends that thread only; the program goes on and its
        // later crash is reported too.
        std::thread([] { tw::run_guarded([] { TW_CHECK(1 == 2); }); }).join();
        tw::log("probe: still running");
        throw_through_noexcept();
    }
    return 0;
}
