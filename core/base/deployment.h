#pragma once
// Deployment values: addresses that belong to the place this build is published from,
// not to the program's logic. A build for another publisher changes them here only.
#include <string_view>

namespace tw::deployment {

// The product web site, shown and opened by the About dialog's link.
inline constexpr std::string_view kWebsiteUrl = "https://www.corvane.com/tilewright";
// Where the About dialog's contact button addresses its e-mail.
inline constexpr std::string_view kContactAddress = "tilewright@corvane.com";

}  // namespace tw::deployment
