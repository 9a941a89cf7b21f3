#pragma once
// Unrecoverable internal errors. A failed internal check logs one line
// "PANIC at {file}:{line}: {message}" and ends the failing thread: a worker started
// through run_guarded() returns quietly; any other thread (the UI thread) ends the
// process.
#include <functional>
#include <string>
#include <string_view>

namespace tw {

std::string panic_line(std::string_view file, int line, std::string_view message);

// Writes the panic line (only the first panic of a thread is reported) and ends the
// thread as described above.
[[noreturn]] void panic(const char* file, int line, std::string_view message);

// Runs `fn` on the calling (worker) thread so that a panic inside it ends only that
// thread. Returns false when `fn` panicked or threw.
bool run_guarded(const std::function<void()>& fn);

// True once the calling thread has reported a panic (its terminate handler then stays
// silent, so the failure is one line).
bool panic_reported();

}  // namespace tw

#define TW_CHECK(cond)                                                         \
    do {                                                                       \
        if (!(cond)) ::tw::panic(__FILE__, __LINE__, "check failed: " #cond); \
    } while (0)
