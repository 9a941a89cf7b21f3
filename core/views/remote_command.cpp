#include "core/views/remote_command.h"

#include <algorithm>
#include <variant>

#include "core/base/utf8.h"
#include "core/engine/share_state.h"
#include "core/model/catalog.h"
#include "core/model/layout_model.h"

namespace tw {

namespace {

using A = RemoteAction;
using Arg = RemoteArgument;

// "layout next" before "layout", "share stop" before "share": the first row whose words
// begin the command wins. Spans will add "extend left|right|up|down" rows here.
constexpr RemoteVerb kVerbs[] = {
    {"start", A::Start, Arg::None, false, "start"},
    {"stop", A::Stop, Arg::None, false, "stop"},
    {"toggle", A::Toggle, Arg::None, false, "toggle"},
    {"zones show", A::ZonesShow, Arg::None, false, "zones show|hide|toggle"},
    {"zones hide", A::ZonesHide, Arg::None, false, "zones show|hide|toggle"},
    {"zones toggle", A::ZonesToggle, Arg::None, false, "zones show|hide|toggle"},
    {"layout next", A::LayoutNext, Arg::None, true, "layout next [--screen ID-or-NAME]"},
    {"layout", A::Layout, Arg::Name, true, "layout NAME [--screen ID-or-NAME]"},
    {"move left", A::MoveLeft, Arg::None, false, "move left|right|up|down"},
    {"move right", A::MoveRight, Arg::None, false, "move left|right|up|down"},
    {"move up", A::MoveUp, Arg::None, false, "move left|right|up|down"},
    {"move down", A::MoveDown, Arg::None, false, "move left|right|up|down"},
    {"extend left", A::ExtendLeft, Arg::None, false, "extend left|right|up|down"},
    {"extend right", A::ExtendRight, Arg::None, false, "extend left|right|up|down"},
    {"extend up", A::ExtendUp, Arg::None, false, "extend left|right|up|down"},
    {"extend down", A::ExtendDown, Arg::None, false, "extend left|right|up|down"},
    {"share stop", A::ShareStop, Arg::None, false, "share stop"},
    {"share", A::Share, Arg::ZoneNumber, true, "share N [--screen ID-or-NAME]"},
    {"show", A::Show, Arg::None, false, "show"},
    {"exit", A::Exit, Arg::None, false, "exit"},
    {"status", A::Status, Arg::None, false, "status"},
};

constexpr std::string_view kScreenOption = "--screen";

bool same_ascii_word(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

std::vector<std::string_view> words_of(std::string_view words) {
    std::vector<std::string_view> out;
    while (!words.empty()) {
        const size_t space = words.find(' ');
        out.push_back(words.substr(0, space));
        words = space == std::string_view::npos ? std::string_view{} : words.substr(space + 1);
    }
    return out;
}

// The distinct usages of the verbs whose first word is `first` (all verbs when empty).
std::string usages(std::string_view first) {
    std::vector<std::string_view> seen;
    for (const RemoteVerb& v : kVerbs)
        if ((first.empty() || same_ascii_word(words_of(v.words).front(), first)) &&
            std::find(seen.begin(), seen.end(), v.usage) == seen.end())
            seen.push_back(v.usage);
    std::string out;
    for (std::string_view u : seen) out += (out.empty() ? "" : ", ") + std::string(u);
    return out;
}

RemoteParse fail(std::string line) { return {std::nullopt, std::move(line)}; }

RemoteParse bad_arguments(const RemoteVerb& v) {
    return fail(tr_args("command.bad_arguments", {{"usage", usages(words_of(v.words).front())}}));
}

bool control_char(char32_t c) { return c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0); }

// Well-formed UTF-8 with no control character: a U+FFFD that the decoder reports must be
// one the text spelt out.
bool clean_text(std::string_view s) {
    for (size_t pos = 0; pos < s.size();) {
        const size_t at = pos;
        const char32_t c = decode_utf8_at(s, pos);
        if (c == kReplacementChar && s.substr(at, pos - at) != "\xEF\xBF\xBD") return false;
        if (control_char(c)) return false;
    }
    return true;
}

std::optional<size_t> zone_number(std::string_view s) {
    if (s.empty() || s.size() > 2) return std::nullopt;
    size_t n = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + static_cast<size_t>(c - '0');
    }
    return n >= 1 ? std::optional<size_t>(n) : std::nullopt;
}

void append_json_string(std::string& out, std::string_view raw) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (char c : utf8_with_replacement(raw)) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            out += "\\u00";
            out += kHex[u >> 4];
            out += kHex[u & 0xF];
        } else {
            out += c;
        }
    }
    out += '"';
}

