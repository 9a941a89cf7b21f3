#include "core/net/body_limits.h"

namespace tw {

std::string body_too_large_error(size_t limit) {
    return "response larger than " + std::to_string(limit) + " bytes";
}

std::string transfer_too_slow_error(uint32_t seconds) {
    return "the download took longer than " + std::to_string(seconds) + " seconds";
}

}  // namespace tw
