// The update dialog's changelog preparation on arbitrary bytes: never crashes, leaves
// no emphasis or code marks, no trailing white space, no run of empty lines and none at
// either end, and valid UTF-8 stays valid UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/base/files.h"
#include "core/net/changelog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string out = tw::prepare_changelog(text);
    if (out.find_first_of("*_`") != out.npos) std::abort();
    if (out.find("\n\n\n") != out.npos || out.starts_with('\n') || out.ends_with('\n')) std::abort();
    size_t start = 0;
    while (start <= out.size()) {
        size_t end = out.find('\n', start);
        if (end == out.npos) end = out.size();
        if (end > start && (out[end - 1] == ' ' || out[end - 1] == '\t')) std::abort();
        start = end + 1;
    }
    if (tw::is_valid_utf8(text) && !tw::is_valid_utf8(out)) std::abort();
    return 0;
}
