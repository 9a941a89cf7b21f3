#pragma once
// Where each application's windows were last put: for an application (its executable's
// full path, compared without regard to case, and the window class, so that its kinds
// of top-level window are told apart) the screen, layout and zone number of the latest
// placement. Kept most recently used first and capped; stored beside settings.json in
// last-zones.txt.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

struct AppKey {
    std::string exe_path;
    std::string cls;
    // Paths compare without regard to (ASCII) case, classes exactly.
    bool same_as(const AppKey& other) const;
};

struct ZonePlace {
    std::string screen_id;
    std::string layout;
    uint32_t zone = 0;  // 1-based, as the user counts zones
    // A span: its bottom-right zone (then `zone` is its top-left zone); 0 for one zone.
    uint32_t span_end = 0;
    friend bool operator==(const ZonePlace&, const ZonePlace&) = default;
};

struct LastZoneEntry {
    AppKey app;
    ZonePlace place;
};

class LastZones {
public:
    static constexpr size_t kCapacity = 256;

    // The application's windows were put at `place`: it becomes the application's
    // entry and the most recently used one; beyond the capacity the least recently used
    // entry goes. Returns whether anything changed (what is stored must be written).
    bool remember(const AppKey& app, const ZonePlace& place);
    // Forgets the application's entry when it is still `place`: a window put there was
    // moved away. A later placement of another window of the application stays.
    bool forget(const AppKey& app, const ZonePlace& place);
    const ZonePlace* find(const AppKey& app) const;

    // Most recently used first.
    const std::vector<LastZoneEntry>& entries() const { return entries_; }
    // Entries in that order, the capacity applied (reading a file).
    void append(LastZoneEntry entry);

private:
    std::vector<LastZoneEntry> entries_;
};

// The file's text: a first line "Tilewright last zones 1", then one line per entry,
// most recent first: path, class, screen id, layout name and zone number, separated by
// tabs (backslash, tab, carriage return and line feed escaped as \\, \t, \r, \n). A
// span has a sixth field, the number of its bottom-right zone.
std::string serialize_last_zones(const LastZones& zones);
// None when the text is not such a file (an unknown first line, a line without its
// five or six fields, a bad escape or zone number, text that is not UTF-8).
std::optional<LastZones> parse_last_zones(std::string_view text);

// last-zones.txt in the settings folder; none without one.
std::optional<std::filesystem::path> last_zones_path();
// Reads the file. A missing file is an empty memory; a damaged or unreadable one is
// moved aside to last-zones.txt.bad (logged) and the memory starts empty: it never
// stops the start.
LastZones load_last_zones(const std::filesystem::path& path);
// Written atomically; false when that failed (the old file stays).
bool save_last_zones(const std::filesystem::path& path, const LastZones& zones);

}  // namespace tw