RemoteOutcome refused(std::string line) {
    RemoteOutcome o;
    o.code = RemoteCode::Refused;
    o.line = std::move(line);
    return o;
}

RemoteOutcome done(std::string line, RemoteEffect effect = RemoteEffect::None) {
    RemoteOutcome o;
    o.line = std::move(line);
    o.effect = effect;
    return o;
}

// The screen a command acts on: the one named by id (exactly), else by name when only one
// has it; without a name, the screen the user works on.
std::variant<size_t, RemoteOutcome> target_screen(const RemoteCommand& c, const RemoteState& s) {
    auto index_of = [&](auto&& match) -> std::vector<size_t> {
        std::vector<size_t> out;
        for (size_t i = 0; i < s.screens.size(); ++i)
            if (match(s.screens[i])) out.push_back(i);
        return out;
    };
    if (!c.screen) {
        if (s.working_screen)
            if (auto i = index_of([&](const ScreenInfo& x) { return x.id == *s.working_screen; }); !i.empty())
                return i.front();
        return refused(tr("command.no_working_screen"));
    }
    if (auto i = index_of([&](const ScreenInfo& x) { return x.id == *c.screen; }); !i.empty()) return i.front();
    const auto named = index_of([&](const ScreenInfo& x) { return x.name == *c.screen; });
    if (named.size() == 1) return named.front();
    return refused(tr_args(named.empty() ? "command.no_screen" : "command.ambiguous_screen",
                           {{"screen", *c.screen}}));
}

RemoteOutcome apply_layout(const RemoteCommand& c, const RemoteState& s) {
    auto target = target_screen(c, s);
    if (auto* o = std::get_if<RemoteOutcome>(&target)) return std::move(*o);
    const size_t si = std::get<size_t>(target);
    const ScreenInfo& screen = s.screens[si];
    const ScreenLayout* entry = find_screen(s.settings, screen.id);
    if (!entry || entry->layouts.empty())
        return refused(tr_args("command.no_layouts", {{"screen", screen.name}}));
    const auto& layouts = entry->layouts;
    auto named = [&](std::string_view name) {
        return std::find_if(layouts.begin(), layouts.end(), [&](const Layout& l) { return l.name == name; });
    };
    auto it = layouts.end();
    if (c.action == A::LayoutNext) {
        // As the cycle hotkey: the one after the active layout, wrapping; the first when
        // the active name is not found.
        it = named(entry->active_layout);
        it = (it == layouts.end() || std::next(it) == layouts.end()) ? layouts.begin() : std::next(it);
    } else {
        it = named(c.name);
        if (it == layouts.end())
            return refused(tr_args("command.no_layout", {{"screen", screen.name}, {"layout", c.name}}));
    }
    RemoteOutcome o = done(tr_args("command.layout_applied", {{"layout", it->name}, {"screen", screen.name}}),
                           RemoteEffect::ApplyLayout);
    o.screen = si;
    o.layout = static_cast<size_t>(it - layouts.begin());
    return o;
}

RemoteOutcome share(const RemoteCommand& c, const RemoteState& s) {
    auto target = target_screen(c, s);
    if (auto* o = std::get_if<RemoteOutcome>(&target)) return std::move(*o);
    const ScreenInfo& screen = s.screens[std::get<size_t>(target)];
    const std::string zone = std::to_string(c.zone);
    const std::vector<Rect> zones = share_zone_rects(s.settings, {s.screens.begin(), s.screens.end()}, screen.id);
    if (c.zone > zones.size() || is_empty(zones[c.zone - 1]))
        return refused(tr_args("command.no_zone", {{"screen", screen.name}, {"zone", zone}}));
    if (s.shared && s.shared(screen.id, c.zone - 1))
        return done(tr_args("command.already_shared", {{"screen", screen.name}, {"zone", zone}}));
    RemoteOutcome o = done(tr_args("command.share_started", {{"screen", screen.name}, {"zone", zone}}),
                           RemoteEffect::ShareZone);
    o.screen_id = screen.id;
    o.zone = c.zone - 1;
    return o;
}

