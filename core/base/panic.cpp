#include "core/base/panic.h"

#include <cstdlib>
#include <exception>

#include "core/base/log.h"

namespace tw {

namespace {
// Per thread: a worker whose panic was reported and ended quietly must not silence a
// later crash report of another thread.
thread_local bool t_reported = false;
thread_local bool t_guarded = false;

// Thrown to unwind a guarded worker thread after its panic line was written.
struct PanicUnwind {};
}  // namespace

std::string panic_line(std::string_view file, int line, std::string_view message) {
    std::string out = "PANIC at ";
    out.append(file);
    out += ':';
    out += std::to_string(line);
    out += ": ";
    if (message.empty())
        out += "<non-string panic>";
    else
        out.append(message);
    return out;
}

void panic(const char* file, int line, std::string_view message) {
    t_reported = true;
    log(panic_line(file ? file : "<unknown>", line, message));
    if (t_guarded) throw PanicUnwind{};
    std::_Exit(101);
}

bool run_guarded(const std::function<void()>& fn) {
    const bool was = t_guarded;
    t_guarded = true;
    bool ok = true;
    try {
        fn();
    } catch (const PanicUnwind&) {
        ok = false;
    } catch (const std::exception& e) {
        t_reported = true;
        log(panic_line("<worker>", 0, e.what()));
        ok = false;
    } catch (...) {
        t_reported = true;
        log(panic_line("<worker>", 0, ""));
        ok = false;
    }
    t_guarded = was;
    return ok;
}

bool panic_reported() { return t_reported; }

}  // namespace tw
