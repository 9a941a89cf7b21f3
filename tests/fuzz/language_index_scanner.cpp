// The language index scanner on arbitrary bytes: never crashes, and every entry it
// keeps has a code that can only name a file inside the language folder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/base/text_util.h"
#include "core/net/language_index.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto index = tw::parse_language_index(text);
    for (const auto& entry : index.entries) {
        if (!tw::is_safe_language_code(entry.code)) std::abort();
        if (entry.name.find('"') != std::string::npos || entry.path.find('"') != std::string::npos) std::abort();
    }
    for (const auto& code : index.refused_codes)
        if (tw::is_safe_language_code(code)) std::abort();
    return 0;
}
