#include "core/model/excluded_apps.h"

#include <algorithm>

#include "core/base/text_util.h"

namespace tw {

namespace {

bool names_a_path(std::string_view entry) {
    return entry.find_first_of("\\/:") != std::string_view::npos;
}

std::string path_key(std::string_view path) {
    std::string out = ascii_lower(path);
    std::replace(out.begin(), out.end(), '/', '\\');
    return out;
}

}  // namespace

std::string ascii_lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string_view exe_file_name(std::string_view path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool is_excluded_app(const std::vector<std::string>& list, std::string_view exe_path) {
    if (exe_path.empty() || list.empty()) return false;
    const std::string full = path_key(exe_path);
    const std::string_view name = exe_file_name(full);
    for (const std::string& entry : list) {
        const std::string e = path_key(trim_view(entry));
        if (e.empty()) continue;
        if (names_a_path(e) ? e == full : e == name) return true;
    }
    return false;
}

std::optional<std::string> clean_excluded_entry(std::string_view text) {
    std::string out;
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) out += c;
    out = trim(out);
    // A path pasted from Explorer's "Copy as path" comes in quotes.
    if (out.size() >= 2 && out.front() == '"' && out.back() == '"') out = trim(out.substr(1, out.size() - 2));
    if (out.empty()) return std::nullopt;
    return out;
}

bool add_excluded_app(std::vector<std::string>& list, std::string_view text) {
    auto entry = clean_excluded_entry(text);
    if (!entry) return false;
    const std::string key = path_key(*entry);
    for (const std::string& e : list)
        if (path_key(e) == key) return false;
    list.push_back(std::move(*entry));
    return true;
}

bool remove_excluded_app(std::vector<std::string>& list, size_t index) {
    if (index >= list.size()) return false;
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

}  // namespace tw
