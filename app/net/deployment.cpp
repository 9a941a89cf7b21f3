#include "app/net/deployment.h"

#include "deployment_values.h"

namespace tw::app {

namespace {
constexpr uint8_t kUpdateKeyBlob[] = TW_DEPLOY_UPDATE_KEY_BLOB;
static_assert(sizeof kUpdateKeyBlob == 283, "a 2048-bit RSA public key blob");
}  // namespace

std::string_view service_host() { return TW_DEPLOY_SERVICE_HOST; }
std::string_view website_root() { return TW_DEPLOY_WEBSITE_ROOT; }
std::span<const uint8_t> update_public_key() { return kUpdateKeyBlob; }
std::string_view product_website() { return TW_DEPLOY_PRODUCT_WEBSITE; }
std::string_view contact_address() { return TW_DEPLOY_CONTACT_ADDRESS; }

}  // namespace tw::app
