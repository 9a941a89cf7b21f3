// The update manifest reader on arbitrary bytes: never crashes, and whatever it
// decodes from valid UTF-8 is valid UTF-8 (escapes make no broken text).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/base/files.h"
#include "core/net/manifest.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    const bool text = tw::is_valid_utf8(body);
    for (std::string_view key : {"version", "changelog", "download_url", "sha256", "signature"}) {
        const auto value = tw::manifest_field(body, key);
        if (value && text && !tw::is_valid_utf8(*value)) std::abort();
    }
    const auto info = tw::parse_update_manifest(body);
    if (!info && info.error != "malformed update manifest") std::abort();
    return 0;
}
