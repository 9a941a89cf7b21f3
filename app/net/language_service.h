#pragma once
// Language packs: the remote index that fills the main window's language list, and
// the download, check and storage of one language file.
#include <cstddef>

namespace tw::app {

struct AppState;

// Start-up: a worker fetches "languages.json" below the web site's root and reports
// with WM_APP+10 (an empty list when the fetch failed or nothing valid was found).
void refresh_language_index(AppState& state);
// WM_APP+10: the list replaces the previous one; the current language, when listed,
// is downloaded again so that its stored file stays fresh.
void on_language_index(AppState& state);
// WM_APP+11: a downloaded language is installed and becomes the setting "Language";
// a failed one changes nothing.
void on_language_file(AppState& state);

// Entry `index` of the main window's language list: English is built in, a stored
// file is used without the network, otherwise the language is downloaded when the
// index lists it and no other download is running.
void choose_language(AppState& state, size_t index);

}  // namespace tw::app
