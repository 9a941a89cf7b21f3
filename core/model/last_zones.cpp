#include "core/model/last_zones.h"

#include <algorithm>
#include <charconv>
#include <system_error>

#include "core/base/files.h"
#include "core/base/log.h"
#include "core/base/sys/sys.h"
#include "core/model/excluded_apps.h"
#include "core/model/settings.h"

namespace tw {

namespace {

constexpr std::string_view kHeader = "Tilewright last zones 1";

void append_field(std::string& out, std::string_view s) {
    for (char c : s) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        default: out += c;
        }
    }
}

std::optional<std::string> read_field(std::string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\') {
            out += s[i];
            continue;
        }
        if (++i == s.size()) return std::nullopt;
        switch (s[i]) {
        case '\\': out += '\\'; break;
        case 't': out += '\t'; break;
        case 'r': out += '\r'; break;
        case 'n': out += '\n'; break;
        default: return std::nullopt;
        }
    }
    return out;
}

std::optional<uint32_t> read_zone_number(const std::string& z) {
    uint32_t zone = 0;
    auto r = std::from_chars(z.data(), z.data() + z.size(), zone);
    if (r.ec != std::errc() || r.ptr != z.data() + z.size() || zone == 0) return std::nullopt;
    return zone;
}

std::optional<LastZoneEntry> read_entry(std::string_view line) {
    std::string fields[6];
    size_t n = 0;
    while (true) {
        const size_t tab = line.find('\t');
        if (n == 6) return std::nullopt;
        auto f = read_field(line.substr(0, tab));
        if (!f) return std::nullopt;
        fields[n++] = std::move(*f);
        if (tab == std::string_view::npos) break;
        line.remove_prefix(tab + 1);
    }
    if (n < 5 || fields[0].empty() || fields[2].empty()) return std::nullopt;
    const auto zone = read_zone_number(fields[4]);
    if (!zone) return std::nullopt;
    std::optional<uint32_t> span_end = uint32_t{0};
    if (n == 6) span_end = read_zone_number(fields[5]);
    if (!span_end) return std::nullopt;
    return LastZoneEntry{{std::move(fields[0]), std::move(fields[1])},
                         {std::move(fields[2]), std::move(fields[3]), *zone, *span_end}};
}

}  // namespace

bool AppKey::same_as(const AppKey& other) const {
    return cls == other.cls && exe_path.size() == other.exe_path.size() &&
           ascii_lower(exe_path) == ascii_lower(other.exe_path);
}

bool LastZones::remember(const AppKey& app, const ZonePlace& place) {
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const LastZoneEntry& e) { return e.app.same_as(app); });
    if (it == entries_.begin() && it != entries_.end() && it->place == place) return false;
    if (it != entries_.end()) entries_.erase(it);
    entries_.insert(entries_.begin(), LastZoneEntry{app, place});
    if (entries_.size() > kCapacity) entries_.resize(kCapacity);
    return true;
}

bool LastZones::forget(const AppKey& app, const ZonePlace& place) {
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const LastZoneEntry& e) { return e.app.same_as(app); });
    if (it == entries_.end() || !(it->place == place)) return false;
    entries_.erase(it);
    return true;
}

const ZonePlace* LastZones::find(const AppKey& app) const {
    for (const LastZoneEntry& e : entries_)
        if (e.app.same_as(app)) return &e.place;
    return nullptr;
}

void LastZones::append(LastZoneEntry entry) {
    if (entries_.size() >= kCapacity || find(entry.app)) return;
    entries_.push_back(std::move(entry));
}

std::string serialize_last_zones(const LastZones& zones) {
    std::string out(kHeader);
    out += '\n';
    for (const LastZoneEntry& e : zones.entries()) {
        append_field(out, e.app.exe_path);
        out += '\t';
        append_field(out, e.app.cls);
        out += '\t';
        append_field(out, e.place.screen_id);
        out += '\t';
        append_field(out, e.place.layout);
        out += '\t';
        out += std::to_string(e.place.zone);
        if (e.place.span_end != 0) out += '\t' + std::to_string(e.place.span_end);
        out += '\n';
    }
    return out;
}

std::optional<LastZones> parse_last_zones(std::string_view text) {
    if (!is_valid_utf8(text)) return std::nullopt;
    LastZones out;
    bool first = true;
    while (!text.empty()) {
        const size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (first) {
            if (line != kHeader) return std::nullopt;
            first = false;
            continue;
        }
        if (line.empty()) continue;
        auto entry = read_entry(line);
        if (!entry) return std::nullopt;
        out.append(std::move(*entry));
    }
    if (first) return std::nullopt;
    return out;
}

std::optional<std::filesystem::path> last_zones_path() {
    auto dir = settings_dir();
    if (!dir) return std::nullopt;
    return *dir / "last-zones.txt";
}

LastZones load_last_zones(const std::filesystem::path& path) {
    ReadResult file = read_file(path);
    if (file.error == ReadError::NotFound) return {};
    if (file.bytes)
        if (auto zones = parse_last_zones(*file.bytes)) return std::move(*zones);
    auto bad = path;
    bad += ".bad";
    const bool set_aside = sys::move_replace(path, bad);
    log(std::string("last_zone: ") + path.filename().string() +
        (file.bytes ? " is damaged" : " cannot be read") +
        (set_aside ? "; set aside as " + bad.filename().string() : "; it could not be set aside") +
        ", starting with no remembered zones");
    return {};
}

bool save_last_zones(const std::filesystem::path& path, const LastZones& zones) {
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    return write_atomically(path, serialize_last_zones(zones));
}

}  // namespace tw
