#include "core/net/changelog.h"

namespace tw {

namespace {

bool is_space(char c) { return c == ' ' || c == '\t'; }

std::string prepare_line(std::string_view line) {
    size_t indent = 0;
    while (indent < line.size() && is_space(line[indent])) ++indent;
    std::string out(line.substr(0, indent));
    std::string_view rest = line.substr(indent);
    if (!rest.empty() && rest.front() == '#') {
        while (!rest.empty() && rest.front() == '#') rest.remove_prefix(1);
        while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    } else if (rest.size() >= 2 && (rest[0] == '-' || rest[0] == '*' || rest[0] == '+') && rest[1] == ' ') {
        out += "\xE2\x80\xA2 ";  // U+2022 bullet
        rest.remove_prefix(2);
    }
    for (const char c : rest)
        if (c != '*' && c != '_' && c != '`') out += c;
    // Only the end is trimmed: leading white space is the line's indentation.
    const size_t last = out.find_last_not_of(" \t\r\f\v");
    out.resize(last == std::string::npos ? 0 : last + 1);
    return out;
}

}  // namespace

std::string prepare_changelog(std::string_view text) {
    std::string out;
    bool pending_blank = false;
    while (true) {
        const size_t lf = text.find('\n');
        std::string_view line = text.substr(0, lf);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::string prepared = prepare_line(line);
        if (prepared.empty()) {
            pending_blank = !out.empty();
        } else {
            if (!out.empty()) out += pending_blank ? "\n\n" : "\n";
            out += prepared;
            pending_blank = false;
        }
        if (lf == std::string_view::npos) break;
        text.remove_prefix(lf + 1);
    }
    return out;
}

}  // namespace tw
