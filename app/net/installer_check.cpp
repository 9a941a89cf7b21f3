#include "app/net/installer_check.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "app/net/cng.h"
#include "app/net/deployment.h"
#include "core/base/sys/sys.h"
#include "core/net/encoding.h"

namespace tw::app {

bool installer_verifies(std::string_view installer, const UpdateInfo& info) {
    const auto digest = sha256(installer);
    if (!digest || !equals_ignoring_ascii_case(hex_lower(*digest), info.sha256)) return false;
    const auto signature = decode_base64(info.signature);
    const auto manifest_digest = decode_hex(info.sha256);
    if (!signature || !manifest_digest || manifest_digest->size() != 32) return false;
    return rsa_sha256_signature_valid(update_public_key(), *manifest_digest, *signature);
}

std::optional<Version> file_product_version(const std::filesystem::path& path) {
    const std::wstring name = path.wstring();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(name.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<unsigned char> block(size);
    if (!GetFileVersionInfoW(name.c_str(), 0, size, block.data())) return std::nullopt;
    void* data = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\", &data, &length) || !data || length < sizeof(VS_FIXEDFILEINFO))
        return std::nullopt;
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(data);
    if (info->dwSignature != VS_FFI_SIGNATURE) return std::nullopt;
    return Version{HIWORD(info->dwProductVersionMS), LOWORD(info->dwProductVersionMS),
                   HIWORD(info->dwProductVersionLS)};
}

std::optional<std::filesystem::path> installer_path() {
    auto dir = sys::temp_dir();
    if (!dir) return std::nullopt;
    return *dir / "Tilewright-Update-Setup.exe";
}

std::optional<LockedFile> LockedFile::open(const std::filesystem::path& path) {
    HANDLE h = CreateFileW(path.wstring().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    return LockedFile(h);
}

LockedFile::~LockedFile() {
    if (handle_) CloseHandle(handle_);
}

LockedFile::LockedFile(LockedFile&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }

std::optional<std::string> LockedFile::read_all(size_t max_bytes) const {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handle_, &size) || size.QuadPart < 0 || static_cast<uint64_t>(size.QuadPart) > max_bytes)
        return std::nullopt;
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(handle_, start, nullptr, FILE_BEGIN)) return std::nullopt;
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        const auto want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, size_t{1} << 20));
        if (!ReadFile(handle_, bytes.data() + done, want, &read, nullptr) || read == 0) return std::nullopt;
        done += read;
    }
    return bytes;
}

}  // namespace tw::app
