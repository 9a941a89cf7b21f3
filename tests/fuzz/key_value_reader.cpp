// The key=value reader of install.id and usage.dat on arbitrary bytes: never crashes,
// keys and values are trimmed one-line texts, and what the program writes into those
// files is read back as written.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/base/key_value.h"
#include "core/model/install_id.h"
#include "core/model/usage.h"

namespace {

bool blank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const tw::KeyValues values = tw::parse_key_values(text);
    for (const auto& [key, value] : values) {
        if (key.find('\n') != key.npos || value.find('\n') != value.npos) std::abort();
        if (!key.empty() && (blank(key.front()) || blank(key.back()))) std::abort();
        if (!value.empty() && (blank(value.front()) || blank(value.back()))) std::abort();
    }
    // A count read from the text survives the program's own usage.dat text.
    if (const auto count = tw::find_value(values, "count")) {
        if (const auto n = tw::parse_u64(*count)) {
            const tw::KeyValues again = tw::parse_key_values(tw::usage_file_text(*n, 7));
            if (tw::parse_u64(*tw::find_value(again, "count")) != n) std::abort();
            if (tw::parse_u64(*tw::find_value(again, "since")) != 7) std::abort();
        }
    }
    // A valid identifier read from the text survives the program's own install.id text.
    if (const auto id = tw::find_value(values, "id"); id && tw::is_valid_install_id(*id)) {
        const tw::KeyValues again = tw::parse_key_values(tw::install_id_file_text({std::string(*id), true}));
        if (tw::find_value(again, "id") != id || tw::find_value(again, "first_ping_sent") != "1") std::abort();
    }
    return 0;
}
