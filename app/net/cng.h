#pragma once
// The system's cryptography (CNG): SHA-256 and RSA PKCS#1 v1.5 signature checks.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tw::app {

std::optional<std::array<uint8_t, 32>> sha256(std::string_view bytes);

// True only when `signature` is a valid RSASSA-PKCS1-v1_5 signature with SHA-256 of
// the message whose digest is `digest`, under the key `public_key_blob` (a
// BCRYPT_RSAPUBLIC_BLOB). Every handle is released in every case.
bool rsa_sha256_signature_valid(std::span<const uint8_t> public_key_blob, std::span<const uint8_t> digest,
                                std::span<const uint8_t> signature);

}  // namespace tw::app
