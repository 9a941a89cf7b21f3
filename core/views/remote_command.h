#pragma once
// Commands sent to the running program by "Tilewright.exe --command VERB [ARGUMENTS]":
// the arguments as they travel (each argument UTF-8 and ended by a zero byte), the verb
// table, the parser that checks everything a message from another process carries, and
// the decision of what a command does against the program's state. No command names a
// file or starts a program: the verbs are this table, and names are only looked up.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/engine/keyboard_move.h"
#include "core/engine/monitor_zones.h"
#include "core/engine/monitors.h"
#include "core/model/settings.h"

namespace tw {

// WM_COPYDATA tags: a command to the main window, and the answer sent back to the
// sender's window (the WM_COPYDATA wParam of the command).
inline constexpr uint64_t kRemoteCommandTag = 0x54570001;
inline constexpr uint64_t kRemoteAnswerTag = 0x54570002;
// A command's arguments take at most this many bytes, their zero bytes included.
inline constexpr size_t kMaxRemoteCommandBytes = 1024;
inline constexpr size_t kMaxRemoteArguments = 8;
// An answer (the status line with many screens and layouts) is cut at this size.
inline constexpr size_t kMaxRemoteAnswerBytes = 256 * 1024;

// The sender's exit codes.
enum class RemoteCode : int { Done = 0, NotRunning = 1, BadCommand = 2, Refused = 3 };

// The main window's answer to a command, as the WM_COPYDATA result: the tag keeps it apart
// from the 0 that a window without command support returns.
inline constexpr intptr_t kRemoteResultTag = 0x54570000;
inline constexpr intptr_t remote_result(RemoteCode c) { return kRemoteResultTag | static_cast<int>(c); }
std::optional<RemoteCode> remote_code_from_result(intptr_t result);

enum class RemoteAction : uint8_t {
    Start, Stop, Toggle,
    ZonesShow, ZonesHide, ZonesToggle,
    Layout, LayoutNext,
    MoveLeft, MoveRight, MoveUp, MoveDown,
    Share, ShareStop,
    Show, Exit, Status,
    ExtendLeft, ExtendRight, ExtendUp, ExtendDown,
};

enum class RemoteArgument : uint8_t { None, Name, ZoneNumber };

// One verb: its words ("zones show"), the argument after them, whether "--screen ID-or-NAME"
// may follow, and the usage shown when the arguments are wrong. A new verb is one more row
// (and its action); rows are tried in order, so a longer form comes before its prefix.
struct RemoteVerb {
    std::string_view words;
    RemoteAction action;
    RemoteArgument argument = RemoteArgument::None;
    bool screen_option = false;
    std::string_view usage;
};
std::span<const RemoteVerb> remote_verbs();

struct RemoteCommand {
    RemoteAction action = RemoteAction::Status;
    std::string name;                   // Layout: the layout's name, exact
    size_t zone = 0;                    // Share: 1-based zone number
    std::optional<std::string> screen;  // "--screen": a screen's id or name, exact
    friend bool operator==(const RemoteCommand&, const RemoteCommand&) = default;
};

// A parse either yields a command or the line that says what is wrong (exit code 2).
struct RemoteParse {
    std::optional<RemoteCommand> command;
    std::string error;
};

// The arguments after "--command" as they travel: each one UTF-8 with a zero byte after
// it. None when one is not well-formed UTF-16 (an unpaired surrogate), holds a control
// character, or when they exceed the caps above.
std::optional<std::string> encode_remote_arguments(std::span<const std::u16string> arguments);
// Checks and parses received bytes: the size cap, arguments ended by zero bytes,
// well-formed UTF-8 without control characters, a verb of the table (ASCII letters in
// any case) with exactly its arguments.
RemoteParse parse_remote_command(std::string_view bytes);
// The same for arguments already split (tests and the sender's own check).
RemoteParse parse_remote_arguments(std::span<const std::string> arguments);

// What the program knows when a command arrives.
struct RemoteState {
    explicit RemoteState(const Settings& s) : settings(s) {}
    const Settings& settings;
    std::span<const ScreenInfo> screens;        // attached, in the program's order
    std::span<const MonitorZones> zone_table;   // the engine's rows (screens with zones)
    bool running = false;
    bool zones_shown = false;
    // The screen the user works on (the foreground window's, as for Share Zone hotkeys).
    std::optional<std::string> working_screen;
    std::function<bool(const std::string& screen_id, size_t zone)> shared;  // 0-based zone
    bool any_share = false;
    std::string_view version;
};

// What the program does for a decided command; the rest (the line, the code) is known
// before acting, except that a start or a move may still fail.
enum class RemoteEffect : uint8_t {
    None, StartEngine, StopEngine, ToggleZones, ApplyLayout, Move, ShareZone, StopShares,
    ShowMain, Exit, Extend,
};

struct RemoteOutcome {
    RemoteCode code = RemoteCode::Done;
    std::string line;  // for the sender's console and the log
    RemoteEffect effect = RemoteEffect::None;
    size_t screen = 0;  // ApplyLayout: index into RemoteState::screens
    size_t layout = 0;  // ApplyLayout: index into that screen's layouts
    std::string screen_id;  // ShareZone
    size_t zone = 0;        // ShareZone: 0-based
    Direction direction = Direction::Left;  // Move, Extend
};
RemoteOutcome decide_remote_command(const RemoteCommand& command, const RemoteState& state);

// One line of JSON: version, running, zones_shown, and per attached screen its id, name,
// enabled flag, active layout (the layout in force, null without layouts) and layout names.
std::string remote_status_json(const RemoteState& state);

// Received arguments for the log: joined by spaces, made valid UTF-8 without control
// characters, at most 200 bytes.
std::string remote_command_text(std::string_view bytes);

// The text of a received answer: valid UTF-8 on one line, cut to the answer cap.
std::string remote_answer_line(std::string_view bytes);

}  // namespace tw
