#include "core/base/files.h"

#include <cstring>
#include <system_error>

#include "core/base/sys/sys.h"

namespace tw {

bool write_atomically(const std::filesystem::path& path, std::string_view bytes) {
    auto tmp = path;
    tmp += ".tmp";
    bool ok = sys::write_file_flushed(tmp, bytes) && sys::move_replace(tmp, path);
    if (!ok) {
        // Only a file can be ours; a folder of that name was never written by us.
        std::error_code ec;
        if (!std::filesystem::is_directory(std::filesystem::symlink_status(tmp, ec)))
            std::filesystem::remove(tmp, ec);
    }
    return ok;
}

ReadResult read_file(const std::filesystem::path& path) {
    sys::FileBytes file = sys::read_whole_file(path);
    if (file.bytes) return {std::move(file.bytes), ReadError::None};
    return {std::nullopt, file.not_found ? ReadError::NotFound : ReadError::Unreadable};
}

bool is_valid_utf8(std::string_view s) {
    size_t i = 0;
    const size_t n = s.size();
    while (i < n) {
        // Settings and catalogs are mostly ASCII: skip eight such bytes at a time.
        while (i + 8 <= n) {
            uint64_t block;
            std::memcpy(&block, s.data() + i, 8);
            if (block & 0x8080808080808080ull) break;
            i += 8;
        }
        if (i >= n) break;
        auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        int len;
        uint32_t cp;
        if ((c & 0xE0) == 0xC0) {
            len = 2;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + static_cast<size_t>(len) > n) return false;
        for (int k = 1; k < len; ++k) {
            auto cc = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        // Overlong forms, surrogates and values beyond U+10FFFF are not UTF-8.
        if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) ||
            cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += static_cast<size_t>(len);
    }
    return true;
}

}  // namespace tw
