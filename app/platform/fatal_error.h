#pragma once

namespace tw::app {

// Installed first thing at start-up: std::terminate and unhandled structured
// exceptions on any thread become one "PANIC at {file}:{line}: {message}" log line.
void install_fatal_error_hook();

}  // namespace tw::app
