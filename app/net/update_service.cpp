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
#include "core/model/install_id.h"
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

Outcome<UpdateInfo> fetch_manifest(const std::string& path) {
    auto response = https_get_text(service_host(), path, kMaxManifestBytes);
    if (!response) return Outcome<UpdateInfo>::failure(response.error);
    return parse_update_manifest(response.value->body);
}

Outcome<UpdateInfo> download_and_verify(const UpdateInfo& info) {
    std::string reason;
    auto response = https_get_url(info.download_url, kMaxInstallerBytes);
    const auto path = installer_path();
    if (!response) {
        reason = response.error;
    } else if (response.value->status != 200) {
        reason = "the server answered " + std::to_string(response.value->status);
    } else if (!installer_verifies(response.value->body, info)) {
        reason = "the installer does not match the digest and signature of version " + info.version;
    } else if (!path) {
        reason = "there is no temporary folder to save the installer in";
    } else if (!write_atomically(*path, response.value->body)) {
        reason = "could not save download: " + path->string();
    }
    if (reason.empty()) return Outcome<UpdateInfo>::success(info);
    log("update: " + reason);
    log(kDiscardLine);
    return Outcome<UpdateInfo>::failure(reason);
}

}  // namespace

void request_update_check(AppState& state, bool forced) {
    const uint64_t now = steady_seconds();
    if (!update_check_due(forced, state.net.last_update_check, now)) return;
    state.net.last_update_check = now;
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
        log("update: check failed: " + result->error);
        return;
    }
    const UpdateInfo info = std::move(*result->value);
    const UpdateOffer offer = decide_update_offer(info.version, TW_VERSION_STRING,
                                                  state.settings.skipped_update_version.value_or(""),
                                                  state.settings.update_automatically);
    if (offer == UpdateOffer::NotNewer) {
        log("update: version " + info.version + " is not newer than " + TW_VERSION_STRING);
        return;
    }
    log("update: version " + info.version + " is available");
    state.net.known_update = info;
    refresh_views(state);
    const bool ready = state.net.ready_installer == info;
    switch (offer) {
    case UpdateOffer::Skipped: log("update: version " + info.version + " is skipped"); break;
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
        enable_update_dialog(state);
        return;
    }
    state.net.ready_installer = *result->value;
    log("update: version " + result->value->version + " downloaded and verified");
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
        log("update: the installer of version " + info.version + " is missing or no longer verifies");
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
    log("update: started the installer of version " + info.version);
    state.net.ready_installer.reset();
    return true;
}

void open_known_update(AppState& state) {
    if (state.net.known_update)
        open_update_dialog(state, *state.net.known_update, state.net.ready_installer == state.net.known_update);
}

}  // namespace tw::app
