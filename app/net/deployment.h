#pragma once
// The deployment values, set at build time (cmake/deployment.cmake): the update
// web-service host, the web site's root URL, the update public key, and the product's
// web page and contact address shown in the About dialog.
#include <cstdint>
#include <span>
#include <string_view>

namespace tw::app {

// Host of "/api/update" (a bare host name, no scheme, port or path).
std::string_view service_host();
// The web site's root URL, https and ending in a slash; the language index is
// "languages.json" below it and index paths are relative to it.
std::string_view website_root();
// The 283-byte BCRYPT_RSAPUBLIC_BLOB of the 2048-bit RSA key installers are signed with.
std::span<const uint8_t> update_public_key();
// The product's web page (the About dialog's link).
std::string_view product_website();
// The address of the About dialog's contact link.
std::string_view contact_address();

}  // namespace tw::app
