#include "core/model/usage.h"

#include "core/base/log.h"

#include <chrono>
#include <system_error>

#include "core/base/files.h"
#include "core/base/key_value.h"
#include "core/base/sys/sys.h"

namespace tw {

namespace {

void set_extra(Settings& settings, const std::string& key, uint64_t value) {
    for (auto& [k, v] : settings.extra) {
        if (k == key) {
            v = std::to_string(value);
            return;
        }
    }
    settings.extra.emplace_back(key, std::to_string(value));
}

}  // namespace

std::string usage_file_text(uint64_t count, uint64_t since) {
    return "count=" + std::to_string(count) + "\nsince=" + std::to_string(since) + "\n";
}

uint64_t unix_time_now() {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
                             std::chrono::system_clock::now().time_since_epoch())
                             .count();
    return seconds < 0 ? 0 : static_cast<uint64_t>(seconds);
}

UsageCounter UsageCounter::load(const std::optional<std::filesystem::path>& settings_folder,
                                Settings& settings, uint64_t now) {
    UsageCounter counter;
    const uint64_t legacy_since =
        settings.counting_since && *settings.counting_since != 0 ? *settings.counting_since : now;
    counter.count_ = settings.used_count.value_or(0);
    counter.since_ = legacy_since;
    // Without a settings folder there is nowhere to keep the count.
    if (!settings_folder) return counter;
    counter.folder_ = *settings_folder;

    const auto path = counter.folder_ / "usage.dat";
    auto file = read_file(path);
    if (file.error != ReadError::None && file.error != ReadError::NotFound) return counter;
    counter.saving_ = true;

    if (file.bytes) {
        const KeyValues values = parse_key_values(*file.bytes);
        auto count_text = find_value(values, "count");
        if (auto count = count_text ? parse_u64(*count_text) : std::nullopt) {
            counter.count_ = *count;
            auto since_text = find_value(values, "since");
            auto since = since_text ? parse_u64(*since_text) : std::nullopt;
            if (since && *since != 0) {
                counter.since_ = *since;
            } else {
                counter.since_ = now;
                counter.save();
            }
            return counter;
        }
        // Set aside for inspection rather than deleted. When it cannot be moved, it is
        // not overwritten either: the run counts from the old values without saving.
        auto bad = path;
        bad += ".bad";
        if (!sys::move_replace(path, bad)) {
            log("usage: usage.dat is broken and could not be set aside; counting without saving");
            counter.saving_ = false;
            return counter;
        }
    }

    if (!counter.save()) {
        set_extra(settings, "UsedCount", counter.count_);
        set_extra(settings, "CountingSince", counter.since_);
    }
    return counter;
}

bool UsageCounter::count_use() {
    if (count_ != UINT64_MAX) ++count_;
    return saving_ && save();
}

bool UsageCounter::save() const {
    // On a first run the settings folder may not exist yet; settings.json is only
    // written later in start-up.
    std::error_code ec;
    std::filesystem::create_directories(folder_, ec);
    return write_atomically(folder_ / "usage.dat", usage_file_text(count_, since_));
}

}  // namespace tw
