// The settings reader on arbitrary bytes: never crashes, and the record it reads,
// written and read again, is the same record (a save never changes what the user had),
// and writing that record again gives the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/model/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const tw::Settings first = tw::parse_settings(text, {1920, 1080});
    const std::string written = tw::serialize_settings(first);
    const tw::Settings second = tw::parse_settings(written, {1920, 1080});
    if (!(second == first)) std::abort();
    if (tw::serialize_settings(second) != written) std::abort();
    return 0;
}
