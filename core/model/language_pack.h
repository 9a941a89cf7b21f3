#pragma once
// What a downloaded language file must be before it replaces anything, and which
// finished language download the user interface takes on.
#include <optional>
#include <string>
#include <string_view>

#include "core/model/catalog.h"

namespace tw {

// A downloaded file is taken only when it reads as a catalog of this program:
//  - every line is blank, a comment ("#"), or "key = value" with a key of letters,
//    digits, "_", "-" and "." that holds a dot, so a page of HTML or any other text
//    served in its place is refused as a whole;
//  - it has entries, and at least half of its keys are keys the English catalog has;
//  - it does not cover far fewer English keys than the file stored for the language
//    (fewer than half), so a truncated or stale copy never replaces a good one.
// A partial translation stays acceptable: look-up falls back to English.
// Errors: "downloaded language file had no valid entries", "downloaded language file
// is not a language file (line N)", "downloaded language file has only N of its M keys
// in the English catalog", "downloaded language file covers N keys, the stored file M".
struct LanguageFileCheck {
    std::optional<Catalog> catalog;  // set when accepted
    std::string error;               // otherwise why not
};
LanguageFileCheck accept_language_file(std::string_view text, const Catalog& english,
                                       const std::optional<Catalog>& stored);

// A finished language download: installed only when it is the language the user
// wants now: the pending pick when there is one, else the language in force (the
// refresh of the current language at start-up). The user's latest pick always wins
// over a refresh or an earlier pick that ends later.
struct LanguageDownloadEnd {
    bool install = false;
    std::optional<std::string> next;  // a queued pick to download now
};
LanguageDownloadEnd finish_language_download(std::string_view finished, bool succeeded,
                                             const std::optional<std::string>& pending_pick,
                                             std::string_view language_in_force);

}  // namespace tw
