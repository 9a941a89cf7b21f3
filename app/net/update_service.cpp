#include "app/net/update_service.h"

#include "app/app_state.h"
#include "app/net/deployment.h"
#include "app/net/https_client.h"
#include "app/net/installer_check.h"
#include "app/net/worker.h"
#include "app/platform/autostart.h"
#include "app/platform/wide_text.h"
#include "app/windows/main_window.h"
#include "app/windows/update_dialog.h"
#include "core/base/files.h"
#include "core/base/log.h"
#include "core/base/log_text.h"
#include "core/model/install_id.h"
#include "core/model/usage.h"
#include "core/net/body_limits.h"
#include "core/net/manifest.h"
#include "core/net/update_request.h"
#include "core/net/version.h"
#include "version.h"

#include <shellapi.h>

namespace tw::app {

namespace {

constexpr const char* kDiscardLine = "update: download or signature/hash verification failed, discarding";

uint64_t steady_seconds() { return GetTickCount64() / 1000; }

// dwBuildNumber from RtlGetVersion, which, unlike GetVersionEx, is not shimmed.
uint32_t windows_build() {
    using Fn = LONG(WINAPI*)(OSVERSIONINFOW*);
    auto fn = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!fn || fn(&info) != 0) return 0;
    return info.dwBuildNumber;
}

// The usage part of the request, when the user allows it and the identifier exists.
std::optional<UsagePing> usage_ping(const AppState& state) {
    if (!state.settings.usage_statistics || !state.settings_folder) return std::nullopt;
    const auto id = load_or_create_install_id(*state.settings_folder);
    if (!id) return std::nullopt;
    UsagePing ping{id->id, id->first_ping_sent, state.settings.language, windows_build(), std::nullopt};
    if (!id->first_ping_sent) {
        const ReadResult token = read_file(*state.settings_folder / "download.token");
        if (token.bytes) ping.download_token = download_token_from_file(*token.bytes);
    }
    return ping;
}

// Only a 200 answer is a manifest: an error page that happens to read as one offers
// nothing and does not confirm the first ping.
Outcome<UpdateInfo> fetch_manifest(const std::string& path) {
    auto response = https_get_text(service_host(), path, kManifestTransfer);
    if (!response) return Outcome<UpdateInfo>::failure(response.error);
    if (response.value->status != 200)
        return Outcome<UpdateInfo>::failure("the server answered " + std::to_string(response.value->status));
    return parse_update_manifest(response.value->body);
}

// The installer's own version decides, not the manifest's unsigned label: it must be
// the version offered, and newer than this program. Empty when it may run.
std::string installer_version_refusal(const std::filesystem::path& file, const UpdateInfo& info) {
    const std::optional<Version> carried = file_product_version(file);
    const std::string offered = log_text(info.version);
    switch (check_installer_version(carried, info.version, TW_VERSION_STRING)) {
    case InstallerVersionCheck::Accepted: return {};
    case InstallerVersionCheck::Unreadable:
        return "the installer offered as version " + offered + " carries no version; refusing it";
    case InstallerVersionCheck::NotTheOffered:
        return "the installer offered as version " + offered + " is version " + version_text(*carried) +
               "; refusing it";
    case InstallerVersionCheck::NotNewer:
        return "the installer of version " + version_text(*carried) + " is not newer than " +
               TW_VERSION_STRING + "; refusing it";
    }
    return "the installer's version could not be checked";
}

// Saved beside the installer already waiting, checked there, and only then moved in
// place of it: a refused installer leaves nothing behind to run.
std::string save_checked_installer(const std::filesystem::path& path, const std::string& bytes,
                                   const UpdateInfo& info) {
    std::filesystem::path fresh = path;
    fresh += L".new";
    if (!write_atomically(fresh, bytes)) return "could not save download: " + fresh.string();
    std::string refusal = installer_version_refusal(fresh, info);
    if (refusal.empty()) {
        if (MoveFileExW(fresh.wstring().c_str(), path.wstring().c_str(), MOVEFILE_REPLACE_EXISTING)) return {};
        refusal = "could not save download: MoveFileExW failed " + hr_text(HRESULT_FROM_WIN32(GetLastError()));
    }
    std::error_code ec;
    std::filesystem::remove(fresh, ec);
    return refusal;
}

Outcome<UpdateInfo> download_and_verify(const UpdateInfo& info) {
    std::string reason;
    auto response = https_get_url(info.download_url, kInstallerTransfer);
    const auto path = installer_path();
    if (!response) {
        reason = response.error;
    } else if (response.value->status != 200) {
        reason = "the server answered " + std::to_string(response.value->status);
    } else if (!installer_verifies(response.value->body, info)) {
        reason = "the installer does not match the digest and signature of version " + log_text(info.version);
    } else if (!path) {
        reason = "there is no temporary folder to save the installer in";
    } else {
        reason = save_checked_installer(*path, response.value->body, info);
    }
    if (reason.empty()) return Outcome<UpdateInfo>::success(info);
    log("update: " + log_text(reason, 2 * kLogTextLimit));
    log(kDiscardLine);
    return Outcome<UpdateInfo>::failure(reason);
}

}  // namespace

