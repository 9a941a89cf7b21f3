#include "core/model/handover.h"

#include <system_error>

#include "core/base/files.h"
#include "core/base/key_value.h"
#include "core/base/log.h"
#include "core/base/sys/sys.h"

namespace tw {

namespace {

std::optional<bool> read_word(const KeyValues& kv, std::string_view key, std::string_view yes,
                              std::string_view no) {
    const auto v = find_value(kv, key);
    if (v == yes) return true;
    if (v == no) return false;
    return std::nullopt;
}

}  // namespace

std::string handover_text(const RunningState& state, uint64_t now) {
    return "written=" + std::to_string(now) + "\nengine=" + (state.engine_running ? "running" : "stopped") +
           "\nzones=" + (state.zones_shown ? "shown" : "hidden") + "\n";
}

std::optional<RunningState> read_handover(std::string_view text, uint64_t now) {
    const KeyValues kv = parse_key_values(text);
    const auto written_text = find_value(kv, "written");
    const auto written = written_text ? parse_u64(*written_text) : std::nullopt;
    const auto engine = read_word(kv, "engine", "running", "stopped");
    const auto zones = read_word(kv, "zones", "shown", "hidden");
    if (!written || !engine || !zones) return std::nullopt;
    if (*written > now + 60 || now - std::min(now, *written) > kHandoverLifetimeSeconds) return std::nullopt;
    return RunningState{*engine, *zones};
}

StartPlan plan_start(bool auto_start, const std::optional<RunningState>& handed_over) {
    if (!handed_over) return {auto_start, false};
    return {handed_over->engine_running, handed_over->engine_running && !handed_over->zones_shown};
}

std::optional<std::filesystem::path> handover_path() {
    auto dir = sys::temp_dir();
    if (!dir || dir->empty()) return std::nullopt;
    return *dir / "tilewright-handover.txt";
}

bool leave_handover(const RunningState& state, uint64_t now) {
    const auto path = handover_path();
    if (!path) return false;
    if (write_atomically(*path, handover_text(state, now))) return true;
    log("handover: the running state could not be left for the next instance");
    return false;
}

std::optional<RunningState> take_handover(uint64_t now) {
    const auto path = handover_path();
    if (!path) return std::nullopt;
    ReadResult file = read_file(*path);
    if (file.error == ReadError::NotFound) return std::nullopt;
    std::error_code ec;
    std::filesystem::remove(*path, ec);
    const auto state = file.bytes ? read_handover(*file.bytes, now) : std::nullopt;
    log(state ? std::string("handover: the replaced instance's engine was ") +
                    (state->engine_running ? "running" : "stopped") +
                    (state->engine_running ? (state->zones_shown ? " with zones shown" : " with zones hidden") : "")
              : std::string("handover: a hand-over file that is stale or unreadable was ignored"));
    return state;
}

}  // namespace tw
