#include "core/base/log.h"

#include <chrono>
#include <cstdio>
#include <mutex>

#include "core/base/log_file.h"
#include "core/base/sys/sys.h"

namespace tw {

namespace {

using SteadyClock = std::chrono::steady_clock;

SteadyClock::time_point time_base() {
    // Initialised exactly once, thread-safely, by the first log() of the process.
    static const SteadyClock::time_point base = SteadyClock::now();
    return base;
}

// Serialises this process's writers. Appends from separate openers are atomic on
// Windows, but under Wine concurrent appends overwrite each other and lines vanish;
// and two threads rotating at once would lose lines anywhere. Recursive, so that
// a fatal-error hook running on a thread that was inside log() can still log.
std::recursive_mutex& file_mutex() {
    static std::recursive_mutex m;
    return m;
}

std::mutex& sink_mutex() {
    static std::mutex m;
    return m;
}
LogSink& sink() {
    static LogSink s;
    return s;
}

}  // namespace

std::string format_log_line(uint64_t elapsed_ms, std::string_view message) {
    char prefix[48];
    std::snprintf(prefix, sizeof prefix, "[%6llu.%03us] ",
                  static_cast<unsigned long long>(elapsed_ms / 1000),
                  static_cast<unsigned>(elapsed_ms % 1000));
    std::string line = prefix;
    line.append(message);
    line.push_back('\n');
    return line;
}

std::optional<std::filesystem::path> log_file_path() {
    auto dir = sys::temp_dir();
    if (!dir) return std::nullopt;
    return *dir / "tilewright.log";
}

void append_log_line(const std::filesystem::path& path, std::string_view line) {
    sys::AppendFile file;
    if (!file.open(path)) return;
    auto size = file.size();
    if (size && *size > kLogRotateAbove) {
        file.close();
        auto rotated = path;
        rotated.replace_extension("log.1");
        sys::move_replace(path, rotated);  // a failure keeps the big file; retried next time
        if (!file.open(path)) return;
    }
    file.write(line);
}

void log(std::string_view message) {
    const auto base = time_base();
    {
        std::lock_guard lock(sink_mutex());
        if (sink()) {
            sink()(message);
            return;
        }
    }
    auto elapsed = SteadyClock::now() - base;
    auto ms = elapsed.count() < 0
                  ? 0
                  : std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
    const std::string line = format_log_line(static_cast<uint64_t>(ms), message);
    std::lock_guard lock(file_mutex());
    auto path = log_file_path();
    if (!path) return;
    append_log_line(*path, line);
}

void set_log_sink(LogSink s) {
    std::lock_guard lock(sink_mutex());
    sink() = std::move(s);
}

LogCapture::LogCapture() {
    set_log_sink([this](std::string_view m) { lines_.emplace_back(m); });
}

LogCapture::~LogCapture() { set_log_sink(nullptr); }

bool LogCapture::contains(std::string_view line) const {
    for (const auto& l : lines_)
        if (l == line) return true;
    return false;
}

}  // namespace tw
