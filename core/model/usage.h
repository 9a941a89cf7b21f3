#pragma once
// How often the program has placed a window into a zone, and since when: usage.dat in
// the settings folder, "count=<n>\nsince=<unix seconds>\n", shown in the About dialog.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "core/model/settings.h"

namespace tw {

std::string usage_file_text(uint64_t count, uint64_t since);

// Seconds since 1970-01-01 UTC, now.
uint64_t unix_time_now();

// The counter the engine holds on the UI thread.
class UsageCounter {
public:
    // A counter at zero that never saves.
    UsageCounter() = default;

    // Start-up: takes the counter from usage.dat in `settings_folder`. A missing file,
    // or one without a valid count (set aside as usage.dat.bad), starts from the old
    // settings values UsedCount and CountingSince (or 0 and `now`) and is written at
    // once; when that write fails the two values go into the settings' extra entries
    // so the next settings save keeps them. A file that exists but cannot be read
    // also starts from the old values, and nothing is saved for the whole run.
    static UsageCounter load(const std::optional<std::filesystem::path>& settings_folder,
                             Settings& settings, uint64_t now);

    uint64_t count() const { return count_; }
    uint64_t since() const { return since_; }
    bool saving_enabled() const { return saving_; }

    // One more placement; saved while saving is enabled. Returns whether it was saved.
    bool count_use();

private:
    bool save() const;

    std::filesystem::path folder_;
    uint64_t count_ = 0;
    uint64_t since_ = 0;
    bool saving_ = false;
};

}  // namespace tw