RemoteOutcome start(const RemoteState& s) {
    if (s.running) return done(tr("command.already_running"));
    if (s.zone_table.empty()) return refused(tr("command.no_zones"));
    return done(tr("command.started"), RemoteEffect::StartEngine);
}

// A move or an extend of the foreground window, which the hotkey's path carries out.
RemoteOutcome step(const RemoteState& s, RemoteEffect effect, Direction d, std::string_view word) {
    if (!s.running) return refused(tr("command.not_running"));
    const char* key = effect == RemoteEffect::Move ? "command.moved" : "command.extended";
    RemoteOutcome o = done(tr_args(key, {{"direction", word}}), effect);
    o.direction = d;
    return o;
}

}  // namespace

std::span<const RemoteVerb> remote_verbs() { return kVerbs; }

std::optional<RemoteCode> remote_code_from_result(intptr_t result) {
    if ((result & ~intptr_t{0xFF}) != kRemoteResultTag) return std::nullopt;
    const auto code = static_cast<int>(result & 0xFF);
    if (code > static_cast<int>(RemoteCode::Refused)) return std::nullopt;
    return static_cast<RemoteCode>(code);
}

std::optional<std::string> encode_remote_arguments(std::span<const std::u16string> arguments) {
    if (arguments.size() > kMaxRemoteArguments) return std::nullopt;
    std::string out;
    for (const std::u16string& a : arguments) {
        for (size_t i = 0; i < a.size(); ++i) {
            char32_t c = a[i];
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < a.size() && a[i + 1] >= 0xDC00 && a[i + 1] <= 0xDFFF)
                c = 0x10000 + ((c - 0xD800) << 10) + (a[++i] - 0xDC00);
            else if (c >= 0xD800 && c <= 0xDFFF)
                return std::nullopt;
            if (control_char(c)) return std::nullopt;
            append_utf8(out, c);
        }
        out += '\0';
        if (out.size() > kMaxRemoteCommandBytes) return std::nullopt;
    }
    return out;
}

RemoteParse parse_remote_command(std::string_view bytes) {
    if (bytes.size() > kMaxRemoteCommandBytes || (!bytes.empty() && bytes.back() != '\0'))
        return fail(tr("command.malformed"));
    std::vector<std::string> arguments;
    while (!bytes.empty()) {
        const size_t end = bytes.find('\0');
        const std::string_view a = bytes.substr(0, end);
        if (!clean_text(a) || arguments.size() == kMaxRemoteArguments) return fail(tr("command.malformed"));
        arguments.emplace_back(a);
        bytes.remove_prefix(end + 1);
    }
    return parse_remote_arguments(arguments);
}

RemoteParse parse_remote_arguments(std::span<const std::string> arguments) {
    if (arguments.empty() || arguments.front().empty())
        return fail(tr_args("command.usage", {{"verbs", usages({})}}));
    const RemoteVerb* verb = nullptr;
    size_t used = 0;
    for (const RemoteVerb& v : kVerbs) {
        const auto w = words_of(v.words);
        if (w.size() <= arguments.size() &&
            std::equal(w.begin(), w.end(), arguments.begin(),
                       [](std::string_view a, const std::string& b) { return same_ascii_word(a, b); })) {
            verb = &v;
            used = w.size();
            break;
        }
    }
    if (!verb) {
        // "zones blink" is a known verb with a wrong word after it, "blink" is not a verb.
        for (const RemoteVerb& v : kVerbs)
            if (same_ascii_word(words_of(v.words).front(), arguments.front()))
                return fail(tr_args("command.bad_arguments", {{"usage", usages(arguments.front())}}));
        return fail(tr_args("command.unknown_verb", {{"verb", arguments.front()}, {"verbs", usages({})}}));
    }
    RemoteCommand c;
    c.action = verb->action;
    std::vector<std::string_view> positional;
    for (size_t i = used; i < arguments.size(); ++i) {
        if (same_ascii_word(arguments[i], kScreenOption)) {
            if (!verb->screen_option || c.screen || i + 1 == arguments.size() || arguments[i + 1].empty())
                return bad_arguments(*verb);
            c.screen = arguments[++i];
        } else {
            positional.push_back(arguments[i]);
        }
    }
    const size_t wanted = verb->argument == Arg::None ? 0 : 1;
    if (positional.size() != wanted) return bad_arguments(*verb);
    if (verb->argument == Arg::Name) {
        if (positional.front().empty()) return bad_arguments(*verb);
        c.name = positional.front();
    } else if (verb->argument == Arg::ZoneNumber) {
        const auto n = zone_number(positional.front());
        if (!n) return bad_arguments(*verb);
        c.zone = *n;
    }
    return {std::move(c), {}};
}

