#pragma once
// Keeping the settings file as it was before a start-up save drops something of it:
// what the reader could not use (entries it skipped, a file it could not read to its
// end), and a copy beside the file that never writes over an earlier one.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>


namespace tw {

// The name of the copy of a file that is not UTF-8 text (kept from earlier versions)
// and of one that was read only in part.
inline constexpr std::string_view kUnreadableCopyName = "settings.json.bad";
inline constexpr std::string_view kPartlyReadCopyName = "settings.json.damaged";

// What writing back the record read from `text` would lose of it, one language-neutral
// description each for the log; empty when nothing is lost. White space, key order,
// null values, the legacy keys a migration takes over and the writer's number forms
// are not losses.
std::vector<std::string> settings_read_losses(std::string_view text);

// Writes `bytes` to `base` in `dir`, or, when that name holds other bytes, to the
// first free one of base-2 ... base-99. A copy that already holds these bytes is
// used as it is. The path of the copy; none when no copy could be written.
std::optional<std::filesystem::path> keep_settings_copy(const std::filesystem::path& dir,
                                                        std::string_view base, std::string_view bytes);

}  // namespace tw
