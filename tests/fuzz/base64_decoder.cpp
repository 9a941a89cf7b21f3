// The Base64 decoder on arbitrary bytes: never crashes, yields at most three bytes per
// four accepted characters, and decodes its own canonical encoding back.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/net/encoding.h"

namespace {

std::string encode(const std::vector<uint8_t>& bytes) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        uint32_t group = uint32_t{bytes[i]} << 16;
        if (i + 1 < bytes.size()) group |= uint32_t{bytes[i + 1]} << 8;
        if (i + 2 < bytes.size()) group |= bytes[i + 2];
        const size_t chars = std::min<size_t>(4, bytes.size() - i + 1);
        for (size_t k = 0; k < 4; ++k) out += k < chars ? kAlphabet[(group >> (18 - 6 * k)) & 63] : '=';
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto bytes = tw::decode_base64(text)) {
        if (bytes->size() > size / 4 * 3 + 2) std::abort();
        if (tw::decode_base64(encode(*bytes)) != bytes) std::abort();
    }
    return 0;
}
