#pragma once
// Short-lived worker threads of the network services. A worker owns copies of all it
// needs (and a reference to the result slots), so it may outlive the main window.
#include <functional>
#include <string_view>

namespace tw::app {

// Runs `work` on a detached thread, guarded so that a failed internal check ends only
// that thread. False, with a log line naming `what`, when no thread could be started.
bool start_worker(std::string_view what, std::function<void()> work);

}  // namespace tw::app
