#pragma once
// How large a response body may grow before the download counts as failed, per kind
// of body, so that a broken or hostile server cannot exhaust the memory.
#include <cstddef>
#include <string>
#include <string_view>

namespace tw {

inline constexpr size_t kMaxManifestBytes = 256 * 1024;
inline constexpr size_t kMaxLanguageIndexBytes = 256 * 1024;
inline constexpr size_t kMaxLanguageFileBytes = 1024 * 1024;
inline constexpr size_t kMaxInstallerBytes = 64 * 1024 * 1024;

// A body being received, refused as soon as it would pass its limit.
class CappedBody {
public:
    explicit CappedBody(size_t limit) : limit_(limit) {}
    // Whether `count` more bytes still fit; checked before a buffer is allocated.
    bool fits(size_t count) const { return count <= limit_ - bytes_.size(); }
    // False (and nothing appended) when the bytes would pass the limit.
    bool append(std::string_view more) {
        if (!fits(more.size())) return false;
        bytes_.append(more);
        return true;
    }
    std::string& bytes() { return bytes_; }
    size_t limit() const { return limit_; }

private:
    size_t limit_;
    std::string bytes_;
};

// "response larger than N bytes"
std::string body_too_large_error(size_t limit);

}  // namespace tw
