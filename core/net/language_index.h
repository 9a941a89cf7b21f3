#pragma once
// The remote language index ("languages.json"): a JSON object whose members are
// language codes, each an object with "name", "version" and "path". Read by a scanner,
// not a general JSON parser.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

struct LanguageEntry {
    std::string code;      // the member name, such as "de"
    std::string name;      // the language's own display name
    std::string path;      // the file's location relative to the web site's root
    uint32_t version = 0;  // revision of the file (carried, never compared)
    friend bool operator==(const LanguageEntry&, const LanguageEntry&) = default;
};

struct LanguageIndex {
    std::vector<LanguageEntry> entries;       // in index order
    std::vector<std::string> refused_codes;   // complete entries whose code cannot name a file
};

// Member by member: the next quoted name, a colon, an opening brace and the text up to
// its matching closing brace (braces counted, strings not considered). Members named
// "name", "version" or "path" are skipped. Inside the object "name" and "path" are the
// text between the first two double quotes after the colon that follows the quoted key
// (no escapes); "version" is the run of digits after that colon and optional white
// space, an unsigned 32-bit number. An entry missing any of them is skipped; one whose
// code is not a safe language code (is_safe_language_code) is refused.
LanguageIndex parse_language_index(std::string_view text);

// The index entry whose file should be fetched again when the index arrives: the
// current language, unless it is English or a language download is running.
std::optional<LanguageEntry> language_to_refresh(std::string_view language,
                                                 std::span<const LanguageEntry> entries,
                                                 bool download_pending);

// The entry for `code`, if the index lists it.
const LanguageEntry* find_language(std::span<const LanguageEntry> entries, std::string_view code);

}  // namespace tw
