#pragma once
// The diagnostic log: one plain-text file "tilewright.log" in the temporary folder,
// rotated to "tilewright.log.1" once it reaches 5 MiB. Every module writes finished
// message texts through log(); there are no levels and no way to switch it off.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

// Appends "[SSSSSS.mmms] message\n" to the log file. Never fails visibly; safe from
// any thread, including the fatal-error hook.
void log(std::string_view message);

// Test seam, explicit and process-wide: while a capture is installed, log() hands each
// message to it instead of writing the file. Tests use LogCapture below.
using LogSink = std::function<void(std::string_view)>;
void set_log_sink(LogSink sink);

// Collects the messages logged during its lifetime.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;
    const std::vector<std::string>& lines() const { return lines_; }
    bool contains(std::string_view line) const;
    void clear() { lines_.clear(); }

private:
    std::vector<std::string> lines_;
};

}  // namespace tw