void request_update_check(AppState& state, bool forced) {
    // Off means no request at all, and with it no usage ping.
    if (!state.settings.check_for_updates) {
        if (forced) log("update: checking for updates is off");
        return;
    }
    const uint64_t now = steady_seconds();
    if (!update_check_due(forced, state.net.last_update_check, now)) return;
    state.net.last_update_check = now;
    state.net.start_up_check = forced;
    const std::optional<UsagePing> ping = usage_ping(state);
    const UpdateRequest request = build_update_request(TW_VERSION_STRING, ping);

    HWND main = state.main;
    auto slots = state.net.slots;
    auto folder = state.settings_folder;
    const std::string id = ping ? ping->install_id : std::string();
    start_worker("update", [main, slots, folder, id, request] {
        Outcome<UpdateInfo> result = fetch_manifest(request.path);
        if (result && request.first_ping && folder) {
            // The first ping is confirmed once: later requests carry neither the flag
            // nor the download token.
            mark_first_ping_sent(*folder, id);
            std::error_code ec;
            std::filesystem::remove(*folder / "download.token", ec);
        }
        // Packaged installations are updated by their store: the request was a ping.
        if (is_packaged()) return;
        slots->update_check.put(std::move(result));
        PostMessageW(main, kMsgUpdateChecked, 0, 0);
    });
}

void on_update_checked(AppState& state) {
    auto result = state.net.slots->update_check.take();
    if (!result) return;
    if (!*result) {
        log("update: check failed: " + log_text(result->error));
        return;
    }
    // Turned off while the request was on its way: nothing is offered.
    if (!state.settings.check_for_updates) return;
    const UpdateInfo info = std::move(*result->value);
    const std::string shown = log_text(info.version);
    const UpdateOffer offer = decide_update_offer(info.version, TW_VERSION_STRING,
                                                  state.settings.skipped_update_version.value_or(""),
                                                  state.settings.update_automatically);
    if (offer == UpdateOffer::NotNewer) {
        log("update: version " + shown + " is not newer than " + TW_VERSION_STRING);
        return;
    }
    log("update: version " + shown + " is available");
    state.net.known_update = info;
    refresh_views(state);
    const bool ready = state.net.ready_installer == info;
    if (offer != UpdateOffer::Skipped && state.settings.update_later_at) {
        if (update_later_holds(state.settings.update_later_at, unix_time_now(), state.net.start_up_check)) {
            log("update: version " + shown + " waits: Later holds until the next daily check");
            return;
        }
        state.settings.update_later_at.reset();
        save_settings(state.settings);
    }
    switch (offer) {
    case UpdateOffer::Skipped: log("update: version " + shown + " is skipped"); break;
    case UpdateOffer::Download:
        if (ready)
            open_update_dialog(state, info, true);
        else
            start_update_download(state, info);
        break;
    default: open_update_dialog(state, info, ready); break;
    }
}

void start_update_download(AppState& state, const UpdateInfo& info) {
    if (state.net.update_downloading) {
        log("update: a download is already running");
        return;
    }
    state.net.update_downloading = true;
    state.net.update_download_failed = false;
    HWND main = state.main;
    auto slots = state.net.slots;
    const bool started = start_worker("update", [main, slots, info] {
        slots->update_download.put(download_and_verify(info));
        PostMessageW(main, kMsgUpdateDownloaded, 0, 0);
    });
    if (!started) {
        state.net.update_downloading = false;
        enable_update_dialog(state);
    }
}

void on_update_downloaded(AppState& state) {
    state.net.update_downloading = false;
    auto result = state.net.slots->update_download.take();
    if (!result) return;
    if (!*result) {
        state.net.update_download_failed = true;
        enable_update_dialog(state);
        return;
    }
    state.net.ready_installer = *result->value;
    log("update: version " + log_text(result->value->version) + " downloaded and verified");
    open_update_dialog(state, *result->value, true);
}

bool launch_verified_installer(AppState& state, const UpdateInfo& info) {
    const auto path = installer_path();
    // Checked and started through one handle that keeps other writers out until the
    // installer runs: a file swapped in after the download is never started.
    std::optional<LockedFile> file = path ? LockedFile::open(*path) : std::nullopt;
    const std::optional<std::string> bytes = file ? file->read_all(kMaxInstallerBytes) : std::nullopt;
    if (!bytes || !installer_verifies(*bytes, info)) {
        if (file) {
            file.reset();
            std::error_code ec;
            std::filesystem::remove(*path, ec);
        }
        state.net.ready_installer.reset();
        log("update: the installer of version " + log_text(info.version) + " is missing or no longer verifies");
        log(kDiscardLine);
        return false;
    }
    const auto started = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", path->wstring().c_str(), L"/SILENT", nullptr, SW_SHOWNORMAL));
    file.reset();
    if (started <= 32) {
        log("update: ShellExecuteW failed for the installer (" + std::to_string(started) + ")");
        return false;
    }
    log("update: started the installer of version " + log_text(info.version));
    state.net.ready_installer.reset();
    return true;
}

void open_known_update(AppState& state) {
    if (state.net.known_update)
        open_update_dialog(state, *state.net.known_update, state.net.ready_installer == state.net.known_update);
}

}  // namespace tw::app
