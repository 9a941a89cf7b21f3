#include "app/net/cng.h"

#include <windows.h>
#include <bcrypt.h>

#include <vector>

namespace tw::app {

namespace {

class Provider {
public:
    explicit Provider(const wchar_t* algorithm) {
        if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&h_, algorithm, nullptr, 0))) h_ = nullptr;
    }
    ~Provider() {
        if (h_) BCryptCloseAlgorithmProvider(h_, 0);
    }
    Provider(const Provider&) = delete;
    Provider& operator=(const Provider&) = delete;
    BCRYPT_ALG_HANDLE get() const { return h_; }

private:
    BCRYPT_ALG_HANDLE h_ = nullptr;
};

}  // namespace

std::optional<std::array<uint8_t, 32>> sha256(std::string_view bytes) {
    Provider provider(BCRYPT_SHA256_ALGORITHM);
    if (!provider.get()) return std::nullopt;
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (!BCRYPT_SUCCESS(BCryptCreateHash(provider.get(), &hash, nullptr, 0, nullptr, 0, 0))) return std::nullopt;
    std::array<uint8_t, 32> digest{};
    bool ok = true;
    // BCryptHashData takes a 32-bit length: large files go in pieces.
    constexpr size_t kPiece = 1u << 30;
    for (size_t at = 0; ok && at < bytes.size(); at += kPiece) {
        const std::string_view piece = bytes.substr(at, kPiece);
        ok = BCRYPT_SUCCESS(BCryptHashData(hash, reinterpret_cast<PUCHAR>(const_cast<char*>(piece.data())),
                                           static_cast<ULONG>(piece.size()), 0));
    }
    ok = ok && BCRYPT_SUCCESS(BCryptFinishHash(hash, digest.data(), static_cast<ULONG>(digest.size()), 0));
    BCryptDestroyHash(hash);
    if (!ok) return std::nullopt;
    return digest;
}

bool rsa_sha256_signature_valid(std::span<const uint8_t> public_key_blob, std::span<const uint8_t> digest,
                                std::span<const uint8_t> signature) {
    Provider provider(BCRYPT_RSA_ALGORITHM);
    if (!provider.get() || digest.empty() || signature.empty()) return false;
    BCRYPT_KEY_HANDLE key = nullptr;
    std::vector<uint8_t> blob(public_key_blob.begin(), public_key_blob.end());
    if (!BCRYPT_SUCCESS(BCryptImportKeyPair(provider.get(), nullptr, BCRYPT_RSAPUBLIC_BLOB, &key, blob.data(),
                                            static_cast<ULONG>(blob.size()), 0)))
        return false;
    BCRYPT_PKCS1_PADDING_INFO padding{BCRYPT_SHA256_ALGORITHM};
    std::vector<uint8_t> hash(digest.begin(), digest.end());
    std::vector<uint8_t> sig(signature.begin(), signature.end());
    const NTSTATUS status = BCryptVerifySignature(key, &padding, hash.data(), static_cast<ULONG>(hash.size()),
                                                  sig.data(), static_cast<ULONG>(sig.size()), BCRYPT_PAD_PKCS1);
    BCryptDestroyKey(key);
    return BCRYPT_SUCCESS(status);
}

}  // namespace tw::app
