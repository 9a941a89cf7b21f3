#pragma once

namespace tw::app {

// The whole program: start-up, message loop, shutdown. Returns the exit code.
int run();

}  // namespace tw::app
