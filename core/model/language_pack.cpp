#include "core/model/language_pack.h"

#include "core/base/text_util.h"

namespace tw {

namespace {

bool is_key_char(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
           c == '.';
}

// The line numbered from 1 that is neither blank, a comment nor "key = value"; 0 when
// there is none.
size_t first_foreign_line(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    size_t number = 0;
    while (!text.empty()) {
        ++number;
        const size_t end = text.find('\n');
        std::string_view line = trim_view(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line.starts_with('#')) continue;
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos) return number;
        const std::string_view key = trim_view(line.substr(0, eq));
        if (key.empty() || key.find('.') == std::string_view::npos) return number;
        for (char c : key)
            if (!is_key_char(c)) return number;
    }
    return 0;
}

size_t english_keys(const Catalog& catalog, const Catalog& english) {
    size_t n = 0;
    for (const auto& entry : catalog) n += english.contains(entry.first) ? 1 : 0;
    return n;
}

}  // namespace

LanguageFileCheck accept_language_file(std::string_view text, const Catalog& english,
                                       const std::optional<Catalog>& stored) {
    const std::string prefix = "downloaded language file ";
    if (const size_t line = first_foreign_line(text))
        return {std::nullopt, prefix + "is not a language file (line " + std::to_string(line) + ")"};
    Catalog catalog = parse_catalog(text);
    if (catalog.empty()) return {std::nullopt, prefix + "had no valid entries"};
    const size_t known = english_keys(catalog, english);
    if (known * 2 < catalog.size())
        return {std::nullopt, prefix + "has only " + std::to_string(known) + " of its " +
                                  std::to_string(catalog.size()) + " keys in the English catalog"};
    if (stored) {
        const size_t before = english_keys(*stored, english);
        if (known * 2 < before)
            return {std::nullopt, prefix + "covers " + std::to_string(known) + " keys, the stored file " +
                                      std::to_string(before)};
    }
    return {std::move(catalog), {}};
}

LanguageDownloadEnd finish_language_download(std::string_view finished, bool succeeded,
                                             const std::optional<std::string>& pending_pick,
                                             std::string_view language_in_force) {
    LanguageDownloadEnd end;
    const std::string_view wanted = pending_pick ? std::string_view(*pending_pick) : language_in_force;
    end.install = succeeded && finished == wanted;
    // A pick queued behind another download starts now; a pick whose own download
    // failed is not tried again in a loop.
    if (pending_pick && *pending_pick != finished) end.next = pending_pick;
    return end;
}

}  // namespace tw