RemoteOutcome decide_remote_command(const RemoteCommand& c, const RemoteState& s) {
    switch (c.action) {
    case A::Start: return start(s);
    case A::Stop:
        if (!s.running) return done(tr("command.already_stopped"));
        return done(tr("command.stopped"), RemoteEffect::StopEngine);
    case A::Toggle:
        if (s.running) return done(tr("command.stopped"), RemoteEffect::StopEngine);
        return start(s);
    case A::ZonesShow:
    case A::ZonesHide:
    case A::ZonesToggle: {
        if (!s.running) return refused(tr("command.not_running"));
        const bool show = c.action == A::ZonesShow || (c.action == A::ZonesToggle && !s.zones_shown);
        return done(tr(show ? "command.zones_shown" : "command.zones_hidden"),
                    show == s.zones_shown ? RemoteEffect::None : RemoteEffect::ToggleZones);
    }
    case A::Layout:
    case A::LayoutNext: return apply_layout(c, s);
    case A::MoveLeft: return step(s, RemoteEffect::Move, Direction::Left, "left");
    case A::MoveRight: return step(s, RemoteEffect::Move, Direction::Right, "right");
    case A::MoveUp: return step(s, RemoteEffect::Move, Direction::Up, "up");
    case A::MoveDown: return step(s, RemoteEffect::Move, Direction::Down, "down");
    case A::ExtendLeft: return step(s, RemoteEffect::Extend, Direction::Left, "left");
    case A::ExtendRight: return step(s, RemoteEffect::Extend, Direction::Right, "right");
    case A::ExtendUp: return step(s, RemoteEffect::Extend, Direction::Up, "up");
    case A::ExtendDown: return step(s, RemoteEffect::Extend, Direction::Down, "down");
    case A::Share: return share(c, s);
    case A::ShareStop:
        return done(tr(s.any_share ? "command.shares_stopped" : "command.no_shares"),
                    s.any_share ? RemoteEffect::StopShares : RemoteEffect::None);
    case A::Show: return done(tr("command.shown"), RemoteEffect::ShowMain);
    case A::Exit: return done(tr("command.exiting"), RemoteEffect::Exit);
    case A::Status: return done(remote_status_json(s));
    }
    return refused(tr("command.malformed"));
}

std::string remote_status_json(const RemoteState& s) {
    std::string out = "{\"version\":";
    append_json_string(out, s.version);
    out += ",\"running\":";
    out += s.running ? "true" : "false";
    out += ",\"zones_shown\":";
    out += s.running && s.zones_shown ? "true" : "false";
    out += ",\"screens\":[";
    for (size_t i = 0; i < s.screens.size(); ++i) {
        const ScreenInfo& screen = s.screens[i];
        const ScreenLayout* entry = find_screen(s.settings, screen.id);
        const Layout* active = entry ? layout_in_force(*entry) : nullptr;
        out += i ? ",{\"id\":" : "{\"id\":";
        append_json_string(out, screen.id);
        out += ",\"name\":";
        append_json_string(out, screen.name);
        out += ",\"enabled\":";
        out += entry && entry->enabled ? "true" : "false";
        out += ",\"active_layout\":";
        if (active)
            append_json_string(out, active->name);
        else
            out += "null";
        out += ",\"layouts\":[";
        if (entry)
            for (size_t k = 0; k < entry->layouts.size(); ++k) {
                if (k) out += ',';
                append_json_string(out, entry->layouts[k].name);
            }
        out += "]}";
    }
    out += "]}";
    return out;
}

std::string remote_command_text(std::string_view bytes) {
    if (!bytes.empty() && bytes.back() == '\0') bytes.remove_suffix(1);
    std::string text = utf8_with_replacement(bytes.substr(0, 200));
    std::replace_if(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, ' ');
    return text;
}

std::string remote_answer_line(std::string_view bytes) {
    std::string line = utf8_with_replacement(bytes.substr(0, kMaxRemoteAnswerBytes));
    std::replace_if(line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n' || c == '\0'; }, ' ');
    return line;
}

}  // namespace tw
