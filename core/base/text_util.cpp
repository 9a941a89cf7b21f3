#include "core/base/text_util.h"

namespace tw {

std::string_view trim_view(std::string_view s) {
    auto ws = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
    };
    while (!s.empty() && ws(s.front())) s.remove_prefix(1);
    while (!s.empty() && ws(s.back())) s.remove_suffix(1);
    return s;
}

std::string trim(std::string_view s) { return std::string(trim_view(s)); }

}  // namespace tw
