#pragma once
// The anonymous installation identifier carried by the daily update request when the
// user allows usage statistics: install.id in the settings folder, written as
// "id=<32 lower-case hex digits>\nfirst_ping_sent=<0|1>\n".
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tw {

struct InstallId {
    std::string id;
    bool first_ping_sent = false;
    friend bool operator==(const InstallId&, const InstallId&) = default;
};

// Exactly 32 characters, each 0-9 or a-f.
bool is_valid_install_id(std::string_view id);
// The file text for `id`.
std::string install_id_file_text(const InstallId& id);
// The identifier stored in `settings_folder`, when the file holds a valid one.
// first_ping_sent is true only for the exact value "1".
std::optional<InstallId> read_install_id(const std::filesystem::path& settings_folder);
// The stored identifier, or a new random one written with first_ping_sent=0 (the
// folder is created when needed); none when the random source or the write fails.
std::optional<InstallId> load_or_create_install_id(const std::filesystem::path& settings_folder);
// Rewrites the file with the same identifier and first_ping_sent=1; false for an
// invalid identifier or a failed write.
bool mark_first_ping_sent(const std::filesystem::path& settings_folder, std::string_view id);

}  // namespace tw
