#include "app/net/worker.h"

#include <system_error>
#include <thread>

#include "core/base/log.h"
#include "core/base/panic.h"

namespace tw::app {

bool start_worker(std::string_view what, std::function<void()> work) {
    try {
        std::thread([work = std::move(work)] { run_guarded(work); }).detach();
        return true;
    } catch (const std::system_error& e) {
        log(std::string(what) + ": could not start a worker thread: " + e.what());
        return false;
    }
}

}  // namespace tw::app
