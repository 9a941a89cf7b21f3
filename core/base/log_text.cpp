#include "core/base/log_text.h"

#include "core/base/utf8.h"

namespace tw {

std::string log_text(std::string_view text, size_t limit) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    size_t pos = 0;
    while (pos < text.size()) {
        const char32_t c = decode_utf8_at(text, pos);
        std::string piece;
        if (c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F)) {
            piece = {'\\', 'x', kHex[(c >> 4) & 0xF], kHex[c & 0xF]};
        } else {
            append_utf8(piece, c);
        }
        if (out.size() + piece.size() > limit) {
            out += "\u2026";
            break;
        }
        out += piece;
    }
    return out;
}

}  // namespace tw
