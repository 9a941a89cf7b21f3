#pragma once
// How large a response body may grow before the download counts as failed, per kind
// of body, so that a broken or hostile server cannot exhaust the memory.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tw {

inline constexpr size_t kMaxManifestBytes = 256 * 1024;
inline constexpr size_t kMaxLanguageIndexBytes = 256 * 1024;
inline constexpr size_t kMaxLanguageFileBytes = 1024 * 1024;
inline constexpr size_t kMaxInstallerBytes = 64 * 1024 * 1024;

// How long one download may take in all, whatever the server's pace: an installer
// ten minutes, anything else a minute. A server that trickles a byte now and then
// never trips the per-call time-outs, but it trips this.
struct TransferLimits {
    size_t max_bytes;
    uint32_t max_seconds;
};
inline constexpr TransferLimits kManifestTransfer{kMaxManifestBytes, 60};
inline constexpr TransferLimits kLanguageIndexTransfer{kMaxLanguageIndexBytes, 60};
inline constexpr TransferLimits kLanguageFileTransfer{kMaxLanguageFileBytes, 60};
inline constexpr TransferLimits kInstallerTransfer{kMaxInstallerBytes, 600};

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
// "the download took longer than N seconds"
std::string transfer_too_slow_error(uint32_t seconds);

}  // namespace tw
