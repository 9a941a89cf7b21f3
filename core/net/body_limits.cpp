#include "core/net/body_limits.h"

namespace tw {

std::string body_too_large_error(size_t limit) {
    return "response larger than " + std::to_string(limit) + " bytes";
}

}  // namespace tw
