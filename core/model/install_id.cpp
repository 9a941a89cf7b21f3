#include "core/model/install_id.h"

#include <system_error>

#include "core/base/files.h"
#include "core/base/key_value.h"
#include "core/base/sys/sys.h"

namespace tw {

namespace {

constexpr size_t kIdBytes = 16;

std::filesystem::path install_id_path(const std::filesystem::path& folder) {
    return folder / "install.id";
}

bool write_install_id(const std::filesystem::path& folder, const InstallId& id) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);  // a failure shows in the write
    return write_atomically(install_id_path(folder), install_id_file_text(id));
}

}  // namespace

bool is_valid_install_id(std::string_view id) {
    if (id.size() != kIdBytes * 2) return false;
    for (char c : id)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

std::string install_id_file_text(const InstallId& id) {
    std::string text = "id=";
    text += id.id;
    text += "\nfirst_ping_sent=";
    text += id.first_ping_sent ? '1' : '0';
    text += '\n';
    return text;
}

std::optional<InstallId> read_install_id(const std::filesystem::path& settings_folder) {
    auto file = read_file(install_id_path(settings_folder));
    if (!file.bytes) return std::nullopt;
    const KeyValues values = parse_key_values(*file.bytes);
    auto id = find_value(values, "id");
    if (!id || !is_valid_install_id(*id)) return std::nullopt;
    return InstallId{std::string(*id), find_value(values, "first_ping_sent") == "1"};
}

std::optional<InstallId> load_or_create_install_id(const std::filesystem::path& settings_folder) {
    if (auto existing = read_install_id(settings_folder)) return existing;
    // A file that exists but cannot be read right now (the update worker may be
    // replacing it) keeps its identifier: this request goes out without one.
    if (read_file(install_id_path(settings_folder)).error == ReadError::Unreadable) return std::nullopt;
    auto bytes = sys::random_bytes(kIdBytes);
    if (!bytes) return std::nullopt;
    static constexpr char kHex[] = "0123456789abcdef";
    InstallId created;
    for (uint8_t b : *bytes) {
        created.id.push_back(kHex[b >> 4]);
        created.id.push_back(kHex[b & 0x0F]);
    }
    if (!write_install_id(settings_folder, created)) return std::nullopt;
    return created;
}

bool mark_first_ping_sent(const std::filesystem::path& settings_folder, std::string_view id) {
    if (!is_valid_install_id(id)) return false;
    return write_install_id(settings_folder, InstallId{std::string(id), true});
}

}  // namespace tw
