#include "app/net/language_service.h"

#include "app/app_state.h"
#include "app/net/deployment.h"
#include "app/net/https_client.h"
#include "app/net/worker.h"
#include "app/windows/main_window.h"
#include "app/windows/tray.h"
#include "core/base/files.h"
#include "core/base/log.h"
#include "core/base/log_text.h"
#include "core/base/utf8.h"
#include "core/model/catalog.h"
#include "core/model/language_pack.h"
#include "core/net/body_limits.h"
#include "core/net/https_url.h"

namespace tw::app {

namespace {

std::vector<LanguageEntry> fetch_index() {
    auto response = https_get_url(std::string(website_root()) + "languages.json", kLanguageIndexTransfer);
    if (response && response.value->status != 200)
        response = Outcome<HttpResponse>::failure("the server answered " + std::to_string(response.value->status));
    if (!response) {
        log("lang_fetch: could not fetch the language index: " + log_text(response.error));
        return {};
    }
    LanguageIndex index = parse_language_index(utf8_with_replacement(response.value->body));
    for (const auto& code : index.refused_codes)
        log("lang_fetch: skipping language code \"" + log_text(code) + "\" of the index: not a plain language code");
    return std::move(index.entries);
}

// Fetched, checked and stored; the stored file is replaced only by a complete file
// that reads as a catalog and covers about as much as the stored one.
Outcome<DownloadedLanguage> fetch_language(const LanguageEntry& entry,
                                           const std::optional<std::filesystem::path>& settings_folder) {
    using Result = Outcome<DownloadedLanguage>;
    auto response = https_get_url(std::string(website_root()) + entry.path, kLanguageFileTransfer);
    if (!response) return Result::failure(response.error);
    if (response.value->status != 200)
        return Result::failure("the server answered " + std::to_string(response.value->status));
    std::string text = utf8_with_replacement(response.value->body);
    LanguageFileCheck check =
        accept_language_file(text, english_catalog(), load_language_file(entry.code, settings_folder));
    if (!check.catalog) return Result::failure(check.error);
    Catalog catalog = std::move(*check.catalog);
    if (const auto path = language_file_path(settings_folder, entry.code)) {
        std::error_code ec;
        std::filesystem::create_directories(path->parent_path(), ec);
        if (!write_atomically(*path, text)) log("lang_fetch: could not store " + path->string());
    }
    return Result::success({entry.code, std::move(catalog)});
}

void start_language_download(AppState& state, const LanguageEntry& entry) {
    state.net.language_download = entry.code;
    HWND main = state.main;
    auto slots = state.net.slots;
    auto folder = state.settings_folder;
    const bool started = start_worker("lang_fetch", [main, slots, folder, entry] {
        auto result = fetch_language(entry, folder);
        if (!result) log("lang_fetch: download of " + entry.code + " failed: " + log_text(result.error));
        slots->language_file.put(std::move(result));
        PostMessageW(main, kMsgLanguageFile, 0, 0);
    });
    if (!started) state.net.language_download.reset();
    refresh_views(state);
}

// Everything the program shows is rebuilt in the new language.
void language_changed(AppState& state, const std::string& code) {
    state.settings.language = code;
    save_settings(state.settings);
    refresh_views(state);
    tray_refresh(state);  // the tooltip in the new language
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM) {
            InvalidateRect(hwnd, nullptr, FALSE);
            return TRUE;
        },
        0);
}

}  // namespace

void refresh_language_index(AppState& state) {
    HWND main = state.main;
    auto slots = state.net.slots;
    start_worker("lang_fetch", [main, slots] {
        slots->language_index.put(fetch_index());
        PostMessageW(main, kMsgLanguageList, 0, 0);
    });
}

void on_language_index(AppState& state) {
    auto entries = state.net.slots->language_index.take();
    if (!entries) return;
    state.net.language_index = std::move(*entries);
    std::vector<LanguageIndexEntry> listed;
    for (const auto& e : state.net.language_index) listed.push_back({e.code, e.name});
    state.net.language_menu = language_list(listed);
    log("lang_fetch: languages in the index: " + std::to_string(state.net.language_index.size()));
    refresh_views(state);
    if (auto entry = language_to_refresh(state.settings.language, state.net.language_index,
                                         state.net.language_download.has_value()))
        start_language_download(state, *entry);
}

void on_language_file(AppState& state) {
    const std::string finished = state.net.language_download.value_or("");
    state.net.language_download.reset();
    auto result = state.net.slots->language_file.take();
    if (!result) return;
    const bool succeeded = static_cast<bool>(*result);
    const LanguageDownloadEnd end =
        finish_language_download(succeeded ? result->value->code : finished, succeeded, state.net.language_pick,
                                 state.settings.language);
    if (!end.next) state.net.language_pick.reset();
    if (end.install) {
        log("lang_fetch: installed language " + result->value->code);
        set_language(result->value->code, std::move(result->value->catalog));
        language_changed(state, result->value->code);
    } else {
        if (succeeded) log("lang_fetch: " + result->value->code + " stored; the user chose another language since");
        refresh_views(state);
    }
    if (end.next) {
        if (const LanguageEntry* entry = find_language(state.net.language_index, *end.next))
            start_language_download(state, *entry);
        else
            state.net.language_pick.reset();
    }
}

void choose_language(AppState& state, size_t index) {
    if (index >= state.net.language_menu.size()) return;
    const std::string code = state.net.language_menu[index].code;
    // The latest pick wins: a download still running for an earlier pick or for the
    // refresh is stored when it ends, but no longer installed.
    if (code == "en") {
        state.net.language_pick.reset();
        set_language("", Catalog{});
        language_changed(state, code);
    } else if (auto catalog = load_language_file(code, state.settings_folder)) {
        state.net.language_pick.reset();
        set_language(code, std::move(*catalog));
        language_changed(state, code);
    } else if (!find_language(state.net.language_index, code)) {
        log("lang_fetch: language " + code + " is neither stored nor listed in the index");
    } else if (state.net.language_download) {
        state.net.language_pick = code;
        log("lang_fetch: " + code + " waits: the download of " + *state.net.language_download + " is running");
    } else {
        state.net.language_pick = code;
        start_language_download(state, *find_language(state.net.language_index, code));
    }
}

}  // namespace tw::app
