#pragma once
// What a replaced instance hands to the one that replaces it: whether the placement
// engine ran and whether its zones were shown. A second start of the program (or an
// update) asks the running copy to exit; that copy leaves this small file in the
// temporary folder as it goes, and the new copy reads and removes it at start-up, so
// that starting Tilewright again never silently stops it.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tw {

struct RunningState {
    bool engine_running = false;
    bool zones_shown = true;
    friend bool operator==(const RunningState&, const RunningState&) = default;
};

// A hand-over older than this is not the running copy's any more (the user exited an
// installer half-way, an uninstall closed the program): it is ignored. Long enough for
// an installer's last page to be read before "Start Tilewright now".
inline constexpr uint64_t kHandoverLifetimeSeconds = 600;

std::string handover_text(const RunningState& state, uint64_t now);
// None for a text that is not a complete hand-over, or one written more than the
// lifetime ago (or more than a minute in the future: a clock set back meanwhile).
std::optional<RunningState> read_handover(std::string_view text, uint64_t now);

// How this instance starts: a hand-over decides alone (a copy the user had stopped
// stays stopped even with AutoStart on); without one, AutoStart does.
struct StartPlan {
    bool start_engine = false;
    bool hide_zones = false;  // after starting
    friend bool operator==(const StartPlan&, const StartPlan&) = default;
};
StartPlan plan_start(bool auto_start, const std::optional<RunningState>& handed_over);

// "tilewright-handover.txt" in the temporary folder; none without one.
std::optional<std::filesystem::path> handover_path();
// Written by the instance that is being replaced; false when it could not be written.
bool leave_handover(const RunningState& state, uint64_t now);
// Read and removed at start-up, valid or not, so that it is used once.
std::optional<RunningState> take_handover(uint64_t now);

}  // namespace tw
