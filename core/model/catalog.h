#pragma once
// User-interface texts by key. English is built in and always complete; other
// languages are "<code>.lang" files in the settings folder's "lang" subfolder, in the
// same "key = value" format. Look-up falls back from the current language to English
// to the key itself, so a translation may omit keys.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/base/text_util.h"

namespace tw {

// Hashes any string-like key, so look-ups by std::string_view need no copy.
struct CatalogKeyHash {
    using is_transparent = void;
    size_t operator()(std::string_view key) const { return std::hash<std::string_view>{}(key); }
};
using Catalog = std::unordered_map<std::string, std::string, CatalogKeyHash, std::equal_to<>>;

// Lines split at line feeds (a carriage return before it dropped), trimmed; empty
// lines and lines starting with "#" skipped; split at the first "="; lines without
// "=" or with an empty key skipped; values literal to the end of the line (a TAB
// inside is kept); a repeated key takes the later value. A leading byte-order mark is
// ignored. Safe on any bytes; may run on worker threads.
Catalog parse_catalog(std::string_view text);

// The built-in English file text (UTF-8, line feeds) and its parsed catalog. The
// catalog is built once, on first use, from any thread.
std::string_view english_catalog_text();
const Catalog& english_catalog();

// The current catalog belongs to the thread that sets it (the UI thread); it starts
// empty with no language code, in which case every text comes from English.
void set_language(std::string code, Catalog catalog);
const std::string& current_language();

// The text for `key`: current catalog, else English, else the key itself.
std::string tr(std::string_view key);

using TrArgs = std::initializer_list<std::pair<std::string_view, std::string_view>>;
// tr(key) with each "{name}" replaced by its value, pair by pair in the given order;
// placeholders without a pair stay as they are.
std::string tr_args(std::string_view key, TrArgs args);
// Plural choice: a count of exactly 1 uses "<stem>_one" without arguments, any other
// count "<stem>_other" with {n} = the count.
std::string tr_plural(std::string_view stem, uint64_t count);

// A language code names a file: see is_safe_language_code (core/base/text_util.h).
// <settings folder>\lang\<code>.lang; none without a folder or for an unsafe code.
std::optional<std::filesystem::path> language_file_path(
    const std::optional<std::filesystem::path>& settings_folder, std::string_view code);
// The stored language file, parsed; none when there is no folder, the code is unsafe,
// or the file cannot be read as UTF-8 text. An empty catalog is still a result.
std::optional<Catalog> load_language_file(
    std::string_view code, const std::optional<std::filesystem::path>& settings_folder);

// Start-up: "en" loads nothing (English throughout); any other code installs its
// stored file when it can be loaded, even an empty one, and otherwise leaves the
// current catalog as it is. Returns whether a file was installed.
bool apply_startup_language(std::string_view language,
                            const std::optional<std::filesystem::path>& settings_folder);

struct LanguageIndexEntry {
    std::string code;
    std::string name;
    friend bool operator==(const LanguageIndexEntry&, const LanguageIndexEntry&) = default;
};
// ("en", "English") first, then the index entries ordered by display name (byte-wise,
// stable). An index entry for "en" is left out: English is built in and listed once.
std::vector<LanguageIndexEntry> language_list(std::span<const LanguageIndexEntry> index);

// Seconds since 1970-01-01 UTC as a Windows file time, saturating at the largest value.
uint64_t unix_seconds_to_file_time(uint64_t seconds);
// The short date text of a moment, in UTC, in the current language's locale (the
// user's default locale for English); none when no text can be produced.
std::optional<std::string> format_date(uint64_t seconds);
// The date of a moment (UTC) written out so that no reader can take the day for the
// month: "date.long" with the day, the month's name ("date.month_1" ...) and the year,
// such as "3 October 2026". None beyond the range format_date covers.
std::optional<std::string> format_long_date(uint64_t seconds);

}  // namespace tw
