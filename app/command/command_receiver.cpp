#include "app/command/command_receiver.h"

// Core headers before <windows.h>: see the note on `near` in core/geometry.h.
#include "app/app_state.h"
#include "app/engine/engine_shell_win.h"
#include "app/share/mirror_window.h"
#include "app/share/zone_share.h"
#include "app/windows/main_view_win.h"
#include "app/windows/main_window.h"
#include "app/platform/wide_text.h"
#include "core/base/log.h"
#include "core/engine/keyboard_move.h"
#include "core/model/catalog.h"
#include "core/views/remote_command.h"
#include "version.h"

#include <string>
#include <string_view>

namespace tw::app {

namespace {

constexpr size_t kLoggedAnswerBytes = 300;

std::optional<RECT> window_rect(HWND w) {
    RECT r{};
    if (!w || !GetWindowRect(w, &r)) return std::nullopt;
    return r;
}

// The effects that can still fail change the outcome: a start that finds no zones after
// all, a move that leaves the foreground window where it was.
void carry_out(AppState& state, RemoteOutcome& o) {
    Engine& engine = *state.engine;
    switch (o.effect) {
    case RemoteEffect::None: break;
    case RemoteEffect::StartEngine:
        if (!engine.start()) {
            o.code = RemoteCode::Refused;
            o.line = tr("command.no_zones");
        }
        break;
    case RemoteEffect::StopEngine: engine.stop(); break;
    case RemoteEffect::ToggleZones: engine.toggle_zones(); break;
    case RemoteEffect::ApplyLayout:
        if (!main_view_window().choose_layout(state, o.screen, o.layout)) {
            o.code = RemoteCode::Refused;
            o.line = tr("command.no_working_screen");
        }
        break;
    case RemoteEffect::Move:
    case RemoteEffect::Extend: {
        // The hotkey's own path, so that both log and count alike.
        HWND fg = GetForegroundWindow();
        const auto before = window_rect(fg);
        const int id = (o.effect == RemoteEffect::Move
                            ? kFirstEngineHotkeyId + static_cast<int>(HotkeyAction::MoveLeft)
                            : kFirstExtendHotkeyId) +
                       static_cast<int>(o.direction);
        handle_engine_hotkey(engine, state.settings, id);
        const auto after = window_rect(fg);
        if (!before || !after || EqualRect(&*before, &*after)) {
            o.code = RemoteCode::Refused;
            o.line = tr("command.not_moved");
        }
        break;
    }
    case RemoteEffect::ShareZone: toggle_share(state, o.screen_id, o.zone); break;
    case RemoteEffect::StopShares: close_all_shares(state); break;
    case RemoteEffect::ShowMain: show_main_window(state); break;
    // After the answer: the sender waits for it, and the window must outlive this message.
    case RemoteEffect::Exit: PostMessageW(state.main, kMsgExit, kExitAsAsked, 0); break;
    }
    refresh_views(state);
}

RemoteOutcome run_command(AppState& state, std::string_view bytes) {
    const RemoteParse parsed = parse_remote_command(bytes);
    if (!parsed.command) {
        RemoteOutcome o;
        o.code = RemoteCode::BadCommand;
        o.line = parsed.error;
        return o;
    }
    const std::vector<MonitorZones> table = state.shell->monitor_zone_table();
    RemoteState in(state.settings);
    in.screens = state.screens;
    in.zone_table = table;
    in.running = state.engine->running();
    in.zones_shown = state.engine->zones_visible();
    in.working_screen = working_screen(state);
    in.shared = [&state](const std::string& id, size_t zone) { return share_exists(state, id, zone); };
    in.any_share = !active_mirrors().empty();
    in.version = TW_VERSION_STRING;
    RemoteOutcome o = decide_remote_command(*parsed.command, in);
    carry_out(state, o);
    return o;
}

// The answer goes only to a window of the sender's answer class: the handle comes from
// another process and may name any window.
void answer(HWND main, HWND sender, const std::string& line) {
    wchar_t cls[64] = {};
    if (!sender || !IsWindow(sender) || !GetClassNameW(sender, cls, 64) ||
        std::wstring_view(cls) != kCommandAnswerClass)
        return;
    COPYDATASTRUCT data{};
    data.dwData = static_cast<ULONG_PTR>(kRemoteAnswerTag);
    data.cbData = static_cast<DWORD>(line.size());
    data.lpData = const_cast<char*>(line.data());
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutW(sender, WM_COPYDATA, reinterpret_cast<WPARAM>(main),
                             reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 5000, &ignored))
        log("command: SendMessageTimeoutW failed " +
            hr_text(static_cast<int32_t>(HRESULT_FROM_WIN32(GetLastError()))));
}

}  // namespace

LRESULT on_command_message(AppState& state, HWND sender, const COPYDATASTRUCT* data) {
    if (!data || data->dwData != static_cast<ULONG_PTR>(kRemoteCommandTag)) return 0;
    std::string_view bytes;
    if (data->cbData > kMaxRemoteCommandBytes || (data->cbData && !data->lpData))
        bytes = std::string_view("\x01", 1);  // refused by the size or text check alike
    else if (data->cbData)
        bytes = {static_cast<const char*>(data->lpData), data->cbData};
    const RemoteOutcome o = run_command(state, bytes);
    std::string shown = o.line.substr(0, kLoggedAnswerBytes);
    if (shown.size() < o.line.size()) shown += "...";
    log("command: \"" + remote_command_text(bytes) + "\" -> " +
        std::to_string(static_cast<int>(o.code)) + " " + shown);
    answer(state.main, sender, o.line);
    return remote_result(o.code);
}

}  // namespace tw::app
