// The catalog reader (built-in English and downloaded language files) on arbitrary
// bytes: never crashes, and every entry it keeps is a trimmed, non-empty, one-line key
// that is not a comment, with a one-line value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/model/catalog.h"

namespace {

bool blank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const tw::Catalog catalog = tw::parse_catalog(text);
    for (const auto& [key, value] : catalog) {
        if (key.empty() || key.front() == '#' || blank(key.front()) || blank(key.back())) std::abort();
        if (key.find('\n') != key.npos || key.find('=') != key.npos) std::abort();
        if (value.find('\n') != value.npos) std::abort();
        if (value.size() > size || key.size() > size) std::abort();
    }
    return 0;
}
